#pragma once

#include <QString>

#include <cstdint>

class TJournalArchive;
class THistory;

// Puts one archived run of a panel's journal into a record store, in place
// of what it held, for the history list and its exports. False with the
// archive's error when the run could not be read; the store is then left
// as it was.
bool LoadArchivedRun(TJournalArchive& journal, qint64 panel, int run, THistory& history);
