#pragma once

#include "boot_loader.h"
#include "command_log.h"
#include "fault_injector.h"
#include "flood.h"
#include "gsm_modem.h"
#include "journal.h"
#include "line_framer.h"
#include "output_queue.h"
#include "panel_commands.h"
#include "panel_settings.h"
#include "parameter_store.h"
#include "transcript.h"

#include <deque>

namespace emu {

// The emulated panel and modem without any input or output of their own: the
// serving thread hands it the bytes read from the line and the tool's opening
// and closing of the port, lets it run what is due, and writes what it gives
// back. Not thread-safe; its owner guards it.
class PanelCore {
public:
    explicit PanelCore(const PanelSettings& settings);

    // Settings may be changed in place; call settingsChanged() afterwards.
    PanelSettings& settings() { return fSettings; }
    const PanelSettings& settings() const { return fSettings; }
    void settingsChanged();
    void setMode(LinkMode mode);
    // Makes the journal afresh from the journal settings and the object number.
    void regenerateJournal();
    bool openTranscript(const QString& path, QString* error);

    // Bytes read from the line at `now` (with a baud rate set they arrive one
    // byte time after another).
    void receive(const QByteArray& bytes, Clock::time_point now);
    // A program opened or closed the port. The line is taken up by the
    // first open and let go by the last close (the modem drops its call
    // then, as on a DTR drop; stale answers are thrown away). Another
    // program's open and close in between (one the tool's lock turned away)
    // leave the line as it is, as a real port's do. True when the line was
    // taken up or let go.
    bool peerOpened();
    bool peerClosed();
    int peerOpenCount() const { return fPeers; }

    // Takes in what has arrived and answers commands while the panel is idle.
    void advance(Clock::time_point now);
    // Bytes to write now.
    QByteArray takeOutput(Clock::time_point now);
    // When advance() has something to do next; nothing while idle.
    std::optional<Clock::time_point> nextWake() const;
    // The flood's lines due now (about `room` bytes at most), sent only
    // while no answer is on its way and the tool has the port open.
    QByteArray takeFlood(Clock::time_point now, qsizetype room);
    // When the flood has its next line; nothing while it has none.
    std::optional<Clock::time_point> nextFlood() const;

    ParameterStore& parameters() { return fStore; }
    Journal& journal() { return fJournal; }
    BootLoader& bootLoader() { return fBoot; }
    GsmModem& modem() { return fModem; }
    PanelCommands& commands() { return fCommands; }
    FaultInjector& faults() { return fFaults; }
    Flood& flood() { return fFlood; }
    CommandLog& log() { return fLog; }
    QByteArray receivedBytes() const { return fReceived; }
    QByteArray sentBytes() const { return fSent; }
    void clearRecords();

    static constexpr qsizetype kMaxRecordedBytes = 8 * 1024 * 1024;

private:
    void handle(const LineFramer::Event& event, Clock::time_point now);
    void handlePanelLine(const QByteArray& line, Clock::time_point now);
    void schedule(const QList<TimedBytes>& pieces, Clock::time_point now);
    void schedule(const Reply& reply, Clock::time_point now);
    bool modemMode() const { return fSettings.mode == LinkMode::Modem; }
    std::chrono::nanoseconds byteTime() const;
    void chatter(Clock::time_point now);

    PanelSettings fSettings;
    ParameterStore fStore;
    Journal fJournal;
    BootLoader fBoot;
    GsmModem fModem;
    PanelCommands fCommands;
    FaultInjector fFaults;
    Flood fFlood;
    LineFramer fFramer;
    OutputQueue fOutput;
    CommandLog fLog;
    Transcript fTranscript;

    struct Arrival {
        Clock::time_point at;
        char byte;
    };
    std::deque<Arrival> fInbound;
    Clock::time_point fInboundFree{};
    std::deque<LineFramer::Event> fPending;
    QByteArray fReceived;
    QByteArray fSent;
    int fPeers = 0;
    std::optional<Clock::time_point> fNextChatter; // the next unsolicited line
};

} // namespace emu
