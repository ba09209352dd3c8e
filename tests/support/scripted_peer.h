#pragma once

#include "pty_pair.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSocketNotifier>

#include <functional>

// The far end of a pty, played on the test's own event loop: every command
// line the tool writes (ended by CR LF; empty lines are ignored) goes to
// `onCommand`, whose chunks are written back, each after `chunkDelayMs`.
// Because it runs on the event loop, it answers while the tool waits in a
// nested loop of its own.
class ScriptedPeer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedPeer(PtyPair& pty);

    std::function<QList<QByteArray>(const QByteArray& line)> onCommand;
    int chunkDelayMs = 0;

    // Every non-empty line received, in order, and every byte received.
    QList<QByteArray> lines;
    QByteArray raw;

    // Sends bytes now, outside any answer.
    void send(const QByteArray& bytes);

private:
    void readable();
    void sendChunks(QList<QByteArray> chunks);

    PtyPair& fPty;
    QSocketNotifier fNotifier;
    QByteArray fPending;
};
