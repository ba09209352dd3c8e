#pragma once

#include "JournalPages.h"
#include "panel/DirectionRec.h"
#include "panel/PanelExchange.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class IWakeUpSwitch;
class THistory;

// Time-outs and chunk sizes of the journal reads. Each reader has its own
// copy, so tests can shorten them.
struct TJournalTiming {
    uint32_t DirectionTimeOut = ExchangeTimeout::Param;
    uint32_t PointerTimeOut = ExchangeTimeout::Param;
    uint32_t FirstReadTimeOut = ExchangeTimeout::HistoryFirst; // the newest page
    uint32_t ReadTimeOut = ExchangeTimeout::Long;              // paging and the whole journal
    uint32_t EraseTimeOut = ExchangeTimeout::Erase;
    // Records asked for in one "+read" before the line's rate is measured:
    // about 8 s of answer on a 9600-baud modem call.
    int FirstChunk = 100;
    int MinChunk = 10;
    int MaxChunk = 5000;
    // The line time a chunk aims at once the rate is known (never more than
    // half the read's time-out), so that Cancel and the progress come often.
    int ChunkMs = 5000;
};

// What one journal operation did.
struct TJournalResult {
    // Failed parameter names for the error list window, in order: the
    // direction reads, the pointer, the records, the erase, the records
    // that did not come (by index), and the answer lines that were no
    // record.
    QStringList Errors;
    TIndexSpan Span;    // the indexes asked for
    int Received = 0;   // records the store took, each index once
    int Rejected = 0;   // answer lines not taken as a record (see TJournalAnswer)
    QList<int> Missing; // indexes the answers lacked even when asked again, ascending
    bool Empty = false; // the pointer says the journal is empty: no record was asked for
    bool Cancelled = false;
    bool Busy = false; // refused: a read of the journal is running
    bool Ok() const { return Errors.isEmpty() && !Cancelled && !Busy; }
};

// Where paging takes the records of the page it goes to: from the panel
// (only those the store lacks are asked for), or from the store alone (no
// panel connected).
enum class TJournalSource { Panel, Store };

// The history page's dialogue with the panel: the reporting entries (to name
// delivery channels), the journal pointer, the newest page, paging back and
// forward with only missing records read, the erase, and reading the whole
// journal (or its newest records) in chunks with progress and Cancel. The
// records go into the store it is given; the page on show is announced by
// PageChanged, for the list's model.
//
// The short operations return when done (they wait in the exchange only);
// the long reads run one chunk per turn of the event loop.
class TJournalReader : public QObject {
    Q_OBJECT
public:
    TJournalReader(TPanelExchange& exchange, THistory& history, QObject* parent = nullptr);
    ~TJournalReader() override;

    const TJournalTiming& Timing() const { return fTiming; }
    void SetTiming(const TJournalTiming& timing) { fTiming = timing; }

    // The first index of the page on show; -1 before the first read and
    // after an erase.
    int CurrentPoint() const { return FCurrentPoint; }
    // The indexes of the page on show (empty when there is none).
    TIndexSpan CurrentPage() const;
    int RecordsPerPage() const { return FViewRecordCount; }
    // Takes a typed count (see ::RecordsPerPage) and shows the page with it
    // at once; returns the count taken, for the box to show.
    int SetRecordsPerPage(const QString& text);
    // Back to kDefaultRecordsPerPage at once.
    void SetDefault();
    // The newest index as the last pointer read gave it; -1 when none was
    // read or the journal is empty.
    int Newest() const { return fNewest; }
    // The reporting entries as last read (an entry whose read failed keeps
    // what it had).
    const TDirectionTable& Directions() const { return FDirection; }

    // The reporting entries, the pointer and the newest page, the newest
    // record at the top. An empty journal asks for no record; the page on
    // show then stays, as it does when the pointer cannot be read.
    TJournalResult ReadPage();
    // The page before (older) or after (newer) the one on show, reading
    // only what the store lacks. Nothing happens while no record is shown;
    // a page of which nothing could be had (nothing newer on the panel, a
    // failed read, nothing stored) leaves the page on show as it is.
    TJournalResult Back(TJournalSource source = TJournalSource::Panel);
    TJournalResult Forward(TJournalSource source = TJournalSource::Panel);
    // Erases the panel's journal with the wake-up off; on success the store
    // is emptied. A failed erase leaves the store as it was.
    TJournalResult Erase(IWakeUpSwitch& wakeUp);
    // The panel's journal was erased (by whoever sent the erase): the store
    // is emptied and nothing is on show; the reporting entries stay.
    void JournalErased();
    // Shows the newest page of what the store holds now (filled from
    // elsewhere: an archive); nothing is on show when it holds nothing.
    void ShowStored();
    // Another connection: what was read belongs to the panel of the last
    // one. The store, its reporting entries and the pointer are forgotten,
    // nothing is on show. A read running stops at its next step.
    void Forget();

