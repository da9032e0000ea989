// The check of a point list before the flight: every problem that would make
// a device leave out, change or garble a point, each with the line of the list
// it stands on. The exports' own reader reads the list in one pass; the
// devices' rules (names cut, transliterated, made unique) are the writers'.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

#include "engine/messages.hpp"
#include "engine/text_input.hpp"

namespace oradel {

// An error: a point is left out or changed beyond recognition on some
// device. A warning: it survives but differs (cut, transliterated, renamed).
// A note: advice.
enum class Severity { Error, Warning, Note };

struct Diagnostic {
    std::size_t line;  // from 1
    Severity severity;
    Message text;
};

// The word for a severity in the message table ("ошибка", "error").
MessageId SeverityName(Severity severity);

struct DiagnosticCounts {
    std::size_t errors = 0, warnings = 0, notes = 0;
};
DiagnosticCounts CountDiagnostics(const std::vector<Diagnostic>& diagnostics);

// The diagnostics of the list read from `input`, sorted by line (the order
// found within a line). `readAsUtf8` says how the input decodes the file.
std::vector<Diagnostic> CheckPointList(TextInput& input, bool readAsUtf8);

// Opens and checks a point list. Throws UserError when the file cannot be
// read or holds no point list (a GPX or waypoint file); a list with NUL
// bytes is checked, each such line an error.
std::vector<Diagnostic> CheckPointListFile(const std::filesystem::path& file);

}  // namespace oradel
