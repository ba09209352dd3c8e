#include "JournalReader.h"

#include "HistoryUnit.h"
#include "JournalAnswer.h"
#include "WakeUpSwitch.h"

#include <QElapsedTimer>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
const QString kOK = QStringLiteral("OK");

// What a step asked for while a read of the journal runs gets: nothing done.
TJournalResult Refused() {
    TJournalResult result;
    result.Busy = true;
    return result;
}
} // namespace

// How far a read has gone through its span, and how fast the line was.
struct TJournalReader::TChunkPlan {
    TIndexSpan Span;
    bool MissingOnly = false; // skip what the store holds
    int Cursor = 0;           // the next index to ask for
    double ElapsedMs = 0;     // time of the chunks so far
    int Asked = 0;            // indexes asked for in them
};

struct TJournalReader::TRun {
    enum Stage { Directions, Pointer, Records };
    Stage stage = Directions;
    int count = -1;                // the newest `count` records; -1: the whole journal
    std::function<int(int)> first; // set: from the index it gives for the newest
    TChunkPlan plan;
    TJournalResult result;
};

TJournalReader::TJournalReader(TPanelExchange& exchange, THistory& history, QObject* parent)
    : QObject(parent), fExchange(exchange), FHistory(history) {}

TJournalReader::~TJournalReader() = default;

TIndexSpan TJournalReader::CurrentPage() const {
    if (FCurrentPoint < 0)
        return {};
    return {FCurrentPoint, std::min(FCurrentPoint + FViewRecordCount - 1, kLastJournalIndex)};
}

int TJournalReader::SetRecordsPerPage(const QString& text) {
    FViewRecordCount = ::RecordsPerPage(text);
    emit PageChanged(FCurrentPoint, FViewRecordCount);
    return FViewRecordCount;
}

void TJournalReader::SetDefault() {
    SetRecordsPerPage(QString::number(kDefaultRecordsPerPage));
}

void TJournalReader::ShowPage(int from) {
    FCurrentPoint = from;
    emit PageChanged(FCurrentPoint, FViewRecordCount);
}

bool TJournalReader::HasRows() const {
    const TIndexSpan page = CurrentPage();
    return !page.IsEmpty() && !FHistory.ExportRows(page.From, page.To).IsEmpty();
}

int TJournalReader::Remaining(const TChunkPlan& plan) const {
    const int from = std::max(plan.Cursor, plan.Span.From);
    if (from > plan.Span.To)
        return 0;
    const int left = plan.Span.To - from + 1;
    return plan.MissingOnly ? left - FHistory.ExportRows(from, plan.Span.To).Count() : left;
}

void TJournalReader::EmitProgress(const TChunkPlan& plan) {
    const int total = plan.Span.Count();
    // Done: the records of the span the store holds (a record that did not
    // come is not done). Left: the indexes not yet asked for.
    const int done = FHistory.ExportRows(plan.Span.From, plan.Span.To).Count();
    const int remaining = Remaining(plan);
    // The rate of this read's own chunks: request, line and answer together.
    const qint64 msLeft = plan.Asked == 0 ? -1 : qint64(std::ceil(plan.ElapsedMs / plan.Asked * remaining));
    emit ReadProgress(done, total, msLeft);
}

void TJournalReader::NameAnswerFaults(TJournalResult& result) {
    std::sort(result.Missing.begin(), result.Missing.end());
    result.Errors += JournalError::MissingRecords(result.Missing);
    if (result.Rejected > 0)
        result.Errors.append(JournalError::RejectedLines(result.Rejected));
}

