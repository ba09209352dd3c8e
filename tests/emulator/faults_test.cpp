// Each fault switch, seen from the line.

#include "panel_fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kLateMs = 250; // long enough for an answer that is not coming

class FaultsTest : public PanelFixture {
protected:
    void setFaults(const std::function<void(emu::Faults&)>& change) {
        emu::Faults f;
        change(f);
        panel->setFaults(f);
    }
    bool silent(const QByteArray& command) {
        client->send(command + "\r\n\r\n");
        return client->readRaw(kLateMs).isEmpty();
    }
};

TEST_F(FaultsTest, EveryNthCommandIsLost) {
    setFaults([](emu::Faults& f) { f.dropEvery = 3; });
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
        EXPECT_EQ(client->page("+disp"), (QList<QByteArray>{"FF", "OK"}));
        EXPECT_TRUE(silent("+o0001"));
    }
    EXPECT_EQ(panel->parameter("+o"), "0050") << "a lost write is not stored";
    EXPECT_EQ(panel->commandCount("+o"), 4) << "the counters count what came on the line";
}

TEST_F(FaultsTest, AnsweredOnlyOnTheRetry) {
    setFaults([](emu::Faults& f) { f.answerOnRetry = true; });
    EXPECT_TRUE(silent("+o0001"));
    EXPECT_EQ(panel->parameter("+o"), "0050");
    EXPECT_EQ(client->page("+o0001"), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->parameter("+o"), "0001");
    EXPECT_TRUE(silent("+disp"));
    EXPECT_TRUE(silent("+o")) << "another command is a first sending again";
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0001", "OK"}));
}

TEST_F(FaultsTest, ExtraDelayBeforeEveryAnswer) {
    setFaults([](emu::Faults& f) { f.extraDelayMs = 150; });
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
    EXPECT_GE(t.elapsed(), 140);
}

TEST_F(FaultsTest, AnswersSplitIntoSingleBytes) {
    setFaults([](emu::Faults& f) { f.splitBytes = true; });
    panel->setDelays([] {
        emu::Delays d = emu::Delays::quick();
        d.splitGapMs = 5;
        return d;
    }());
    client->send("+alphon0\r\n\r\n");
    const QList<int> chunks = client->readChunks(3000);
    int total = 0;
    for (int n : chunks)
        total += n;
    EXPECT_EQ(total, QByteArray("110002=+79031234567\rOK\r").size());
    EXPECT_GE(chunks.size(), total / 2) << "the bytes came in separate reads";
    EXPECT_TRUE(panel->sentBytes().endsWith("110002=+79031234567\rOK\r"));
}

TEST_F(FaultsTest, LfAndPromptCharactersSprinkledIn) {
    setFaults([](emu::Faults& f) { f.sprinkle = true; });
    QByteArray raw;
    for (int i = 0; i < 4; ++i) {
        client->send("+alphon0\r\n\r\n");
        const QByteArray one = client->readRaw(1000);
        QByteArray clean = one;
        clean.replace('\n', QByteArray()).replace('>', QByteArray());
        EXPECT_EQ(clean, QByteArray("110002=+79031234567\rOK\r"));
        raw += one;
    }
    EXPECT_TRUE(raw.contains('\n'));
    EXPECT_TRUE(raw.contains('>'));
    EXPECT_TRUE(raw.contains(">OK"));
    // somewhere inside a line, not only in front of it
    bool inside = false;
    for (qsizetype i = 1; i + 1 < raw.size(); ++i) {
        const char prev = raw.at(i - 1), next = raw.at(i + 1);
        if ((raw.at(i) == '>' || raw.at(i) == '\n') && prev != '\r' && prev != '\n' && next != '\r' &&
            next != '>')
            inside = true;
    }
    EXPECT_TRUE(inside) << raw.toStdString();
}

TEST_F(FaultsTest, ValueWithoutTheFinalOk) {
    setFaults([](emu::Faults& f) { f.missingOk = true; });
    client->send("+o\r\n\r\n");
    EXPECT_EQ(client->readRaw(1000), QByteArray("0050\r"));
    EXPECT_EQ(client->page("+o0001"), QList<QByteArray>{"OK"}) << "an answer without a value keeps its OK";
    client->send("+U\r\n\r\n");
    EXPECT_EQ(PanelClient::splitLines(client->readRaw(1000)), (QList<QByteArray>{"OK", "1100"}));
}

