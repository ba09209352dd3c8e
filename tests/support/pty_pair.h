#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes every byte to a non-blocking descriptor, waiting for room as
// needed; false when the descriptor fails.
bool WriteAllToFd(int fd, const char* bytes, qsizetype count);
// Reads whatever arrives on `fd` within `timeoutMs`, stopping early once
// nothing more has come for `quietMs` after the first bytes. When
// `chunkSizes` is given, the size of every single read is added to it.
QByteArray ReadFdFor(int fd, int timeoutMs, int quietMs, QList<int>* chunkSizes = nullptr);

// A pseudo-terminal pair for tests: the code under test opens the slave by
// its path, the test plays the other side on the master descriptor.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString slavePath() const { return fSlavePath; }
    int masterFd() const { return fMaster; }

    // Writes every byte to the master side.
    void write(const QByteArray& bytes);
    // Reads what the slave side wrote until `count` bytes have come or
    // `timeoutMs` has passed; returns what came.
    QByteArray readExactly(int count, int timeoutMs = 2000);
    // Reads whatever arrives within `timeoutMs` (stops early once nothing
    // more comes for `quietMs`).
    QByteArray readFor(int timeoutMs, int quietMs = 100);
    // Closes the master: the slave side sees a hang-up.
    void hangUp();

private:
    int fMaster = -1;
    int fSlaveKeep = -1; // keeps the slave alive until the code under test opens it
    QString fSlavePath;
};
