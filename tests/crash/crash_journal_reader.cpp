// The command line's journal read, the archive on: reads the whole journal
// of the panel at argv[1] into the archive at argv[2], in small chunks, with
// the progress as a terminal's status line on standard error ("Прочитано N
// из M записей" after every chunk), until it is killed.
#include "cli/CliJournal.h"
#include "cli/CliSession.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: crash_journal_reader PORT ARCHIVE OUT.csv\n");
        return 2;
    }
    TCliOptions options;
    options.Port = QString::fromLocal8Bit(argv[1]);
    TJournalOptions journal;
    journal.All = true;
    journal.ArchivePath = QString::fromLocal8Bit(argv[2]);
    journal.Out = QString::fromLocal8Bit(argv[3]);
    journal.Progress = TProgressStyle::Terminal;
    // A chunk of a few records: the progress, and so the records told as
    // read, move on often.
    journal.Timing.FirstChunk = 20;
    journal.Timing.MinChunk = 20;
    journal.Timing.MaxChunk = 20;
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunJournal(options, journal, out, err);
}
