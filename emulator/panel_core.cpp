#include "panel_core.h"

#include "journal_generator.h"

namespace emu {

namespace {

void keep(QByteArray& record, const QByteArray& bytes) {
    if (record.size() + bytes.size() > PanelCore::kMaxRecordedBytes)
        record.remove(0, record.size() / 2);
    record += bytes;
}

const QByteArray kNoCarrier = "\r\nNO CARRIER\r\n";

} // namespace

PanelCore::PanelCore(const PanelSettings& settings)
    : fSettings(settings), fModem(fSettings), fCommands(fSettings, fStore, fJournal, fBoot),
      fFaults(fSettings), fFlood(fSettings) {
    settingsChanged();
    regenerateJournal();
}

std::chrono::nanoseconds PanelCore::byteTime() const {
    const int baud = fSettings.faults.baud;
    if (baud <= 0)
        return std::chrono::nanoseconds(0);
    return std::chrono::nanoseconds(10'000'000'000LL / baud);
}

void PanelCore::settingsChanged() {
    fNextChatter.reset();
    fOutput.setByteTime(byteTime());
    fFramer.setEscapeDetection(modemMode());
}

void PanelCore::setMode(LinkMode mode) {
    fSettings.mode = mode;
    fModem.dropCall();
    fCommands.endSession();
    settingsChanged();
}

void PanelCore::regenerateJournal() {
    JournalGenerator::Options o;
    o.records = fSettings.journalRecords;
    o.badRecords = fSettings.badRecords;
    o.seed = fSettings.seed;
    o.account = fStore.value("+o").toUpper();
    o.cidTenAsA = fSettings.cidTenAsA;
    const JournalGenerator::Result r = JournalGenerator::generate(o);
    fJournal.setLines(r.lines, r.badIndexes);
}

bool PanelCore::openTranscript(const QString& path, QString* error) {
    return fTranscript.open(path, error);
}

void PanelCore::receive(const QByteArray& bytes, Clock::time_point now) {
    keep(fReceived, bytes);
    fTranscript.received(bytes);
    const std::chrono::nanoseconds bt = byteTime();
    for (char c : bytes) {
        Clock::time_point at = now;
        if (bt.count() > 0) {
            at = std::max(now, fInboundFree) + bt;
            fInboundFree = at;
        }
        fInbound.push_back({at, c});
    }
}

bool PanelCore::peerOpened() {
    if (fPeers++ > 0) {
        fTranscript.note(QStringLiteral("another program opened the port"));
        return false;
    }
    // Answers still queued were meant for the tool that went away. What the
    // new tool sends is kept: it may already be here.
    fOutput.clear();
    fTranscript.note(QStringLiteral("the tool opened the port"));
    return true;
}

bool PanelCore::peerClosed() {
    fPeers = qMax(0, fPeers - 1);
    if (fPeers > 0) {
        fTranscript.note(QStringLiteral("another program closed the port"));
        return false;
    }
    // A command cut short by the closing never completes.
    fOutput.clear();
    fPending.clear();
    fInbound.clear();
    fFramer.reset();
    if (modemMode())
        fModem.dropCall();
    fTranscript.note(QStringLiteral("the tool closed the port"));
    return true;
}

void PanelCore::clearRecords() {
    fLog.clear();
    fReceived.clear();
    fSent.clear();
}

void PanelCore::advance(Clock::time_point now) {
    QByteArray arrived;
    while (!fInbound.empty() && fInbound.front().at <= now) {
        arrived += fInbound.front().byte;
        fInbound.pop_front();
    }
    if (!arrived.isEmpty()) {
        for (const LineFramer::Event& e : fFramer.feed(arrived))
            fPending.push_back(e);
    }
    chatter(now);
    // One command at a time: the next waits until the answer before it is out.
    while (fOutput.empty() && !fPending.empty()) {
        const LineFramer::Event e = fPending.front();
        fPending.pop_front();
        fFlood.commandTaken();
        handle(e, now);
    }
}

QByteArray PanelCore::takeOutput(Clock::time_point now) {
    const QByteArray out = fOutput.takeDue(now);
    if (!out.isEmpty()) {
        keep(fSent, out);
        fTranscript.sent(out);
    }
    return out;
}

void PanelCore::chatter(Clock::time_point now) {
    const int every = fSettings.faults.chatterMs;
    if (every <= 0 || fPeers <= 0) {
        fNextChatter.reset();
        return;
    }
    const auto period = std::chrono::milliseconds(every);
    if (!fNextChatter)
        fNextChatter = now + period;
    while (*fNextChatter <= now) {
        schedule(Reply::panel({fSettings.faults.chatterLine}), now);
        *fNextChatter += period;
    }
}

std::optional<Clock::time_point> PanelCore::nextWake() const {
    std::optional<Clock::time_point> t = fOutput.nextDue();
    if (fNextChatter && (!t || *fNextChatter < *t))
        t = fNextChatter;
    if (!fInbound.empty() && (!t || fInbound.front().at < *t))
        t = fInbound.front().at;
    if (!fPending.empty() && fOutput.empty())
        t = Clock::time_point{}; // at once
    return t;
}

QByteArray PanelCore::takeFlood(Clock::time_point now, qsizetype room) {
    if (fPeers == 0 || !fOutput.empty())
        return {};
    const QByteArray out = fFlood.take(now, room);
    if (!out.isEmpty()) {
        keep(fSent, out);
        fTranscript.sent(out);
    }
    return out;
}

std::optional<Clock::time_point> PanelCore::nextFlood() const {
    if (fPeers == 0 || !fOutput.empty())
        return std::nullopt;
    return fFlood.next();
}

void PanelCore::schedule(const QList<TimedBytes>& pieces, Clock::time_point now) {
    for (const TimedBytes& p : pieces)
        fOutput.push(p.delayMs, p.bytes, now);
}

void PanelCore::schedule(const Reply& reply, Clock::time_point now) {
    schedule(encodeReply(reply, fSettings.crlfAnswers), now);
}

void PanelCore::handle(const LineFramer::Event& event, Clock::time_point now) {
    switch (event.kind) {
    case LineFramer::Event::Escape:
        fLog.record(QStringLiteral("+++"), false, false, event.text);
        schedule(fModem.escape(), now);
        return;
    case LineFramer::Event::BadLine:
        fLog.record(QStringLiteral("?"), false, true, event.text);
        schedule(Reply::error(modemMode() && !fModem.online()), now);
        return;
    case LineFramer::Event::Line: break;
    }
    if (modemMode() && !fModem.online()) {
        const GsmModem::Outcome o = fModem.command(event.text);
        fLog.record(o.name, false, o.rejected, event.text);
        schedule(o.reply, now);
        return;
    }
    handlePanelLine(event.text, now);
}

void PanelCore::handlePanelLine(const QByteArray& line, Clock::time_point now) {
    const QString name = fCommands.nameOf(line);
    if (!fFaults.admit(name, line)) {
        fLog.record(name, false, false, line);
        return;
    }
    const PanelCommands::Outcome o = fCommands.handle(line, modemMode());
    fLog.record(o.name, o.write, o.rejected, line);
    bool hungUp = false;
    QList<TimedBytes> pieces = fFaults.shapeBytes(
        o.name, encodeReply(fFaults.shape(o.name, o.reply), fSettings.crlfAnswers), hungUp);
    if (modemMode() && (hungUp || o.restarted)) {
        pieces.append({o.restarted ? 100 : 0, kNoCarrier});
        fModem.dropCall();
    }
    schedule(pieces, now);
}

} // namespace emu
