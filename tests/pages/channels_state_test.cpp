// The Channels page's state: entries read and shown, the packing and the
// write lines, the switch and the release, defaults and settings lines.
#include "page_fakes.h"
#include "pages/ChannelsCodec.h"
#include "pages/ChannelsState.h"
#include "settings_lines.h"

#include <gtest/gtest.h>

namespace {

constexpr bool AND = true, OR = false;

TDirectionRec Entry(int direction, int order, int channel, const char* phone) {
    TDirectionRec rec;
    rec.Direction = uint8_t(direction);
    rec.Order = uint8_t(order);
    rec.Channel = uint8_t(channel);
    rec.Phone = QString::fromUtf8(phone);
    return rec;
}

// A page connected to a panel of `release`, rows from items and phones.
TChannelsState Page(int release, bool online, std::array<int, 8> items, QStringList phones = {}) {
    TChannelsState state;
    SetDevRelease(state, release);
    SetGprsOnline(state, online);
    for (int r = 0; r < ChannelRowCount; ++r) {
        state.Rows[r].Item = items[r];
        state.Rows[r].Phone = phones.value(r);
    }
    return state;
}

QStringList Lines(const std::vector<TPageCommand>& writes) {
    QStringList lines;
    for (const TPageCommand& w : writes)
        lines.append(w.Line);
    return lines;
}

QStringList Captions(const TChannelsState& state) {
    QStringList captions;
    for (const TChannelRow& row : state.Rows)
        captions.append(row.Item < 0 ? QStringLiteral("<none>")
                                     : ChannelItems(state.Table)[row.Item].Caption);
    return captions;
}

TEST(ChannelsStateTest, ACreatedPageShowsNothingUsedInOneDirection) {
    const TChannelsState state;
    EXPECT_EQ(state.Table, TChannelTable::C);
    EXPECT_EQ(Captions(state), QStringList(8, QStringLiteral("Не используется")));
    EXPECT_EQ(RowDirections(state), (TRowDirections{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(state.DevRelease, 0);
    EXPECT_FALSE(state.GprsOnline);
    EXPECT_EQ(state.Move, 0);
}

TEST(ChannelsStateTest, WriteWithRowsOneToThreeUsed) {
    // Rows 4..8 free (row 6 still holds a phone), all links OR.
    TChannelsState state =
        Page(125, false, {1, 2, 5, 0, 0, 0, 0, 0}, {"111", "+79001234567", "333", "", "", "666"});
    PackRows(state);
    EXPECT_EQ(Lines(ChannelsWrites(state)), (QStringList{
                                                "+gprsenaFF",
                                                "+alphon0110002=111",
                                                "+alphon1120003=+79001234567",
                                                "+alphon2130006=333",
                                                "+alphon3140000=",
                                                "+alphon4150000=",
                                                "+alphon5160000=666",
                                                "+alphon6170000=",
                                                "+alphon7180000=",
                                                "+JDIRFF",
                                            }));
    const std::vector<TPageCommand> writes = ChannelsWrites(state);
    EXPECT_EQ(writes.front().ErrorName, "Включить GPRS-online");
    EXPECT_EQ(writes[1].ErrorName, "Ошибка записи телефона #0");
    EXPECT_EQ(writes[8].ErrorName, "Ошибка записи телефона #7");
    EXPECT_EQ(writes.back().ErrorName, "Порядок перехода по направлениям");
}

TEST(ChannelsStateTest, WriteWithTwoDirectionsAndTheSwitch) {
    // GPRS-online on; row 3 starts direction 2, and the free rows below it
    // belong to it.
    TChannelsState state = Page(125, true, {1, 4, 2, 0, 0, 0, 0, 0}, {"1", "3", "5"});
    state.LinkAnd = {OR, AND, OR, OR, OR, OR, OR};
    state.Move = 1;
    PackRows(state);
    EXPECT_EQ(Lines(ChannelsWrites(state)), (QStringList{
                                                "+gprsena00",
                                                "+alphon0110002=1",
                                                "+alphon1120001=3",
                                                "+alphon2210005=5",
                                                "+alphon3220000=",
                                                "+alphon4230000=",
                                                "+alphon5240000=",
                                                "+alphon6250000=",
                                                "+alphon7260000=",
                                                "+JDIR00",
                                            }));
}

TEST(ChannelsStateTest, PackingBeforeAWriteClosesGaps) {
    // Rows 1, 3 and 5 used, as a file or a panel may give them. Every free
    // row gets an OR link above it before the rows move, so the links of the
    // gaps are gone and the used rows end in one direction at the top.
    TChannelsState state = Page(125, false, {1, 0, 6, 0, 2, 0, 0, 0}, {"1", "", "3", "", "5"});
    state.LinkAnd = {AND, OR, AND, OR, OR, OR, OR};
    PackRows(state);
    EXPECT_EQ(state.LinkAnd, TChannelLinks{});
    EXPECT_EQ(Captions(state).mid(0, 4),
              (QStringList{"Цифровой канал GSM", "Голосовой звонок (до поднятия трубки)", "GPRS-offline IP1",
                           "Не используется"}));
    EXPECT_EQ(Lines(ChannelsWrites(state)).mid(1, 4),
              (QStringList{"+alphon0110002=1", "+alphon1120001=3", "+alphon2130003=5", "+alphon3140000="}));
}

TEST(ChannelsStateTest, EntriesReadAreShownAsTheyCome) {
    TChannelsState state = Page(125, false, {0, 0, 0, 0, 0, 0, 0, 0});
    const TDirectionTable entries = {
        Entry(1, 1, ctCsd, "+79031234567"), Entry(1, 2, ctSmsMobile, "+79031234567"),
        Entry(2, 1, ctGprsIp1, ""),         Entry(2, 2, ctNone, ""),
        Entry(3, 1, ctVoice, "555"),        Entry(3, 2, ctNone, ""),
        Entry(3, 3, ctSmsRelvan, "777"),    Entry(3, 4, ctNone, "")};
    ShowDirections(state, entries);
    EXPECT_EQ(state.LinkAnd, (TChannelLinks{OR, AND, OR, AND, OR, OR, OR}));
    EXPECT_EQ(RowDirections(state), (TRowDirections{1, 1, 2, 2, 3, 3, 3, 3}));
    EXPECT_EQ(Captions(state),
              (QStringList{"Цифровой канал GSM", "SMS на мобильный телефон", "GPRS-offline IP1",
                           "Не используется", "Голосовой звонок (до поднятия трубки)", "Не используется",
                           "SMS Relvan", "Не используется"}));
    EXPECT_EQ(state.Rows[4].Phone, "555");
    // What was read is written back as it was; only the orders follow the rows.
    const TDirectionTable collected = CollectDirections(state);
    for (int i = 0; i < ChannelRowCount; ++i) {
        EXPECT_EQ(collected[i].Direction, entries[i].Direction) << i;
        EXPECT_EQ(collected[i].Channel, entries[i].Channel) << i;
        EXPECT_EQ(collected[i].Phone, entries[i].Phone) << i;
    }
}

TEST(ChannelsStateTest, DirectionsAreWrittenFromOneWithoutGaps) {
    // The panel held direction 3 everywhere, and entry 0 came back malformed
    // (direction 0) in the second read.
    TChannelsState state;
    TDirectionTable entries;
    for (int i = 0; i < ChannelRowCount; ++i)
        entries[i] = Entry(3, i + 1, i < 2 ? ctCsd : ctNone, "1");
    ShowDirections(state, entries);
    for (const TDirectionRec& rec : CollectDirections(state))
        EXPECT_EQ(rec.Direction, 1);

    entries[0] = Entry(0, 0, ctNone, "9");
    ShowDirections(state, entries);
    EXPECT_EQ(state.Rows[0].Item, 0);
    const TDirectionTable collected = CollectDirections(state);
    EXPECT_EQ(collected[0].Direction, 1);
    EXPECT_EQ(collected[1].Direction, 2);
    EXPECT_EQ(collected[7].Direction, 2);
    EXPECT_EQ(collected[7].Order, 7);
}

TEST(ChannelsStateTest, ChannelTypesTheListsCannotShow) {
    // Release 20 with GPRS-online: a voice call shows no selection and is
    // written back as "not used".
    TChannelsState state = Page(20, true, {2, 2, 2, 2, 0, 0, 0, 0});
    TDirectionTable entries;
    entries[0] = Entry(1, 1, ctVoice, "1");
    entries[1] = Entry(1, 2, ctGprsIp1, "2"); // GPRS-offline with GPRS-online on:
    entries[2] = Entry(1, 3, ctGprsIp2, "3"); // the rows keep what they showed
    entries[3] = Entry(1, 4, 9, "4");         // a code no item writes: kept
    ShowDirections(state, entries);
    EXPECT_EQ(state.Rows[0].Item, ChannelNoItem);
    EXPECT_EQ(state.Rows[1].Item, 2);
    EXPECT_EQ(state.Rows[2].Item, 2);
    EXPECT_EQ(state.Rows[3].Item, ChannelNoItem);
    EXPECT_EQ(ChannelsWrites(state)[1].Line, "+alphon0110000=1");
    EXPECT_EQ(ChannelsWrites(state)[4].Line, "+alphon3140009=4");
}

// Codes 7, 8 and 9 have no item that writes them: code 7 shows as item 6 of
// the GPRS-offline lists (as every code from 2 up shows as item c - 1), 8
// and 9 as no selection. Each row keeps its code through the packing, a new
// release and the settings file, and writes it back as it came, until the
// user chooses another item.
TEST(ChannelsStateTest, CodesNoItemWritesAreKept) {
    TChannelsState state; // a fresh page: release-100 lists, all rows free
    TDirectionTable entries;
    for (int i = 0; i < ChannelRowCount; ++i)
        entries[i] = Entry(1, i + 1, ctNone, "");
    entries[0] = Entry(1, 1, 7, "111");
    entries[1] = Entry(1, 2, ctNone, "");
    entries[2] = Entry(1, 3, 8, "222");
    entries[3] = Entry(1, 4, 9, "333");
    ShowDirections(state, entries);
    EXPECT_EQ(state.Rows[0].Item, 6);
    EXPECT_EQ(state.Rows[2].Item, ChannelNoItem);
    EXPECT_EQ(state.Rows[3].Item, ChannelNoItem);

    // The free row between them closes up; every code goes back as it came.
    PackRows(state);
    const QStringList sent = {"+alphon0110007=111", "+alphon1120008=222", "+alphon2130009=333",
                              "+alphon3140000="};
    auto lines = [](const TChannelsState& s) {
        QStringList l;
        for (int i = 1; i <= 4; ++i)
            l << ChannelsWrites(s)[size_t(i)].Line;
        return l;
    };
    EXPECT_EQ(lines(state), sent);

    // Through the settings file, to a page that held other values.
    const QStringList file = ChannelsSettings(state);
    EXPECT_TRUE(file.contains("CCombo1=6"));
    EXPECT_TRUE(file.contains("CCode1=7"));
    EXPECT_TRUE(file.contains("CCombo2=-1"));
    EXPECT_TRUE(file.contains("CCode2=8"));
    TChannelsState other = Page(125, false, {1, 1, 1, 1, 0, 0, 0, 0});
    ASSERT_TRUE(LoadChannelsSettings(other, file));
    EXPECT_EQ(lines(other), sent);

    // A release without the voice call shows code 7 as no selection, and
    // still keeps it.
    SetDevRelease(state, 20);
    EXPECT_EQ(state.Rows[0].Item, ChannelNoItem);
    EXPECT_EQ(lines(state), sent);

    // The user's choice replaces the kept code.
    ChooseChannel(state, 2, 1);
    EXPECT_EQ(ChannelsWrites(state)[2].Line, "+alphon1120002=222");
}

TEST(ChannelsStateTest, TheSwitchAndTheRelease) {
    // Release 40: ticking and unticking keeps each row's channel type.
    TChannelsState state = Page(40, false, {5, 3, 6, 0, 0, 0, 0, 0});
    SetGprsOnline(state, true);
    EXPECT_EQ(state.Table, TChannelTable::D);
    EXPECT_EQ(Captions(state).mid(0, 3), (QStringList{"SMS на мобильный телефон", "Не используется",
                                                      "Голосовой звонок (до поднятия трубки)"}));
    SetGprsOnline(state, true); // no flip, no refill
    EXPECT_EQ(state.Rows[2].Item, 4);
    SetGprsOnline(state, false);
    EXPECT_EQ(state.Table, TChannelTable::C);
    EXPECT_EQ((std::array{state.Rows[0].Item, state.Rows[1].Item, state.Rows[2].Item}),
              (std::array{5, 0, 6}));

    // A release of 1000 or more keeps the lists of the last connection.
    const TChannelsState before = state;
    SetDevRelease(state, 1000);
    EXPECT_EQ(state.DevRelease, 1000);
    EXPECT_EQ(state.Rows, before.Rows);
    EXPECT_EQ(state.Table, before.Table);
    // The lists stay put when the switch flips then, and every row is
    // written as the channel type it shows: GPRS-offline IP1 stays code 3.
    state.Rows[1].Item = 2;
    SetGprsOnline(state, true);
    EXPECT_EQ(state.Table, TChannelTable::C);
    EXPECT_EQ(CollectDirections(state)[1].Channel, ctGprsIp1);
    EXPECT_EQ(CollectDirections(state)[2].Channel, ctVoice);

    // Release 20 after release 40: the voice call is not in the list.
    state = Page(40, false, {6, 1, 0, 0, 0, 0, 0, 0});
    SetDevRelease(state, 20);
    EXPECT_EQ(state.Table, TChannelTable::A);
    EXPECT_EQ(state.Rows[0].Item, 0);
    EXPECT_EQ(state.Rows[1].Item, 1);
}

TEST(ChannelsStateTest, UserChoicesKeepTheRowsPacked) {
    TChannelsState state = Page(125, false, {1, 0, 0, 0, 0, 0, 0, 0}, {"1", "2", "3", "4", "5"});
    ChooseChannel(state, 5, 1);
    EXPECT_EQ(state.Rows[1], (TChannelRow{"5", 1}));
    EXPECT_EQ(state.Rows[4], (TChannelRow{"4", 0}));
    ChooseChannel(state, 1, 0);
    EXPECT_EQ(state.Rows[0], (TChannelRow{"5", 1}));
    EXPECT_EQ(state.Rows[1], (TChannelRow{"1", 0}));
}

TEST(ChannelsStateTest, Defaults) {
    TChannelsState state = Page(40, true, {1, 2, 3, 4, 0, 0, 0, 0}, {"1", "2", "3", "4"});
    state.LinkAnd = {AND, AND, OR, OR, OR, OR, AND};
    state.Move = 1;
    ResetChannels(state);
    TChannelsState expected;
    SetDevRelease(expected, 40);
    EXPECT_EQ(state, expected);
}

TEST(ChannelsSettingsTest, LinesInTheirOrder) {
    TChannelsState state = Page(125, true, {1, 4, 0, -1, 0, 0, 0, 0}, {"+7900", "55"});
    state.LinkAnd = {OR, AND, OR, OR, OR, OR, AND};
    state.Move = 1;
    EXPECT_EQ(ChannelsSettings(state),
              (QStringList{"CPhone1=+7900", "CCombo1=1",   "CPhone2=55",  "CCombo2=4",   "CPhone3=",
                           "CCombo3=0",     "CPhone4=",    "CCombo4=-1",  "CPhone5=",    "CCombo5=0",
                           "CPhone6=",      "CCombo6=0",   "CPhone7=",    "CCombo7=0",   "CPhone8=",
                           "CCombo8=0",     "logicAND1=0", "logicAND2=1", "logicAND3=0", "logicAND4=0",
                           "logicAND5=0",   "logicAND6=0", "logicAND7=1", "Online=1",    "Move=1"}));
}

TEST(ChannelsSettingsTest, RoundTrips) {
    TChannelsState saved = Page(125, false, {6, 5, 2, 0, 0, 0, 0, 0}, {"1", "2", "3", "", "", "", "", "8"});
    saved.LinkAnd = {AND, OR, OR, AND, OR, OR, OR};
    saved.Move = 1;
    TChannelsState loaded;
    SetDevRelease(loaded, 125);
    ASSERT_TRUE(LoadChannelsSettings(loaded, ChannelsSettings(saved)));
    EXPECT_EQ(loaded, saved);

    // Saved with GPRS-online, loaded while it is off: the lists follow the
    // switch before the rows take their item numbers.
    saved = Page(125, true, {4, 3, 2, 1, 0, 0, 0, 0}, {"1", "2", "3", "4"});
    loaded = TChannelsState{};
    SetDevRelease(loaded, 125);
    ASSERT_TRUE(LoadChannelsSettings(loaded, ChannelsSettings(saved)));
    EXPECT_TRUE(loaded.GprsOnline);
    EXPECT_EQ(Captions(loaded), Captions(saved));
    EXPECT_EQ(loaded, saved);
}

// A file loaded before any panel was connected: a voice-call row keeps its
// type (the release-0 lists lack the item) until a connected panel's
// release says otherwise.
TEST(ChannelsSettingsTest, LoadedBeforeConnectingRowsKeepTheirType) {
    const TChannelsState saved = Page(125, true, {4, 1, 0, 0, 0, 0, 0, 0}, {"5", "6"});
    const QStringList lines = ChannelsSettings(saved);
    ASSERT_TRUE(lines.contains("CCombo1=4"));
    struct Case {
        int release;
        int item; // row 1's item once that release is told
        int code; // what row 1 is written as
    } const cases[] = {{125, 4, ctVoice}, {33, 4, ctVoice}, {20, 0, ctNone}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.release);
        TChannelsState state;
        ASSERT_TRUE(LoadChannelsSettings(state, lines));
        EXPECT_EQ(Captions(state), Captions(saved));
        EXPECT_EQ(ChannelsSettings(state), lines);
        SetDevRelease(state, c.release);
        EXPECT_EQ(state.Rows[0].Item, c.item);
        EXPECT_EQ(state.Rows[1].Item, 1);
        EXPECT_EQ(CollectDirections(state)[0].Channel, c.code);
    }
    // The switch flipped before the first connection keeps the voice call
    // too; once a release-20 panel was there, the switch fills its lists.
    TChannelsState state;
    ASSERT_TRUE(LoadChannelsSettings(state, lines));
    SetGprsOnline(state, false);
    EXPECT_EQ(state.Rows[0].Item, 6);
    SetDevRelease(state, 20);
    SetGprsOnline(state, true);
    EXPECT_EQ(state.Table, TChannelTable::B);
}

TEST(ChannelsSettingsTest, MalformedNumbersPutThePageOnItsDefaults) {
    TChannelsState saved = Page(125, true, {1, 2, 0, 0, 0, 0, 0, 0}, {"1", "2"});
    saved.LinkAnd[0] = AND;
    saved.Move = 1;
    const QStringList good = ChannelsSettings(saved);
    const struct {
        const char* key;
        const char* value; // nullptr: the line is left out
    } cases[] = {
        {"Online", nullptr}, {"Online", "yes"},      {"Move", nullptr},
        {"Move", "1.0"},     {"CCombo3", nullptr},   {"CCombo8", ""},
        {"CCombo1", "0x1"},  {"logicAND1", nullptr}, {"logicAND7", "И"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.value ? c.value : "<missing>"));
        const QStringList lines = WithKeyLine(good, c.key, c.value);
        TChannelsState state = saved;
        EXPECT_FALSE(LoadChannelsSettings(state, lines));
        TChannelsState expected;
        SetDevRelease(expected, 125);
        EXPECT_EQ(state, expected);
    }
}

TEST(ChannelsSettingsTest, ValuesOutsideTheLists) {
    TChannelsState state;
    QStringList lines = ChannelsSettings(state);
    lines.replaceInStrings(QStringLiteral("CCombo2=0"), QStringLiteral("CCombo2=7"));
    lines.replaceInStrings(QStringLiteral("CCombo3=0"), QStringLiteral("CCombo3=-5"));
    lines.replaceInStrings(QStringLiteral("Move=0"), QStringLiteral("Move=4"));
    lines.replaceInStrings(QStringLiteral("logicAND3=0"), QStringLiteral("logicAND3=2"));
    lines.removeAll(QStringLiteral("CPhone4="));
    state.Rows[3].Phone = QStringLiteral("gone");
    ASSERT_TRUE(LoadChannelsSettings(state, lines));
    EXPECT_EQ(state.Rows[1].Item, ChannelNoItem);
    EXPECT_EQ(state.Rows[2].Item, ChannelNoItem);
    EXPECT_EQ(state.Rows[3].Phone, "");
    EXPECT_EQ(state.Move, 1);
    EXPECT_TRUE(state.LinkAnd[2]);
}

TEST(ChannelsWireTest, SwitchAndMoveValues) {
    const struct {
        const char* value;
        std::optional<bool> online;
        int move;
    } cases[] = {
        {"00", true, 1},         {"01", true, 1},         {"FE", true, 1},          {"fe", true, 1},
        {"FF", false, 0},        {"ff", false, 0},        {"1FF", false, 0},        {"", std::nullopt, 0},
        {"ZZ", std::nullopt, 0}, {"OK", std::nullopt, 0}, {"0 0", std::nullopt, 0}, {"-1", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyGprsOnlineValue(QString::fromUtf8(c.value)), c.online) << c.value;
        EXPECT_EQ(ApplyMoveValue(QString::fromUtf8(c.value)), c.move) << c.value;
    }
    EXPECT_EQ(GprsOnlineWriteValue(true), "00");
    EXPECT_EQ(GprsOnlineWriteValue(false), "FF");
    EXPECT_EQ(MoveWriteValue(1), "00");
    EXPECT_EQ(MoveWriteValue(0), "FF");
    EXPECT_EQ(ChannelsWire::EntryReadCommand(7), "+alphon7");
    EXPECT_EQ(ChannelsWire::EntryReadError(0), "Параметр направления 1");
    EXPECT_EQ(ChannelsWire::EntryWriteError(0), "Ошибка записи телефона #0");
}

} // namespace
