// oradel: the window of the Oradel conversions.
#include <QApplication>
#include <QDir>
#include <QFileOpenEvent>
#include <QIcon>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/console.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "form/form.hpp"
#include "form/settings_location.hpp"
#include "oradel/build_info.hpp"
#include "ui/desktop.hpp"
#include "ui/main_window.hpp"

namespace {

std::filesystem::path PathOf(const QString& path) {
    return oradel::PathFromText(path.toStdString());
}

// macOS hands a file opened with the program ("Open with", dropped on its
// icon) to the running application as an event instead of an argument.
class FileOpenHandler final : public QObject {
  public:
    explicit FileOpenHandler(oradel::MainWindow& window) : window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FileOpen) {
            const QString file = static_cast<QFileOpenEvent*>(event)->file();
            if (!file.isEmpty()) {
                window_.FileGiven(file);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    oradel::MainWindow& window_;
};

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Whether Qt has a screen to open the window on, which it would otherwise
// abort for: an X or Wayland display, or a platform of QT_QPA_PLATFORM (a
// list separated by ";") that needs neither, such as offscreen.
bool HasDisplay() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    const char* platforms = std::getenv("QT_QPA_PLATFORM");
    std::string_view rest = platforms == nullptr ? "" : platforms;
    while (!rest.empty()) {
        const std::string_view platform = rest.substr(0, rest.find(';'));
        rest.remove_prefix(std::min(rest.size(), platform.size() + 1));
        if (!platform.empty() && !platform.starts_with("xcb") && !platform.starts_with("wayland")) {
            return true;
        }
    }
    return false;
#endif
}

// The user's own folder for documents: the home folder on Linux, Documents elsewhere.
std::filesystem::path DocumentsFolder() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
#else
    return PathOf(QDir::homePath());
#endif
}

// The window's life; a failure that leaves it (the settings, the window
// itself) reaches main.
int RunWindow(oradel::QtDesktop& desktop) {
    const oradel::FormSetup setup{
        oradel::SettingsFileLocation(
            PathOf(QApplication::applicationFilePath()),
            PathOf(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))),
        PathOf(QApplication::applicationDirPath()), std::string(oradel::kHomePage),
        DocumentsFolder()};
    oradel::MainWindow window(desktop, setup);
    FileOpenHandler fileOpenHandler(window);
    QApplication::instance()->installEventFilter(&fileOpenHandler);
    // A file given to the program ("Open with", a file dropped on its icon).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.FileGiven(arguments.at(1));
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    // At a terminal the program speaks the user's language, as oradel-convert does.
    const oradel::Language language = oradel::UserLanguage();
    if (argc > 1) {
        if (const std::optional<std::string> answer =
                oradel::WindowCommandLineAnswer(argv[1], language)) {
            std::cout << *answer << std::flush;
            return 0;
        }
    }
    if (!HasDisplay()) {
        std::cerr << oradel::Message(oradel::MessageId::NoDisplay).Text(language) << std::endl;
        return 1;
    }
    QApplication application(argc, argv);
    // Names the user's configuration folder of a system-wide install.
    QApplication::setApplicationName(QStringLiteral("oradel"));
    // Ties the window to the installed oradel.desktop (its icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("oradel"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("oradel"), QIcon(QStringLiteral(":/oradel.png"))));

    oradel::QtDesktop desktop;
    try {
        return RunWindow(desktop);
    } catch (const std::exception& failure) {
        desktop.ShowMessage(
            nullptr, QString::fromStdString(oradel::FailureText(failure, oradel::kWindowLanguage)));
        return 1;
    }
}
