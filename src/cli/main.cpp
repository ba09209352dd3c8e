// tarvik1-cli: the panel from the command line.
#include "CliPages.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// While the widgets' platform starts, Qt may note things meant for a
// desktop session (no XDG_RUNTIME_DIR under a script or cron): they say
// nothing about the panel and would mix into the command's own lines.
void QuietStart(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // The settings pages are widgets: the commands that drive them get an
    // application with widgets on the offscreen platform, which needs no
    // display and shows nothing. The other commands need no widgets at all.
    std::unique_ptr<QCoreApplication> app;
    if (IsPagesCommand(raw)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QtMessageHandler previous = qInstallMessageHandler(QuietStart);
        app = std::make_unique<QApplication>(argc, argv);
        qInstallMessageHandler(previous);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app->arguments();
    args.removeFirst();
    const int code = RunCliWithPages(args, in, out, err);
    out.flush();
    err.flush();
    return code;
}
