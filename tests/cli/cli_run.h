#pragma once

// The command line run inside the test, its output caught.
#include "cli/CliCommands.h"
#include "emulated_panel.h"

#include <QBuffer>
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

// Runs `entry` with its standard output on `device` (--out - writes bytes
// there); what went to standard error is returned.
inline CliRun RunOutputTo(QIODevice& device, CliEntry entry, const QStringList& args,
                          const TLinkTimings& timings) {
    CliRun r;
    QString none;
    QTextStream in(&none, QIODevice::ReadOnly);
    QTextStream out(&device);
    QTextStream err(&r.err);
    r.code = entry(args, in, out, err, timings);
    out.flush();
    err.flush();
    return r;
}

// What a run wrote to its standard output, as bytes.
struct CliBytesRun {
    int code = -1;
    QByteArray out;
    QString err;
};

inline CliBytesRun RunCaughtBytes(CliEntry entry, const QStringList& args, const TLinkTimings& timings) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const CliRun r = RunOutputTo(buffer, entry, args, timings);
    return {r.code, buffer.data(), r.err};
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
