#include "scripted_peer.h"

#include <QTimer>

#include <unistd.h>

ScriptedPeer::ScriptedPeer(PtyPair& pty) : fPty(pty), fNotifier(pty.masterFd(), QSocketNotifier::Read) {
    connect(&fNotifier, &QSocketNotifier::activated, this, &ScriptedPeer::readable);
}

void ScriptedPeer::send(const QByteArray& bytes) {
    fPty.write(bytes);
}

void ScriptedPeer::readable() {
    char buf[4096];
    const ssize_t n = ::read(fPty.masterFd(), buf, sizeof buf);
    if (n <= 0) {
        fNotifier.setEnabled(false);
        return;
    }
    raw.append(buf, n);
    fPending.append(buf, n);
    for (;;) {
        qsizetype end = fPending.indexOf('\n');
        const qsizetype esc = fPending.indexOf("+++");
        if (esc == 0 && (end < 0 || end > 3)) {
            // The modem escape comes without a line end.
            fPending.remove(0, 3);
            lines.append("+++");
            if (onCommand)
                sendChunks(onCommand("+++"));
            continue;
        }
        if (end < 0)
            break;
        QByteArray line = fPending.left(end);
        fPending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        lines.append(line);
        if (onCommand)
            sendChunks(onCommand(line));
    }
}

void ScriptedPeer::sendChunks(QList<QByteArray> chunks) {
    if (chunks.isEmpty())
        return;
    if (chunkDelayMs <= 0) {
        for (const QByteArray& c : chunks)
            fPty.write(c);
        return;
    }
    const QByteArray first = chunks.takeFirst();
    QTimer::singleShot(chunkDelayMs, this, [this, first, chunks] {
        fPty.write(first);
        sendChunks(chunks);
    });
}
