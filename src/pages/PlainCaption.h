#pragma once

#include <QString>

// A control's caption as one plain line, as a user reads it in a list of
// settings: "&&" stays as "&", a lone "&" (a mnemonic mark) goes, line
// breaks become spaces, a closing ":" goes.
QString PlainCaption(const QString& text);
