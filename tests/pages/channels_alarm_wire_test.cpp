// The Channels and Alarm buttons wire formats through the tool's real
// exchange against the emulated panel on a pty: what the panel stores from
// the page's write lines, and how its answers decode into the pages' state.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "page_fakes.h"
#include "pages/AlarmButtonsState.h"
#include "pages/ChannelsCodec.h"
#include "pages/ChannelsState.h"
#include "panel/CommandExchange.h"
#include "test_wait.h"

#include <gtest/gtest.h>

namespace {

const QString OK = QStringLiteral("OK");

class PagesWireTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel = StartEmulatedPanel(QuickPanelSettings());
        ASSERT_TRUE(link.Connect(panel->slavePath()));
        release = link.version.Release;
        panel->clearRecords();
    }

    // Sends every write the way the page does; the names of those the panel
    // did not take.
    QStringList Send(const std::vector<TPageCommand>& writes) {
        QStringList errors;
        for (const TPageCommand& w : writes) {
            if (w.Line.isEmpty())
                errors.append(w.ErrorName);
            else
                exchange.SendParamToDevice(w.Line, errors, w.ErrorName, OK, ExchangeTimeout::Param);
        }
        return errors;
    }

    // The Channels page's read: switch, entries, moving on.
    TChannelsState ReadChannels(QStringList& errors) {
        TChannelsState state;
        SetDevRelease(state, release);
        QString value;
        if (exchange.DeviceCommand(ChannelsWire::GprsOnlineCommand, value, ExchangeTimeout::Param)) {
            if (const std::optional<bool> on = ApplyGprsOnlineValue(value))
                SetGprsOnline(state, *on);
        } else {
            errors.append(ChannelsWire::GprsOnlineReadError);
        }
        TDirectionTable entries;
        for (int i = 0; i < ChannelRowCount; ++i) {
            QStringList lines;
            if (exchange.ReadParamFromDevice(ChannelsWire::EntryReadCommand(i), lines, errors,
                                             ChannelsWire::EntryReadError(i), OK, ExchangeTimeout::Param)) {
                if (const std::optional<TDirectionRec> rec = ParseDirectionAnswer(lines))
                    entries[i] = *rec;
            }
        }
        ShowDirections(state, entries);
        if (exchange.DeviceCommand(ChannelsWire::MoveCommand, value, ExchangeTimeout::Param))
            state.Move = ApplyMoveValue(value);
        else
            errors.append(ChannelsWire::MoveError);
        return state;
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TCommandExchange& exchange = link.exchange;
    int release = 0;
};

TEST_F(PagesWireTest, ChannelsReadTheFactoryEntries) {
    QStringList errors;
    const TChannelsState state = ReadChannels(errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(", ").toStdString();
    EXPECT_EQ(release, 125);
    EXPECT_EQ(state.Table, TChannelTable::C);
    // Direction 1: CSD and SMS to a mobile; direction 2: GPRS to server 1.
    EXPECT_EQ(state.LinkAnd, (TChannelLinks{false, true, false, false, false, false, false}));
    EXPECT_EQ(state.Rows[0], (TChannelRow{"+79031234567", 1}));
    EXPECT_EQ(state.Rows[1], (TChannelRow{"+79031234567", 5}));
    EXPECT_EQ(state.Rows[2], (TChannelRow{"", 2}));
    EXPECT_EQ(state.Rows[3], (TChannelRow{"", 0}));
    EXPECT_FALSE(state.GprsOnline);
    EXPECT_EQ(state.Move, 0);
}

TEST_F(PagesWireTest, ChannelsWriteWithRowsOneToThreeUsed) {
    emu::Delays delays = emu::Delays::quick();
    delays.journalEraseMs = 100;
    panel->setDelays(delays);
    ASSERT_GT(panel->journalPointer(), 0u);

    TChannelsState state;
    SetDevRelease(state, release);
    state.Rows[0] = {"111", 1};
    state.Rows[1] = {"+79001234567", 2};
    state.Rows[2] = {"333", 5};
    state.Rows[5].Phone = QStringLiteral("666");
    state.Move = 1;
    PackRows(state);

    QStringList errors;
    exchange.SendParamToDevice(ChannelsWire::EraseCommand, errors, ChannelsWire::EraseError, OK,
                               ChannelsWire::EraseTimeOut);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(panel->journalPointer(), 0u);
    errors = Send(ChannelsWrites(state));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(", ").toStdString();

    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+erase", "+gprsenaFF", "+alphon0110002=111", "+alphon1120003=+79001234567",
                           "+alphon2130006=333", "+alphon3140000=", "+alphon4150000=", "+alphon5160000=666",
                           "+alphon6170000=", "+alphon7180000=", "+JDIR00"}));
    EXPECT_EQ(panel->parameter("+alphon1"), "120003=+79001234567");
    EXPECT_EQ(panel->parameter("+alphon7"), "180000=");
    EXPECT_EQ(panel->parameter("+JDIR"), "00");

    // Read back, the page shows what it wrote.
    const TChannelsState back = ReadChannels(errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(back.Rows, state.Rows);
    EXPECT_EQ(back.LinkAnd, state.LinkAnd);
    EXPECT_EQ(back.Move, 1);
}