void TJournalReader::ReadDirections(QStringList& errors) {
    for (int entry = 0; entry < TDirectionRec::kEntries; ++entry) {
        QStringList lines;
        const qsizetype before = errors.size();
        const bool ok =
            fExchange.ReadParamFromDevice(JournalCommand::Direction(entry), lines, errors,
                                          JournalError::Direction(entry), kOK, fTiming.DirectionTimeOut);
        if (ok && errors.size() == before) {
            if (const std::optional<TDirectionRec> rec = ParseDirectionAnswer(lines))
                FDirection[size_t(entry)] = *rec;
            else
                errors.append(JournalError::Direction(entry));
        }
        // A long read cancelled here asks for no more entries.
        if (BrokenOff(errors, before))
            break;
    }
    FHistory.SetDirections(FDirection);
}

std::optional<int> TJournalReader::ReadNewest(QStringList& errors) {
    QStringList lines;
    const qsizetype before = errors.size();
    const bool ok = fExchange.ReadParamFromDevice(JournalCommand::Pointer, lines, errors,
                                                  JournalError::Pointer, kOK, fTiming.PointerTimeOut);
    if (!ok || errors.size() != before)
        return std::nullopt;
    const std::optional<int> pointer = ParsePointer(AnswerValue(lines));
    if (!pointer) {
        // A value that is no number says nothing about the journal: read
        // nothing on the strength of it.
        errors.append(JournalError::Pointer);
        return std::nullopt;
    }
    fNewest = *pointer - 1;
    emit PointerRead(fNewest);
    return fNewest;
}

TIndexSpan TJournalReader::NextChunk(const TChunkPlan& plan, uint32_t timeOut) const {
    int size = fTiming.FirstChunk;
    if (plan.Asked > 0) {
        const double msPerRecord = std::max(plan.ElapsedMs / plan.Asked, 1e-3);
        const double budget = std::min<double>(fTiming.ChunkMs, timeOut / 2.0);
        size = int(std::min<double>(budget / msPerRecord, fTiming.MaxChunk));
    }
    size = std::clamp(size, std::max(1, fTiming.MinChunk), std::max(1, fTiming.MaxChunk));

    int from = std::max(plan.Cursor, plan.Span.From);
    if (from > plan.Span.To)
        return {};
    TIndexSpan chunk{from, std::min(from + size - 1, plan.Span.To)};
    if (plan.MissingOnly) {
        // From the first missing record, as many as fit, up to the last
        // missing one among them.
        const TIndexSpan missing = MissingSpan(FHistory, {from, plan.Span.To});
        if (missing.IsEmpty())
            return {};
        chunk = MissingSpan(FHistory, {missing.From, std::min(missing.From + size - 1, missing.To)});
    }
    return chunk;
}

bool TJournalReader::ReadChunk(TChunkPlan& plan, const TIndexSpan& chunk, uint32_t timeOut,
                               TJournalResult& result) {
    // The indexes of the chunk this operation has to bring: all of them, or
    // those the store lacks; and of those only the ones the panel holds,
    // up to the newest record as the pointer gave it, or as the answers
    // show it (paging past the newest asks for records that may not exist
    // yet; an answer that brings a record leaves none below it out).
    const auto wanted = [&](int index) {
        return !plan.MissingOnly || !FHistory.RecordExists(uint16_t(index));
    };
    int top = fNewest;
    QSet<int> credited;
    QList<int> missing;
    TIndexSpan ask = chunk;
    const int attempts = std::max(1, fExchange.Attempts());
    for (int attempt = 1;; ++attempt) {
        QStringList lines;
        const qsizetype before = result.Errors.size();
        QElapsedTimer clock;
        clock.start();
        const bool ok = fExchange.ReadParamFromDevice(ReadCommandFor(ask), lines, result.Errors,
                                                      JournalError::Records, kOK, timeOut);
        plan.ElapsedMs += clock.nsecsElapsed() / 1e6;
        plan.Asked += ask.Count();
        if (!ok || result.Errors.size() != before)
            return false;

        // Every line but the final "OK".
        if (!lines.isEmpty())
            lines.removeLast();
        const TJournalAnswer answer = SortJournalAnswer(lines, AskedByRead(ask));
        result.Rejected += answer.Rejected;
        QMap<int, QString> taken;
        for (auto it = answer.Records.cbegin(); it != answer.Records.cend(); ++it) {
            if (FHistory.Add(*it)) {
                credited.insert(it.key());
                taken.insert(it.key(), *it);
                top = std::max(top, it.key());
            }
        }
        if (!taken.isEmpty())
            emit RecordsRead(taken);

        missing.clear();
        for (int index = chunk.From; index <= std::min(chunk.To, top); ++index) {
            if (!credited.contains(index) && wanted(index))
                missing.append(index);
        }
        if (missing.isEmpty() || attempt >= attempts)
            break;
        // A long read cancelled meanwhile asks for nothing more; what is
        // missing is read by the next read of the journal.
        if (fRun && CancelRequested()) {
            missing.clear();
            break;
        }
        ask = {missing.first(), missing.last()};
    }
    result.Received += int(credited.size());
    result.Missing += missing;

    // A panel that answers the record at the command's end index too has
    // sent the next chunk's first record already.
    plan.Cursor = chunk.To + 1;
    while (plan.Cursor <= plan.Span.To && credited.contains(plan.Cursor))
        ++plan.Cursor;
    return true;
}

