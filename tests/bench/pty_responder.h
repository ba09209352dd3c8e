#pragma once

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

// The far end of a pty for the latency benchmarks: a thread on the master
// side that answers every non-empty command line (ended by CR or LF) with a
// fixed answer, either in one write() or one byte per write() with a gap
// between bytes, and stamps the steady clock right after the write of the
// answer's last byte has returned.
class PtyResponder {
public:
    using Clock = std::chrono::steady_clock;

    // byteGap zero: the whole answer in one write().
    PtyResponder(int masterFd, QByteArray answer, std::chrono::microseconds byteGap = {});
    ~PtyResponder(); // stops and joins
    PtyResponder(const PtyResponder&) = delete;
    PtyResponder& operator=(const PtyResponder&) = delete;

    // How many answers are out.
    uint64_t answered() const;
    // Waits until the n-th answer (counting from 1) is out and gives the
    // stamp of its last byte; nothing when it is not out within `timeout`.
    std::optional<Clock::time_point> lastByteOf(uint64_t n, std::chrono::milliseconds timeout) const;

private:
    void run();
    // False when the line is gone.
    bool answer();

    const int fMaster;
    const QByteArray fAnswer;
    const std::chrono::microseconds fGap;
    int fStop = -1; // eventfd

    mutable std::mutex fLock;
    mutable std::condition_variable fChanged;
    uint64_t fAnswered = 0;
    Clock::time_point fLastByte;

    std::thread fThread;
};
