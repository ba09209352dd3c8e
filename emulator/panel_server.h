#pragma once

#include "panel_core.h"
#include "pty_port.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace emu {

// Serves a PanelCore on a pseudo-terminal from a thread of its own: poll() on
// the master side, the device watch and a wake-up descriptor, so that the
// tool under test can run its own event loop (and block on its writes) on
// the main thread.
class PanelServer {
public:
    PanelServer(PanelCore& core, std::mutex& mutex);
    ~PanelServer();
    PanelServer(const PanelServer&) = delete;
    PanelServer& operator=(const PanelServer&) = delete;

    bool start(QString* error);
    // Returns promptly: wakes the thread and joins it, then closes the pty.
    void stop();
    bool isRunning() const { return fThread.joinable(); }
    QString slavePath() const { return fPort.slavePath(); }
    // Makes the thread look at the core again (after a setting changed).
    void wake();

private:
    // The flood's bytes taken at a time while it runs unpaced.
    static constexpr qsizetype kFloodRoom = 16 * 1024;

    void run();
    void writePending();

    PanelCore& fCore;
    std::mutex& fMutex;
    PtyPort fPort;
    std::thread fThread;
    std::atomic<bool> fStop{false};
    int fWake = -1;
    QByteArray fUnwritten; // taken from the core, not yet accepted by the pty
};

} // namespace emu
