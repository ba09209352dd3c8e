// The command exchange over a real pseudo-terminal, with the panel's side
// scripted byte by byte: completion rules, refusals, retries, the value
// line, the text on the wire and the mended faults (leftover lines, late
// answers, wake-up during a wait, re-entry, abort).
#include "panel/CommandExchange.h"
#include "pty_pair.h"
#include "scripted_peer.h"
#include "serial/Device.h"
#include "test_wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ExchangeOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        // A short late bound: a failed case must not hold up the next one.
        timings.LateMs = 200;
        exchange.SetTimings(timings);
        device.SetPort(pty.slavePath());
        device.SetComActive(true);
        ASSERT_TRUE(device.ComActive());
        exchange.Attach();
        QObject::connect(&exchange, &TCommandExchange::LogLine, [this](const QString& l) { log << l; });
    }

    // Answers every command with `chunks`.
    void answerWith(QList<QByteArray> chunks) {
        peer.onCommand = [chunks](const QByteArray&) { return chunks; };
    }

    bool waitUntilLine(const QByteArray& line) {
        QElapsedTimer t;
        t.start();
        while (!peer.lines.contains(line) && t.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return peer.lines.contains(line);
    }

    TLinkTimings timings;
    PtyPair pty;
    ScriptedPeer peer{pty};
    TDevice device;
    TCommandExchange exchange{&device};
    QStringList log;
};

TEST_F(ExchangeOnPty, CompletionRules) {
    // `writes`: how often the command went out (3 when no answer ever
    // completes, 1 when the first answer was final).
    struct Case {
        const char* what;
        QList<QByteArray> chunks;
        bool uparam, modem;
        bool complete;
        QStringList lines;
        int writes;
        bool firstOnly = false; // only the first write is answered
    };
    const Case cases[] = {
        {"single OK", {"OK\r\n"}, false, false, true, {"OK"}, 1},
        {"value and OK", {"0050\r\nOK\r\n"}, false, false, true, {"0050", "OK"}, 1},
        {"CR only", {"0050\rOK\r"}, false, false, true, {"0050", "OK"}, 1},
        {"one byte per hand-over",
         {"0", "0", "5", "0", "\r", "O", "K", "\r", "\n"},
         false,
         false,
         true,
         {"0050", "OK"},
         1},
        {"LF and > noise", {">\n00>50\r\n>O\nK\r>"}, false, false, true, {"0050", "OK"}, 1},
        {"ERROR is a refusal: failed at once", {"ERROR\r"}, false, false, false, {}, 1},
        {"value then ERROR is a refusal too", {"0050\rERROR\r"}, false, false, false, {}, 1},
        {"lower-case ok is not OK", {"ok\r"}, false, false, false, {}, 3},
        {"OK inside a longer line", {"NOT OK\r"}, false, false, false, {}, 3},
        {"signal on cable: second OK",
         {"OK\r", "1F00\r", "OK\r"},
         true,
         false,
         true,
         {"OK", "1F00", "OK"},
         1},
        {"signal on cable: one OK is not enough", {"OK\r"}, true, false, false, {}, 3, true},
        {"signal on cable: ERROR after the first OK", {"OK\r", "ERROR\r"}, true, false, false, {}, 1},
        {"signal on cable: ends at its second OK, a third is nobody's",
         {"OK\rOK\rOK\r"},
         true,
         false,
         true,
         {"OK", "OK"},
         1},
        {"signal on a modem: first OK", {"OK\r"}, true, true, true, {"OK"}, 1},
    };
    for (const Case& c : cases) {
        peer.chunkDelayMs = c.chunks.size() > 1 ? 15 : 0;
        answerWith(c.chunks);
        if (c.firstOnly) {
            peer.onCommand = [chunks = c.chunks, n = 0](const QByteArray&) mutable {
                return n++ == 0 ? chunks : QList<QByteArray>{};
            };
        }
        exchange.SetUparam(c.uparam);
        exchange.SetModem(c.modem);
        peer.lines.clear();
        QStringList res{"untouched"};
        // Short time-outs: the modem adds its own 5 s, so the cases that
        // wait out their time-outs are on the cable. Each case asks its own
        // question, so that no late answer of the case before is its own.
        const QString command = QStringLiteral("+U%1").arg(&c - cases);
        const bool ok = exchange.DeviceCommandLst(command, res, c.writes == 1 ? 2000 : 150);
        EXPECT_EQ(ok, c.complete) << c.what;
        EXPECT_EQ(res, c.complete ? c.lines : QStringList{"untouched"}) << c.what;
        EXPECT_EQ(peer.lines.size(), c.writes) << c.what;
        EXPECT_EQ(exchange.LastRefused(), !c.complete && c.writes == 1) << c.what;
    }
}

