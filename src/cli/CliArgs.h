#pragma once

#include "CliSession.h"

#include <QString>
#include <QStringList>

// A tarvik1-cli command line taken apart: the command, the connection's
// options, the words after the command and every option any command takes.
// Each command checks what it needs of it.
struct TCliArgs {
    QString command;
    TCliOptions options;
    QStringList rest;
    bool help = false;
    bool version = false; // --version: the program's version, nothing else
    bool quiet = false;   // --quiet: nothing on standard error but errors
    bool yes = false;
    QString out;
    QString last;
    bool all = false;
    QString pages; // --pages: page names or tags, comma separated
    bool eraseJournal = false;
    bool newRecords = false; // --new: journal: only the records after the archived ones
    bool noArchive = false;  // --no-archive: nothing is kept in the archive
    QString archive;         // --archive FILE: another archive file than the user's
    QString run;             // --run N: archive journal
    QString at;              // --at N: archive config
    QString error;           // a malformed command line: what is wrong
};

TCliArgs ParseCliArgs(const QStringList& args);
