#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "base/codepage.h"

namespace zev {

// The model's 8-bit text as a QString and back, through the configured code page.
QString ToQString(std::string_view bytes, TextEncoding encoding);
std::string FromQString(const QString& text, TextEncoding encoding);
// For message and input boxes: the program writes CR LF line breaks; Qt wants LF.
QString ToDisplayText(std::string_view bytes, TextEncoding encoding);

// File names are the file system's bytes, not model text.
QString PathToQString(std::string_view path);
std::string PathFromQString(const QString& path);

} // namespace zev