bool TJournalReader::ReadSpan(TChunkPlan& plan, uint32_t timeOut, TJournalResult& result) {
    plan.Cursor = plan.Span.From;
    for (;;) {
        const TIndexSpan chunk = NextChunk(plan, timeOut);
        if (chunk.IsEmpty())
            return true;
        if (!ReadChunk(plan, chunk, timeOut, result))
            return false;
        // Later chunks of the first page wait as long as paging does.
        timeOut = fTiming.ReadTimeOut;
    }
}

TJournalResult TJournalReader::ReadPage() {
    if (fRun)
        return Refused();
    TJournalResult result;
    ReadDirections(result.Errors);
    const std::optional<int> newest = ReadNewest(result.Errors);
    if (!newest)
        return result;
    if (*newest < 0) {
        result.Empty = true;
        return result;
    }
    TChunkPlan plan;
    plan.Span = result.Span = NewestPage(*newest, FViewRecordCount);
    ReadSpan(plan, fTiming.FirstReadTimeOut, result);
    NameAnswerFaults(result);
    ShowPage(plan.Span.From);
    return result;
}

TJournalResult TJournalReader::GoTo(const TIndexSpan& span, TJournalSource source) {
    TJournalResult result;
    result.Span = span;
    if (span.IsEmpty())
        return result;
    if (source == TJournalSource::Panel) {
        TChunkPlan plan;
        plan.Span = span;
        plan.MissingOnly = true;
        ReadSpan(plan, fTiming.ReadTimeOut, result);
        NameAnswerFaults(result);
    }
    // Nothing of the page to show (past the newest record, a failed read,
    // nothing stored there): the page stays rather than leaving an empty
    // list that no button can leave.
    if (!FHistory.ExportRows(span.From, span.To).IsEmpty())
        ShowPage(span.From);
    return result;
}

TJournalResult TJournalReader::Back(TJournalSource source) {
    if (fRun)
        return Refused();
    if (!HasRows())
        return {};
    return GoTo(PreviousPage(FCurrentPoint, FViewRecordCount), source);
}

TJournalResult TJournalReader::Forward(TJournalSource source) {
    if (fRun)
        return Refused();
    if (!HasRows())
        return {};
    return GoTo(NextPage(FCurrentPoint, FViewRecordCount), source);
}

TJournalResult TJournalReader::Erase(IWakeUpSwitch& wakeUp) {
    if (fRun)
        return Refused();
    TJournalResult result;
    wakeUp.SetWakeUp(false);
    fExchange.SendParamToDevice(JournalCommand::Erase, result.Errors, JournalError::Erase, kOK,
                                fTiming.EraseTimeOut);
    wakeUp.SetWakeUp(true);
    if (result.Errors.isEmpty())
        JournalErased();
    return result;
}

void TJournalReader::JournalErased() {
    FHistory.Clear();
    fNewest = -1;
    ShowPage(-1);
}

