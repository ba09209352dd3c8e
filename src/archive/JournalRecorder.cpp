#include "JournalRecorder.h"

#include "Archive.h"
#include "ArchiveSearchText.h"
#include "JournalArchive.h"
#include "RecordIdentity.h"

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
    fHead.reset();
    fNewRun = false;
    const std::optional<TJournalHead> head = fJournal.Head(fPanel);
    if (!head) {
        Failed(fJournal.Error());
        return;
    }
    fHead = *head;
    // Fewer records than the run held: erased, or wrapped past 65535.
    fNewRun = !head->IsEmpty() && newest < head->Index;
}

int TJournalRecorder::FirstNewIndex() {
    if (!fHead || fHead->IsEmpty() || fNewRun)
        return 0;
    const QString line = ReadPanelRecord(fHead->Index);
    if (!line.isEmpty() && RecordIdentity(line) != RecordIdentity(fHead->Raw)) {
        fNewRun = true;
        return 0;
    }
    // The same record, or none could be had: the run goes on; a record that
    // differs from the archived one still starts a new run when stored.
    return fHead->Index + 1;
}

void TJournalRecorder::RecordsRead(const QMap<int, QString>& records) {
    QList<TRecordToStore> batch;
    batch.reserve(records.size());
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        // Past the pointer lies the previous pass of a wrapped journal (or
        // an event newer than the pointer, which the next read brings).
        if (it.key() <= fNewest)
            batch.append(ArchiveRecord(it.key(), *it));
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
