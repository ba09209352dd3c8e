// panel-emulator: a simulated Tarvik-1 panel (and GSM modem) on a pseudo-terminal.

#include "emulated_panel.h"
#include "emulator_options.h"
#include "port_announcement.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <pthread.h>

using namespace emu;

int main(int argc, char** argv) {
    // SIGINT, SIGTERM and SIGHUP are taken by sigwait() below; they are blocked
    // before any thread starts so that none of them is delivered elsewhere.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    // Messages carry the name the program was started by: panel-emulator in
    // the build tree, tarvik1-panel-emulator where it is installed.
    const QByteArray name = QCoreApplication::applicationName().toLocal8Bit();
    const char* program = name.constData();
    EmulatorOptions options;
    QString message;
    switch (EmulatorOptions::parse(app.arguments(), options, message)) {
    case EmulatorOptions::Result::Help: std::fputs(message.toLocal8Bit().constData(), stdout); return 0;
    case EmulatorOptions::Result::Error:
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program, message.toLocal8Bit().constData(),
                     program);
        return 2;
    case EmulatorOptions::Result::Run: break;
    }

    EmulatedPanel panel(options.settings);
    QString error;
    if (!panel.start(&error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.toLocal8Bit().constData());
        return 1;
    }
    PortAnnouncement announcement;
    const bool announced = options.linkPath.isEmpty()
                               ? announcement.announce(panel.slavePath(), QStringLiteral("panel"), &error)
                               : announcement.announceAt(options.linkPath, panel.slavePath(), &error);
    if (!announced) {
        std::fprintf(stderr, "%s: %s\n", program, error.toLocal8Bit().constData());
        panel.stop();
        return 1;
    }

    std::printf("%s\n", announcement.linkPath().toLocal8Bit().constData());
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s mode on %s (%s); stop with Ctrl+C\n", program,
                 linkModeName(options.settings.mode).toLocal8Bit().constData(),
                 announcement.linkPath().toLocal8Bit().constData(),
                 panel.slavePath().toLocal8Bit().constData());

    int signal = 0;
    sigwait(&stopSignals, &signal);
    announcement.withdraw();
    panel.stop();
    std::fprintf(stderr, "%s: stopped (%s)\n", program,
                 signal == SIGINT    ? "SIGINT"
                 : signal == SIGTERM ? "SIGTERM"
                                     : "SIGHUP");
    return 0;
}
