#pragma once

#include <QString>

// The text with every Russian letter replaced by its Latin spelling ("ж" ->
// "zh", "Я" -> "Ja", "ъ" and "ь" -> "'"); every other character, Latin
// letters, digits, punctuation and spaces included, stays as it is. The
// result holds no Russian letters, so a second pass changes nothing.
QString TranslitToLatin(const QString& text);
