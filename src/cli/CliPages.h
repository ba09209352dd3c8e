#pragma once

#include "panel/LinkTimings.h"

#include <QStringList>

class QTextStream;

// tarvik1-cli read, write and diff: the models of the window's own settings
// pages (without widgets), driven through a page host of the command line,
// so that a file the command line writes equals the window's byte for byte
// for the same panel.
//
//   read  --port P [--modem N] [--pages LIST] --out FILE.ini
//         reads the pages (all settings pages by default) and writes the
//         settings file; with --pages the file holds the lines of the pages
//         read, in page order, and nothing else. Nothing is written unless
//         every parameter was read.
//   write --port P [--modem N] FILE.ini [--pages LIST] [--erase-journal]
//         loads the file into the pages as the window's "Загрузить из файла"
//         does and writes them. Writing the Channels page erases the panel's
//         journal: a write that includes it is refused, with nothing sent,
//         unless --erase-journal is given.
//   diff  --port P [--modem N] FILE.ini [--pages LIST]
//         reads the pages and prints, key by key, where the file differs.
//
// Without --pages, write and diff take the pages the file holds at least
// one setting of; the others are named on `err` and left alone.
//
// Progress per page and what the pages report go to `err`.

// Whether the command line runs one of these commands.
bool IsPagesCommand(const QStringList& args);

// Runs tarvik1-cli as RunCli does, these three commands included; returns
// the exit code.
int RunCliWithPages(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err,
                    const TLinkTimings& timings = {});
int RunCliWithPages(const QStringList& args, QTextStream& out, QTextStream& err,
                    const TLinkTimings& timings = {});
