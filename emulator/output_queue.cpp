#include "output_queue.h"

namespace emu {

void OutputQueue::push(int delayMs, const QByteArray& bytes, Clock::time_point now) {
    fItems.push_back({std::chrono::milliseconds(qMax(0, delayMs)), bytes, now});
    if (fItems.size() == 1)
        startHead();
}

void OutputQueue::startHead() {
    fHeadOffset = 0;
    if (fItems.empty())
        return;
    const Item& head = fItems.front();
    fHeadDue = std::max(fLastEnd, head.queued) + head.delay;
}

std::optional<Clock::time_point> OutputQueue::nextDue() const {
    if (fItems.empty())
        return std::nullopt;
    if (fByteTime.count() > 0)
        return std::max(fHeadDue, fLineFree);
    return fHeadDue;
}

QByteArray OutputQueue::takeDue(Clock::time_point now) {
    QByteArray out;
    while (!fItems.empty()) {
        Item& head = fItems.front();
        if (fHeadDue > now)
            break;
        if (fByteTime.count() == 0) {
            out += head.bytes.mid(fHeadOffset);
            fLastEnd = now;
        } else {
            while (fHeadOffset < head.bytes.size()) {
                const Clock::time_point start = std::max(fHeadDue, fLineFree);
                if (start > now)
                    break;
                out += head.bytes.at(fHeadOffset++);
                fLineFree = start + fByteTime;
                fLastEnd = fLineFree;
            }
            if (fHeadOffset < head.bytes.size())
                break;
        }
        fItems.pop_front();
        startHead();
    }
    return out;
}

void OutputQueue::clear() {
    fItems.clear();
    fHeadOffset = 0;
}

} // namespace emu
