// The Contact ID event text table the program carries: its bytes, its keys
// and the rows the panel's users know, and the lookup over it.
#include "history/CidEventTable.h"
#include "panel/Cp1251.h"

#include <QSet>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

struct CodeRange {
    int first;
    int last;
};

// The events the panel reports, as an installer's list gives them.
constexpr CodeRange kEventAndRestore[] = {
    {100, 102}, {110, 118}, {120, 125}, {130, 147}, {150, 159}, {161, 161}, {162, 162}, {163, 163},
    {200, 206}, {300, 304}, {307, 313}, {319, 327}, {330, 339}, {341, 344}, {350, 357}, {370, 378},
    {380, 389}, {391, 391}, {392, 392}, {393, 393}, {400, 407}, {409, 409}, {416, 416}, {423, 434},
    {441, 441}, {442, 442}, {450, 459}, {461, 466}, {500, 500}, {501, 501}, {520, 527}, {530, 530},
    {550, 553}, {570, 577}, {606, 606}, {608, 608}, {609, 609}, {611, 616}, {625, 625}, {626, 626},
    {629, 629}, {630, 630}, {632, 632}, {641, 641}, {642, 642}, {651, 654},
};
constexpr int kEventOnly[] = {305, 306, 411, 412, 413, 414, 415, 421, 422, 601, 602,
                              603, 604, 605, 607, 621, 622, 623, 624, 627, 628, 631};
constexpr int kRestoreOnly[] = {408};

// Restores and closings with a text of their own instead of "ВОССТ: ...".
const QSet<QString> kOwnRestoreTexts = {"4003", "4013", "4023", "4033", "4043", "4053", "4063", "4073",
                                        "4083", "4093", "5003", "5203", "5213", "5223", "5233", "5243",
                                        "5253", "5303", "5503", "5513", "5523", "6063", "6253"};

// Texts with a semicolon, kept between double quotes.
const QSet<QString> kQuotedTexts = {"1461", "1463", "3851", "3853", "3861", "3863",
                                    "3871", "3873", "3881", "3883", "4421", "4423"};

QStringList ExpectedKeys() {
    QStringList keys;
    auto add = [&](int code, int q) { keys.append(QString::number(code * 10 + q)); };
    for (const CodeRange& r : kEventAndRestore) {
        for (int c = r.first; c <= r.last; ++c) {
            add(c, 1);
            add(c, 3);
        }
    }
    for (int c : kEventOnly)
        add(c, 1);
    for (int c : kRestoreOnly)
        add(c, 3);
    std::sort(keys.begin(), keys.end());
    return keys;
}

QStringList FileLines() {
    return FromCp1251(TCidEventTable::BuiltinBytes()).split(QStringLiteral("\r\n"));
}

TEST(EventTextFile, IsWindows1251WithCrLfAndNoByteOrderMark) {
    const QByteArray bytes = TCidEventTable::BuiltinBytes();
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 byte-order mark";
    EXPECT_FALSE(bytes.startsWith("\xFF\xFE")) << "UTF-16 byte-order mark";
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (b == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes.at(i + 1) == '\n') << "CR without LF at byte " << i;
        } else if (b == '\n') {
            EXPECT_TRUE(i > 0 && bytes.at(i - 1) == '\r') << "LF without CR at byte " << i;
        } else {
            EXPECT_GE(b, 0x20) << "control byte at " << i;
            EXPECT_NE(b, 0x98) << "byte 0x98 has no character in Windows-1251, at " << i;
        }
    }
    // Russian text: the Cyrillic letters are the code page's upper half, and
    // nothing decodes into a character the code page lacks.
    EXPECT_TRUE(bytes.contains("\xD2\xF0\xE5\xE2\xEE\xE3\xE0")); // "Тревога"
    EXPECT_EQ(ToCp1251(FromCp1251(bytes)), bytes);
}

TEST(EventTextFile, HoldsExactlyThePanelsKeysInOrder) {
    QStringList keys;
    for (const QString& line : FileLines()) {
        if (line.isEmpty())
            continue; // after the last CR LF
        const qsizetype eq = line.indexOf(u'=');
        ASSERT_EQ(eq, 4) << qPrintable(line);
        EXPECT_FALSE(line.mid(eq + 1).trimmed().isEmpty()) << qPrintable(line);
        keys.append(line.left(eq));
    }
    const QStringList expected = ExpectedKeys();
    ASSERT_EQ(expected.size(), 431);
    EXPECT_EQ(keys, expected); // same keys, each once, sorted
}

