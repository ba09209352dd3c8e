// The page description walked over a scripted panel dialogue: reading,
// writing, defaults and the settings file, with the shared value rules.
#include "page_fakes.h"
#include "pages/HexValues.h"
#include "pages/ParamTable.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

// A page's values without widgets: a text, an on/off switch, an index into
// a list of eleven, and a two-line value read as a whole answer.
struct Model {
    QString name = QStringLiteral("start");
    int on = 0;
    int index = 5;
    QStringList answer;
    int nameSets = 0;
};

class ParamTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        name = &table.Text(QStringLiteral("Name"),
                           {.GetText = [this] { return m.name; },
                            .SetText =
                                [this](const QString& t) {
                                    m.name = t;
                                    ++m.nameSets;
                                }},
                           QStringLiteral("default"));
        on = &table.Number(QStringLiteral("On"),
                           {.GetNumber = [this] { return m.on; }, .SetNumber = [this](int v) { m.on = v; }},
                           1, 0, 1);
        index = &table.Number(
            QStringLiteral("Index"),
            {.GetNumber = [this] { return m.index; }, .SetNumber = [this](int v) { m.index = v; }}, 0, 0, 10);
        // Not in the settings file, but defaulted like the rest.
        table.Text(
            {}, {.GetText = [] { return QString(); }, .SetText = [this](const QString&) { ++unkeyedSets; }});

        table.TextParam(QStringLiteral("+nm"), QStringLiteral("Имя"), *name, QStringLiteral("Имя (запись)"));
        table.Param({
            .Command = QStringLiteral("+on"),
            .ReadName = QStringLiteral("Включение"),
            .Decode =
                [this](const QString& v) {
                    const int n = HexValue(v);
                    if (n < 0)
                        return false;
                    on->SetNumber(n < 0xFF ? 1 : 0);
                    return true;
                },
            .Encode = [this]() -> std::optional<QString> { return on->Number() ? "00" : "FF"; },
        });
        table.Param({
            .Command = QStringLiteral("+ix"),
            .ReadName = QStringLiteral("Номер"),
            .Decode =
                [this](const QString& v) {
                    const int n = HexValue(v);
                    if (n < 0 || n > 10)
                        return false;
                    index->SetNumber(n);
                    return true;
                },
            .Encode = [this]() -> std::optional<QString> {
                if (index->Number() < 0)
                    return std::nullopt;
                return HexText(index->Number(), 2);
            },
            .WriteCommand = QStringLiteral("+setix"),
            .TimeOut = 7000,
        });
        table.Param({
            .Command = QStringLiteral("+all"),
            .ReadName = QStringLiteral("Весь ответ"),
            .DecodeAnswer =
                [this](const QStringList& lines) {
                    m.answer = lines;
                    return true;
                },
        });
        table.Param({
            .Command = QStringLiteral("+go"),
            .ReadName = QStringLiteral("Только запись"),
            .Encode = []() -> std::optional<QString> { return QString(); },
        });
    }

    void answerAllReads() {
        ex.answers[QStringLiteral("+nm")] = Ok(QStringLiteral("Склад 7"));
        ex.answers[QStringLiteral("+on")] = Ok(QStringLiteral("00"));
        ex.answers[QStringLiteral("+ix")] = Ok(QStringLiteral("0A"));
        ex.answers[QStringLiteral("+all")] = {QStringLiteral("a=1"), QStringLiteral("b=2"),
                                              QStringLiteral("OK")};
    }

    Model m;
    int unkeyedSets = 0;
    TParamTable table;
    TPageField* name = nullptr;
    TPageField* on = nullptr;
    TPageField* index = nullptr;
    FakeExchange ex;
    QStringList errors;
};

TEST_F(ParamTableTest, ReadWalksTheReadableParametersInOrder) {
    answerAllReads();
    table.Read(ex, errors);
    EXPECT_EQ(ex.Commands(), (QStringList{"+nm", "+on", "+ix", "+all"}));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(m.name, QStringLiteral("Склад 7"));
    EXPECT_EQ(m.on, 1);
    EXPECT_EQ(m.index, 10);
    EXPECT_EQ(m.answer, (QStringList{"a=1", "b=2", "OK"}));
    EXPECT_EQ(ex.sent[2].TimeOut, 7000u);
    EXPECT_EQ(ex.sent[0].TimeOut, ExchangeTimeout::Param);
}

