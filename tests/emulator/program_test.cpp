// The panel-emulator program: announces its pty as a link, serves it, takes
// its options, and removes the link when it is stopped.

#include "panel_client.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class Program {
public:
    explicit Program(const QStringList& args, const QString& runtimeDir = QString(), bool keepXdg = true) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!runtimeDir.isEmpty())
            env.insert("XDG_RUNTIME_DIR", runtimeDir);
        if (!keepXdg)
            env.remove("XDG_RUNTIME_DIR");
        fProcess.setProcessEnvironment(env);
        fProcess.start(QStringLiteral(PANEL_EMULATOR_PROGRAM), args);
    }
    ~Program() {
        if (fProcess.state() != QProcess::NotRunning) {
            ::kill(pid_t(fProcess.processId()), SIGKILL);
            fProcess.waitForFinished(2000);
        }
    }

    // The first line on standard output: the announced link.
    QString link() {
        while (!fProcess.canReadLine()) {
            if (!fProcess.waitForReadyRead(5000))
                return QString();
        }
        return QString::fromLocal8Bit(fProcess.readLine()).trimmed();
    }
    int stop(int signal) {
        ::kill(pid_t(fProcess.processId()), signal);
        EXPECT_TRUE(fProcess.waitForFinished(5000));
        EXPECT_EQ(fProcess.exitStatus(), QProcess::NormalExit);
        return fProcess.exitCode();
    }
    int finish() {
        EXPECT_TRUE(fProcess.waitForFinished(5000));
        return fProcess.exitCode();
    }
    QString allOutput() { return QString::fromLocal8Bit(fProcess.readAllStandardOutput()); }
    QString errors() { return QString::fromLocal8Bit(fProcess.readAllStandardError()); }

private:
    QProcess fProcess;
};

TEST(ProgramTest, AnnouncesServesAndWithdrawsItsLink) {
    QTemporaryDir runtime;
    const QString ports = runtime.path() + "/tarvik1/ports";
    Program first({"--quick"}, runtime.path());
    const QString link = first.link();
    EXPECT_EQ(link, ports + "/panel-1");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(link).symLinkTarget().startsWith("/dev/pts/"));
    EXPECT_EQ(QFileInfo(ports).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther), 0);

    Program second({"--quick"}, runtime.path());
    EXPECT_EQ(second.link(), ports + "/panel-2");

    {
        PanelClient client(link);
        ASSERT_TRUE(client.isOpen());
        EXPECT_EQ(client.line("CABLE CONNECT"), QList<QByteArray>{"OK"});
        EXPECT_EQ(client.line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
    }
    {
        PanelClient again(link); // a second connection is served as well
        EXPECT_EQ(again.page("+o"), (QList<QByteArray>{"0050", "OK"}));
    }

    EXPECT_EQ(first.stop(SIGTERM), 0);
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    Program third({"--quick"}, runtime.path());
    EXPECT_EQ(third.link(), ports + "/panel-1") << "the freed name is taken again";
    EXPECT_EQ(second.stop(SIGINT), 0);
    EXPECT_FALSE(QFileInfo(ports + "/panel-2").isSymLink());
    EXPECT_EQ(third.stop(SIGTERM), 0);
}

