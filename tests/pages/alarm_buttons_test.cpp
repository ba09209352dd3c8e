// The Alarm buttons page without widgets: alarm type items from the event
// text table, the reaction flags, the nine-digit button value, the hold
// time, and the page's state with its reads, writes, defaults and settings.
#include "page_fakes.h"
#include "pages/AlarmButtonsState.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A few lines of the event text table, in its order and form.
const QStringList kTableLines = {
    "1001=Медицинская тревога",     "1003=ВОССТ: Медицинская тревога", "1201=Тревожная кнопка",
    "1203=ВОССТ: Тревожная кнопка", "1461=\"Тревога; тихая\"",         "3021=Разряд аккумулятора",
    "4083=Быстрая постановка",
};

const TAlarmTypeItems& Items() {
    static const TAlarmTypeItems items = BuildAlarmTypeItems(kTableLines);
    return items;
}

QStringList Lines(const std::vector<TPageCommand>& writes) {
    QStringList lines;
    for (const TPageCommand& w : writes)
        lines.append(w.Line);
    return lines;
}

TAlarmButtonsState Defaults() {
    TAlarmButtonsState state;
    ResetAlarmButtons(state);
    return state;
}

TEST(AlarmTypeListTest, ItemsFromTheTableLines) {
    EXPECT_EQ(Items(), (TAlarmTypeItems{{"Медицинская тревога", 1100},
                                        {"ВОССТ: Медицинская тревога", 3100},
                                        {"Тревожная кнопка", 1120},
                                        {"ВОССТ: Тревожная кнопка", 3120},
                                        {"\"Тревога; тихая\"", 1146},
                                        {"Разряд аккумулятора", 1302},
                                        {"Быстрая постановка", 3408}}));
    // A text may hold "="; a line without a four-digit key names no event.
    EXPECT_EQ(BuildAlarmTypeItems({"6021=a=b", "602=x", "60211=x", "60A1=x", "", "text"}),
              (TAlarmTypeItems{{"a=b", 1602}}));
    EXPECT_EQ(AlarmTypeIndexOf(Items(), 3120), 3);
    EXPECT_EQ(AlarmTypeIndexOf(Items(), 1999), -1);
}

TEST(AlarmButtonsCodecTest, ReactionFlags) {
    const struct {
        const char* value;
        TReactionFlags flags;
    } reads[] = {
        {"21", {true, false, true}},   {"25", {true, true, true}},
        {"04", {false, true, false}},  {"00", {false, false, false}},
        {"FF", {true, true, true}},    {"DA", {false, false, false}}, // other bits only
        {"ZZ", {false, false, false}}, {"", {false, false, false}},
        {"OK", {false, false, false}},
    };
    for (const auto& c : reads)
        EXPECT_EQ(DecodeReactionFlags(QString::fromUtf8(c.value)), c.flags) << c.value;

    EXPECT_EQ(EncodeReactionFlags({true, true, true}), "25");
    EXPECT_EQ(EncodeReactionFlags({false, false, true}), "20");
    EXPECT_EQ(EncodeReactionFlags({false, true, false}), "04");
    EXPECT_EQ(EncodeReactionFlags({}), "00");
}

TEST(AlarmButtonsCodecTest, ButtonValues) {
    using K = TButtonRead;
    const struct {
        const char* value;
        TButtonValueRead read;
    } reads[] = {
        {"112001005", {K::Value, {1120, 1, 5}}},
        {"312099999", {K::Value, {3120, 99, 999}}},
        {"110000000", {K::Value, {1100, 0, 0}}},
        {"1120010050", {K::Value, {1120, 1, 5}}}, // after the ninth: ignored
        {"112001005OK", {K::Value, {1120, 1, 5}}},
        {"1120", {K::Short, {}}},
        {"11200100", {K::Short, {}}},
        {"", {K::Short, {}}},
        {"OK", {K::Short, {}}},
        {"11200100X", {K::Malformed, {}}},
        {"1120 1005", {K::Malformed, {}}},
        {"-12001005", {K::Malformed, {}}},
        {"+12001005", {K::Malformed, {}}},
        {"１１２００１００５", {K::Malformed, {}}}, // full-width digits are no digits of the line
    };
    for (const auto& c : reads)
        EXPECT_EQ(DecodeButtonValue(QString::fromUtf8(c.value)), c.read) << c.value;

    EXPECT_EQ(EncodeButtonValue({1120, 1, 5}), "112001005");
    EXPECT_EQ(EncodeButtonValue({1100, 0, 0}), "110000000");
    EXPECT_EQ(EncodeButtonValue({3408, 99, 999}), "340899999");
    EXPECT_EQ(EncodeButtonValue({1120, 150, 1500}), "112099999");
}