TEST_F(ExchangeOnPty, ValueLineRule) {
    struct Case {
        QByteArray answer;
        QString value;
    };
    const Case cases[] = {
        {"0050\rOK\r", "0050"},
        {"OK\r", "OK"},
        {"first\rsecond\rOK\r", "second"},
    };
    for (const Case& c : cases) {
        answerWith({c.answer});
        QString value = "x";
        ASSERT_TRUE(exchange.DeviceCommand("+o", value, 1000));
        EXPECT_EQ(value, c.value);
    }
    answerWith({});
    QString value = "kept";
    EXPECT_FALSE(exchange.DeviceCommand("+o", value, 60));
    EXPECT_EQ(value, "kept") << "a failed request leaves the value alone";
}

TEST_F(ExchangeOnPty, AnswerPastTheCapIsNotKeptAndFailsWhenItEnds) {
    // A line that floods the answer with lines: whatever comes past the cap
    // is logged but not kept, and the request fails once the answer ends
    // (asking again would be flooded again). An answer up to the cap is
    // taken whole.
    exchange.SetMaxAnswerChars(4096);
    const QByteArray ring = "RING 0050 18 1130 01 005"; // 24 characters
    struct Case {
        const char* what;
        int rings;
        bool ok;
    };
    const Case cases[] = {
        {"up to the cap", (4096 - 2 - 2) / 24, true}, // and "OK" and the value "00"
        {"one line past the cap", (4096 - 2 - 2) / 24 + 1, false},
        {"far past the cap", 3000, false},
    };
    for (const Case& c : cases) {
        answerWith({(ring + '\r').repeated(c.rings) + "00\rOK\r"});
        peer.lines.clear();
        log.clear();
        qsizetype most = 0;
        const auto watch = QObject::connect(&exchange, &TCommandExchange::LogLine,
                                            [&] { most = std::max(most, exchange.AnswerChars()); });
        QStringList res;
        const bool ok = exchange.DeviceCommandLst("+o", res, 2000);
        QObject::disconnect(watch);
        EXPECT_EQ(ok, c.ok) << c.what;
        EXPECT_EQ(res.size(), c.ok ? c.rings + 2 : 0) << c.what;
        EXPECT_FALSE(exchange.LastRefused()) << c.what;
        EXPECT_EQ(peer.lines.size(), 1) << c.what << ": the answer ended; not asked again";
        EXPECT_LE(most, 4096) << c.what;
        EXPECT_EQ(log.count(">> " + QString::fromLatin1(ring)), c.rings) << c.what << ": every line logged";
        EXPECT_EQ(exchange.AnswerChars(), 0) << c.what;
    }
    answerWith({"0050\rOK\r"});
    QString value;
    EXPECT_TRUE(exchange.DeviceCommand("+o", value, 2000)) << "the next request is answered as ever";
    EXPECT_EQ(value, "0050");
}

TEST_F(ExchangeOnPty, SilentPanelGetsTheCommandThreeTimes) {
    answerWith({});
    QStringList res;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 100));
    EXPECT_GE(t.elapsed(), 3 * 100 - 10);
    EXPECT_EQ(peer.lines, (QList<QByteArray>{"+o", "+o", "+o"}));
}

