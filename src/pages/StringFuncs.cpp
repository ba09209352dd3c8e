#include "StringFuncs.h"

#include <array>

namespace {

// The two alphabets in the same order (note ь ы ъ), and the Latin text of
// each position in either case.
const QString kLower = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщьыъэюя");
const QString kUpper = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ");

constexpr std::array<const char*, 33> kLatinLower = {
    "a", "b", "v", "g", "d", "e", "yo", "zh", "z",  "i",  "i", "k", "l", "m", "n",  "o",  "p",
    "r", "s", "t", "u", "f", "h", "ts", "ch", "sh", "sh", "'", "y", "'", "e", "ju", "ja",
};
// Ё gives "yo" in lower case as well.
constexpr std::array<const char*, 33> kLatinUpper = {
    "A", "B", "V", "G", "D", "E", "yo", "Zh", "Z",  "I",  "I", "K", "L", "M", "N",  "O",  "P",
    "R", "S", "T", "U", "F", "H", "Ts", "Ch", "Sh", "Sh", "'", "Y", "'", "E", "Ju", "Ja",
};

} // namespace

QString TranslitToLatin(const QString& text) {
    QString result;
    result.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (const qsizetype lower = kLower.indexOf(c); lower >= 0)
            result += QLatin1String(kLatinLower[size_t(lower)]);
        else if (const qsizetype upper = kUpper.indexOf(c); upper >= 0)
            result += QLatin1String(kLatinUpper[size_t(upper)]);
        else
            result += c;
    }
    return result;
}
