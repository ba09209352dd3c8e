// The device component over a real pseudo-terminal: data handed to the
// user-interface thread, the lost-line event, the open and close rules, and
// the wake-up with a replaced clock.
#include "pty_pair.h"
#include "serial/ComEvents.h"
#include "serial/Device.h"
#include "serial/nComPort.h"
#include "serial/uRdThread.h"
#include "test_wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <functional>
#include <thread>

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class DeviceOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        device.SetPort(pty.slavePath());
        device.OnData = [this](TDevice*, const QByteArray& d) {
            received.append(d);
            ++dataCalls;
            if (d.isEmpty())
                ++emptyCalls;
            if (QThread::currentThread() != QCoreApplication::instance()->thread())
                offThread = true;
        };
        device.OnComCreateError = [this](TDevice*, int code) { errors.push_back(code); };
        device.OnLineLost = [this](TDevice*) { ++lost; };
        device.SetClock([this] { return now; });
        device.SetRandom([this] { return draw; });
    }

    PtyPair pty;
    TDevice device;
    QByteArray received;
    int dataCalls = 0;
    int emptyCalls = 0;
    bool offThread = false;
    std::vector<int> errors;
    int lost = 0;
    uint32_t now = 100000;
    int draw = 0;
};

TEST_F(DeviceOnPty, FailedOpenThenCorrectedPortOpens) {
    device.SetPort("/dev/tarvik-missing");
    device.SetComActive(true);
    EXPECT_EQ(errors, std::vector<int>{1});
    EXPECT_FALSE(device.ComActive());
    EXPECT_EQ(device.PortHandle(), INVALID_HANDLE_VALUE);

    device.SetPort(pty.slavePath());
    device.SetComActive(true);
    EXPECT_TRUE(device.ComActive());
    EXPECT_TRUE(device.ComListen());
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(DeviceOnPty, LineSettingsChangeOnlyWhileClosed) {
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    device.SetPort("/dev/other");
    device.SetParity(EVENPARITY);
    device.SetByteSize(7);
    device.SetStopBits(TWOSTOPBITS);
    EXPECT_EQ(device.Port(), pty.slavePath());
    EXPECT_EQ(device.Parity(), NOPARITY);
    EXPECT_EQ(device.ByteSize(), 8);
    EXPECT_EQ(device.StopBits(), ONESTOPBIT);
    EXPECT_TRUE(device.SetBaudRate(9600)) << "the speed changes on the open port";
    EXPECT_EQ(device.BaudRate(), 9600u);

    device.SetComActive(false);
    EXPECT_FALSE(device.ComActive());
    device.SetPort("/dev/other");
    EXPECT_EQ(device.Port(), "/dev/other");
}

TEST_F(DeviceOnPty, BigBurstArrivesWholeInOrderOnTheUiThread) {
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    QByteArray burst;
    for (int i = 0; i < 20000; ++i)
        burst.append(char('A' + i % 26));
    pty.write(burst);
    ASSERT_TRUE(waitUntil([&] { return received.size() >= burst.size(); }));
    EXPECT_EQ(received, burst);
    EXPECT_EQ(emptyCalls, 0) << "a notification is posted only for bytes not yet announced";
    EXPECT_FALSE(offThread);
}

// Waits without running the event loop (the user-interface thread busy
// elsewhere) until `done` holds; false after `timeoutMs`.
bool holdsWithoutEvents(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}

TEST_F(DeviceOnPty, FloodWhileTheUiThreadIsBusyStopsReadingAtTheCapAndLosesNothing) {
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    TnComPort* port = device.ComPortObject();
    const qsizetype cap = TReceiveDataThread::kMaxPending;
    // Lines of an unsolicited flood, four times what the buffer takes.
    QByteArray flood;
    for (int i = 0; flood.size() < 4 * cap; ++i)
        flood += QByteArray::number(i).rightJustified(8, '0') + " RING 0050 18 1130 01 005\r";
    std::atomic<bool> allWritten{false};
    std::atomic<int> lineFull{0}; // times the writer found the pty full
    std::thread writer([&] {
        for (qsizetype done = 0; done < flood.size();) {
            const ssize_t n = ::write(pty.masterFd(), flood.constData() + done, size_t(flood.size() - done));
            if (n > 0) {
                done += n;
            } else if (n < 0 && errno == EAGAIN) {
                ++lineFull;
                pollfd p{pty.masterFd(), POLLOUT, 0};
                ::poll(&p, 1, 100);
            } else if (!(n < 0 && errno == EINTR)) {
                return;
            }
        }
        allWritten = true;
    });

    // Nobody takes the bytes: the receive thread fills its buffer to the
    // cap and then leaves the rest to the line, whose writer finds it full.
    ASSERT_TRUE(holdsWithoutEvents([&] { return port->PendingBytes() >= cap; }));
    const int fullBefore = lineFull;
    ASSERT_TRUE(holdsWithoutEvents([&] { return lineFull > fullBefore || allWritten; }));
    EXPECT_LE(port->PendingBytes(), cap + TReceiveDataThread::kReadChunk);
    EXPECT_FALSE(allWritten) << "the pty cannot hold three times the cap";
    EXPECT_EQ(dataCalls, 0);

    // The user-interface thread comes back: one notification stands for
    // everything pending, and reading goes on until the flood is in, whole
    // and in order.
    QCoreApplication::sendPostedEvents(&device, WM_COMPORT_DATA);
    EXPECT_EQ(dataCalls, 1);
    EXPECT_GE(received.size(), cap);
    qsizetype most = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            most = std::max(most, port->PendingBytes());
            return received.size() >= flood.size();
        },
        10000));
    writer.join();
    EXPECT_EQ(received, flood);
    EXPECT_LE(most, cap + TReceiveDataThread::kReadChunk);
    EXPECT_EQ(emptyCalls, 0);
}

