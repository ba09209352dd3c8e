#pragma once

#include <QString>

// What tells one journal record from another at the same index: the index,
// the Contact ID message, the date text and the panel's running event
// number (characters 1-20 and 40-69 of the record line). The delivery mode
// and bits after them change while the panel is still sending the event,
// and the check sum with them, so the same event read twice may differ
// there and is still the same record. A line too short for these fields is
// its own identity.
QString RecordIdentity(const QString& line);
