#pragma once

#include <QByteArray>
#include <QPointer>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class QObject;

// The receive thread of one open port. It waits on the port and on a
// wake-up descriptor, reads what is queued in chunks of at most
// kReadChunk bytes, appends them to the pending buffer under a lock and
// posts WM_COMPORT_DATA to the handler object; the user-interface side takes
// the whole buffer with ReadComPort. A line that goes away (hang-up, EIO, end
// of file) ends the loop after posting WM_COMPORT_LOST once.
//
// Memory stays bounded however fast the line runs and however far behind
// the user-interface thread falls: one WM_COMPORT_DATA waits in the event
// queue at a time (the bytes that come meanwhile join its batch), and once
// kMaxPending bytes are pending the thread stops reading the port until
// they are taken, so the line's own flow control (or the driver's buffer)
// holds the rest.
class TReceiveDataThread {
public:
    static constexpr int kReadChunk = 4096;
    // Reading pauses at this many pending bytes; the buffer never holds
    // more than this plus one chunk.
    static constexpr qsizetype kMaxPending = 256 * 1024;

    // Created suspended: nothing is received until StartReceive.
    TReceiveDataThread(int port, QObject* msgHandler, uint64_t portSerial);
    ~TReceiveDataThread(); // terminates and joins

    TReceiveDataThread(const TReceiveDataThread&) = delete;
    TReceiveDataThread& operator=(const TReceiveDataThread&) = delete;

    // Starts the thread itself; false when the system refuses a thread.
    bool Launch();
    void StartReceive();
    // Stops reception; a pending wait ends at once.
    void StopReceive();
    // Tells the thread to leave its loop and waits until it has.
    void Terminate();

    // Takes every pending byte and empties the buffer.
    QByteArray ReadComPort();
    bool Receiving() const;
    // The bytes received and not yet taken.
    qsizetype Pending() const;

private:
    void Execute();
    void Wake();
    // Reads what is queued; false when the line is gone.
    bool ReadChunk();
    void Post(int type);

    const int hport;
    int fWake = -1; // eventfd
    QPointer<QObject> fmsgHandler;
    const uint64_t fPortSerial;

    mutable std::mutex fDataLock; // guards data and fNotified
    QByteArray data;
    bool fNotified = false; // a WM_COMPORT_DATA is posted and its bytes not yet taken

    mutable std::mutex fStateLock; // guards the two flags below
    std::condition_variable fStateChanged;
    bool fReceiving = false;
    bool fTerminated = false;

    std::thread fThread;
};
