// tarvik1-cli: the panel from the command line.
#include "CliPages.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // No widgets and no platform: the settings pages are their models alone.
    QCoreApplication app(argc, argv);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    const int code = RunCliWithPages(args, in, out, err);
    out.flush();
    err.flush();
    return code;
}
