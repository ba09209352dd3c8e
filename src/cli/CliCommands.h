#pragma once

#include "panel/LinkTimings.h"

#include <QStringList>

class QTextStream;

// Runs tarvik1-cli with its arguments (without the program name); returns
// the exit code. Output goes to `out`, error lines to `err`; answers to
// questions come from `in` (without it, nothing is confirmed). The link runs
// with `timings` (the tool's own unless a test shortens them).
int RunCli(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err,
           const TLinkTimings& timings = {});
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err, const TLinkTimings& timings = {});

// The text of --help.
QString CliHelp();
// The text of --version: the program's name and version ("tarvik1-cli 2.0.0.16").
QString CliVersion();