TEST_F(ExchangeOnPty, AnswerOnlyOnTheRetrySucceeds) {
    int seen = 0;
    peer.onCommand = [&](const QByteArray&) -> QList<QByteArray> {
        return ++seen == 1 ? QList<QByteArray>{} : QList<QByteArray>{"0A\rOK\r"};
    };
    QString value;
    EXPECT_TRUE(exchange.DeviceCommand("+disp", value, 100));
    EXPECT_EQ(value, "0A");
    EXPECT_EQ(seen, 2);
}

// The first answer stops half way (the line hung up in the middle of it)
// and the resent command is answered whole: the result is the whole answer
// alone, neither glued to the unfinished line nor behind the broken lines.
TEST_F(ExchangeOnPty, AnswerBrokenOffIsDroppedBeforeTheResend) {
    const struct {
        const char* name;
        QByteArray broken; // the first attempt's bytes
    } cases[] = {
        {"inside the value", "internet."},
        {"after the value line", "internet.mts.ru\r"},
        {"inside the final OK", "internet.mts.ru\rO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int seen = 0;
        peer.onCommand = [&](const QByteArray&) -> QList<QByteArray> {
            return ++seen == 1 ? QList<QByteArray>{c.broken} : QList<QByteArray>{"internet.mts.ru\rOK\r"};
        };
        QStringList res;
        EXPECT_TRUE(exchange.DeviceCommandLst("+GAPN0", res, 100));
        EXPECT_EQ(res, (QStringList{"internet.mts.ru", "OK"}));
        EXPECT_EQ(seen, 2);
        waitUntil([] { return false; }, 250); // the late bound writes off the answer still owed
    }
}

TEST_F(ExchangeOnPty, TwoLineEndsOnTheWireAndOneInTheLog) {
    answerWith({"OK\r"});
    QStringList res;
    ASSERT_TRUE(exchange.DeviceCommandLst(QString::fromUtf8("+smstext0Тревога"), res, 1000));
    EXPECT_EQ(peer.raw, QByteArray("+smstext0\xD2\xF0\xE5\xE2\xEE\xE3\xE0\r\n\r\n"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], QString::fromUtf8("<< +smstext0Тревога\r\n"));
    EXPECT_EQ(log[1], ">> OK");
}

TEST_F(ExchangeOnPty, ModemLinkWaitsFiveSecondsLonger) {
    // The answer comes after 300 ms; a 100 ms time-out fails on the cable
    // but not through a modem call.
    peer.chunkDelayMs = 300;
    answerWith({"OK\r"});
    QStringList res;
    exchange.SetModem(true);
    EXPECT_TRUE(exchange.DeviceCommandLst("+o", res, 100));
    EXPECT_EQ(peer.lines.size(), 1);
}

TEST_F(ExchangeOnPty, TimeOutZeroStillWaitsOneStep) {
    peer.chunkDelayMs = 10;
    answerWith({"OK\r"});
    QStringList res;
    EXPECT_TRUE(exchange.DeviceCommandLst("+BL", res, 0));
}

TEST_F(ExchangeOnPty, LinesFromBeforeTheCommandAreDropped) {
    // A late answer arrives while nobody waits; the next exchange must see
    // only its own answer.
    peer.send("0099\rOK\r");
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    answerWith({"0A\rOK\r"});
    QStringList res;
    ASSERT_TRUE(exchange.DeviceCommandLst("+disp", res, 1000));
    EXPECT_EQ(res, (QStringList{"0A", "OK"}));
    EXPECT_TRUE(log.contains(">> 0099")) << "still logged";
}

TEST_F(ExchangeOnPty, NoWakeUpWhileWaiting) {
    uint32_t now = 1000000;
    device.SetClock([&] { return now; });
    device.SetWakeUpInterval(20000);
    device.SetWakeUp(true);
    peer.send("OK\r"); // the panel has spoken
    ASSERT_TRUE(waitUntil([&] { return log.contains(">> OK"); }));
    answerWith({});
    // While the exchange waits, the clock jumps far past the wake-up
    // interval and the device's timer ticks.
    QTimer::singleShot(20, [&] {
        now += 25000;
        device.TimerTick();
    });
    QStringList res;
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 80));
    EXPECT_FALSE(peer.lines.contains("+v"));
    EXPECT_FALSE(device.WakeUpHeld()) << "released after the exchange";
    // Once the exchange has returned the wake-up works again.
    peer.send("OK\r");
    ASSERT_TRUE(waitUntil([&] { return log.count(">> OK") == 2; }));
    now += 20001;
    device.TimerTick();
    EXPECT_TRUE(waitUntilLine("+v"));
}

