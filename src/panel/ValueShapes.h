#pragma once

#include <QString>

// What the panel's value for a read command looks like on the wire, where
// the command's value has a fixed form: so many hexadecimal digits, nine
// decimal digits, a reporting entry "DDDDDD=phone". A value of another form
// is no answer to that command (a stray line, another command's late or
// repeated answer) and its read fails; it is never turned into a default.
// Text values (numbers, addresses, names, messages) have no fixed form.
//
// Commands are the read commands as sent: "+o", "+disp", "+alphon3".

// Whether the read command's value has a fixed form at all.
bool HasValueShape(const QString& readCommand);
// Whether `value` (the answer's value line) has the form of the command's
// value; always true for a command whose value is free text.
bool ValueFitsShape(const QString& readCommand, const QString& value);
// The form in words, for messages ("2 шестнадцатеричные цифры"); empty for
// free text.
QString ValueShapeText(const QString& readCommand);