TEST_F(ParamTableTest, FailedReadsAreListedAndLeaveTheirValues) {
    const struct {
        const char* command;
        QStringList answer; // empty: no answer at all
        const char* listed;
    } cases[] = {
        {"+nm", {}, "Имя"},
        {"+on", {"XY", "OK"}, "Включение"},
        {"+on", {"OK"}, "Включение"},
        {"+ix", {"0B", "OK"}, "Номер"}, // beyond the list
        {"+all", {"OK"}, "Весь ответ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        answerAllReads();
        m = Model{};
        errors.clear();
        const QString command = QString::fromUtf8(c.command);
        if (c.answer.isEmpty())
            ex.answers.remove(command);
        else
            ex.answers[command] = c.answer;

        table.Read(ex, errors);

        EXPECT_EQ(errors, QStringList{QString::fromUtf8(c.listed)});
        const Model before;
        if (command == "+nm") {
            EXPECT_EQ(m.name, before.name);
            EXPECT_EQ(m.nameSets, 0);
        } else {
            EXPECT_EQ(m.name, QStringLiteral("Склад 7")) << "the others are still read";
        }
        if (command == "+on") {
            EXPECT_EQ(m.on, before.on);
        }
        if (command == "+ix") {
            EXPECT_EQ(m.index, before.index);
        }
        if (command == "+all") {
            EXPECT_TRUE(m.answer.isEmpty());
        }
    }
}

// A panel holding an empty text answers "OK" alone: for a text parameter
// that is the empty value, read like any other (for a number it carries no
// value, above).
TEST_F(ParamTableTest, ALoneOkIsAnEmptyText) {
    answerAllReads();
    ex.answers[QStringLiteral("+nm")] = QStringList{"OK"};
    table.Read(ex, errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(", ").toStdString();
    EXPECT_EQ(m.name, QString());
    EXPECT_EQ(m.nameSets, 1);
    const TPageParam* nm = table.FindParam(QStringLiteral("+nm"));
    ASSERT_NE(nm, nullptr);
    EXPECT_TRUE(nm->WasRead);
    EXPECT_EQ(nm->Raw, QString());
}

TEST_F(ParamTableTest, ReadValueRefusesALoneOk) {
    QString value = QStringLiteral("kept");
    ex.answers[QStringLiteral("+v")] = {QStringLiteral("OK")};
    EXPECT_FALSE(ReadValue(ex, QStringLiteral("+v"), value, 100));
    EXPECT_EQ(value, QStringLiteral("kept"));
    // A value that reads "OK" before the final OK is a value.
    ex.answers[QStringLiteral("+v")] = {QStringLiteral("OK"), QStringLiteral("OK")};
    EXPECT_TRUE(ReadValue(ex, QStringLiteral("+v"), value, 100));
    EXPECT_EQ(value, QStringLiteral("OK"));
    ex.answers[QStringLiteral("+v")] = {QStringLiteral("REV 07.700.125"), QStringLiteral("OK")};
    EXPECT_TRUE(ReadValue(ex, QStringLiteral("+v"), value, 100));
    EXPECT_EQ(value, QStringLiteral("REV 07.700.125"));
}

TEST_F(ParamTableTest, WriteSendsEachValueAfterItsWriteCommand) {
    m.name = QStringLiteral("Склад 7");
    m.on = 1;
    m.index = 10;
    for (const char* c : {"+nmСклад 7", "+on00", "+setix0A", "+go"})
        ex.answers[QString::fromUtf8(c)] = {QStringLiteral("OK")};

    table.Write(ex, errors);

    EXPECT_EQ(ex.Commands(), (QStringList{"+nmСклад 7", "+on00", "+setix0A", "+go"}));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ParamTableTest, FailedWritesAreListedUnderTheirWriteNames) {
    m.index = -1; // nothing to send for the index
    ex.answers[QStringLiteral("+nmstart")] = {QStringLiteral("ERROR")};
    ex.answers[QStringLiteral("+onFF")] = {QStringLiteral("OK")};
    // "+go" is not answered at all.

    table.Write(ex, errors);

    EXPECT_EQ(ex.Commands(), (QStringList{"+nmstart", "+onFF", "+go"})) << "the index is not sent";
    EXPECT_EQ(errors, (QStringList{"Имя (запись)", "Номер", "Только запись"}));
}

TEST_F(ParamTableTest, DefaultsReachEveryField) {
    m = {QStringLiteral("x"), 0, 9, {}, 0};
    table.SetDefault();
    EXPECT_EQ(m.name, QStringLiteral("default"));
    EXPECT_EQ(m.on, 1);
    EXPECT_EQ(m.index, 0);
    EXPECT_EQ(unkeyedSets, 1);
    EXPECT_TRUE(ex.sent.empty());
}

TEST_F(ParamTableTest, SettingsRoundTripInFieldOrder) {
    m.name = QStringLiteral("a=b");
    m.on = 1;
    m.index = 7;
    QStringList lines;
    table.GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"Name=a=b", "On=1", "Index=7"}));

    m = Model{};
    TSettingsLoad load = table.LoadSettings(lines);
    ASSERT_TRUE(load.Usable());
    load.ApplyAll();
    EXPECT_EQ(m.name, QStringLiteral("a=b"));
    EXPECT_EQ(m.on, 1);
    EXPECT_EQ(m.index, 7);
}