TEST_F(FaultsTest, GarbageBeforeEveryAnswer) {
    setFaults([](emu::Faults& f) { f.garbage = true; });
    client->send("+o\r\n\r\n");
    EXPECT_EQ(client->readRaw(1000), QByteArray("\xFE\x13#~\r0050\rOK\r"));
    emu::Faults f = panel->faults();
    f.garbageBytes = "NOISE";
    panel->setFaults(f);
    client->send("+o\r\n\r\n");
    EXPECT_EQ(client->readRaw(1000), QByteArray("NOISE0050\rOK\r"));
}

// The record's index heads its line: "+read" answers leave that line out,
// the first time only or every time, and setting the faults again starts
// over.
TEST_F(FaultsTest, AJournalRecordLeftOutOfTheReadAnswers) {
    const auto indexes = [&](const QByteArray& command) {
        QList<QByteArray> heads;
        for (const QByteArray& line : client->page(command))
            heads << line.left(4);
        return heads;
    };
    const QList<QByteArray> whole{"0003", "0004", "0005", "0006", "OK"};
    const QList<QByteArray> without5{"0003", "0004", "0006", "OK"};
    for (const bool always : {false, true}) {
        setFaults([&](emu::Faults& f) {
            f.skipRecord = 5;
            f.skipRecordAlways = always;
        });
        EXPECT_EQ(indexes("+read00000002"), (QList<QByteArray>{"0000", "0001", "0002", "OK"}))
            << "an answer without the record leaves nothing out";
        EXPECT_EQ(indexes("+read00030006"), without5) << always;
        EXPECT_EQ(indexes("+read00030006"), always ? without5 : whole) << always;
    }
    EXPECT_EQ(panel->journalLines().size(), 100) << "the journal itself keeps the record";
}

TEST_F(FaultsTest, DifferentVersionLine) {
    panel->setVersionLine(QStringLiteral("REV 07.701.125"));
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.701.125", "OK"}));
}

TEST_F(FaultsTest, CableHangsUpHalfWayThroughAnAnswer) {
    setFaults([](emu::Faults& f) { f.hangupAt = 2; });
    EXPECT_EQ(client->page("+alphon0"), (QList<QByteArray>{"110002=+79031234567", "OK"}));
    client->send("+alphon0\r\n\r\n");
    const QByteArray full("110002=+79031234567\rOK\r");
    EXPECT_EQ(client->readRaw(kLateMs), full.left(full.size() / 2));
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"})) << "only the one answer is cut";
}

TEST_F(FaultsTest, ModemCallDropsHalfWayThroughAnAnswer) {
    startPanel(emu::LinkMode::Modem);
    ASSERT_EQ(client->line("ATD123"), QList<QByteArray>{"CONNECT 9600"});
    setFaults([](emu::Faults& f) { f.hangupAt = 1; });
    client->send("+alphon0\r\n\r\n");
    const QByteArray full("110002=+79031234567\rOK\r");
    EXPECT_EQ(client->readRaw(1000), full.left(full.size() / 2) + "\r\nNO CARRIER\r\n");
    EXPECT_FALSE(panel->callConnected());
    EXPECT_EQ(client->line("AT"), QList<QByteArray>{"OK"});
}

TEST_F(FaultsTest, LineThrottledToTheBaudRate) {
    setFaults([](emu::Faults& f) { f.baud = 9600; });
    QElapsedTimer t;
    t.start();
    const QList<QByteArray> lines = client->page("+read00000004", 5000);
    const qint64 elapsed = t.elapsed();
    ASSERT_EQ(lines.size(), 6);
    // 15 bytes out, 5 x 76 + 3 bytes back, 10 bits a byte
    const double expectedMs = (15 + 5 * 76 + 3) * 10 * 1000.0 / 9600;
    EXPECT_GE(elapsed, qint64(expectedMs * 0.95));
    EXPECT_LT(elapsed, qint64(expectedMs * 3 + 500));
}

TEST_F(FaultsTest, FaultsOnlyForTheNamedCommand) {
    setFaults([](emu::Faults& f) {
        f.dropEvery = 1;
        f.onlyCommand = QStringLiteral("+alphon");
    });
    EXPECT_TRUE(silent("+alphon0"));
    EXPECT_TRUE(silent("+alphon5"));
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
}

