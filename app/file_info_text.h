// One line about a file for the log: path, last change, size.
#pragma once

#include <QString>

namespace vmx {

// Path, a blank, the local time of the last change in the system's short
// format, a blank, the size in decimal, a blank and the word for bytes.
// Empty when the file cannot be found.
QString FileInfoText(const QString& path);

}  // namespace vmx