TEST(AlarmButtonsCodecTest, HoldTimes) {
    using K = THoldTimeRead;
    const struct {
        const char* value;
        THoldTimeValueRead read;
    } reads[] = {
        {"02", {K::Item, 0, {}}},       {"03", {K::Item, 0, {}}},       {"04", {K::Item, 1, {}}},
        {"08", {K::Item, 3, {}}},       {"0A", {K::Item, 4, {}}},       {"0a", {K::Item, 4, {}}},
        {"0B", {K::Item, 4, {}}},       {"0C", {K::Kept, -1, "0C"}},    {"00", {K::Kept, -1, "00"}},
        {"01", {K::Kept, -1, "01"}},    {"ff", {K::Kept, -1, "ff"}},    {"", {K::Malformed, -1, {}}},
        // Two characters that are no hexadecimal number: no item, kept.
        {"ZZ", {K::Kept, -1, "ZZ"}},    {"G1", {K::Kept, -1, "G1"}},    {"0x", {K::Kept, -1, "0x"}},
        {"OK", {K::Malformed, -1, {}}}, {"0 2", {K::Malformed, -1, {}}}, {"0\t", {K::Malformed, -1, {}}},
        {"0", {K::Malformed, -1, {}}},  {"\xc3\xa9" "1", {K::Malformed, -1, {}}},
    };
    for (const auto& c : reads)
        EXPECT_EQ(DecodeHoldTime(QString::fromUtf8(c.value)), c.read) << c.value;

    EXPECT_EQ(HoldTimeCaptions(), (QStringList{"1", "2", "3", "4", "5"}));
    const QStringList written = {"02", "04", "06", "08", "0A"};
    for (int item = 0; item < HoldTimeCount; ++item) {
        EXPECT_EQ(EncodeHoldTime(item), written[item]);
        EXPECT_EQ(DecodeHoldTime(EncodeHoldTime(item)).Item, item);
    }
    EXPECT_EQ(EncodeHoldTime(-1), "");
    EXPECT_EQ(EncodeHoldTime(5), "");
}

TEST(AlarmButtonsStateTest, CreatedAndDefaults) {
    const TAlarmButtonsState created;
    EXPECT_FALSE(created.AkbMessage);
    EXPECT_EQ(Items()[created.Buttons[0].Item].Caption, "Медицинская тревога");
    EXPECT_EQ(HoldTimeWriteValue(created), "02");

    TAlarmButtonsState state;
    ApplyReactionFlags(state, "25");
    ASSERT_TRUE(ApplyButtonValue(state, 2, "199901002", Items()));
    ASSERT_TRUE(ApplyHoldTime(state, "0C"));
    ResetAlarmButtons(state);
    EXPECT_EQ(state, Defaults());
    EXPECT_EQ(Lines(AlarmButtonsWrites(Defaults(), Items())),
              (QStringList{"+X20", "+n00110000000", "+n02110000000", "+presstime02"}));
    const std::vector<TPageCommand> writes = AlarmButtonsWrites(Defaults(), Items());
    EXPECT_EQ(writes[0].ErrorName, "Параметры реакции на тревожные кнопки");
    EXPECT_EQ(writes[1].ErrorName, "Настройки реакции тревожной кнопки 1");
    EXPECT_EQ(writes[2].ErrorName, "Настройки реакции тревожной кнопки 2");
    EXPECT_EQ(writes[3].ErrorName, "Время удержания тревожной кнопки");
}

