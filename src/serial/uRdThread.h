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
class TReceiveDataThread {
public:
    static constexpr int kReadChunk = 4096;

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

    std::mutex fDataLock; // guards data
    QByteArray data;

    mutable std::mutex fStateLock; // guards the two flags below
    std::condition_variable fStateChanged;
    bool fReceiving = false;
    bool fTerminated = false;

    std::thread fThread;
};
