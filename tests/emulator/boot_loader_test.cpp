// The boot loader: "+BL", "+v", "+BE", blocks "+W<address>:<data>:<check>"
// and the final "+EE" with four lane check bytes, with a real firmware
// image cut into blocks here the way the upload does it.

#include "panel_fixture.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

// An image cut into blocks of eight lines: each line loses its first 9 and
// its last 2 characters; a block's check byte is the exclusive-or of its
// bytes; block k is folded into lane k mod 4.
struct Upload {
    QList<QByteArray> data; // hexadecimal text per block
    QList<quint8> checks;
    quint8 lanes[4] = {0, 0, 0, 0};
    QByteArray image; // all data bytes in order

    QByteArray command(int k) const { return "+W" + address(k) + ':' + data[k] + ':' + hex(checks[k]); }
    QByteArray finalCommand() const {
        return "+EE" + hex(lanes[0]) + hex(lanes[1]) + hex(lanes[2]) + hex(lanes[3]);
    }
    static QByteArray hex(unsigned v, int width = 2) {
        return QByteArray::number(v, 16).toUpper().rightJustified(width, '0');
    }
    static QByteArray address(int k) { return hex(unsigned(k) * 8, 4); }
};

quint8 xorOf(const QByteArray& bytes) {
    quint8 x = 0;
    for (char c : bytes)
        x ^= quint8(c);
    return x;
}

Upload cut(const QList<QByteArray>& lines) {
    Upload u;
    for (int first = 0; first < lines.size(); first += 8) {
        QByteArray block;
        for (int i = first; i < first + 8 && i < lines.size(); ++i)
            block += lines[i].mid(9).chopped(2);
        const QByteArray bytes = QByteArray::fromHex(block);
        const quint8 c = xorOf(bytes);
        u.lanes[u.data.size() % 4] ^= c;
        u.data.append(block);
        u.checks.append(c);
        u.image += bytes;
    }
    return u;
}

Upload realImage() {
    QFile f(QStringLiteral(EMULATOR_TEST_DATA "/Arduino-usbserial-atmega16u2-Uno-Rev3.hex"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines;
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (!l.trimmed().isEmpty())
            lines.append(l.trimmed());
    }
    EXPECT_EQ(lines.size(), 254);
    return cut(lines);
}

Upload smallImage(int blocks) {
    QList<QByteArray> lines;
    for (int i = 0; i < blocks * 8; ++i) {
        QByteArray data;
        for (int b = 0; b < 16; ++b)
            data.append(char((i * 37 + b * 11 + 5) & 0xFF));
        lines.append(":10" + Upload::hex(unsigned(i) * 16, 4) + "00" + data.toHex().toUpper() + "00");
    }
    return cut(lines);
}

class BootLoaderTest : public PanelFixture {
protected:
    void enterAndErase() {
        ASSERT_EQ(client->page("+BL"), QList<QByteArray>{"OK"});
        ASSERT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    }
};

TEST_F(BootLoaderTest, UploadOfARealImage) {
    const Upload u = realImage();
    ASSERT_EQ(u.data.size(), 32);
    ASSERT_EQ(u.image.size(), 4034);

    EXPECT_EQ(client->page("+BL"), QList<QByteArray>{"OK"});
    EXPECT_TRUE(panel->inBootLoader());
    EXPECT_EQ(client->page("+v"), (QList<QByteArray>{"BL REV 01.002.004", "OK"}));
    EXPECT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    for (int k = 0; k < u.data.size(); ++k)
        ASSERT_EQ(client->page(u.command(k)), QList<QByteArray>{"OK"}) << k;
    EXPECT_FALSE(panel->finalCheckPassed().has_value());
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"OK"});

    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(panel->flashedImage(), u.image);
    EXPECT_EQ(panel->flashedBlockCount(), 32);
    EXPECT_EQ(panel->commandCount("+W"), 32);
    // The panel left the boot loader and restarted: a new cable session is needed.
    EXPECT_FALSE(panel->inBootLoader());
    EXPECT_EQ(client->page("+o"), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->line("CABLE CONNECT"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
}

TEST_F(BootLoaderTest, ABadCheckByteIsRefusedAndARetryTaken) {
    const Upload u = smallImage(5);
    enterAndErase();
    EXPECT_EQ(client->page(u.command(0)), QList<QByteArray>{"OK"});
    QByteArray bad = u.command(1);
    bad.chop(2);
    bad += Upload::hex(u.checks[1] ^ 0x01);
    EXPECT_EQ(client->page(bad), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page(bad), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"OK"}); // sent again, right this time
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"OK"}); // a repeat of a block is harmless
    for (int k = 2; k < 5; ++k)
        EXPECT_EQ(client->page(u.command(k)), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(panel->flashedImage(), u.image);
}

TEST_F(BootLoaderTest, AFailedBlockFailsTheFinalCheck) {
    const Upload u = smallImage(5);
    enterAndErase();
    for (int k = 0; k < 5; ++k) {
        QByteArray command = u.command(k);
        if (k == 2) {
            command[8] = command[8] == '0' ? '1' : '0'; // one data digit damaged on the way
            EXPECT_EQ(client->page(command), QList<QByteArray>{"ERROR"});
        } else {
            EXPECT_EQ(client->page(command), QList<QByteArray>{"OK"}) << k;
        }
    }
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(false));
    EXPECT_FALSE(panel->inBootLoader());
}