void TJournalReader::ShowStored() {
    fNewest = -1;
    ShowPage(FHistory.Count() > 0 ? NewestPage(FHistory.LastIndex(), FViewRecordCount).From : -1);
}

void TJournalReader::Forget() {
    Cancel();
    FHistory.SetDirections({});
    FDirection = {};
    JournalErased();
}

bool TJournalReader::StartReadAll() {
    if (fRun)
        return false;
    Start(-1);
    return true;
}

bool TJournalReader::StartReadNewest(int count) {
    if (fRun || count < 1)
        return false;
    Start(count);
    return true;
}

bool TJournalReader::StartReadFrom(std::function<int(int newest)> first) {
    if (fRun || !first)
        return false;
    Start(-1, std::move(first));
    return true;
}

void TJournalReader::Cancel() {
    if (fRun)
        fCancel = true;
}

bool TJournalReader::CancelRequested() const {
    return fCancel || (fCancelSource && fCancelSource());
}

bool TJournalReader::BrokenOff(QStringList& errors, qsizetype before) const {
    if (!fRun || !CancelRequested())
        return false;
    errors.resize(before);
    return true;
}

void TJournalReader::Start(int count, std::function<int(int)> first) {
    fRun = std::make_unique<TRun>();
    fRun->count = count;
    fRun->first = std::move(first);
    fCancel = false;
    QTimer::singleShot(0, this, &TJournalReader::Step);
}

void TJournalReader::Step() {
    if (!fRun)
        return;
    TRun& run = *fRun;
    if (CancelRequested()) {
        run.result.Cancelled = true;
        Finish();
        return;
    }
    switch (run.stage) {
    case TRun::Directions:
        ReadDirections(run.result.Errors);
        run.stage = TRun::Pointer;
        break;
    case TRun::Pointer: {
        const qsizetype before = run.result.Errors.size();
        const std::optional<int> newest = ReadNewest(run.result.Errors);
        if (!newest || *newest < 0) {
            run.result.Empty = newest.has_value();
            run.result.Cancelled = !newest && BrokenOff(run.result.Errors, before);
            Finish();
            return;
        }
        if (run.first)
            run.plan.Span = run.result.Span = TIndexSpan{std::max(0, run.first(*newest)), *newest};
        else
            run.plan.Span = run.result.Span =
                run.count < 0 ? TIndexSpan{0, *newest} : NewestPage(*newest, run.count);
        run.plan.Cursor = run.plan.Span.From;
        // What the store holds is not read again: a read that was
        // cancelled goes on where it stopped.
        run.plan.MissingOnly = true;
        run.stage = TRun::Records;
        ShowPage(NewestPage(*newest, FViewRecordCount).From);
        EmitProgress(run.plan);
        break;
    }
    case TRun::Records: {
        const TIndexSpan chunk = NextChunk(run.plan, fTiming.ReadTimeOut);
        if (chunk.IsEmpty()) {
            Finish();
            return;
        }
        const qsizetype before = run.result.Errors.size();
        if (!ReadChunk(run.plan, chunk, fTiming.ReadTimeOut, run.result)) {
            run.result.Cancelled = BrokenOff(run.result.Errors, before);
            Finish();
            return;
        }
        emit PageChanged(FCurrentPoint, FViewRecordCount);
        EmitProgress(run.plan);
        break;
    }
    }
    QTimer::singleShot(0, this, &TJournalReader::Step);
}

void TJournalReader::Finish() {
    TJournalResult result = std::move(fRun->result);
    fRun.reset();
    fCancel = false;
    NameAnswerFaults(result);
    // A read that stopped before the newest page came (cancelled, failed)
    // shows the newest records it has rather than an empty page.
    if (!HasRows() && FHistory.Count() > 0 && FCurrentPoint >= 0)
        ShowPage(NewestPage(FHistory.LastIndex(), FViewRecordCount).From);
    emit ReadFinished(result);
}
