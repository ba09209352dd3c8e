#pragma once

#include "output_queue.h"
#include "panel_settings.h"

#include <QByteArray>
#include <optional>

namespace emu {

// The flood fault: the panel sends one line again and again that nobody
// asked for (Faults::floodLine), starting once it has taken
// Faults::floodAfter commands, Faults::floodLines times (0: without end),
// Faults::floodGapMs apart (0: as fast as the line takes them). Its owner
// sends it only between answers and while the tool has the port open.
class Flood {
public:
    explicit Flood(const PanelSettings& settings) : fSettings(settings) {}

    // The counters start again (the faults were set anew).
    void restart();
    // The panel took a command (any line of the tool's, the modem's too).
    void commandTaken() { ++fCommands; }

    bool active() const;
    // The flood's bytes due at `now`: whole lines, about `room` bytes of
    // them when unpaced, one line at a time when paced.
    QByteArray take(Clock::time_point now, qsizetype room);
    // When the next line is due; nothing while the flood is not active.
    std::optional<Clock::time_point> next() const;
    qint64 linesSent() const { return fSent; }

private:
    const PanelSettings& fSettings;
    int fCommands = 0;
    qint64 fSent = 0;
    Clock::time_point fNext{};
};

} // namespace emu