TEST(AlarmButtonsStateTest, Reads) {
    TAlarmButtonsState state = Defaults();
    ApplyReactionFlags(state, "21");
    EXPECT_TRUE(state.Buttons[0].Enabled);
    EXPECT_FALSE(state.Buttons[1].Enabled);
    EXPECT_TRUE(state.AkbMessage);

    ASSERT_TRUE(ApplyButtonValue(state, 2, "312099999", Items()));
    EXPECT_EQ(Items()[state.Buttons[1].Item].Caption, "ВОССТ: Тревожная кнопка");
    EXPECT_EQ(state.Buttons[1].Section, 99);
    EXPECT_EQ(state.Buttons[1].Loop, 999);
    EXPECT_EQ(state.Buttons[0].Item, 0);
    EXPECT_EQ(state.Buttons[0].Section, 0);

    ASSERT_TRUE(ApplyHoldTime(state, "0A"));
    EXPECT_EQ(HoldTimeCaptions()[state.HoldTime], "5");

    // Too short to be a value: ignored without a failure.
    const TAlarmButtonsState before = state;
    EXPECT_TRUE(ApplyButtonValue(state, 2, "1120", Items()));
    EXPECT_EQ(state, before);
    // Nine or more characters that are not nine digits, a hold time that is
    // no two printable characters: a failed read of that parameter, nothing
    // changes.
    EXPECT_FALSE(ApplyButtonValue(state, 2, "31209999X", Items()));
    EXPECT_FALSE(ApplyButtonValue(state, 1, "ERROR1234", Items()));
    EXPECT_FALSE(ApplyHoldTime(state, "Z"));
    EXPECT_FALSE(ApplyHoldTime(state, "OK"));
    EXPECT_EQ(state, before);
    EXPECT_EQ(Lines(AlarmButtonsWrites(state, Items())),
              (QStringList{"+X21", "+n00110000000", "+n02312099999", "+presstime0A"}));
    // A hold time that is no hexadecimal number has no item and is kept.
    EXPECT_TRUE(ApplyHoldTime(state, "ZZ"));
    EXPECT_EQ(state.HoldTime, -1);
    EXPECT_EQ(Lines(AlarmButtonsWrites(state, Items())).last(), "+presstimeZZ");
}

TEST(AlarmButtonsStateTest, ValuesNoItemShowsAreWrittenBackAsRead) {
    TAlarmButtonsState state = Defaults();
    ASSERT_TRUE(ApplyButtonValue(state, 1, "199901002", Items())); // no such event in the list
    ASSERT_TRUE(ApplyHoldTime(state, "0C"));
    EXPECT_EQ(state.Buttons[0].Item, -1);
    EXPECT_EQ(state.Buttons[0].Section, 1);
    EXPECT_EQ(state.Buttons[0].Loop, 2);
    EXPECT_EQ(state.HoldTime, -1);
    EXPECT_EQ(Lines(AlarmButtonsWrites(state, Items())),
              (QStringList{"+X20", "+n00199901002", "+n02110000000", "+presstime0C"}));

    // Section and loop changed, the type not: the kept code goes with them.
    state.Buttons[0].Section = 7;
    EXPECT_EQ(ButtonWriteValue(state, 1, Items()), "199907002");
    // A code of the list read later replaces the kept one.
    ASSERT_TRUE(ApplyButtonValue(state, 1, "112001005", Items()));
    EXPECT_FALSE(state.Buttons[0].KeptCode);
    EXPECT_EQ(ButtonWriteValue(state, 1, Items()), "112001005");

    // The user's choices replace what was kept.
    ASSERT_TRUE(ApplyButtonValue(state, 2, "000000000", Items()));
    EXPECT_EQ(ButtonWriteValue(state, 2, Items()), "000000000");
    ChooseAlarmType(state, 2, 5, Items());
    ChooseHoldTime(state, 2);
    EXPECT_EQ(Lines(AlarmButtonsWrites(state, Items())),
              (QStringList{"+X20", "+n00112001005", "+n02130200000", "+presstime06"}));

    // Choices outside the lists change nothing.
    const TAlarmButtonsState before = state;
    ChooseAlarmType(state, 1, int(Items().size()), Items());
    ChooseAlarmType(state, 3, 0, Items());
    ChooseHoldTime(state, 5);
    EXPECT_EQ(state, before);
}

TEST(AlarmButtonsSettingsTest, LinesAndRoundTrip) {
    TAlarmButtonsState state = Defaults();
    state.Buttons[0] = {true, 2, std::nullopt, 1, 5};
    state.Buttons[1] = {false, 6, std::nullopt, 99, 999};
    state.HoldTime = 4;
    state.AkbMessage = false;
    const QStringList lines = AlarmButtonsSettings(state);
    EXPECT_EQ(lines, (QStringList{"Enable1=1", "Alarm1=2", "Section1=1", "Loop1=5", "Enable2=0", "Alarm2=6",
                                  "Section2=99", "Loop2=999", "HoldTime=4", "AKBmessage=0"}));
    TAlarmButtonsState loaded;
    ASSERT_TRUE(LoadAlarmButtonsSettings(loaded, lines, int(Items().size())));
    EXPECT_EQ(loaded, state);
    // The same item number stands for the same alarm type on both sides.
    EXPECT_EQ(ButtonWriteValue(loaded, 1, Items()), "112001005");
}

