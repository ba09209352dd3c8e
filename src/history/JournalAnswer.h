#pragma once

#include "JournalPages.h"

#include <QMap>
#include <QString>
#include <QStringList>

// The records of one "+read" answer, each credited to the index it carries
// and only when the command asked for that index.
struct TJournalAnswer {
    // Index -> its record line. An index brought in several lines is
    // credited only when they are all the same line.
    QMap<int, QString> Records;
    // Lines not credited: no record (not 75 characters, an index that is
    // no four hexadecimal digits), a record of an index not asked for, and
    // every line of an index brought in lines that differ.
    int Rejected = 0;
};

// Sorts the record lines of an answer (the lines before the final "OK")
// for a command that asked for the indexes of `asked`.
TJournalAnswer SortJournalAnswer(const QStringList& lines, const TIndexSpan& asked);

// The indexes a "+read" of the span asks the panel for: the span and the
// end index the command names past it (see ReadCommandFor).
TIndexSpan AskedByRead(const TIndexSpan& span);
