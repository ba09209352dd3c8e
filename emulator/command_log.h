#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace emu {

// What the panel (and the modem) received: a counter per command name, the
// command lines in order, and the lines answered with "ERROR".
class CommandLog {
public:
    void record(const QString& name, bool write, bool rejected, const QByteArray& line);
    int count(const QString& name) const { return fCounts.value(name); }
    int writes(const QString& name) const { return fWrites.value(name); }
    QMap<QString, int> counts() const { return fCounts; }
    QList<QByteArray> lines() const { return fLines; }
    QList<QByteArray> rejected() const { return fRejected; }
    void clear();

    static constexpr qsizetype kMaxLines = 200000;

private:
    QMap<QString, int> fCounts;
    QMap<QString, int> fWrites;
    QList<QByteArray> fLines;
    QList<QByteArray> fRejected;
};

} // namespace emu
