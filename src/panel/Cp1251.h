#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251, the 8-bit text of the serial line and of the tool's own
// files. A character the code page lacks is written as "?"; the one byte
// the code page leaves undefined (0x98) reads back as "?".
QByteArray ToCp1251(const QString& text);
QString FromCp1251(const QByteArray& bytes);
