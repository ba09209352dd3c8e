#pragma once

#include <QEvent>
#include <cstdint>
#include <mutex>

// Notifications the receive thread posts to the object that owns the port
// (the device component). They carry the number of the port object that sent
// them, so a notification still queued from a port that has since been
// replaced is recognised and dropped.
inline const QEvent::Type WM_COMPORT_DATA = QEvent::Type(QEvent::User + 2024);
inline const QEvent::Type WM_COMPORT_LOST = QEvent::Type(QEvent::User + 2025);

class TComPortNotify : public QEvent {
public:
    TComPortNotify(QEvent::Type type, uint64_t portSerial) : QEvent(type), fPortSerial(portSerial) {}
    uint64_t PortSerial() const { return fPortSerial; }

private:
    uint64_t fPortSerial;
};

// Taken by the receive thread while it builds and posts a notification and
// by the receiver before it reads one. Qt's event queue already orders the
// two, but inside Qt's own locking, where race detectors cannot see it; this
// lock states the same order in our code.
inline std::mutex& ComNotifyLock() {
    static std::mutex lock;
    return lock;
}