TEST_F(BootLoaderTest, WrongFinalBytesAreRefused) {
    const Upload u = smallImage(5);
    enterAndErase();
    for (int k = 0; k < 5; ++k)
        ASSERT_EQ(client->page(u.command(k)), QList<QByteArray>{"OK"});
    // Lanes: blocks 0 and 4 in the first, 1, 2 and 3 in the others.
    EXPECT_EQ(u.lanes[0], quint8(u.checks[0] ^ u.checks[4]));
    QByteArray wrong = u.finalCommand();
    std::swap(wrong[3], wrong[5]);
    std::swap(wrong[4], wrong[6]);
    ASSERT_NE(wrong, u.finalCommand());
    EXPECT_EQ(client->page(wrong), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(false));
}

TEST_F(BootLoaderTest, BlocksOutOfPlaceOrMalformedAreRefused) {
    const Upload u = smallImage(3);
    ASSERT_EQ(client->page("+BL"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.command(0)), QList<QByteArray>{"ERROR"}) << "before the erase";
    ASSERT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"ERROR"}) << "the first block is at 0000";
    EXPECT_EQ(client->page(u.command(0)), QList<QByteArray>{"OK"});
    const QByteArray d = u.data[1];
    const QByteArray c = Upload::hex(u.checks[1]);
    const QList<QByteArray> refused = {
        "+W0010:" + d + ':' + c,            // skips a block
        "+W0080:" + d + ':' + c,            // addresses in bytes, not in lines
        "+W008:" + d + ':' + c,             // three digits
        "+W0008:" + d.chopped(1) + ':' + c, // odd number of digits
        "+W0008:" + d,                      // no check byte
        "+W0008:" + d + ':' + c + ":00",
        "+W0008:" + d.left(4) + "XY" + d.mid(6) + ':' + c,
        "+W0008::" + c,
        "+o", // page commands wait until the boot loader is left
    };
    QList<QByteArray> all = refused;
    if (c != c.toLower())
        all.append("+W0008:" + d + ':' + c.toLower()); // lower-case check byte
    for (const QByteArray& line : all)
        EXPECT_EQ(client->page(line), QList<QByteArray>{"ERROR"}) << line.left(24).constData();
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.command(2)), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"OK"});
}

TEST_F(BootLoaderTest, EntryIsToleratedAgainAndEraseTakesItsTime) {
    // "+BL" goes out with no wait for its answer and may come three times.
    client->send("+BL\r\n\r\n+BL\r\n\r\n+BL\r\n\r\n");
    EXPECT_EQ(client->collect([](const QList<QByteArray>& l) { return l.size() == 3; }, 2000),
              (QList<QByteArray>{"OK", "OK", "OK"}));
    emu::Delays d = emu::Delays::quick();
    d.flashEraseMs = 200;
    panel->setDelays(d);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    EXPECT_GE(t.elapsed(), 190);
    EXPECT_TRUE(panel->inBootLoader());
}

TEST_F(BootLoaderTest, FaultSwitchesRefuseTheEraseOrOneBlockEveryTime) {
    const Upload u = smallImage(3);
    emu::Faults f;
    f.refuseErase = true;
    panel->setFaults(f);
    ASSERT_EQ(client->page("+BL"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page("+BE"), QList<QByteArray>{"ERROR"});
    EXPECT_FALSE(panel->finalCheckPassed().has_value());

    f = {};
    f.refuseBlock = 2;
    panel->setFaults(f);
    ASSERT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.command(0)), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page(u.command(1)), QList<QByteArray>{"ERROR"}) << "and again on the retry";
    EXPECT_EQ(panel->flashedBlockCount(), 1);
    EXPECT_TRUE(panel->inBootLoader());
}

TEST_F(BootLoaderTest, APanelLeftInItsBootLoaderIsReachedAgainAndFlashedAnew) {
    const Upload u = smallImage(2);
    enterAndErase();
    ASSERT_EQ(client->page(u.command(0)), QList<QByteArray>{"OK"});
    // The tool gives up half way and goes; the panel waits in its boot loader.
    EXPECT_EQ(client->line("CABLE DISCONNECT"), QList<QByteArray>{"OK"});
    reopenClient();
    EXPECT_EQ(client->line("CABLE CONNECT"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"BL REV 01.002.004", "OK"}));
    EXPECT_EQ(client->line("+typepan"), (QList<QByteArray>{"07", "OK"}));
    EXPECT_EQ(client->page("+o"), QList<QByteArray>{"ERROR"}) << "still no page commands";
    enterAndErase();
    for (int k = 0; k < 2; ++k)
        ASSERT_EQ(client->page(u.command(k)), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->flashedImage(), u.image);
}

TEST_F(BootLoaderTest, BootCommandsOutsideTheBootLoaderAreRefused) {
    const Upload u = smallImage(1);
    EXPECT_EQ(client->page("+BE"), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page(u.command(0)), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page(u.finalCommand()), QList<QByteArray>{"ERROR"});
    EXPECT_TRUE(panel->flashedImage().isEmpty());
    EXPECT_FALSE(panel->finalCheckPassed().has_value());
}

} // namespace