TEST(ProgramTest, LinkAtAGivenPath) {
    QTemporaryDir dir;
    const QString link = dir.filePath("my-panel");
    Program p({"--quick", "--link", link});
    EXPECT_EQ(p.link(), link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(p.stop(SIGTERM), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());

    QFile taken(dir.filePath("taken"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    Program refused({"--link", taken.fileName()});
    EXPECT_EQ(refused.finish(), 1);
    EXPECT_TRUE(refused.errors().contains("already exists"));
    EXPECT_TRUE(QFileInfo(taken.fileName()).isFile());
}

TEST(ProgramTest, FallsBackToTheTmpFolderWithoutRuntimeDir) {
    Program p({"--quick"}, QString(), false);
    const QString link = p.link();
    EXPECT_TRUE(link.startsWith(QStringLiteral("/tmp/tarvik1-%1/ports/panel-").arg(::getuid())))
        << link.toStdString();
    EXPECT_EQ(p.stop(SIGTERM), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(ProgramTest, OptionsReachThePanel) {
    QTemporaryDir runtime;
    Program p({"--quick", "--mode", "modem", "--version-line", "REV 07.701.001", "--records", "5",
               "--unregistered", "1", "--dial-fail", "busy", "--dial-failures", "1", "--crlf",
               "--memory-type", "3", "--skip-record-always", "2"},
              runtime.path());
    PanelClient client(p.link());
    ASSERT_TRUE(client.isOpen());
    EXPECT_EQ(client.line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,2", "OK"}));
    EXPECT_EQ(client.line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,1", "OK"}));
    EXPECT_EQ(client.line("ATD555"), QList<QByteArray>{"BUSY"});
    EXPECT_EQ(client.line("ATD555"), QList<QByteArray>{"CONNECT 9600"});
    client.send("+v\r\n");
    EXPECT_EQ(client.readRaw(2000), QByteArray("REV 07.701.001\r\nOK\r\n"));
    EXPECT_EQ(client.line("+typepan"), (QList<QByteArray>{"3", "OK"}));
    EXPECT_EQ(client.page("+point"), (QList<QByteArray>{"0005", "OK"}));
    QList<QByteArray> heads;
    for (const QByteArray& line : client.page("+read00000004"))
        heads << line.left(4);
    EXPECT_EQ(heads, (QList<QByteArray>{"0000", "0001", "0003", "0004", "OK"}));
    EXPECT_EQ(p.stop(SIGTERM), 0);
}

// Values the tool lists no item for are refused by a default panel and taken
// by one started with the switches that let it hold them.
TEST(ProgramTest, ValuesBeyondTheToolsListsOnlyWithTheirSwitches) {
    const QList<QPair<QByteArray, QByteArray>> writes = {
        {"+alphon0", "110008=123"},       // channel code 8
        {"+pwlog", "FFFF00FE05FFFFFFFF"}, // a period of FE hours
        {"+n00", "199901002"},            // an alarm code no item carries
        {"+presstime", "0C"},             // a hold time no item selects
        {"+disp", "1FF"},                 // a dispatcher time above FF
        {"+pwlog", "FFFFzz0104FFFFFFFF"}, // a restart field that is no switch
    };
    for (const bool switched : {false, true}) {
        SCOPED_TRACE(switched ? "switched" : "default");
        QTemporaryDir runtime;
        QStringList args{"--quick"};
        if (switched)
            args << "--channel-codes-to-nine"
                 << "--periods-to-fe"
                 << "--odd-values";
        Program p(args, runtime.path());
        PanelClient client(p.link());
        ASSERT_TRUE(client.isOpen());
        ASSERT_EQ(client.page("CABLE CONNECT"), QList<QByteArray>{"OK"});
        for (const auto& [name, value] : writes) {
            SCOPED_TRACE((name + value).constData());
            EXPECT_EQ(client.page(name + value), QList<QByteArray>{switched ? "OK" : "ERROR"});
            if (switched) {
                EXPECT_EQ(client.page(name), (QList<QByteArray>{value, "OK"}));
            }
        }
        EXPECT_EQ(p.stop(SIGTERM), 0);
    }
}

TEST(ProgramTest, HelpAndWrongOptions) {
    Program help({"--help"});
    EXPECT_EQ(help.finish(), 0);
    const QString text = help.allOutput();
    for (const char* option : {"--link",
                               "--mode",
                               "--records",
                               "--bad-records",
                               "--seed",
                               "--cid-ten-as-a",
                               "--read-excludes-end",
                               "--channel-codes-to-nine",
                               "--periods-to-fe",
                               "--odd-values",
                               "--version-line",
                               "--boot-version-line",
                               "--memory-type",
                               "--signal",
                               "--signal-errors",
                               "--crlf",
                               "--modem-echo",
                               "--unregistered",
                               "--dial-fail",
                               "--dial-failures",
                               "--answer-delay",
                               "--measure-delay",
                               "--erase-delay",
                               "--dial-delay",
                               "--flash-erase-delay",
                               "--block-delay",
                               "--final-check-delay",
                               "--split-gap",
                               "--quick",
                               "--drop-every",
                               "--answer-on-retry",
                               "--extra-delay",
                               "--split-bytes",
                               "--sprinkle",
                               "--missing-ok",
                               "--garbage",
                               "--hangup-at",
                               "--baud",
                               "--skip-record",
                               "--skip-record-always",
                               "--fault-command",
                               "--flood-line",
                               "--flood-after",
                               "--flood-lines",
                               "--flood-gap",
                               "--transcript"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;

    const QList<QStringList> wrong = {
        {"--mode", "usb"},
        {"--records", "-1"},
        {"--records", "many"},
        {"--bogus"},
        {"--dial-fail", "maybe"},
        {"--dial-failures", "2"},
        {"--memory-type", "xyz"},
        {"extra"},
        {"--records", "3", "--bad-records", "4"},
        {"--baud", "0"},
        {"--skip-record", "65536"},
        {"--skip-record", "1", "--skip-record-always", "2"},
        {"--flood-lines", "3"},
        {"--flood-line", ""},
        {"--flood-line", "RING", "--flood-lines", "0"},
    };
    for (const QStringList& args : wrong) {
        Program p(args);
        EXPECT_EQ(p.finish(), 2) << args.join(' ').toStdString();
        EXPECT_FALSE(p.errors().isEmpty());
    }
}

} // namespace
