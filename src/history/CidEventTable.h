#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One line of the Contact ID event text table: the key is the three-digit
// event code followed by the qualifier digit (1 for a new event or an
// opening, 3 for a restore or a closing), as in "1301=Тревога по зоне".
struct TCidEvent {
    QString Key;       // "1301"
    int Code = 0;      // 130
    int Qualifier = 0; // 1
    QString Text;      // everything after the first "=", exactly as stored
};

// The Contact ID event texts: the journal names its events with them, and
// the alarm-button lists offer them. The program carries the table as a
// resource (Windows-1251, CR LF, one "key=text" line per event, sorted by
// key); Builtin() loads it once.
class TCidEventTable {
public:
    // The table built into the program.
    static const TCidEventTable& Builtin();
    // The resource's bytes, as the program carries them.
    static QByteArray BuiltinBytes();

    TCidEventTable() = default;
    // Decodes the table's bytes (Windows-1251, lines ended by CR LF).
    // Lines without "=" are skipped; of two lines with one key the first
    // counts.
    explicit TCidEventTable(const QByteArray& bytes);

    // The text of a key ("1301"); empty when the table lacks it.
    QString Text(const QString& key) const;
    // The text of an event code (130) and a qualifier (1).
    QString Text(int code, int qualifier) const;
    bool Contains(const QString& key) const { return fByKey.contains(key); }

    // Every line in the table's order.
    const QList<TCidEvent>& Events() const { return fEvents; }
    // The lines as "key=text", in the table's order.
    QStringList Lines() const;
    int Count() const { return int(fEvents.size()); }

private:
    QList<TCidEvent> fEvents;
    QHash<QString, qsizetype> fByKey; // key to its place in fEvents
};
