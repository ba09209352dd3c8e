// The port object over a real pseudo-terminal: the open's steps and errors,
// the bytes that reach the line, and the line settings POSIX can express.
#include "pty_pair.h"
#include "serial/LineSettings.h"
#include "serial/nComPort.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

TNewInDcb dcbFor(const QString& path) {
    TNewInDcb dcb;
    dcb.Port = path;
    return dcb;
}

struct Recorder {
    std::vector<int> events;
    std::vector<int> errors;
    std::vector<QByteArray> beforeWrite;
    void attach(TnComPort& port) {
        port.OnEvent = [this](TnComPort*, int e) { events.push_back(e); };
        port.OnCreateError = [this](TnComPort*, int e) { errors.push_back(e); };
        port.OnBeforeWrite = [this](TnComPort*, const QByteArray& c) { beforeWrite.push_back(c); };
    }
};

TEST(PortOpen, ReportsProgressInOrderAndOpensOnce) {
    PtyPair pty;
    TnComPort port(dcbFor(pty.slavePath()));
    Recorder rec;
    rec.attach(port);
    ASSERT_TRUE(port.InitPort(true));
    EXPECT_TRUE(port.Active());
    EXPECT_TRUE(port.Listen());
    EXPECT_EQ(rec.events, (std::vector<int>{1, 4, 2, 8, 32}));
    EXPECT_TRUE(rec.errors.empty());

    // A second open of an open port changes nothing.
    const int handle = port.Handle();
    EXPECT_TRUE(port.InitPort(true));
    EXPECT_EQ(port.Handle(), handle);
    EXPECT_EQ(rec.events.size(), 5u);
}

TEST(PortOpen, MissingDeviceFailsOnceWithCodeOne) {
    TnComPort port(dcbFor(QStringLiteral("/dev/tarvik-no-such-port")));
    Recorder rec;
    rec.attach(port);
    EXPECT_FALSE(port.InitPort(true));
    EXPECT_EQ(rec.errors, std::vector<int>{1});
    EXPECT_TRUE(rec.events.empty());
    EXPECT_FALSE(port.Active());
    EXPECT_EQ(port.ComData(), QByteArray("err"));
}

TEST(PortOpen, BareNameIsTakenUnderDev) {
    EXPECT_EQ(PortDevicePath("ttyS0"), "/dev/ttyS0");
    EXPECT_EQ(PortDevicePath("/tmp/link"), "/tmp/link");
}

TEST(PortOpen, SettingPosixCannotExpressFailsWithCodeEight) {
    struct Case {
        const char* what;
        uint32_t baud;
        uint8_t bits, parity, stop;
    };
    const Case cases[] = {
        {"1.5 stop bits", 19200, 8, NOPARITY, ONE5STOPBITS},
        {"unknown speed", 12345, 8, NOPARITY, ONESTOPBIT},
        {"9 data bits", 19200, 9, NOPARITY, ONESTOPBIT},
        {"parity code 7", 19200, 8, 7, ONESTOPBIT},
    };
    for (const Case& c : cases) {
        PtyPair pty;
        TNewInDcb dcb = dcbFor(pty.slavePath());
        dcb.BaudRate = c.baud;
        dcb.ByteSize = c.bits;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stop;
        TnComPort port(dcb);
        Recorder rec;
        rec.attach(port);
        EXPECT_FALSE(port.InitPort(true)) << c.what;
        EXPECT_EQ(rec.errors, std::vector<int>{8}) << c.what;
        EXPECT_EQ(rec.events, std::vector<int>{1}) << c.what;
        EXPECT_FALSE(port.Active()) << c.what;
    }
}

