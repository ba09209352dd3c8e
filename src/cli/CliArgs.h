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
    QString error; // a malformed command line: what is wrong
};

TCliArgs ParseCliArgs(const QStringList& args);
