#include "flood.h"

namespace emu {

void Flood::restart() {
    fCommands = 0;
    fSent = 0;
    fNext = {};
}

bool Flood::active() const {
    const Faults& f = fSettings.faults;
    return !f.floodLine.isEmpty() && fCommands >= f.floodAfter && (f.floodLines <= 0 || fSent < f.floodLines);
}

QByteArray Flood::take(Clock::time_point now, qsizetype room) {
    QByteArray out;
    if (!active() || now < fNext)
        return out;
    const Faults& f = fSettings.faults;
    const QByteArray line = f.floodLine + '\r';
    do {
        out += line;
        ++fSent;
    } while (f.floodGapMs <= 0 && out.size() + line.size() <= room && active());
    if (f.floodGapMs > 0)
        fNext = now + std::chrono::milliseconds(f.floodGapMs);
    return out;
}

std::optional<Clock::time_point> Flood::next() const {
    if (!active())
        return std::nullopt;
    return fNext;
}

} // namespace emu
