// Texts cross the Qt boundary here: the core keeps 8-bit Windows-1252 strings (as the unit and
// the files carry them), Qt wants Unicode. Latin-1 is not the same: bytes 128-159 hold the euro
// sign, typographic quotes, dashes and a few letters in Windows-1252.
#pragma once

#include <QString>
#include <string>

namespace sigcond::qt {

// Every byte maps to one character; the five bytes that Windows-1252 leaves unassigned map to
// the control characters of the same code, so nothing is lost.
QString fromCp1252(const std::string& text);

// The reverse; a character that Windows-1252 cannot hold becomes "?".
std::string toCp1252(const QString& text);

// Screen captions separate their lines with a carriage return (alone or before a line feed);
// Qt widgets want a line feed.
QString captionText(const std::string& text);

}  // namespace sigcond::qt
