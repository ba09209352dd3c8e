#pragma once

#include <QList>

namespace emu {

// The event keys the panel knows: a three-digit Contact ID event code with
// its qualifier, 1 (new event, opening) or 3 (restore, closing). The same
// 431 keys stand in the tool's event text table, so an alarm-button setting
// is valid exactly when its code and qualifier are one of them.
namespace cidtable {

struct Key {
    int code = 0;      // 100..999
    int qualifier = 0; // 1 or 3
};

bool contains(int code, int qualifier);
// Every key, sorted by code, then qualifier.
const QList<Key>& keys();

} // namespace cidtable
} // namespace emu
