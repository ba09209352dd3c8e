#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// The other end of the emulator's line in the tests: opens the pty slave as
// a serial port and exchanges bytes. It is written here, apart from the
// tool's own exchange, and does just enough: it splits answers at CR and
// drops LF and '>' characters and empty lines, as a client of the panel must.
class PanelClient {
public:
    explicit PanelClient(const QString& path);
    ~PanelClient();
    PanelClient(const PanelClient&) = delete;
    PanelClient& operator=(const PanelClient&) = delete;

    bool isOpen() const { return fFd >= 0; }
    void close();

    void send(const QByteArray& bytes);
    // A page command: the command, CR LF, CR LF; returns the answer lines
    // up to and including the final "OK" or an "ERROR" line.
    QList<QByteArray> page(const QByteArray& command, int timeoutMs = 2000);
    // A connection-sequence command with a single CR LF.
    QList<QByteArray> line(const QByteArray& command, int timeoutMs = 2000);
    // Reads answer lines until `done` holds for them or the time is up.
    QList<QByteArray> collect(const std::function<bool(const QList<QByteArray>&)>& done, int timeoutMs);
    // Lines until `okCount` lines "OK" (or an "ERROR", or a modem result) came.
    QList<QByteArray> answer(int timeoutMs = 2000, int okCount = 1);
    // Raw bytes for `timeoutMs` (stops once nothing came for `quietMs` after something came).
    QByteArray readRaw(int timeoutMs, int quietMs = 150);
    // Sizes of the single reads that brought the bytes.
    QList<int> readChunks(int timeoutMs, int quietMs = 150);

    static QList<QByteArray> splitLines(const QByteArray& raw);

private:
    QByteArray fPending; // received, not yet ended by a CR
    int fFd = -1;
};