TEST_F(ExchangeOnPty, SecondExchangeDuringAWaitIsRefusedAtOnce) {
    answerWith({});
    bool innerResult = true;
    QList<QByteArray> linesAtInner;
    QTimer::singleShot(30, [&] {
        QStringList inner;
        innerResult = exchange.DeviceCommandLst("+disp", inner, 1000);
        linesAtInner = peer.lines;
    });
    QStringList res;
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 100));
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(peer.lines.contains("+disp")) << "nothing written for the refused request";
}

TEST_F(ExchangeOnPty, AbortEndsTheWaitAtOnce) {
    answerWith({});
    QTimer::singleShot(30, [&] { exchange.Abort(); });
    QStringList res;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 5000));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(peer.lines.size(), 1) << "no further attempts";
    // An abort does not poison the next exchange.
    answerWith({"OK\r"});
    EXPECT_TRUE(exchange.DeviceCommandLst("+o", res, 1000));
}

// "NO CARRIER" on a modem link in the middle of an answer, or owed to no
// command at all: the call is gone. The request fails at once (not as a
// refusal, nothing resent) and the exchange says so; on the cable the same
// line is only a line nobody understands.
TEST_F(ExchangeOnPty, ModemCallDroppedEndsTheRequestAndIsTold) {
    QSignalSpy lost(&exchange, &TCommandExchange::CallLost);
    exchange.SetModem(true);
    answerWith({"00", "5\r\nNO CARRIER\r\n"});
    peer.chunkDelayMs = 15;
    QStringList res{"untouched"};
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 3000));
    EXPECT_LT(t.elapsed(), 1000) << "no time-out waited";
    EXPECT_EQ(peer.lines.size(), 1) << "nothing resent";
    EXPECT_FALSE(exchange.LastRefused());
    EXPECT_EQ(res, QStringList{"untouched"});
    EXPECT_EQ(lost.count(), 1);

    // Unasked, between two requests.
    peer.send("NO CARRIER\r");
    EXPECT_TRUE(waitUntil([&] { return lost.count() == 2; }));

    // On the cable it fails nothing and tells nothing.
    exchange.SetModem(false);
    peer.send("NO CARRIER\r");
    ASSERT_TRUE(waitUntil([&] { return log.count(">> NO CARRIER") == 3; }));
    answerWith({"0050\rOK\r"});
    EXPECT_TRUE(exchange.DeviceCommandLst("+o", res, 1000));
    EXPECT_EQ(lost.count(), 2);
}

TEST_F(ExchangeOnPty, ClosedPortFailsAtOnce) {
    device.SetComActive(false);
    QStringList res;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", res, 5000));
    EXPECT_LT(t.elapsed(), 1000) << "no time-out waited";
}

TEST_F(ExchangeOnPty, ParamRequestsRecordFailuresByName) {
    QStringList errors;
    QStringList res;
    answerWith({"0050\rOK\r"});
    EXPECT_TRUE(exchange.ReadParamFromDevice("+o", res, errors, "Номер объекта", "OK", 1000));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(exchange.ReadParamFromDevice("+o", res, errors, "Номер объекта", "DONE", 1000));
    EXPECT_EQ(errors, QStringList{"Номер объекта"});
    // A refusal is a failure that is recorded, never an "OK".
    answerWith({"ERROR\rOK\r"});
    EXPECT_FALSE(exchange.ReadParamFromDevice("+o", res, errors, "Номер", "OK", 1000));
    answerWith({});
    exchange.SendParamToDevice("+o0050", errors, "Объект", "OK", 50);
    EXPECT_EQ(errors, (QStringList{"Номер объекта", "Номер", "Объект"}));
}

} // namespace
