// The journal as the panel answers it: "+point", "+read" and "+erase", and
// the 75-character record lines with their check sums, recomputed here from
// the record layout and checked against published Contact ID messages.

#include "panel_fixture.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// --- checks written for these tests, independent of the emulator's code ---

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

unsigned pairAt(const QByteArray& line, int position) { // position counted from 1
    const int hi = hexValue(line.at(position - 1));
    const int lo = hexValue(line.at(position));
    return hi < 0 || lo < 0 ? 255u : unsigned(hi * 16 + lo);
}

// The record check sum: index bytes, the codes of characters 5..21, 17 x 255,
// the code of character 39, the date characters 40..61 ('F' counting 255),
// and the six hexadecimal pairs 62..73; modulo 256.
unsigned recordSum(const QByteArray& line) {
    unsigned sum = pairAt(line, 1) + pairAt(line, 3);
    for (int p = 5; p <= 21; ++p)
        sum += static_cast<unsigned char>(line.at(p - 1));
    sum += 17 * 255;
    sum += static_cast<unsigned char>(line.at(38));
    for (int p = 40; p <= 61; ++p)
        sum += line.at(p - 1) == 'F' ? 255u : static_cast<unsigned char>(line.at(p - 1));
    for (int p = 62; p <= 72; p += 2)
        sum += pairAt(line, p);
    return sum % 256;
}

bool recordSumRight(const QByteArray& line) {
    return recordSum(line) == pairAt(line, 74);
}

// Contact ID: sixteen digits 0-9 and B-F, each worth its value with 0 worth
// 10; the total is a multiple of 15.
bool contactIdValid(const QByteArray& message) {
    if (message.size() != 16)
        return false;
    int sum = 0;
    for (char c : message) {
        const int v = hexValue(c);
        if (v < 0 || v == 10)
            return false;
        sum += v == 0 ? 10 : v;
    }
    return sum % 15 == 0;
}

QList<QList<QByteArray>> readTsv(const QString& name) {
    QFile f(QStringLiteral(EMULATOR_TEST_DATA "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QList<QByteArray>> rows;
    f.readLine(); // header
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (!line.isEmpty())
            rows.append(line.split('\t'));
    }
    return rows;
}

TEST(ContactIdCheck, AgreesWithThePublishedVectors) {
    const auto rows = readTsv("cid_vectors.tsv");
    ASSERT_EQ(rows.size(), 25);
    for (const auto& row : rows)
        EXPECT_EQ(contactIdValid(row[0]), row[1] == "yes") << row[0].constData();
}

class JournalTest : public PanelFixture {
protected:
    QList<QByteArray> readAll() {
        QList<QByteArray> lines = client->page("+read00000063", 5000);
        EXPECT_EQ(lines.value(lines.size() - 1), "OK");
        lines.removeLast();
        return lines;
    }
};

TEST_F(JournalTest, RecordLinesAreWellFormedWithRightSums) {
    EXPECT_EQ(client->page("+point"), (QList<QByteArray>{"0064", "OK"}));
    const QList<QByteArray> lines = readAll();
    ASSERT_EQ(lines.size(), 100);

    QSet<QByteArray> knownCodes;
    for (const auto& row : readTsv("cid_codes.tsv"))
        knownCodes.insert(row[0]);
    ASSERT_GT(knownCodes.size(), 200);

    const QRegularExpression date(QStringLiteral(R"(^"(\d\d)/(\d\d)/(\d\d),(\d\d):(\d\d):(\d\d)\+\d\d"$)"));
    QSet<QByteArray> codes, partitions, zones, sendFlags, phones;
    QSet<char> qualifiers;
    QDateTime previous;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        ASSERT_EQ(l.size(), 75) << l.constData();
        EXPECT_EQ(l.left(4), QByteArray::number(i, 16).toUpper().rightJustified(4, '0'));
        EXPECT_TRUE(recordSumRight(l)) << l.constData();
        const QByteArray cid = l.mid(4, 16);
        EXPECT_TRUE(contactIdValid(cid)) << cid.constData();
        EXPECT_EQ(cid.left(6), "005018"); // the object number, then message type 18
        qualifiers.insert(cid.at(6));
        codes.insert(cid.mid(7, 3));
        EXPECT_TRUE(knownCodes.contains(cid.mid(7, 3))) << cid.constData();
        partitions.insert(cid.mid(10, 2));
        zones.insert(cid.mid(12, 3));
        EXPECT_EQ(l.mid(21, 17), QByteArray(17, 'F'));
        const auto m = date.match(QString::fromLatin1(l.mid(39, 22)));
        ASSERT_TRUE(m.hasMatch()) << l.mid(39, 22).constData();
        const QDateTime when(
            QDate(2000 + m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
            QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()));
        ASSERT_TRUE(when.isValid());
        EXPECT_TRUE(!previous.isValid() || previous < when);
        previous = when;
        EXPECT_EQ(l.mid(61, 8), QByteArray::number(0x400 + i, 16).toUpper().rightJustified(8, '0'));
        sendFlags.insert(l.mid(69, 2));
        phones.insert(l.mid(71, 2));
    }
    EXPECT_EQ(qualifiers, (QSet<char>{'1', '3'}));
    EXPECT_GE(codes.size(), 8);
    EXPECT_GE(partitions.size(), 2);
    EXPECT_GE(zones.size(), 6);
    EXPECT_TRUE(sendFlags.contains("00") && sendFlags.contains("02"));
    EXPECT_GE(phones.size(), 4);
    EXPECT_EQ(lines, panel->journalLines());
}

