#pragma once

#include <QByteArray>
#include <chrono>
#include <deque>
#include <optional>

namespace emu {

using Clock = std::chrono::steady_clock;

// What the panel is about to send: pieces of bytes, each due a delay after
// the piece before it has gone out (or after it was queued, when the line was
// idle). With a byte time set, bytes leave no faster than the line rate.
class OutputQueue {
public:
    void setByteTime(std::chrono::nanoseconds t) { fByteTime = t; }
    void push(int delayMs, const QByteArray& bytes, Clock::time_point now);
    bool empty() const { return fItems.empty(); }
    // Every byte that is due at `now`.
    QByteArray takeDue(Clock::time_point now);
    // When the next byte is due; nothing while the queue is empty.
    std::optional<Clock::time_point> nextDue() const;
    void clear();

private:
    struct Item {
        std::chrono::milliseconds delay;
        QByteArray bytes;
        Clock::time_point queued;
    };
    void startHead();

    std::deque<Item> fItems;
    Clock::time_point fHeadDue{};
    qsizetype fHeadOffset = 0;
    Clock::time_point fLastEnd{};  // when the last byte that went out has left the line
    Clock::time_point fLineFree{}; // throttled: when the next byte may start
    std::chrono::nanoseconds fByteTime{0};
};

} // namespace emu
