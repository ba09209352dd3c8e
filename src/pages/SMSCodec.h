#pragma once

#include <QString>
#include <QStringList>

// The SMS page: the texts of the six messages the panel sends on its own
// events ("+smstext0" to "+smstext5"). Texts go to the panel as they stand
// (in Windows-1251, like every command): the page sets no limits of length
// or characters and filters no keys.

constexpr int SMSCount = 6;

// The grid: the heading row and, for rows 1..6, the message's purpose,
// which is also its default text.
QStringList SMSGridHeader(); // "№", "Назначение", "Текст СМС"
QString SMSPurpose(int r);
QStringList SMSDefaultTexts();
// Column widths for a grid of the given client width: the number column is
// 30 pixels, each text column half the width less 17 (never below 0).
constexpr int SMSNumberColumnWidth = 30;
int SMSTextColumnWidth(int clientWidth);

// Text r (1..6): its read command, "+smstext" and the hexadecimal digit of
// r - 1; its write command, the read command followed by the text; its
// names in the error list on reading ("Текст СМС #%d") and on writing
// ("Тест СМС #%d").
QString SMSReadCommand(int r);
QString SMSWriteCommand(int r, const QString& text);
QString SMSReadErrorName(int r);
QString SMSWriteErrorName(int r);