    // Reads the reporting entries, the pointer, then every record from the
    // oldest to the newest (or only the newest `count`) that the store
    // lacks, in chunks that fit the read's time-out. Progress after every
    // chunk; ReadFinished at the end; the newest page is on show (a read
    // that stopped early: the newest records it has). False (and nothing
    // starts) while a read runs.
    bool StartReadAll();
    bool StartReadNewest(int count);
    // The same from the index `first` gives for the newest one (read after
    // the pointer) up to the newest: only the records after those some
    // keeper holds already. A first index past the newest reads no record.
    bool StartReadFrom(std::function<int(int newest)> first);
    // Stops a running read before its next chunk; what was read stays.
    void Cancel();
    // The owner's own Cancel (a busy indicator's button), asked before every
    // step of a long read like Cancel. Such a button may end the exchange in
    // progress at once: a step that fails while it says so was broken off,
    // and the read ends as cancelled without naming that step in the errors.
    void SetCancelSource(std::function<bool()> cancelled) { fCancelSource = std::move(cancelled); }
    bool Reading() const { return fRun != nullptr; }

signals:
    // The page to show: indexes from..from + count - 1 (from -1: none). Also
    // sent when the store changed under the same page.
    void PageChanged(int from, int count);
    // Records done of total (those the store held count as done); the time
    // left at the rate this read's chunks have shown, -1 until one is read.
    void ReadProgress(int done, int total, qint64 msLeft);
    void ReadFinished(const TJournalResult& result);
    // The pointer was read: the newest index (-1: the journal is empty).
    // Sent before any record is asked for, so that a keeper of the records
    // may look at the panel first (with the exchange: no read is waiting).
    void PointerRead(int newest);
    // Records the store took from one answer, index -> the line as the
    // panel sent it; sent before the progress that counts them.
    void RecordsRead(const QMap<int, QString>& records);

private:
    struct TChunkPlan;
    struct TRun;

    void ReadDirections(QStringList& errors);
    std::optional<int> ReadNewest(QStringList& errors);
    // Reads the span chunk by chunk; false when an exchange failed.
    bool ReadSpan(TChunkPlan& plan, uint32_t timeOut, TJournalResult& result);
    TIndexSpan NextChunk(const TChunkPlan& plan, uint32_t timeOut) const;
    // Reads one chunk; the indexes its answer lacked are asked for again,
    // as often as the exchange sends one command, and those that still do
    // not come go into the result's Missing. False when an exchange failed.
    bool ReadChunk(TChunkPlan& plan, const TIndexSpan& chunk, uint32_t timeOut, TJournalResult& result);
    // Indexes of the span still to be read.
    int Remaining(const TChunkPlan& plan) const;
    void EmitProgress(const TChunkPlan& plan);
    bool HasRows() const;
    // Goes to the page `span`, reading what the store lacks from the
    // panel first when asked to.
    TJournalResult GoTo(const TIndexSpan& span, TJournalSource source);
    bool CancelRequested() const;
    // Whether a step of a long read that left errors from `before` on was
    // broken off by a cancel; if so, its errors are taken back.
    bool BrokenOff(QStringList& errors, qsizetype before) const;
    void ShowPage(int from);
    // The records that did not come and the lines not taken, named in the
    // errors.
    static void NameAnswerFaults(TJournalResult& result);

    void Start(int count, std::function<int(int)> first = {});
    void Step();
    void Finish();

    TPanelExchange& fExchange;
    THistory& FHistory;
    TJournalTiming fTiming;
    int FCurrentPoint = -1;
    int FViewRecordCount = kDefaultRecordsPerPage;
    int fNewest = -1;
    TDirectionTable FDirection{};
    std::unique_ptr<TRun> fRun;
    bool fCancel = false;
    std::function<bool()> fCancelSource;
};
