#pragma once

#include <QByteArray>
#include <QList>

namespace emu {

// An answer before it goes on the line: parts sent one after another, each
// after its own delay. Panel lines end with CR (or CR LF); modem result lines
// stand between CR LF pairs, as a V.250 modem sends them.
struct ReplyPart {
    int delayMs = 0;
    QList<QByteArray> lines;
    bool modemStyle = false;
    QByteArray raw; // sent as it is, before the lines
};

struct Reply {
    QList<ReplyPart> parts;

    static Reply panel(const QList<QByteArray>& lines, int delayMs = 0);
    static Reply modem(const QList<QByteArray>& lines, int delayMs = 0);
    static Reply error(bool modemStyle = false);
    static Reply none() { return {}; }

    bool isEmpty() const;
    // Whether a line other than "OK" and "ERROR" is in it.
    bool hasValueLine() const;
};

// A piece of bytes to write after a delay.
struct TimedBytes {
    int delayMs = 0;
    QByteArray bytes;
};

QList<TimedBytes> encodeReply(const Reply& reply, bool crlf);

} // namespace emu
