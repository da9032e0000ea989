// The standard streams on Windows. A console shows UTF-16 text whatever its
// code page, so messages reach it through WriteConsoleW; a redirected stream
// gets the console's code page (the OEM code page when the process has no
// console), as other console programs write it. Lines end with CR LF.
#include <streambuf>

#include "cli/command_line.hpp"
#include "cli/console.hpp"
#include "engine/files.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf16.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace oradel {
namespace {

constexpr UINT kCp866 = 866;
constexpr UINT kWindows1251CodePage = 1251;

// Text in a code page; a character it cannot hold becomes its best fit or '?'.
std::string NarrowFromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

UINT ConsoleCodePage() {
    const UINT codePage = GetConsoleOutputCP();
    return codePage != 0 ? codePage : GetOEMCP();
}

// Writes what a stream is given a line at a time, and the rest when flushed,
// so that text is converted in whole lines. `utf8Text` marks a stream of
// UTF-8 text to be shown in the console's encoding; other streams carry
// bytes ready for it.
class StandardStreamBuffer final : public std::streambuf {
  public:
    StandardStreamBuffer(DWORD stream, bool utf8Text)
        : handle_(GetStdHandle(stream)), utf8Text_(utf8Text) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_ += traits_type::to_char_type(c);
        WriteCompleteLines();
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        WriteCompleteLines();
        return count;
    }
    int sync() override {
        Write(pending_);
        pending_.clear();
        return 0;
    }

  private:
    void WriteCompleteLines() {
        const std::size_t lastEnd = pending_.rfind('\n');
        if (lastEnd == std::string::npos) return;
        Write(std::string_view(pending_).substr(0, lastEnd + 1));
        pending_.erase(0, lastEnd + 1);
    }
    void Write(std::string_view text);
    std::string WithCrLf(std::string_view bytes);

    HANDLE handle_;
    bool utf8Text_;
    bool afterCr_ = false;
    std::string pending_;
};

void StandardStreamBuffer::Write(std::string_view text) {
    if (text.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    DWORD consoleMode = 0;
    if (utf8Text_ && GetConsoleMode(handle_, &consoleMode)) {
        const std::wstring wide = Utf16FromUtf8(text);
        DWORD written = 0;
        WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string converted =
        utf8Text_ ? NarrowFromWide(Utf16FromUtf8(text), ConsoleCodePage()) : std::string(text);
    const std::string bytes = WithCrLf(converted);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(handle_, bytes.data() + done, size, &written, nullptr) || written == 0) {
            return;  // nobody reads the stream any more
        }
        done += written;
    }
}

// A lone LF becomes CR LF, as Windows text wants; a CR LF stays as it is.
std::string StandardStreamBuffer::WithCrLf(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
        if (c == '\n' && !afterCr_) result += '\r';
        result += c;
        afterCr_ = c == '\r';
    }
    return result;
}

// Runs on a thread of its own. Ends the process at once, with the status
// that the default handler gives, so that the interrupted job cannot go on
// writing to files that are already gone.
BOOL WINAPI RemoveTemporaryFilesAndEnd(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    RemoveTemporaryFilesNow();
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void RemoveTemporaryFilesOnInterrupt() {
    SetConsoleCtrlHandler(RemoveTemporaryFilesAndEnd, TRUE);
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(Utf8FromUtf16(argv[i]));
    return arguments;
}

Language UserLanguage() {
    if (const std::optional<Language> chosen = LanguageNamed(std::getenv("ORADEL_LANG"))) {
        return *chosen;
    }
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? Language::Russian
                                                                     : Language::English;
}

std::string Windows1251TextForStandardOutput(std::string_view windows1251) {
    const UINT codePage = ConsoleCodePage();
    std::string text(windows1251);
    if (codePage == kCp866) {
        RecodeLettersToCp866(
            text);  // the line's own recoding: Cyrillic letters and the numero sign
        return text;
    }
    if (codePage == kWindows1251CodePage) return text;
    return NarrowFromWide(Utf16FromUtf8(Utf8FromWindows1251(windows1251)), codePage);
}

Console::Console()
    : outputBuffer_(std::make_unique<StandardStreamBuffer>(STD_OUTPUT_HANDLE, false)),
      errorBuffer_(std::make_unique<StandardStreamBuffer>(STD_ERROR_HANDLE, true)) {
    output_.rdbuf(outputBuffer_.get());
    errors_.rdbuf(errorBuffer_.get());
}

Console::~Console() {
    output_.flush();
    errors_.flush();
}

}  // namespace oradel