TEST(AlarmButtonsSettingsTest, WhatALoadDoesWithOddValues) {
    const int count = int(Items().size());
    const QStringList good = AlarmButtonsSettings(Defaults());
    const auto with = [&](const char* key, const char* value) {
        QStringList lines;
        for (const QString& line : good) {
            if (!line.startsWith(QLatin1String(key) + QLatin1Char('=')))
                lines.append(line);
            else if (value)
                lines.append(QLatin1String(key) + QLatin1Char('=') + QString::fromUtf8(value));
        }
        return lines;
    };

    // Missing or not a decimal integer: the page goes to its defaults.
    const struct {
        const char* key;
        const char* value;
    } resets[] = {
        {"Enable1", nullptr}, {"Alarm2", "x"},  {"Section1", "1.5"},
        {"Loop2", nullptr},   {"HoldTime", ""}, {"AKBmessage", nullptr},
    };
    for (const auto& c : resets) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.value ? c.value : "<missing>"));
        TAlarmButtonsState state;
        state.Buttons[0].Enabled = true;
        state.Buttons[1].Section = 12;
        QStringList refused{"stale"};
        EXPECT_FALSE(LoadAlarmButtonsSettings(state, with(c.key, c.value), count, &refused));
        EXPECT_EQ(state, Defaults());
        EXPECT_TRUE(refused.isEmpty());
    }

    // A decimal integer the page has no place for: an item past the end of
    // its list leaves no selection, a section or loop is brought into range;
    // the rest of the file is taken, and the line is told.
    QStringList base = good;
    base.replaceInStrings(QStringLiteral("Enable1=0"), QStringLiteral("Enable1=1"));
    const auto onBase = [&](const char* key, const char* value) {
        QStringList lines = base;
        for (QString& line : lines) {
            if (line.startsWith(QLatin1String(key) + QLatin1Char('=')))
                line = QLatin1String(key) + QLatin1Char('=') + QLatin1String(value);
        }
        return lines;
    };
    const struct {
        const char* key;
        const char* value;
        std::function<int(const TAlarmButtonsState&)> taken;
        int expected;
    } refusals[] = {
        {"Alarm1", "7", [](const TAlarmButtonsState& s) { return s.Buttons[0].Item; }, -1},
        {"Alarm1", "500", [](const TAlarmButtonsState& s) { return s.Buttons[0].Item; }, -1},
        {"Alarm2", "-2", [](const TAlarmButtonsState& s) { return s.Buttons[1].Item; }, -1},
        {"HoldTime", "5", [](const TAlarmButtonsState& s) { return s.HoldTime; }, -1},
        {"HoldTime", "-3", [](const TAlarmButtonsState& s) { return s.HoldTime; }, -1},
        {"Section1", "150", [](const TAlarmButtonsState& s) { return s.Buttons[0].Section; }, SectionMax},
        {"Loop2", "-4", [](const TAlarmButtonsState& s) { return s.Buttons[1].Loop; }, 0},
        {"Loop1", "1000", [](const TAlarmButtonsState& s) { return s.Buttons[0].Loop; }, LoopMax},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        TAlarmButtonsState state;
        QStringList refused;
        ASSERT_TRUE(LoadAlarmButtonsSettings(state, onBase(c.key, c.value), count, &refused));
        EXPECT_EQ(c.taken(state), c.expected);
        EXPECT_TRUE(state.Buttons[0].Enabled) << "the file's other values are taken";
        EXPECT_EQ(refused, QStringList{QLatin1String(c.key) + QLatin1Char('=') + QLatin1String(c.value)});
        // The enable bit goes out as the file gave it whatever the list shows.
        EXPECT_EQ(ReactionFlagsWriteValue(state), "21");
    }
    TAlarmButtonsState state;
    QStringList lines;

    // -1, as saved for a list without selection, loads as no selection; such
    // a value cannot be written, and the write says so instead of sending
    // another one.
    lines = with("Alarm2", "-1");
    lines.replaceInStrings(QStringLiteral("HoldTime=0"), QStringLiteral("HoldTime=-1"));
    ASSERT_TRUE(LoadAlarmButtonsSettings(state, lines, count));
    EXPECT_EQ(state.Buttons[1].Item, -1);
    EXPECT_EQ(state.HoldTime, -1);
    const std::vector<TPageCommand> writes = AlarmButtonsWrites(state, Items());
    EXPECT_EQ(writes[2], (TPageCommand{"", "Настройки реакции тревожной кнопки 2"}));
    EXPECT_EQ(writes[3], (TPageCommand{"", "Время удержания тревожной кнопки"}));
    EXPECT_EQ(writes[1].Line, "+n00110000000");

    // A value kept from the panel is saved as no selection.
    state = Defaults();
    ASSERT_TRUE(ApplyButtonValue(state, 1, "199901002", Items()));
    EXPECT_TRUE(AlarmButtonsSettings(state).contains("Alarm1=-1"));
}