TEST_F(PagesWireTest, ChannelsWithGprsOnline) {
    ASSERT_TRUE(panel->setParameter("+gprsena", "00"));
    ASSERT_TRUE(panel->setParameter("+alphon0", "110001=555")); // voice call
    QStringList errors;
    TChannelsState state = ReadChannels(errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(state.GprsOnline);
    EXPECT_EQ(state.Table, TChannelTable::D);
    EXPECT_EQ(ChannelItems(state.Table)[state.Rows[0].Item].Caption, "Голосовой звонок (до поднятия трубки)");
    // The GPRS-offline entry 2 cannot be shown with GPRS-online on: its row
    // keeps item 0, and the write says "not used".
    EXPECT_EQ(state.Rows[2].Item, 0);
    PackRows(state);
    errors = Send(ChannelsWrites(state));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(", ").toStdString();
    EXPECT_EQ(panel->parameter("+gprsena"), "00");
    EXPECT_EQ(panel->parameter("+alphon0"), "110001=555");
    EXPECT_EQ(panel->parameter("+alphon1"), "120006=+79031234567");
    EXPECT_EQ(panel->parameter("+alphon2"), "130000=");
}

TEST_F(PagesWireTest, AlarmButtonsWriteAfterDefaults) {
    ASSERT_TRUE(panel->setParameter("+X", "05"));
    ASSERT_TRUE(panel->setParameter("+n00", "312099999"));
    ASSERT_TRUE(panel->setParameter("+n02", "340801002"));
    ASSERT_TRUE(panel->setParameter("+presstime", "0A"));
    const TAlarmTypeItems items = BuildAlarmTypeItems({"1001=Медицинская тревога", "1201=Тревожная кнопка"});

    TAlarmButtonsState state;
    ResetAlarmButtons(state);
    const QStringList errors = Send(AlarmButtonsWrites(state, items));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(", ").toStdString();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+X20", "+n00110000000", "+n02110000000", "+presstime02"}));
    for (const auto& [name, value] :
         {std::pair{"+X", "20"}, {"+n00", "110000000"}, {"+n02", "110000000"}, {"+presstime", "02"}}) {
        QString read;
        ASSERT_TRUE(exchange.DeviceCommand(QString::fromLatin1(name), read, ExchangeTimeout::Param));
        EXPECT_EQ(read, QLatin1String(value)) << name;
    }
}

TEST_F(PagesWireTest, AlarmButtonsRead) {
    ASSERT_TRUE(panel->setParameter("+X", "21"));
    ASSERT_TRUE(panel->setParameter("+n02", "312099999"));
    ASSERT_TRUE(panel->setParameter("+presstime", "08"));
    const TAlarmTypeItems items = BuildAlarmTypeItems(
        {"1001=Медицинская тревога", "1201=Тревожная кнопка", "1203=ВОССТ: Тревожная кнопка"});

    TAlarmButtonsState state;
    QString value;
    ASSERT_TRUE(exchange.DeviceCommand(AlarmButtonsWire::ReactionCommand, value, ExchangeTimeout::Param));
    ApplyReactionFlags(state, value);
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        ASSERT_TRUE(
            exchange.DeviceCommand(AlarmButtonsWire::ButtonCommand(n), value, ExchangeTimeout::Param));
        EXPECT_TRUE(ApplyButtonValue(state, n, value, items)) << n;
    }
    ASSERT_TRUE(exchange.DeviceCommand(AlarmButtonsWire::HoldTimeCommand, value, ExchangeTimeout::Param));
    EXPECT_TRUE(ApplyHoldTime(state, value));

    EXPECT_EQ(panel->receivedLines(), (QStringList{"+X", "+n00", "+n02", "+presstime"}));
    EXPECT_TRUE(state.Buttons[0].Enabled);
    EXPECT_FALSE(state.Buttons[1].Enabled);
    EXPECT_TRUE(state.AkbMessage);
    EXPECT_EQ(items[state.Buttons[0].Item].Caption, "Медицинская тревога");
    EXPECT_EQ(items[state.Buttons[1].Item].Caption, "ВОССТ: Тревожная кнопка");
    EXPECT_EQ(state.Buttons[1].Section, 99);
    EXPECT_EQ(state.Buttons[1].Loop, 999);
    EXPECT_EQ(state.HoldTime, 3);

    // Written back unchanged.
    panel->clearRecords();
    EXPECT_TRUE(Send(AlarmButtonsWrites(state, items)).isEmpty());
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+X21", "+n00110000000", "+n02312099999", "+presstime08"}));
}

} // namespace
