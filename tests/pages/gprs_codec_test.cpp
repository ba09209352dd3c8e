// The GPRS page's value rules: the pause, the operators, what makes an edit
// red, the key filters, the reserve-server fill and the settings-file lines.
#include "pages/CommonCodec.h"
#include "pages/GPRSCodec.h"
#include "pages/KeptValue.h"

#include "qt_print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(GPRSPause, EncodesSecondsInFourHexDigits) {
    const struct {
        int index;
        const char* wire;
    } cases[] = {
        {0, "012C"},  {1, "0168"},  {5, "0258"},
        {10, "0384"}, {-1, "012C"}, // no selection writes the default five minutes
        {11, "012C"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeGPRSPause(c.index), QString::fromLatin1(c.wire)) << c.index;
}

TEST(GPRSPause, DecodesToTheNearestItemInWholeMinutes) {
    const struct {
        const char* wire;
        int index;
    } cases[] = {
        {"0258", 5},  {"012C", 0},  {"0168", 1}, {"0384", 10}, // exact minutes
        {"0000", 0},  {"0001", 0},  {"0167", 0},               // up to five minutes: "5"
        {"01A4", 2},  {"01DF", 2},  {"0347", 8},               // seconds cut to whole minutes
        {"03C0", 10}, {"FFFF", 10},                            // from fifteen on: "15"
        {"XYZ", 0},   {"", 0},      {"-12C", 0},               // not hexadecimal: "5"
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeGPRSPause(QString::fromLatin1(c.wire)), c.index) << c.wire;

    // Each item's text is the minutes its value carries, and comes back.
    const QStringList items = GPRSPauseItems();
    ASSERT_EQ(items.size(), GPRSPauseCount);
    for (int i = 0; i < GPRSPauseCount; ++i) {
        EXPECT_EQ(HexValue(EncodeGPRSPause(i)), items[i].toInt() * 60) << i;
        EXPECT_EQ(DecodeGPRSPause(EncodeGPRSPause(i)), i);
    }
}

TEST(GPRSOperators, PresetsByItemTextAndRecognitionAfterARead) {
    const QStringList items = GPRSOperatorItems();
    ASSERT_EQ(items.size(), GPRSOperatorCount);
    const struct {
        TGPRSOperator op;
        TOperatorPreset preset;
    } presets[] = {
        {opBeeline, {"*99#", "internet.beeline.ru", "beeline", "beeline"}},
        {opMegafon, {"*99#", "internet", "", ""}},
        {opMTS, {"*99#", "internet.mts.ru", "mts", "mts"}},
        {opTele2, {"*99#", "internet.tele2.ru", "", ""}},
    };
    for (const auto& p : presets) {
        EXPECT_EQ(OperatorPreset(items[p.op]), p.preset) << items[p.op].toStdString();
        EXPECT_TRUE(OperatorLocksSimEdits(p.op));
        // A panel set up with the preset is recognised as that operator.
        EXPECT_EQ(RecognizeOperator(p.preset.Point), p.op) << p.preset.Point.toStdString();
    }
    EXPECT_FALSE(OperatorPreset(items[opOther]).has_value());
    EXPECT_FALSE(OperatorLocksSimEdits(opOther));
    EXPECT_FALSE(OperatorLocksSimEdits(-1));

    const struct {
        const char* point;
        TGPRSOperator op;
    } reads[] = {
        {"INTERNET", opMegafon},
        {"Internet", opMegafon},
        {"internet2", opOther}, // MegaFon's name must match whole
        {"internet.megafon.ru", opOther},
        {"", opOther},
        {"mts", opMTS},
        {"wap.beeline.ru", opBeeline},
        {"TELE2.RU", opTele2},
        {"internet.mts.beeline", opMTS}, // the first test that matches wins
        {"corp.example", opOther},
    };
    for (const auto& r : reads)
        EXPECT_EQ(RecognizeOperator(QString::fromLatin1(r.point)), r.op) << r.point;
}

TEST(GPRSEdits, WhatIsDrawnRed) {
    const struct {
        const char* text;
        bool valid;
    } addresses[] = {
        {"0.0.0.0", true},   {"255.255.255.255", true}, {"127.000.000.001", true},
        {"01.2.3.4", true},  {"1.2.3", false},          {"1.2.3.256", false},
        {"1.2..3", false},   {"1.2.3.4.5", false},      {"1.2.3.4.", false},
        {"", false},         {" 1.2.3.4", false},       {"1.2.3.-1", false},
        {"1.2.3.+4", false}, {"a.b.c.d", false},        {"1.2.3.99999999999", false},
    };
    for (const auto& c : addresses)
        EXPECT_EQ(IsValidIPAddress(QString::fromLatin1(c.text)), c.valid) << c.text;

    const struct {
        const char* text;
        bool valid;
    } ports[] = {
        {"1", true},      {"65535", true}, {"3050", true}, {"00080", true}, {"0", false},
        {"65536", false}, {"", false},     {"+80", false}, {"3 0", false},  {"99999999999", false},
    };
    for (const auto& c : ports)
        EXPECT_EQ(IsValidPort(QString::fromLatin1(c.text)), c.valid) << c.text;

    EXPECT_FALSE(IsValidIdentPassword(QStringLiteral("DemoDem")));
    EXPECT_TRUE(IsValidIdentPassword(QStringLiteral("DemoDemo")));
    EXPECT_FALSE(IsValidIdentPassword(QString()));
}