// Values kept from the panel (an event code no item carries, a hold time no
// item stands for) go through the file in keys of their own and come back
// to be written exactly as the panel gave them.
TEST(AlarmButtonsSettingsTest, KeptValuesGoThroughTheFile) {
    const int count = int(Items().size());
    TAlarmButtonsState read = Defaults();
    ASSERT_TRUE(ApplyButtonValue(read, 1, "199901002", Items()));
    ASSERT_TRUE(ApplyButtonValue(read, 2, "000900999", Items()));
    ASSERT_TRUE(ApplyHoldTime(read, "0C"));
    const QStringList lines = AlarmButtonsSettings(read);
    for (const char* line : {"Alarm1=-1", "AlarmCode1=1999", "Alarm2=-1", "AlarmCode2=0009", "HoldTime=-1",
                             "HoldTimeKept=0C"})
        EXPECT_TRUE(lines.contains(QLatin1String(line))) << line;
    EXPECT_FALSE(AlarmButtonsSettings(Defaults()).join(' ').contains("Kept"))
        << "a value an item stands for needs no key of its own";

    TAlarmButtonsState loaded;
    QStringList refused;
    ASSERT_TRUE(LoadAlarmButtonsSettings(loaded, lines, count, &refused));
    EXPECT_TRUE(refused.isEmpty());
    EXPECT_EQ(loaded, read);
    EXPECT_EQ(Lines(AlarmButtonsWrites(loaded, Items())), Lines(AlarmButtonsWrites(read, Items())));
    EXPECT_EQ(ButtonWriteValue(loaded, 2, Items()), "000900999");
    EXPECT_EQ(HoldTimeWriteValue(loaded), "0C");

    // A kept value not of the panel's form is not taken (nothing is sent for
    // that list); one an item stands for selects the item; a list with a
    // selection keeps it.
    const struct {
        const char* from;
        const char* to;
        std::function<bool(const TAlarmButtonsState&)> check;
    } odd[] = {
        {"AlarmCode1=1999", "AlarmCode1=12345", [](const auto& s) { return !s.Buttons[0].KeptCode; }},
        {"AlarmCode1=1999", "AlarmCode1=19a9", [](const auto& s) { return !s.Buttons[0].KeptCode; }},
        {"AlarmCode1=1999", "AlarmCode1=-999", [](const auto& s) { return !s.Buttons[0].KeptCode; }},
        {"HoldTimeKept=0C", "HoldTimeKept=0C +o1", [](const auto& s) { return !s.KeptHoldTime; }},
        {"HoldTimeKept=0C", "HoldTimeKept=", [](const auto& s) { return !s.KeptHoldTime; }},
        {"HoldTimeKept=0C", "HoldTimeKept=04", [](const auto& s) { return s.HoldTime == 1 && !s.KeptHoldTime; }},
        {"Alarm1=-1", "Alarm1=3", [](const auto& s) { return s.Buttons[0].Item == 3 && !s.Buttons[0].KeptCode; }},
    };
    for (const auto& c : odd) {
        SCOPED_TRACE(c.to);
        QStringList edited = lines;
        edited.replaceInStrings(QLatin1String(c.from), QLatin1String(c.to));
        TAlarmButtonsState state;
        ASSERT_TRUE(LoadAlarmButtonsSettings(state, edited, count));
        EXPECT_TRUE(c.check(state));
    }
}

} // namespace