TEST_F(DeviceOnPty, SecondNotificationOfABatchFindsNothing) {
    std::vector<QByteArray> calls;
    device.OnData = [&](TDevice*, const QByteArray& d) { calls.push_back(d); };
    device.SetComActive(true);
    pty.write("OK\r");
    ASSERT_TRUE(waitUntil([&] { return !calls.empty(); }));
    // Let every notification the receive thread posted for this batch come
    // in; then one more arrives for the same batch. It raises OnData once
    // more, with nothing: the first hand-over took the bytes.
    waitUntil([] { return false; }, 50);
    const size_t before = calls.size();
    TComPortNotify again(WM_COMPORT_DATA, device.ComPortObject()->Serial());
    QCoreApplication::sendEvent(&device, &again);
    ASSERT_EQ(calls.size(), before + 1);
    EXPECT_EQ(calls.back(), QByteArray());
    QByteArray all;
    for (const QByteArray& c : calls)
        all += c;
    EXPECT_EQ(all, "OK\r") << "each byte handed over once";
}

TEST_F(DeviceOnPty, NotificationsOfAClosedOrReplacedPortAreIgnored) {
    device.SetComActive(true);
    const uint64_t oldSerial = device.ComPortObject()->Serial();
    device.SetComActive(true); // a fresh port object
    TComPortNotify stale(WM_COMPORT_DATA, oldSerial);
    QCoreApplication::sendEvent(&device, &stale);
    TComPortNotify staleLost(WM_COMPORT_LOST, oldSerial);
    QCoreApplication::sendEvent(&device, &staleLost);
    EXPECT_EQ(dataCalls, 0);
    EXPECT_EQ(lost, 0);

    pty.write("late");
    device.SetComActive(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(dataCalls, 0);
}

TEST_F(DeviceOnPty, HangUpRaisesLineLostOnce) {
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    pty.write("+v\r");
    ASSERT_TRUE(waitUntil([&] { return !received.isEmpty(); }));
    pty.hangUp();
    ASSERT_TRUE(waitUntil([&] { return lost > 0; }));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(lost, 1);
}

TEST_F(DeviceOnPty, ClosingWhileTheThreadWaitsIsPrompt) {
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    QElapsedTimer t;
    t.start();
    device.SetComActive(false);
    // The wait is ended through the wake-up descriptor, not by a pause.
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(device.ComActive());
}

TEST_F(DeviceOnPty, CommandWritesTextAndLineEnd) {
    std::vector<QByteArray> before;
    device.OnBeforeWrite = [&](TDevice*, const QByteArray& c) { before.push_back(c); };
    device.SetComActive(true);
    device.Command("+++", true);
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+++"));
    device.Command("ATH", true);
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("ATH\r\n"));
    EXPECT_EQ(before, (std::vector<QByteArray>{"+++", "ATH"}));
}

TEST_F(DeviceOnPty, WakeUpNeedsAnOpenPort) {
    device.SetWakeUp(true);
    EXPECT_FALSE(device.WakeUp());
    device.SetComActive(true);
    device.SetWakeUp(true);
    EXPECT_TRUE(device.WakeUp());
    device.SetWakeUpInterval(1234);
    device.SetWakeUpCommand("+x");
    EXPECT_NE(device.WakeUpInterval(), 1234u) << "ignored while the wake-up runs";
    EXPECT_EQ(device.WakeUpCommand(), QByteArray("+v"));
    device.SetWakeUp(false);
    EXPECT_FALSE(device.WakeUp());
}