TEST(GPRSEdits, KeyFilters) {
    for (const QChar c : QStringLiteral("0123456789.\b"))
        EXPECT_TRUE(IPKeyAllowed(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral("0123456789\b"))
        EXPECT_TRUE(PortKeyAllowed(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral("a:- /,Ж\x00b7\x00e9"))
        EXPECT_FALSE(IPKeyAllowed(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral(".a:- Ж\x00e9"))
        EXPECT_FALSE(PortKeyAllowed(c)) << int(c.unicode());
}

TEST(GPRSValues, DefaultsPassTheirOwnChecks) {
    const TGPRSValues d = GPRSDefaults();
    EXPECT_EQ(d.PauseIndex, 0);
    EXPECT_EQ(EncodeGPRSPause(d.PauseIndex), QStringLiteral("012C"));
    EXPECT_EQ(d.Password, QStringLiteral("DemoDemo"));
    EXPECT_TRUE(IsValidIdentPassword(d.Password));
    for (const QString& ip : {d.IP1, d.IP2}) {
        EXPECT_TRUE(IsValidIPAddress(ip));
        EXPECT_EQ(ip.size(), IPAddressMaxLength);
    }
    EXPECT_EQ(d.Port1, QStringLiteral("3050"));
    EXPECT_EQ(d.Port2, QStringLiteral("3050"));
    EXPECT_EQ(d.Operator, opMTS);
    EXPECT_EQ((TOperatorPreset{d.Phone, d.Point, d.UserName, d.UserPWD}),
              OperatorPreset(GPRSOperatorItems()[opMTS]));
}

TEST(GPRSValues, ReserveServerTakesTheMainOneWhereEmpty) {
    const struct {
        const char *ip2, *port2, *filledIp2, *filledPort2;
    } cases[] = {
        {"", "", "10.0.0.1", "3050"},
        {"10.0.0.2", "", "10.0.0.2", "3050"},
        {"", "4000", "10.0.0.1", "4000"},
        {"10.0.0.2", "4000", "10.0.0.2", "4000"},
    };
    for (const auto& c : cases) {
        TGPRSValues v;
        v.IP1 = QStringLiteral("10.0.0.1");
        v.Port1 = QStringLiteral("3050");
        v.IP2 = QString::fromLatin1(c.ip2);
        v.Port2 = QString::fromLatin1(c.port2);
        FillReserveServer(v);
        EXPECT_EQ(v.IP2, QString::fromLatin1(c.filledIp2));
        EXPECT_EQ(v.Port2, QString::fromLatin1(c.filledPort2));
        EXPECT_EQ(v.IP1, QStringLiteral("10.0.0.1"));
    }
}

TEST(GPRSParams, EachTextHasOneParameterAndOnlyThePauseHasACodec) {
    std::vector<QString TGPRSValues::*> texts;
    QStringList commands;
    QStringList withoutText;
    for (const TGPRSParam& p : GPRSParams()) {
        commands.append(QString::fromLatin1(p.Command));
        if (!p.Text)
            withoutText.append(QString::fromLatin1(p.Command));
        else if (std::find(texts.begin(), texts.end(), p.Text) != texts.end())
            ADD_FAILURE() << p.Command << " carries the text of another parameter";
        else
            texts.push_back(p.Text);
    }
    EXPECT_EQ(commands.removeDuplicates(), 0);
    EXPECT_EQ(withoutText, QStringList{"+timegpres"});
}

TEST(KeptValue, AnEmptyWriteAnsweredWithAValueNamesTheValueKept) {
    const struct {
        const char* sent;
        QStringList answer;
        std::optional<QString> kept;
    } cases[] = {
        {"", {"mts", "OK"}, QStringLiteral("mts")},
        {"", {"REV 07.700.125", "OK", "mts", "OK"}, QStringLiteral("mts")}, // a wake-up's answer in front
        {"", {"OK"}, std::nullopt},                                         // the panel keeps nothing
        {"", {"REV 07.700.125", "OK", "OK"}, std::nullopt},
        {"beeline", {"OK"}, std::nullopt},
        {"beeline", {"mts", "OK"}, std::nullopt}, // a real write: not this case
        {"", {"mts"}, std::nullopt},
        {"", {"ERROR"}, std::nullopt},
        {"", {}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeptValueAfterWrite(QString::fromLatin1(c.sent), c.answer), c.kept)
            << c.sent << " / " << c.answer.join('|').toStdString();

    const QString entry = KeptValueErrorName(QStringLiteral("Имя пользователя"), QStringLiteral("mts"));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("Имя пользователя"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("«mts»"))) << entry.toStdString();
}

} // namespace
