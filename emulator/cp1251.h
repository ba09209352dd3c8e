#pragma once

#include <QByteArray>
#include <QString>

namespace emu {

// The panel's 8-bit text is Windows-1251. These two functions are all the
// emulator needs of it.
namespace cp1251 {

// Bytes to text; the one undefined byte (0x98) becomes U+FFFD.
QString decode(const QByteArray& bytes);
// Text to bytes; a character the code page lacks becomes '?'.
QByteArray encode(const QString& text);
// Whether a byte stands for a character in the code page.
bool isDefined(unsigned char byte);

} // namespace cp1251
} // namespace emu
