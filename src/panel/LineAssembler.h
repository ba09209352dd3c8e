#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Turns received bytes into answer lines: the bytes are read as
// Windows-1251, every LF and every ">" is dropped wherever it stands, a
// line ends at CR, empty lines are skipped. Text after the last CR waits
// for the next data; text that grows past kMaxPending without a CR is cut
// into a line so that a device that never ends its lines cannot exhaust
// memory.
class TLineAssembler {
public:
    static constexpr qsizetype kMaxPending = 64 * 1024;

    // Appends the data; returns the complete lines it ended, in order.
    QStringList Feed(const QByteArray& data);
    // The text not yet ended by a CR.
    const QString& Pending() const { return FBuffer; }
    void Clear() { FBuffer.clear(); }

private:
    QString FBuffer;
};
