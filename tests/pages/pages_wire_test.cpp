// The System events, GPRS, Engineer numbers and SMS pages' values on the
// wire: sent through the tool's exchange over a pty to the emulated panel,
// checked in what the panel received, stored and answered.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "pages/EngeneerNumberCodec.h"
#include "pages/GPRSCodec.h"
#include "pages/KeptValue.h"
#include "pages/SMSCodec.h"
#include "pages/StringFuncs.h"
#include "pages/SystemEventsCodec.h"
#include "panel/CommandExchange.h"
#include "test_wait.h"

#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

class PageWire : public ::testing::Test {
protected:
    void SetUp() override {
        panel = StartEmulatedPanel(QuickPanelSettings());
        ASSERT_TRUE(link.Connect(panel->slavePath()));
        panel->clearRecords();
    }

    QString read(const QString& command) {
        QString value;
        EXPECT_TRUE(exchange.DeviceCommand(command, value, ExchangeTimeout::Param)) << command.toStdString();
        return value;
    }
    // A write as the pages make it; true when the panel took it.
    bool write(const QString& command) {
        QStringList errors;
        exchange.SendParamToDevice(command, errors, QStringLiteral("x"), QStringLiteral("OK"),
                                   ExchangeTimeout::Param);
        return errors.isEmpty();
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TCommandExchange& exchange = link.exchange;
};

TEST_F(PageWire, SystemEvents) {
    TSystemEventsValues shown{7, 7, true};
    ASSERT_TRUE(ApplyPwlog(read(QStringLiteral("+pwlog")), shown));
    EXPECT_EQ(shown, SystemEventsDefaults()) << "the factory state is the page's default";

    const struct {
        TSystemEventsValues values;
        const char* wire;
    } cases[] = {
        {{0, 4, false}, "FFFFFF0004FFFFFFFF"},
        {{23, 59, true}, "FFFF00173BFFFFFFFF"},
        {{0, 0, true}, "FFFF00FFFFFFFFFFFF"},
        {{0, 30, false}, "FFFFFF001EFFFFFFFF"},
    };
    for (const auto& c : cases) {
        const QString command = QStringLiteral("+pwlog") + EncodePwlog(c.values).value_or(QString());
        EXPECT_TRUE(write(command)) << c.wire;
        EXPECT_EQ(panel->receivedLines().last(), command);
        EXPECT_EQ(panel->parameter("+pwlog"), QString::fromLatin1(c.wire));
        TSystemEventsValues back;
        EXPECT_TRUE(ApplyPwlog(read(QStringLiteral("+pwlog")), back));
        EXPECT_EQ(back, c.values) << c.wire;
    }

    // A period the lists cannot show goes back exactly as it came; the panel
    // refuses it and the write is not reported as done.
    ASSERT_TRUE(panel->storeParameterBytes("+pwlog", "FFFFFF201EFFFFFFFF"));
    TSystemEventsValues odd;
    ASSERT_TRUE(ApplyPwlog(read(QStringLiteral("+pwlog")), odd));
    EXPECT_EQ(odd, (TSystemEventsValues{32, 30, false}));
    EXPECT_FALSE(HourShown(odd.Hours));
    odd.Reboot = true;
    EXPECT_FALSE(write(QStringLiteral("+pwlog") + *EncodePwlog(odd)));
    EXPECT_EQ(panel->receivedLines().last(), QStringLiteral("+pwlogFFFF00201EFFFFFFFF"));
    EXPECT_EQ(panel->parameterBytes("+pwlog"), QByteArray("FFFFFF201EFFFFFFFF"));
}

TEST_F(PageWire, GPRSReadAndWriteThroughTheParameterTable) {
    // A read of the factory state, parameter by parameter in table order.
    TGPRSValues read;
    for (const TGPRSParam& p : GPRSParams()) {
        const QString value = this->read(QString::fromLatin1(p.Command));
        if (p.Text)
            read.*p.Text = value;
        else
            read.PauseIndex = DecodeGPRSPause(value);
    }
    EXPECT_EQ(RecognizeOperator(read.Point), opMTS);
    read.Operator = RecognizeOperator(read.Point);
    EXPECT_EQ(read, GPRSDefaults()) << "the factory state is the page's default";
    EXPECT_TRUE(IsValidIPAddress(read.IP1) && IsValidPort(read.Port1) && IsValidIdentPassword(read.Password));

    // Beeline, fifteen minutes, a main server and an empty reserve.
    TGPRSValues v = GPRSDefaults();
    const TOperatorPreset beeline = *OperatorPreset(QStringLiteral("Билайн"));
    v.Phone = beeline.Phone;
    v.Point = beeline.Point;
    v.UserName = beeline.User;
    v.UserPWD = beeline.Password;
    v.PauseIndex = 10;
    v.Password = QStringLiteral("12345678");
    v.IP1 = QStringLiteral("10.20.30.40");
    v.Port1 = QStringLiteral("3050");
    v.IP2.clear();
    v.Port2.clear();
    FillReserveServer(v);
    panel->clearRecords();
    QStringList sent;
    for (const TGPRSParam& p : GPRSParams()) {
        const QString command =
            QString::fromLatin1(p.Command) + (p.Text ? v.*p.Text : EncodeGPRSPause(v.PauseIndex));
        sent.append(command);
        EXPECT_TRUE(write(command)) << command.toStdString();
    }
    EXPECT_EQ(panel->receivedLines(), sent);
    EXPECT_TRUE(sent.contains(QStringLiteral("+timegpres0384")));
    EXPECT_TRUE(sent.contains(QStringLiteral("+IP1adr10.20.30.40")));
    EXPECT_TRUE(sent.contains(QStringLiteral("+IP1port3050")));
    EXPECT_EQ(panel->parameter("+GAPN0"), QStringLiteral("internet.beeline.ru"));
    EXPECT_EQ(panel->parameter("+gprsname0"), QStringLiteral("beeline"));
    EXPECT_EQ(panel->parameter("+IP1adr"), QStringLiteral("10.20.30.40"));
    EXPECT_EQ(RecognizeOperator(this->read(QStringLiteral("+GAPN0"))), opBeeline);

    // No selection writes five minutes.
    EXPECT_TRUE(write(QStringLiteral("+timegpres") + EncodeGPRSPause(-1)));
    EXPECT_EQ(panel->receivedLines().last(), QStringLiteral("+timegpres012C"));
    EXPECT_EQ(DecodeGPRSPause(this->read(QStringLiteral("+timegpres"))), 0);
}

TEST_F(PageWire, GPRSEmptyTextIsAnsweredWithTheValueThePanelKept) {
    ASSERT_TRUE(write(QStringLiteral("+gprsname0beeline")));
    // MegaFon empties the user name: the bytes are those of the read command.
    const TOperatorPreset megafon = *OperatorPreset(QStringLiteral("Мегафон"));
    QStringList answer;
    ASSERT_TRUE(exchange.DeviceCommandLst(QStringLiteral("+gprsname0") + megafon.User, answer,
                                          ExchangeTimeout::Param));
    EXPECT_EQ(answer, (QStringList{"beeline", "OK"}));
    EXPECT_EQ(KeptValueAfterWrite(megafon.User, answer), QStringLiteral("beeline"));
    EXPECT_EQ(panel->parameter("+gprsname0"), QStringLiteral("beeline"));
    EXPECT_EQ(panel->writeCount("+gprsname0"), 1) << "the panel saw a read";
    EXPECT_EQ(panel->receivedBytes().right(14), QByteArray("+gprsname0\r\n\r\n"));

    // A text the panel takes answers "OK" alone: nothing was kept.
    ASSERT_TRUE(
        exchange.DeviceCommandLst(QStringLiteral("+gprspswd0secret"), answer, ExchangeTimeout::Param));
    EXPECT_EQ(KeptValueAfterWrite(QStringLiteral("secret"), answer), std::nullopt);
    EXPECT_EQ(panel->parameter("+gprspswd0"), QStringLiteral("secret"));
}

TEST_F(PageWire, EngineerNumbers) {
    // The factory state: disabled, five empty numbers, each a single space
    // that survives the line assembly.
    EXPECT_FALSE(DecodeEnableEng(read(QStringLiteral("+enaing"))));
    for (int n = 1; n <= EngineerNumberCount; ++n)
        EXPECT_EQ(read(PhingReadCommand(n)), QStringLiteral(" ")) << n;

    const QString edits[EngineerNumberCount] = {"+123456", "", "", "   ", ""};
    panel->clearRecords();
    EXPECT_TRUE(write(QStringLiteral("+enaing") + EncodeEnableEng(true)));
    for (int n = 1; n <= EngineerNumberCount; ++n)
        EXPECT_TRUE(write(PhingWriteCommand(n, EngineerNumberForWrite(edits[n - 1])))) << n;
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+enaing00", "+phing0+123456", "+phing1 ", "+phing2 ", "+phing3 ", "+phing4 "}));
    EXPECT_EQ(panel->parameter("+phing0"), QStringLiteral("+123456"));
    EXPECT_EQ(panel->writeCount("+phing3"), 1) << "spaces only are written, not read";

    EXPECT_TRUE(DecodeEnableEng(read(QStringLiteral("+enaing"))));
    EXPECT_EQ(read(PhingReadCommand(1)), QStringLiteral("+123456"));
    EXPECT_EQ(read(PhingReadCommand(4)), QStringLiteral(" "));
}

TEST_F(PageWire, SMSTexts) {
    QStringList texts;
    for (int r = 1; r <= SMSCount; ++r)
        texts.append(read(SMSReadCommand(r)));
    EXPECT_EQ(texts, SMSDefaultTexts()) << "Russian texts arrive from Windows-1251";

    panel->clearRecords();
    for (int r = 1; r <= SMSCount; ++r) {
        const QString text =
            r == 6 ? QStringLiteral("Заряд АКБ восстановлен") : TranslitToLatin(texts[r - 1]);
        EXPECT_TRUE(write(SMSWriteCommand(r, text))) << r;
        EXPECT_EQ(panel->parameter(QStringLiteral("+smstext%1").arg(r - 1)), text);
        EXPECT_EQ(read(SMSReadCommand(r)), text);
    }
    EXPECT_EQ(panel->receivedLines().at(10), QStringLiteral("+smstext5Заряд АКБ восстановлен"));
    EXPECT_TRUE(panel->receivedBytes().contains("+smstext2Razrjad AKB\r\n"));
    EXPECT_TRUE(panel->receivedBytes().contains("+smstext5\xC7\xE0\xF0\xFF\xE4 \xC0\xCA\xC1"));

    // An empty text goes out as the read, like an empty GPRS text.
    QStringList answer;
    ASSERT_TRUE(exchange.DeviceCommandLst(SMSWriteCommand(1, QString()), answer, ExchangeTimeout::Param));
    EXPECT_EQ(KeptValueAfterWrite(QString(), answer), TranslitToLatin(SMSPurpose(1)));
}

} // namespace
