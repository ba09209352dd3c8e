#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A text parameter written with an empty value goes out as the parameter's
// read command ("+gprsname0" alone), so the panel answers with the value it
// keeps and "OK": the exchange succeeds and nothing changes in the panel.
// Given the value sent and the answer lines, returns the value the panel
// kept when that happened (the value line before the final "OK" of an
// answer to an empty value); empty otherwise.
std::optional<QString> KeptValueAfterWrite(const QString& sentValue, const QStringList& answer);
// The error-list entry for such a parameter: its write name and the value
// the panel kept.
QString KeptValueErrorName(const QString& writeName, const QString& kept);
