// The program's command line, read before the window's QApplication exists.
#pragma once

#include <QStringList>
#include <optional>

namespace vostrel::platform::qt {

// Answers --help and --version on standard output, and refuses an option or argument the program does not
// take on standard error. Returns the exit status when the program must end now. Qt's own options (-platform,
// -style, ...) pass: QApplication takes them.
[[nodiscard]] std::optional<int> AnswerCommandLine(const QStringList& arguments);

}  // namespace vostrel::platform::qt