TEST_F(DeviceOnPty, WakeUpGoesOutAfterTheIntervalOfSilenceFromTheTool) {
    int waitIntervalErrors = 0;
    device.OnErrorWaitInterval = [&](TDevice*) { ++waitIntervalErrors; };
    device.SetWakeUpInterval(20000);
    device.SetComActive(true);
    pty.write("OK\r"); // the panel spoke at `now`
    ASSERT_TRUE(waitUntil([&] { return dataCalls > 0; }));
    device.Command("+o", true);
    pty.readFor(300, 50);
    device.SetWakeUp(true);

    now += 20000; // exactly the interval: not yet
    device.TimerTick();
    EXPECT_EQ(pty.readFor(100, 20), QByteArray());

    now += 1;
    draw = 3;
    device.TimerTick();
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+v\r\n"));
    EXPECT_EQ(device.WakeUpInterval(), 13000u) << "10000 + 1000 x r after each wake-up";

    // While held by a waiting exchange nothing goes out.
    pty.write("OK\r");
    ASSERT_TRUE(waitUntil([&] { return dataCalls > 1; }));
    device.SetWakeUpHeld(true);
    now += 14000;
    device.TimerTick();
    EXPECT_EQ(pty.readFor(100, 20), QByteArray());
    device.SetWakeUpHeld(false);
    EXPECT_EQ(waitIntervalErrors, 0);
}

TEST_F(DeviceOnPty, ThirtySecondsWithoutDataStopWakeUps) {
    int waitIntervalErrors = 0;
    device.OnErrorWaitInterval = [&](TDevice*) { ++waitIntervalErrors; };
    device.SetWakeUpInterval(20000);
    device.SetComActive(true);
    pty.write("OK\r");
    ASSERT_TRUE(waitUntil([&] { return dataCalls > 0; }));
    device.SetWakeUp(true);

    now += 29999;
    device.TimerTick();
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+v\r\n"));
    EXPECT_EQ(waitIntervalErrors, 0);

    now += 1; // 30 s since the last data
    for (int i = 0; i < 3; ++i) {
        device.TimerTick();
        now += 1000;
    }
    EXPECT_EQ(waitIntervalErrors, 3) << "raised once per tick";
    EXPECT_EQ(pty.readFor(100, 20), QByteArray()) << "no wake-up while silent";

    // Data again: the wake-ups resume.
    pty.write("OK\r");
    ASSERT_TRUE(waitUntil([&] { return dataCalls > 1; }));
    now += 15000;
    device.TimerTick();
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+v\r\n"));
}

TEST_F(DeviceOnPty, ClockWrapsAroundAsUnsigned) {
    now = 0xFFFFF000u;
    device.SetWakeUpInterval(20000);
    device.SetComActive(true);
    pty.write("OK\r");
    ASSERT_TRUE(waitUntil([&] { return dataCalls > 0; }));
    device.Command("+o", true);
    pty.readFor(300, 50);
    device.SetWakeUp(true);
    now += 25000; // wraps past zero
    device.TimerTick();
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+v\r\n"));
}

TEST(DeviceDefaults, WakeUpIntervalIsDrawnAndErrorTextsAreKnown) {
    TDevice device;
    EXPECT_GE(device.WakeUpInterval(), 10000u);
    EXPECT_LE(device.WakeUpInterval(), 14000u);
    EXPECT_EQ(device.WakeUpInterval() % 1000, 0u);
    EXPECT_EQ(device.Port(), "COM1");
    EXPECT_EQ(device.BaudRate(), 19200u);
    EXPECT_EQ(device.ByteSize(), 8);
    EXPECT_FALSE(device.ComActive());
    EXPECT_FALSE(device.ComListen());

    const std::pair<int, const char*> texts[] = {
        {0, "Нет ошибки"},
        {1, "Не могу создать файл"},
        {2, "Не установлена длина буферов"},
        {4, "Не могу прочитать настройки порта"},
        {8, "Не могу записать настпройки порта"},
        {16, "Не могу очистить порт"},
        {32, "Не могу сбросить RTS"},
        {64, "Не могу установить RTS"},
        {128, "Не могу прочитать значения таймаутов"},
        {256, "Не могу записать значения таймаутов"},
        {512, "Слушающий поток не смог стартовать"},
        {1024, "Порт занят другой программой"},
        {3, "Неизвестная ошибка"},
        {-1, "Неизвестная ошибка"},
    };
    for (const auto& [code, text] : texts)
        EXPECT_EQ(TDevice::GetStrCreateError(code), QString::fromUtf8(text)) << code;
}

} // namespace
