#pragma once

#include "CliProgress.h"
#include "CliSession.h"
#include "history/HistoryExport.h"
#include "history/JournalReader.h"

#include <QString>

class QTextStream;
class THistory;

// The sheet of the given store rows as the CSV file's bytes, to the device
// under `out` (standard output).
TExportResult ExportToStandardOutput(const THistory& history, const std::vector<int>& rows, QTextStream& out);

struct TJournalOptions {
    QString Out;                                     // FILE.xlsx or FILE.csv; "-": CSV to `out`
    int Last = 20;                                   // the newest records to read (one page by default)
    bool All = false;                                // the whole journal instead
    TJournalTiming Timing;                           // the reads' time-outs and chunks (tests shorten them)
    TProgressStyle Progress = TProgressStyle::Lines; // Quiet: errors alone
    bool New = false;                                // only the records after the archived ones
    bool Archive = true;                             // keep what is read in the archive
    QString ArchivePath;                             // empty: the user's archive
};

// tarvik1-cli journal: connects, reads the reporting entries, the pointer
// and the records (the newest Last, or all, in chunks with the progress on
// `err` in the style of journal.Progress), writes the same sheet as the
// window's export and disconnects. With Out "-" the sheet is the CSV file's
// bytes, written to the device under `out` (standard output), and the
// report of what was written goes to `err` instead.
// With Archive, the archive is opened before the port (ceArchiveFailed,
// nothing sent, when it cannot be), the panel is noted by its object number
// and every record read is stored as it comes; New reads only the records
// after the last archived one (all of them for a panel the archive does not
// know, or whose journal was erased or wrapped since).
// Returns ceOk; ceExchangeFailed when a read failed (what was read is still
// written); ceJournalEmpty for an empty journal or, with New, no new record
// (no file); ceOutputFailed when the file could not be written;
// ceArchiveFailed when the archive did not take the records (the file is
// still written); or the connection's exit code.
int RunJournal(const TCliOptions& options, const TJournalOptions& journal, QTextStream& out, QTextStream& err,
               const TLinkTimings& timings = {});

// tarvik1-cli erase-journal (the caller has checked --yes): connects, erases
// the panel's journal with the wake-up off, disconnects. ceOk, or
// ceExchangeFailed when the panel did not confirm, or the connection's code.
// Quiet: errors alone.
int RunEraseJournal(const TCliOptions& options, const TJournalTiming& timing, QTextStream& out,
                    QTextStream& err, const TLinkTimings& timings = {},
                    TProgressStyle progress = TProgressStyle::Lines);