TEST(LineSettings, PutsTheFourValuesIntoTermios) {
    struct Case {
        uint8_t bits, parity, stop;
        tcflag_t expectSet, expectClear;
    };
    const Case cases[] = {
        {8, NOPARITY, ONESTOPBIT, CS8, PARENB | CSTOPB},
        {7, EVENPARITY, ONESTOPBIT, CS7 | PARENB, PARODD | CSTOPB},
        {7, ODDPARITY, TWOSTOPBITS, CS7 | PARENB | PARODD | CSTOPB, CMSPAR},
        {8, MARKPARITY, ONESTOPBIT, CS8 | PARENB | PARODD | CMSPAR, CSTOPB},
        {5, SPACEPARITY, ONESTOPBIT, CS5 | PARENB | CMSPAR, PARODD},
    };
    for (const Case& c : cases) {
        termios t{};
        TNewInDcb dcb;
        dcb.ByteSize = c.bits;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stop;
        ASSERT_TRUE(ApplyLineSettings(t, dcb));
        EXPECT_EQ(t.c_cflag & CSIZE, c.expectSet & CSIZE);
        EXPECT_EQ(t.c_cflag & (c.expectSet & ~CSIZE), c.expectSet & ~CSIZE);
        EXPECT_EQ(t.c_cflag & c.expectClear, 0u);
        EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u) << "raw mode";
    }
}

TEST(PortOpen, ClearsFlowControlLeftOnByAnotherProgram) {
    PtyPair pty;
    {
        // Another program had the port with both kinds of flow control on;
        // Linux keeps a port's settings between opens.
        const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        t.c_cflag |= CRTSCTS;
        t.c_iflag |= IXON | IXOFF | IXANY;
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        ASSERT_TRUE((t.c_cflag & CRTSCTS) && (t.c_iflag & IXOFF)) << "the pty keeps the flags";
        ::close(fd);
    }
    TnComPort port(dcbFor(pty.slavePath()));
    ASSERT_TRUE(port.InitPort(true));
    termios t{};
    ASSERT_EQ(::tcgetattr(port.Handle(), &t), 0);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u);
    // An XOFF byte from the far end is data, not a stop to the writes.
    pty.write("\x13");
    ASSERT_TRUE(port.ComWrite("+v", true, true));
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+v\r\n"));
}

TEST(PortWrite, LineEndRuleAndExactBytes) {
    struct Case {
        QByteArray text;
        bool useEof;
        QByteArray wire;
    };
    const Case cases[] = {
        {"+++", true, "+++"},       {"ATH", true, "ATH\r\n"},
        {"ATH", false, "ATH"},      {"+o0050\r\n", true, "+o0050\r\n\r\n"},
        {"++++", true, "++++\r\n"},
    };
    PtyPair pty;
    TnComPort port(dcbFor(pty.slavePath()));
    Recorder rec;
    rec.attach(port);
    ASSERT_TRUE(port.InitPort(true));
    for (const Case& c : cases) {
        rec.beforeWrite.clear();
        EXPECT_TRUE(port.ComWrite(c.text, true, c.useEof));
        EXPECT_EQ(pty.readFor(500, 50), c.wire) << c.text.constData();
        EXPECT_EQ(rec.beforeWrite, std::vector<QByteArray>{c.text}) << "the text as passed in";
    }
}

TEST(PortWrite, LargeWriteReachesTheLineWhole) {
    PtyPair pty;
    TnComPort port(dcbFor(pty.slavePath()));
    ASSERT_TRUE(port.InitPort(true));
    TByteArray block{};
    for (int i = 0; i < kByteArraySize; ++i)
        block[size_t(i)] = uint8_t(i * 7);
    // The pty's queue holds less than this: the write must wait for room
    // while the master side drains it.
    std::thread reader([&] {
        QByteArray got = pty.readExactly(20000, 5000);
        ASSERT_EQ(got.size(), 20000);
        for (int i = 0; i < 20000; ++i)
            ASSERT_EQ(uint8_t(got[i]), uint8_t(i * 7)) << i;
    });
    EXPECT_TRUE(port.BufferWrite(block, 20000));
    reader.join();
    EXPECT_FALSE(port.BufferWrite(block, kByteArraySize + 1));
}