TEST(EventTextFile, QuotedRowsStandAsTheUsersKnowThem) {
    const TCidEventTable& table = TCidEventTable::Builtin();
    const struct {
        const char* key;
        const char* text;
    } rows[] = {
        {"1001", "Медицинская тревога"},     {"1201", "Тревожная кнопка"},
        {"1203", "ВОССТ: Тревожная кнопка"}, {"1301", "Тревога по зоне"},
        {"1303", "ВОССТ: Тревога по зоне"},  {"3021", "Разряд аккумулятора"},
        {"4011", "Снятие с охраны"},         {"4013", "Взятие на охрану"},
        {"6021", "Автоматический тест"},     {"6253", "Установка даты и времени панели"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(table.Text(QString::fromLatin1(row.key)), QString::fromUtf8(row.text)) << row.key;
    EXPECT_EQ(table.Events().first().Text, QStringLiteral("Медицинская тревога"));
}

TEST(EventTextFile, RestoresRepeatTheEventTextUnlessTheyHaveTheirOwn) {
    const TCidEventTable& table = TCidEventTable::Builtin();
    const QString restore = QStringLiteral("ВОССТ: ");
    for (const TCidEvent& e : table.Events()) {
        const bool quoted = e.Text.startsWith(u'"');
        EXPECT_EQ(quoted, kQuotedTexts.contains(e.Key)) << qPrintable(e.Key);
        EXPECT_EQ(e.Text.contains(u';'), quoted) << qPrintable(e.Key);
        if (quoted) {
            EXPECT_TRUE(e.Text.size() > 2 && e.Text.endsWith(u'"')) << qPrintable(e.Key);
        }
        const QString body = quoted ? e.Text.mid(1) : e.Text;

        if (e.Qualifier == 1) {
            EXPECT_FALSE(body.startsWith(restore)) << qPrintable(e.Key);
        } else if (kOwnRestoreTexts.contains(e.Key)) {
            EXPECT_FALSE(body.startsWith(restore)) << qPrintable(e.Key);
        } else {
            // "ВОССТ: " and the event's own text, inside the quotes when it has them.
            const QString event = table.Text(e.Code, 1);
            ASSERT_FALSE(event.isEmpty()) << qPrintable(e.Key);
            const QString expected = quoted ? u'"' + restore + event.mid(1) : restore + event;
            EXPECT_EQ(e.Text, expected) << qPrintable(e.Key);
        }
    }
    for (const QString& key : kOwnRestoreTexts)
        EXPECT_TRUE(table.Contains(key)) << qPrintable(key);
}

TEST(EventTextTable, LooksUpByKeyOrByCodeAndQualifier) {
    const TCidEventTable& table = TCidEventTable::Builtin();
    EXPECT_EQ(table.Text(130, 1), QStringLiteral("Тревога по зоне"));
    EXPECT_EQ(table.Text(408, 3), table.Text(QStringLiteral("4083")));
    EXPECT_EQ(table.Text(QStringLiteral("1461")), QStringLiteral("\"Тихая тревога; проникновение\""));
    EXPECT_TRUE(table.Text(408, 1).isEmpty());
    EXPECT_TRUE(table.Text(QStringLiteral("13101")).isEmpty());
    EXPECT_TRUE(table.Text(1300, 1).isEmpty());

    // The lines, in order, are the file's.
    QStringList fileLines = FileLines();
    fileLines.removeAll(QString());
    EXPECT_EQ(table.Lines(), fileLines);
    EXPECT_EQ(table.Count(), 431);
    const TCidEvent& armed =
        table.Events().at(int(fileLines.indexOf(QStringLiteral("4013=Взятие на охрану"))));
    EXPECT_EQ(armed.Code, 401);
    EXPECT_EQ(armed.Qualifier, 3);
}

TEST(EventTextTable, DecodesAnyTableOfTheSameForm) {
    // Windows-1251 bytes: "1301=Тревога=1", a line without "=", a second
    // 1301, "6021=" with an empty text.
    const QByteArray bytes = "1301=\xD2\xF0\xE5\xE2\xEE\xE3\xE0=1\r\n"
                             "no key here\r\n"
                             "1301=second\r\n"
                             "6021=\r\n";
    const TCidEventTable table(bytes);
    EXPECT_EQ(table.Lines(), (QStringList{QStringLiteral("1301=Тревога=1"), QStringLiteral("6021=")}));
    EXPECT_EQ(table.Text(130, 1), QStringLiteral("Тревога=1"));
    EXPECT_TRUE(table.Contains(QStringLiteral("6021")));
    EXPECT_TRUE(table.Text(602, 1).isEmpty());
}

} // namespace
