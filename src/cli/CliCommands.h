#pragma once

#include <QStringList>

class QTextStream;

// Runs tarvik1-cli with its arguments (without the program name); returns
// the exit code. Output goes to `out`, error lines to `err`; answers to
// questions come from `in` (without it, nothing is confirmed).
int RunCli(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err);
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

// The text of --help.
QString CliHelp();