TEST(PortWrite, WriteOnClosedPortReportsError) {
    TnComPort port(dcbFor("/dev/null-not-opened"));
    std::vector<QByteArray> failed;
    port.OnWriteError = [&](TnComPort*, uint32_t, const QByteArray& c) { failed.push_back(c); };
    EXPECT_FALSE(port.ComWrite("ATH", true, true));
    EXPECT_EQ(failed, std::vector<QByteArray>{"ATH\r\n"});
}

TEST(PortRts, PseudoTerminalRefusesRtsWithoutHarm) {
    PtyPair pty;
    TnComPort port(dcbFor(pty.slavePath()));
    ASSERT_TRUE(port.InitPort(true));
    // A pty has no modem lines; callers must cope with the refusal.
    EXPECT_FALSE(EscapeCommFunction(port.Handle(), CLRRTS));
    EXPECT_FALSE(EscapeCommFunction(port.Handle(), SETRTS));
    EXPECT_FALSE(EscapeCommFunction(INVALID_HANDLE_VALUE, SETRTS));
    EXPECT_TRUE(port.Active());
}

// The port is the tool's alone, for the superuser too (exclusive use does
// not stop root): any other open is refused as busy while the first one
// keeps its line, and the port is free again once that one closes. The
// second open here is another open file, as another program's would be.
TEST(PortOpen, APortInUseIsRefusedToEveryOtherOpen) {
    PtyPair pty;
    TnComPort first(dcbFor(pty.slavePath()));
    ASSERT_TRUE(first.InitPort(true));
    {
        TnComPort second(dcbFor(pty.slavePath()));
        Recorder rec;
        rec.attach(second);
        EXPECT_FALSE(second.InitPort(true));
        EXPECT_EQ(rec.errors, std::vector<int>{ceBusy});
        EXPECT_TRUE(rec.events.empty());
        EXPECT_FALSE(second.Active());
    }

    // The first still writes and reads.
    EXPECT_TRUE(first.ComWrite("+o", true, true));
    EXPECT_EQ(pty.readFor(500, 50), QByteArray("+o\r\n"));
    pty.write("0050\rOK\r");
    QByteArray got;
    for (int i = 0; i < 100 && got.size() < 8; ++i) {
        ::usleep(10000);
        got += first.ComData();
    }
    EXPECT_EQ(got, QByteArray("0050\rOK\r"));

    first.ClosePort();
    TnComPort third(dcbFor(pty.slavePath()));
    EXPECT_TRUE(third.InitPort(true)) << "the lock goes with the port's closing";
}

// A program holding the port's lock (a terminal program run by root, which
// takes no exclusive use) keeps the tool out, and the tool leaves the port
// as it found it: not in exclusive use, which would outlast the tool and
// keep that program from opening the port again.
TEST(PortOpen, APortAnotherProgramLocksIsLeftAsItWas) {
    PtyPair pty;
    const QByteArray path = pty.slavePath().toLocal8Bit();
    const int other = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    TnComPort port(dcbFor(pty.slavePath()));
    Recorder rec;
    rec.attach(port);
    EXPECT_FALSE(port.InitPort(true));
    EXPECT_EQ(rec.errors, std::vector<int>{ceBusy});
    int exclusive = -1;
    ASSERT_EQ(::ioctl(other, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(other);
}

TEST(PortSpeed, SetBaudRateOnOpenPort) {
    PtyPair pty;
    TnComPort port(dcbFor(pty.slavePath()));
    ASSERT_TRUE(port.InitPort(true));
    EXPECT_TRUE(port.SetBaudRate(9600));
    EXPECT_EQ(port.ComPort().BaudRate, 9600u);
    QString error;
    EXPECT_FALSE(port.SetBaudRate(12345, &error));
    EXPECT_EQ(error, "Error set comm state");
    EXPECT_EQ(port.ComPort().BaudRate, 9600u);
}

} // namespace