struct RangeCase {
    const char* command;
    int first;
    int last; // -1: no records
    bool includeEnd;
};

TEST_F(JournalTest, ReadAnswersTheStoredRecordsOfTheRange) {
    const RangeCase cases[] = {
        {"+read004F0063", 79, 99, true}, {"+read004F0063", 79, 98, false}, {"+read00000000", 0, 0, true},
        {"+read00000000", 0, -1, false}, {"+read00600070", 96, 99, true},  {"+read00630063", 99, 99, true},
        {"+read0063004F", 0, -1, true},  {"+read01000200", 0, -1, true},   {"+read00000009", 0, 9, true},
    };
    for (const RangeCase& c : cases) {
        panel->setReadIncludesEnd(c.includeEnd);
        QList<QByteArray> lines = client->page(c.command);
        ASSERT_EQ(lines.value(lines.size() - 1), "OK") << c.command;
        lines.removeLast();
        QList<QByteArray> expected;
        for (int i = c.first; c.last >= 0 && i <= c.last; ++i)
            expected.append(panel->journalLines().at(i));
        EXPECT_EQ(lines, expected) << c.command << (c.includeEnd ? " with" : " without") << " the end";
    }
    for (const char* bad : {"+read004F006", "+read004f0063", "+read004F00630", "+read", "+read004F:0063"})
        EXPECT_EQ(client->page(bad), QList<QByteArray>{"ERROR"}) << bad;
}

TEST_F(JournalTest, BadRecordsSwitch) {
    panel->regenerateJournal(60, 6, 7);
    const QList<int> bad = panel->badJournalIndexes();
    ASSERT_EQ(bad.size(), 6);
    QList<QByteArray> lines = client->page("+read0000003B");
    lines.removeLast();
    ASSERT_EQ(lines.size(), 60);
    int wrongSums = 0, wrongDigits = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const bool sumOk = recordSumRight(lines[i]);
        const bool cidOk = contactIdValid(lines[i].mid(4, 16));
        EXPECT_EQ(sumOk && cidOk, !bad.contains(i)) << i;
        wrongSums += !sumOk;
        wrongDigits += !cidOk;
        EXPECT_TRUE(sumOk || cidOk) << "one fault per bad record";
    }
    EXPECT_EQ(wrongSums, 3);
    EXPECT_EQ(wrongDigits, 3);
}

TEST_F(JournalTest, CheckValueTenIsSentAsZeroOrA) {
    auto tenIndex = [](const QList<QByteArray>& lines) {
        for (int i = 0; i < lines.size(); ++i) {
            const QByteArray body = lines[i].mid(4, 15);
            int sum = 0;
            for (char c : body)
                sum += c == '0' ? 10 : hexValue(c);
            if (15 - sum % 15 == 10)
                return i;
        }
        return -1;
    };
    const int i = tenIndex(panel->journalLines());
    ASSERT_GE(i, 0) << "no record needs the check value 10";
    EXPECT_EQ(panel->journalLines().at(i).at(19), '0');

    emu::PanelSettings s;
    s.cidTenAsA = true;
    s.delays = emu::Delays::quick();
    emu::EmulatedPanel other(s);
    ASSERT_TRUE(other.start());
    PanelClient c(other.slavePath());
    c.line("CABLE CONNECT");
    QList<QByteArray> lines = c.page("+read00000063");
    lines.removeLast();
    ASSERT_EQ(lines.size(), 100);
    EXPECT_EQ(lines.at(i).at(19), 'A');
    EXPECT_TRUE(recordSumRight(lines.at(i)));
}

TEST_F(JournalTest, EraseTakesItsTimeAndEmptiesTheJournal) {
    emu::Delays d = emu::Delays::quick();
    d.journalEraseMs = 250;
    panel->setDelays(d);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(client->page("+erase", 3000), QList<QByteArray>{"OK"});
    EXPECT_GE(t.elapsed(), 240);
    EXPECT_EQ(client->page("+point"), (QList<QByteArray>{"0000", "OK"}));
    EXPECT_EQ(client->page("+read00000063"), QList<QByteArray>{"OK"});
    EXPECT_TRUE(panel->journalLines().isEmpty());
}

TEST_F(JournalTest, LinesOfTheTestsOwn) {
    const QByteArray a = "0010" + QByteArray(71, '0');
    const QByteArray b = "0011" + QByteArray(71, '1');
    panel->setJournalLines({a, b});
    EXPECT_EQ(client->page("+point"), (QList<QByteArray>{"0012", "OK"}));
    EXPECT_EQ(client->page("+read00000100"), (QList<QByteArray>{a, b, "OK"}));
    EXPECT_EQ(client->page("+read00110011"), (QList<QByteArray>{b, "OK"}));
}

TEST_F(JournalTest, TheSameSeedGivesTheSameJournal) {
    const QList<QByteArray> first = panel->journalLines();
    panel->regenerateJournal(100, 0, 1);
    EXPECT_EQ(panel->journalLines(), first);
    panel->regenerateJournal(100, 0, 2);
    EXPECT_NE(panel->journalLines(), first);
    panel->regenerateJournal(0);
    EXPECT_EQ(client->page("+point"), (QList<QByteArray>{"0000", "OK"}));
}

} // namespace