TEST_F(ParamTableTest, SettingsLookupRules) {
    const struct {
        QStringList lines;
        bool usable;
        const char* name; // after ApplyAll, when usable
        int on, index;
        QStringList refused{};
    } cases[] = {
        {{"Name=x", "On=0", "Index=3"}, true, "x", 0, 3},
        {{"index=3", "ON=0", "nAmE=x"}, true, "x", 0, 3},                   // any order and letter case
        {{"Name=x", "Name=y", "On=0", "On=1", "Index=3"}, true, "x", 0, 3}, // the first line counts
        {{"On=0", "Index=3"}, true, "", 0, 3},                              // a missing text empties it
        {{"Name =x", "On=0", "Index=3", "noise"}, true, "", 0, 3},          // "Name " is another key
        {{"Name=x", "Index=3"}, false, nullptr, 0, 0},                      // a missing number
        {{"Name=x", "On=x", "Index=3"}, false, nullptr, 0, 0},              // not a number
        {{"Name=x", "On=", "Index=3"}, false, nullptr, 0, 0},
        // Outside its range: taken as it is (the page shows no item for
        // it), the rest of the file too, and the line told.
        {{"Name=x", "On=2", "Index=3"}, true, "x", 2, 3, {"On=2"}},
        {{"Name=x", "On=0", "Index=11"}, true, "x", 0, 11, {"Index=11"}},
        {{"Name=x", "On=0", "Index=-1", "On=5"}, true, "x", 0, -1, {"Index=-1"}},
        {{"Name=x", "On=7", "Index=+12"}, true, "x", 7, 12, {"On=7", "Index=+12"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char('|')).toStdString());
        m = Model{};
        TSettingsLoad load = table.LoadSettings(c.lines);
        EXPECT_EQ(load.Usable(), c.usable);
        EXPECT_EQ(load.Refused(), c.refused);
        EXPECT_EQ(m.name, QStringLiteral("start")) << "looking up changes nothing";
        if (!c.usable)
            continue;
        load.ApplyAll();
        EXPECT_EQ(m.name, QString::fromUtf8(c.name));
        EXPECT_EQ(m.on, c.on);
        EXPECT_EQ(m.index, c.index);
    }
}

TEST_F(ParamTableTest, AFieldAppliedFirstIsNotAppliedAgain) {
    TSettingsLoad load = table.LoadSettings({"Name=x", "On=1", "Index=4"});
    ASSERT_TRUE(load.Usable());
    load.Apply(*name);
    EXPECT_EQ(m.name, QStringLiteral("x"));
    EXPECT_EQ(m.index, 5) << "the others wait";
    load.ApplyAll();
    EXPECT_EQ(m.index, 4);
    EXPECT_EQ(m.nameSets, 1);
}

TEST(ParamTableWriteCheck, AnAnswerThatShowsTheValueWasNotTakenIsListedByTheCheck) {
    QString text;
    TParamTable table;
    TPageField& field =
        table.Text(QStringLiteral("T"), {.GetText = [&] { return text; }, .SetText = [&](const QString&) {}});
    std::vector<std::pair<QString, QStringList>> checked;
    table.TextParam(QStringLiteral("+tx"), QStringLiteral("Текст"), field, QStringLiteral("Текст (запись)"))
        .CheckWrite = [&](const QString& value, const QStringList& answer) -> std::optional<QString> {
        checked.emplace_back(value, answer);
        if (value.isEmpty() && answer.size() == 2)
            return QStringLiteral("осталось ") + answer.first();
        return std::nullopt;
    };

    const struct {
        const char* text;
        QStringList answer; // empty: none
        QStringList listed;
        bool checked;
    } cases[] = {
        {"abc", {"OK"}, {}, true},
        {"", {"old", "OK"}, {"осталось old"}, true}, // listed by the check alone
        {"", {}, {"Текст (запись)"}, false},         // a failed write is not checked
        {"", {"ERROR"}, {"Текст (запись)"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        text = QString::fromUtf8(c.text);
        FakeExchange ex;
        if (!c.answer.isEmpty())
            ex.answers[QStringLiteral("+tx") + text] = c.answer;
        checked.clear();
        QStringList errors;

        EXPECT_EQ(TParamTable::WriteParam(ex, table.Params().front(), errors), c.listed.isEmpty());

        EXPECT_EQ(errors, c.listed);
        ASSERT_EQ(checked.size(), c.checked ? 1u : 0u);
        if (c.checked) {
            EXPECT_EQ(checked[0].first, text);
            EXPECT_EQ(checked[0].second, c.answer);
        }
    }
}

TEST(HexValues, ReadAndWrittenAsThePanelDoes) {
    EXPECT_EQ(HexValue(QStringLiteral("012C")), 300);
    EXPECT_EQ(HexValue(QStringLiteral("$1")), -1);
    EXPECT_EQ(HexText(300, 4), QStringLiteral("012C"));
    EXPECT_EQ(HexText(10, 2), QStringLiteral("0A"));
    EXPECT_EQ(HexText(0x1FF, 2), QStringLiteral("1FF")) << "at least, not at most, the digits asked";
}

} // namespace