TEST_F(FaultsTest, FloodOfUnaskedLinesBetweenAnswers) {
    // Once the panel has taken one command, five lines nobody asked for,
    // after that command's answer and never inside one.
    setFaults([](emu::Faults& f) {
        f.floodLine = "RING 0050";
        f.floodAfter = 1;
        f.floodLines = 5;
    });
    client->send("+o\r\n\r\n");
    const QList<QByteArray> answer =
        client->collect([](const QList<QByteArray>& l) { return l.size() >= 7; }, 2000);
    EXPECT_EQ(answer, QList<QByteArray>({"0050", "OK"}) + QList<QByteArray>(5, "RING 0050"));
    EXPECT_EQ(client->readRaw(kLateMs), QByteArray()) << "five lines";
    EXPECT_EQ(panel->floodLinesSent(), 5);
    EXPECT_EQ(client->page("+disp"), (QList<QByteArray>{"FF", "OK"})) << "the flood is over";

    // Paced: one line every 40 ms.
    setFaults([](emu::Faults& f) {
        f.floodLine = "RING";
        f.floodLines = 3;
        f.floodGapMs = 40;
    });
    QElapsedTimer t;
    t.start();
    const QList<QByteArray> lines =
        client->collect([](const QList<QByteArray>& l) { return l.size() == 3; }, 2000);
    EXPECT_EQ(lines, QList<QByteArray>(3, "RING"));
    EXPECT_GE(t.elapsed(), 2 * 40 - 5);
}

TEST(TranscriptTest, EveryByteBothWaysWithTimes) {
    QTemporaryDir dir;
    emu::PanelSettings s;
    s.delays = emu::Delays::quick();
    s.transcriptPath = dir.filePath("line.txt");
    {
        emu::EmulatedPanel panel(s);
        ASSERT_TRUE(panel.start());
        PanelClient client(panel.slavePath());
        EXPECT_EQ(client.line("CABLE CONNECT"), QList<QByteArray>{"OK"});
        EXPECT_EQ(client.page("+smstext2").size(), 2);
    }
    QFile f(s.transcriptPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QList<QByteArray> traffic;
    for (const QByteArray& l : lines) {
        if (!l.startsWith('#') && !l.isEmpty())
            traffic.append(l.mid(l.indexOf(' ') + 1));
    }
    EXPECT_EQ(traffic, (QList<QByteArray>{"IN  CABLE CONNECT\\r\\n", "OUT OK\\r", "IN  +smstext2\\r\\n\\r\\n",
                                          "OUT \\xD0\\xE0\\xE7\\xF0\\xFF\\xE4 \\xC0\\xCA\\xC1\\rOK\\r"}));
    bool ok = false;
    for (const QByteArray& l : lines) {
        if (l.startsWith("0.") || l.startsWith("1.")) {
            l.left(l.indexOf(' ')).toDouble(&ok);
            break;
        }
    }
    EXPECT_TRUE(ok) << "lines start with seconds";
}

TEST_F(FaultsTest, ALineBeforeEveryAnswerOfTheCommandsNamed) {
    setFaults([](emu::Faults& f) {
        f.lineBefore = "+CREG: 0,1";
        f.onlyCommand = "+alphon";
    });
    EXPECT_EQ(client->page("+alphon0"), (QList<QByteArray>{"+CREG: 0,1", "110002=+79031234567", "OK"}));
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
}

TEST_F(FaultsTest, EveryAnswerTwice) {
    setFaults([](emu::Faults& f) { f.answerTwice = true; });
    client->send("+o\r\n\r\n");
    QByteArray raw;
    QElapsedTimer t;
    t.start();
    while (raw.count("OK") < 2 && t.elapsed() < 3000)
        raw += client->readRaw(100);
    EXPECT_EQ(raw, "0050\rOK\r0050\rOK\r");
    EXPECT_EQ(panel->commandCount("+o"), 1) << "one command, answered twice";
}

TEST_F(FaultsTest, UnsolicitedLinesAtARate) {
    setFaults([](emu::Faults& f) {
        f.chatterMs = 40;
        f.chatterLine = "RING";
    });
    const QByteArray raw = client->readRaw(300);
    EXPECT_GE(raw.count("RING\r"), 3) << raw.toStdString();
    EXPECT_EQ(raw.count("RING\r") * 5, raw.size()) << "nothing but the line, whole";
    // Commands are still answered in between.
    const QList<QByteArray> answer = client->page("+o");
    EXPECT_TRUE(answer.endsWith("OK"));
    EXPECT_TRUE(answer.contains("0050"));
}

} // namespace
