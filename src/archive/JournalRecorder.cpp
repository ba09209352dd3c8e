#include "JournalRecorder.h"

#include "ArchiveSearchText.h"
#include "JournalArchive.h"
#include "RecordIdentity.h"
#include "Archive.h"

#include "history/JournalAnswer.h"
#include "history/JournalReader.h"
#include "panel/PanelExchange.h"

#include <QDateTime>

TJournalRecorder::TJournalRecorder(TJournalArchive& journal, TPanelExchange& exchange, qint64 panel,
                                   QObject* parent)
    : QObject(parent), fJournal(journal), fExchange(exchange), fPanel(panel),
      fReadTimeOut(ExchangeTimeout::HistoryFirst) {}

void TJournalRecorder::Attach(TJournalReader& reader) {
    connect(&reader, &TJournalReader::PointerRead, this, &TJournalRecorder::PointerRead);
    connect(&reader, &TJournalReader::RecordsRead, this, &TJournalRecorder::RecordsRead);
}

void TJournalRecorder::Failed(const QString& error) {
    if (fError.isEmpty())
        fError = error;
    emit StoreFailed(error);
}

QString TJournalRecorder::ReadPanelRecord(int index) {
    const TIndexSpan span{index, index};
    QStringList lines;
    QStringList errors;
    if (!fExchange.ReadParamFromDevice(ReadCommandFor(span), lines, errors, JournalError::Records,
                                       QStringLiteral("OK"), fReadTimeOut) ||
        !errors.isEmpty())
        return {};
    if (!lines.isEmpty())
        lines.removeLast();
    return SortJournalAnswer(lines, AskedByRead(span)).Records.value(index);
}

void TJournalRecorder::PointerRead(int newest) {
    fNewest = newest;
    fFirstNew = 0;
    fNewRun = false;
    const std::optional<TJournalHead> head = fJournal.Head(fPanel);
    if (!head) {
        Failed(fJournal.Error());
        return;
    }
    if (head->IsEmpty())
        return;
    if (newest < head->Index) {
        // Fewer records than the run held: erased, or wrapped past 65535.
        fNewRun = true;
        return;
    }
    const QString line = ReadPanelRecord(head->Index);
    if (!line.isEmpty() && RecordIdentity(line) != RecordIdentity(head->Raw)) {
        fNewRun = true;
        return;
    }
    // The same record, or none could be had: the run goes on; a record that
    // differs from the archived one still starts a new run when stored.
    fFirstNew = head->Index + 1;
}

void TJournalRecorder::RecordsRead(const QMap<int, QString>& records) {
    QList<TRecordToStore> batch;
    batch.reserve(records.size());
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        // Past the pointer lies the previous pass of a wrapped journal (or
        // an event newer than the pointer, which the next read brings).
        if (it.key() <= fNewest)
            batch.append({it.key(), *it, ArchiveSearchText(*it)});
    }
    if (batch.isEmpty())
        return;
    if (!fJournal.Store(fPanel, batch, fNewRun, QDateTime::currentDateTimeUtc())) {
        Failed(fJournal.Error());
        return;
    }
    fNewRun = false;
    fStored += int(batch.size());
}
