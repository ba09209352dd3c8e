#pragma once

#include <QList>
#include <QString>

namespace emu {

// The pseudo-terminal the emulator serves on. The tool opens the slave side
// like a serial port; the emulator reads and writes the master side. The
// emulator keeps a slave descriptor of its own open, so that the master never
// sees a hang-up while the tool has the port closed, and a new connection is
// served like the first. It also watches the slave device for the tool's
// opening and closing it.
class PtyPort {
public:
    enum class PeerEvent { Opened, Closed };

    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Opens the pair; the slave is put in raw mode.
    bool open(QString* error);
    void close();
    bool isOpen() const { return fMaster >= 0; }

    int masterFd() const { return fMaster; }
    int watchFd() const { return fWatch; } // -1 when the device cannot be watched
    QString slavePath() const { return fSlavePath; }

    // Reads the tool's opening and closing of the slave since the last call.
    QList<PeerEvent> takePeerEvents();
    // Throws away what was written to the tool but not read by it, lifts an
    // exclusive lock the tool left on the port and puts it back in raw mode.
    void discardUnread();

private:
    int fMaster = -1;
    int fSlave = -1;
    int fWatch = -1;
    QString fSlavePath;
};

} // namespace emu
