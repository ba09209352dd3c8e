#pragma once

// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer and the replay driver then keep the input), and the input as
// the parsers take it.
#include "panel/Cp1251.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, what)                                                                               \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #cond, what);         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

namespace fuzz {

// The input bytes, copied (the parsers may keep them).
inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input as text lines of the line's code page, cut at LF only: lines may
// keep CR, ">" and other characters the line assembly would have taken out,
// so the parsers see more than the panel could send them.
inline QStringList LinesAtLf(const QByteArray& bytes) {
    return FromCp1251(bytes).split(QLatin1Char('\n'));
}

} // namespace fuzz
