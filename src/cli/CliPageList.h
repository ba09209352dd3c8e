#pragma once

#include <QString>

#include <vector>

// The settings pages a --pages list names, in tag order, each once. An item
// is a page tag (0 to 6), a page's name as the window's page list shows it
// ("Каналы связи") or its short Latin name ("channels"), letter case not
// counted, items separated by commas. An empty list means every settings
// page. False, with `error` naming the item, for an item that is no
// settings page (the History page keeps nothing in a settings file).
bool ParsePageList(const QString& list, std::vector<int>& tags, QString& error);

// The short Latin name of a settings page ("common", "sms"...).
QString PageLatinName(int tag);
