// tarvik1-cli: the panel from the command line.
#include "CliCommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    const int code = RunCli(args, in, out, err);
    out.flush();
    err.flush();
    return code;
}
