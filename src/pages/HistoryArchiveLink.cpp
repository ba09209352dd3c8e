#include "HistoryArchiveLink.h"

#include "PageHost.h"
#include "archive/ArchivedJournal.h"
#include "archive/JournalRecorder.h"
#include "archive/PanelArchive.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"
#include "panel/PanelExchange.h"

THistoryArchiveLink::THistoryArchiveLink(IPageHost& host, TJournalReader& reader, THistory& store,
                                         QObject* parent)
    : QObject(parent), fHost(host), fReader(reader), fStore(store) {}

THistoryArchiveLink::~THistoryArchiveLink() = default;

bool THistoryArchiveLink::Available() const {
    const TPanelArchive* archive = fHost.PanelArchive();
    return archive && archive->Enabled();
}

void THistoryArchiveLink::Failed(const QString& error) {
    if (fError.isEmpty())
        fError = error;
}

QString THistoryArchiveLink::TakeError() {
    QString error;
    std::swap(error, fError);
    return error;
}

bool THistoryArchiveLink::BeforePanelRead() {
    if (fViewing)
        EndView();
    TPanelArchive* archive = fHost.PanelArchive();
    if (!archive || !archive->Enabled()) {
        fRecorder.reset();
        return true;
    }
    const std::optional<qint64> panel = archive->ConnectedPanel(fHost.Exchange(), ExchangeTimeout::Param);
    if (!panel) {
        fRecorder.reset();
        Failed(archive->Error());
        return false;
    }
    if (!fRecorder || fRecorderPanel != *panel) {
        fRecorder = std::make_unique<TJournalRecorder>(archive->Journal(), fHost.Exchange(), *panel);
        fRecorderPanel = *panel;
        fRecorder->Attach(fReader);
        connect(fRecorder.get(), &TJournalRecorder::StoreFailed, this, &THistoryArchiveLink::Failed);
    }
    return true;
}

void THistoryArchiveLink::Forget() {
    fRecorder.reset();
    fRecorderPanel = -1;
    if (fViewing) {
        fViewing = false;
        fViewText.clear();
        emit ViewChanged();
    }
}

bool THistoryArchiveLink::View(qint64 panel, const QString& object, int run) {
    TPanelArchive* archive = fHost.PanelArchive();
    if (!archive || !archive->Open()) {
        Failed(archive ? archive->Error() : QString());
        return false;
    }
    if (!LoadArchivedRun(archive->Journal(), panel, run, fStore)) {
        Failed(archive->Journal().Error());
        return false;
    }
    fViewing = true;
    fViewText =
        QStringLiteral("Архив: панель %1, серия %2 (записей: %3)").arg(object).arg(run).arg(fStore.Count());
    fReader.ShowStored();
    emit ViewChanged();
    return true;
}

void THistoryArchiveLink::EndView() {
    if (!fViewing)
        return;
    fViewing = false;
    fViewText.clear();
    fReader.JournalErased();
    emit ViewChanged();
}
