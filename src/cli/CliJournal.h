#pragma once

#include "CliSession.h"
#include "history/JournalReader.h"

#include <QString>

class QTextStream;

struct TJournalOptions {
    QString Out;           // FILE.xlsx or FILE.csv
    int Last = 20;         // the newest records to read (one page by default)
    bool All = false;      // the whole journal instead
    TJournalTiming Timing; // the reads' time-outs and chunks (tests shorten them)
};

// tarvik1-cli journal: connects, reads the reporting entries, the pointer
// and the records (the newest Last, or all, in chunks with the progress on
// `err`), writes the same sheet as the window's export and disconnects.
// Returns ceOk; ceExchangeFailed when a read failed (what was read is still
// written); ceJournalEmpty for an empty journal (no file); ceOutputFailed
// when the file could not be written; or the connection's exit code.
int RunJournal(const TCliOptions& options, const TJournalOptions& journal, QTextStream& out, QTextStream& err,
               const TLinkTimings& timings = {});

// tarvik1-cli erase-journal (the caller has checked --yes): connects, erases
// the panel's journal with the wake-up off, disconnects. ceOk, or
// ceExchangeFailed when the panel did not confirm, or the connection's code.
int RunEraseJournal(const TCliOptions& options, const TJournalTiming& timing, QTextStream& out,
                    QTextStream& err, const TLinkTimings& timings = {});
