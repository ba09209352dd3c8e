// The port list: the system's serial devices with hardware behind them,
// plus the ports announced by running emulators, sorted without regard to
// case.
#include "pty_pair.h"
#include "serial/ComPortList.h"
#include "serial/Device.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path, const QByteArray& content = {}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// A small /sys/class/tty: a legacy ttyS slot without a UART, one with a
// UART, a USB adapter, an ACM modem and a virtual console without device.
void makeSysTty(const QString& root) {
    QDir d(root);
    d.mkpath("ttyS0/device");
    touch(root + "/ttyS0/type", "0\n");
    d.mkpath("ttyS1/device");
    touch(root + "/ttyS1/type", "4\n");
    d.mkpath("ttyUSB0/device");
    d.mkpath("ttyACM0/device");
    d.mkpath("tty0");
}

TEST(PortList, SystemDevicesWithHardwareOnly) {
    QTemporaryDir sys, ann;
    makeSysTty(sys.path());
    const QStringList ports = ListSerialPorts(sys.path(), "/dev", ann.path() + "/none");
    EXPECT_EQ(ports, (QStringList{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB0"}));
}

TEST(PortList, AnnouncedEmulatorPortsJoinTheListByFullPath) {
    QTemporaryDir sys, ann;
    makeSysTty(sys.path());
    PtyPair pty;
    ASSERT_TRUE(QFile::link(pty.slavePath(), ann.path() + "/panel-1"));
    ASSERT_TRUE(QFile::link("/dev/tarvik-gone", ann.path() + "/panel-2")); // emulator died
    const QStringList ports = ListSerialPorts(sys.path(), "/dev", ann.path());
    QStringList expected{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB0", ann.path() + "/panel-1"};
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(ports, expected) << "the dangling panel-2 is left out";
}

TEST(PortList, SortedCaseInsensitivelyAsText) {
    QTemporaryDir sys, ann;
    QDir d(sys.path());
    for (const char* n : {"ttyUSB10", "ttyUSB2", "ttyacm1", "ttyACM0"})
        d.mkpath(QString(n) + "/device");
    EXPECT_EQ(ListSerialPorts(sys.path(), "/dev", ann.path()),
              (QStringList{"/dev/ttyACM0", "/dev/ttyacm1", "/dev/ttyUSB10", "/dev/ttyUSB2"}));
}

TEST(PortList, NothingThereGivesAnEmptyList) {
    QTemporaryDir empty;
    EXPECT_TRUE(ListSerialPorts(empty.path() + "/sys", "/dev", empty.path() + "/ann").isEmpty());
}

TEST(PortList, AnnouncedFolderFollowsTheRuntimeDirectory) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", "/run/user/4242");
    EXPECT_EQ(AnnouncedPortsDir(), "/run/user/4242/tarvik1/ports");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(AnnouncedPortsDir(), QString("/tmp/tarvik1-%1/ports").arg(::getuid()));
    qputenv("XDG_RUNTIME_DIR", saved);
}

// With XDG_RUNTIME_DIR unset the emulators announce under /tmp, where anyone
// may have made the folder first: its links count only in private folders
// of this user.
TEST(PortList, TmpFolderIsTrustedOnlyWhenPrivate) {
    struct Case {
        const char* what;
        std::function<void(const QString& parent, const QString& ports)> spoil;
        bool trusted;
    };
    const Case cases[] = {
        {"private folders", [](const QString&, const QString&) {}, true},
        {"the user's folder open to all",
         [](const QString& parent, const QString&) { ::chmod(parent.toLocal8Bit().constData(), 0777); },
         false},
        {"the ports folder writable by the group",
         [](const QString&, const QString& ports) { ::chmod(ports.toLocal8Bit().constData(), 0770); }, false},
        {"the user's folder is a link",
         [](const QString& parent, const QString&) {
             const QString real = parent + "-real";
             QDir().rename(parent, real);
             QFile::link(real, parent);
         },
         false},
        {"another user's folder",
         [](const QString& parent, const QString&) {
             if (::lchown(parent.toLocal8Bit().constData(), ::getuid() + 1, ::getgid()) != 0)
                 GTEST_SKIP() << "only the superuser can give a folder away";
         },
         false},
    };
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    PtyPair pty;
    for (const Case& c : cases) {
        QTemporaryDir root, sys;
        const QString parent = root.path() + QString("/tarvik1-%1").arg(::getuid());
        const QString ports = parent + "/ports";
        ASSERT_EQ(::mkdir(parent.toLocal8Bit().constData(), 0700), 0);
        ASSERT_EQ(::mkdir(ports.toLocal8Bit().constData(), 0700), 0);
        ASSERT_TRUE(QFile::link(pty.slavePath(), ports + "/panel-1"));
        c.spoil(parent, ports);
        const QString dir = TrustedAnnouncedPortsDir(root.path());
        EXPECT_EQ(dir, c.trusted ? ports : QString()) << c.what;
        EXPECT_EQ(ListSerialPorts(sys.path(), "/dev", dir).contains(ports + "/panel-1"), c.trusted) << c.what;
    }
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

TEST(PortList, DeviceListsAnnouncedPorts) {
    const QString dir = AnnouncedPortsDir();
    QDir().mkpath(dir);
    PtyPair pty;
    const QString link = dir + "/panel-test";
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(pty.slavePath(), link));
    EXPECT_TRUE(TDevice::GetCOMsList().contains(link));
    QFile::remove(link);
    EXPECT_FALSE(TDevice::GetCOMsList().contains(link));
}

} // namespace
