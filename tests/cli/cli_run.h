#pragma once

// The command line run inside the test, its output caught.
#include "cli/CliCommands.h"
#include "emulated_panel.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

// What one run printed and the exit code it returned.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// RunCli or RunCliWithPages.
using CliEntry = int (*)(const QStringList&, QTextStream&, QTextStream&, QTextStream&, const TLinkTimings&);

// Runs `entry` with `args`; `input` is what the user types (nothing: no
// question is confirmed).
inline CliRun RunCaught(CliEntry entry, const QStringList& args, const TLinkTimings& timings,
                        QString input = {}) {
    CliRun r;
    QTextStream in(&input, QIODevice::ReadOnly);
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = entry(args, in, out, err, timings);
    out.flush();
    err.flush();
    return r;
}

// `args` as they reach the panel over `mode`'s link: through the modem, the
// panel's number added.
inline QStringList OverLink(QStringList args, emu::LinkMode mode, const QString& number) {
    if (mode == emu::LinkMode::Modem)
        args << QStringLiteral("--modem") << number;
    return args;
}

// The session closed as its link closes it: "CABLE DISCONNECT" last over the
// cable, the modem hung up last through it.
inline bool SessionClosed(const emu::EmulatedPanel& panel, emu::LinkMode mode) {
    if (mode == emu::LinkMode::Cable)
        return panel.receivedLines().endsWith("CABLE DISCONNECT");
    return panel.receivedBytes().endsWith("+++ATH\r\n");
}
