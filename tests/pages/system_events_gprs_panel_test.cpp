// The System events and GPRS pages against the emulated panel over a pty:
// reads of the factory state, writes checked in what the panel received
// and keeps, defaults, and the failures the panel causes.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "page_fakes.h"
#include "pages/GPRSFrameUnit.h"
#include "pages/SystemEventsFrameUnit.h"
#include "panel/CommandExchange.h"
#include "test_wait.h"
#include "widget_probes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class PagesOnPanel : public ::testing::Test {
protected:
    void SetUp() override {
        panel = StartEmulatedPanel(QuickPanelSettings());
        // A refused or lost command costs three attempts; not seconds here.
        link.timings.TimeOutCapMs = 300;
        ASSERT_TRUE(link.Connect(panel->slavePath()));
        events.Init();
        gprs.Init();
        panel->clearRecords();
    }

    template <typename T> T* control(QWidget* page, const char* name) {
        return FindControl<T>(page, QLatin1String(name));
    }
    QComboBox* hours() { return control<QComboBox>(&events, "HourCombo"); }
    QComboBox* minutes() { return control<QComboBox>(&events, "MinCombo"); }
    QCheckBox* reboot() { return control<QCheckBox>(&events, "RebootEventCheckBox"); }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(&gprs, name); }
    QComboBox* operators() { return control<QComboBox>(&gprs, "OperatorsCombo"); }
    QComboBox* pause() { return control<QComboBox>(&gprs, "GPRSRepeatComboBox"); }
    void failCommand(const char* name) {
        emu::Faults f;
        f.dropEvery = 1;
        f.onlyCommand = QString::fromLatin1(name);
        panel->setFaults(f);
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TCommandExchange& exchange = link.exchange;
    LinkHost host{exchange};
    TSystemEventsFrame events{host};
    TGPRSFrame gprs{host};
};

TEST_F(PagesOnPanel, SystemEventsReadsTheFactoryStateAndWritesTheWireExamples) {
    hours()->setCurrentIndex(9);
    reboot()->setChecked(true);
    events.ReadPage();
    EXPECT_EQ(panel->receivedLines(), QStringList{"+pwlog"});
    EXPECT_EQ(hours()->currentIndex(), 0);
    EXPECT_EQ(minutes()->currentIndex(), 4);
    EXPECT_FALSE(reboot()->isChecked());

    const struct {
        int h, m;
        bool on;
        const char* wire;
    } cases[] = {
        {0, 4, false, "+pwlogFFFFFF0004FFFFFFFF"},
        {23, 59, true, "+pwlogFFFF00173BFFFFFFFF"},
        {0, 0, true, "+pwlogFFFF00FFFFFFFFFFFF"},
        {0, 30, false, "+pwlogFFFFFF001EFFFFFFFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wire);
        hours()->setCurrentIndex(c.h);
        minutes()->setCurrentIndex(c.m);
        reboot()->setChecked(c.on);
        panel->clearRecords();

        events.WritePage();
        EXPECT_EQ(panel->receivedLines(), QStringList{c.wire});
        EXPECT_EQ(panel->parameter("+pwlog"), QString::fromLatin1(c.wire).mid(6));

        hours()->setCurrentIndex(7);
        minutes()->setCurrentIndex(7);
        reboot()->setChecked(!c.on);
        events.ReadPage();
        EXPECT_EQ(hours()->currentIndex(), c.h);
        EXPECT_EQ(minutes()->currentIndex(), c.m);
        EXPECT_EQ(reboot()->isChecked(), c.on);
    }

    // The defaults are the factory state.
    events.SetDefault();
    panel->clearRecords();
    events.WritePage();
    EXPECT_EQ(panel->receivedLines(), QStringList{"+pwlogFFFFFF0004FFFFFFFF"});
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_TRUE(host.errorLists.empty());
}

TEST_F(PagesOnPanel, SystemEventsFailuresShowTheirMessageBoxes) {
    hours()->setCurrentIndex(5);
    failCommand("+pwlog");
    events.ReadPage();
    EXPECT_EQ(host.errors, QStringList{"Произошла ошибка чтения."});
    EXPECT_EQ(hours()->currentIndex(), 5);

    events.WritePage();
    EXPECT_EQ(host.errors, (QStringList{"Произошла ошибка чтения.", "Произошла ошибка записи."}));
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(panel->parameter("+pwlog"), QStringLiteral("FFFFFF0004FFFFFFFF"));
}

TEST_F(PagesOnPanel, SystemEventsPeriodTheListsCannotShowGoesBackAsRead) {
    // A test period of 32 hours, as no write could leave it.
    ASSERT_TRUE(panel->storeParameterBytes("+pwlog", "FFFFFF201EFFFFFFFF"));
    events.ReadPage();
    EXPECT_EQ(hours()->currentIndex(), -1);
    EXPECT_EQ(minutes()->currentIndex(), 30);

    // Sent exactly as read; the panel refuses it, and the page says so.
    reboot()->setChecked(true);
    panel->clearRecords();
    events.WritePage();
    EXPECT_EQ(panel->receivedLines().first(), QStringLiteral("+pwlogFFFF00201EFFFFFFFF"));
    EXPECT_EQ(host.errors, QStringList{"Произошла ошибка записи."});
    EXPECT_EQ(panel->parameterBytes("+pwlog"), QByteArray("FFFFFF201EFFFFFFFF"));

    // Once the user picks the hours, the panel takes it.
    hours()->setCurrentIndex(8);
    panel->clearRecords();
    events.WritePage();
    EXPECT_EQ(panel->receivedLines(), QStringList{"+pwlogFFFF00081EFFFFFFFF"});
    EXPECT_EQ(host.errors.size(), 1);
}

TEST_F(PagesOnPanel, GPRSReadsTheFactoryStateAsItsDefaults) {
    gprs.ReadPage();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+gphon0", "+GAPN0", "+gprsname0", "+gprspswd0", "+timegpres", "+ps", "+IPadr",
                           "+IPport", "+IP1adr", "+IP1port"}));
    EXPECT_TRUE(host.errorLists.empty());
    QStringList read;
    gprs.GetSettings(read);

    TGPRSFrame defaults(host);
    defaults.Init();
    defaults.SetDefault();
    QStringList expected;
    defaults.GetSettings(expected);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(operators()->currentIndex(), 2) << "MTS recognised from its access point";
    EXPECT_TRUE(edit("UserEdit")->isReadOnly());
}

TEST_F(PagesOnPanel, GPRSWritesPauseAndReserveServer) {
    gprs.SetDefault();
    edit("IPEdit1")->setText(QStringLiteral("10.20.30.40"));
    edit("PortEdit1")->setText(QStringLiteral("3050"));
    edit("IPEdit2")->clear();
    edit("PortEdit2")->clear();

    const struct {
        int pause;
        const char* wire;
    } cases[] = {{0, "+timegpres012C"}, {10, "+timegpres0384"}, {-1, "+timegpres012C"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wire);
        pause()->setCurrentIndex(c.pause);
        panel->clearRecords();
        gprs.WritePage();
        EXPECT_EQ(panel->receivedLines(),
                  (QStringList{"+gphon0*99#", "+GAPN0internet.mts.ru", "+gprsname0mts", "+gprspswd0mts",
                               c.wire, "+psDemoDemo", "+IPadr10.20.30.40", "+IPport3050",
                               "+IP1adr10.20.30.40", "+IP1port3050"}));
        EXPECT_EQ(panel->parameter("+timegpres"), QString::fromLatin1(c.wire).mid(10));
    }
    EXPECT_EQ(panel->parameter("+IP1adr"), QStringLiteral("10.20.30.40"));
    EXPECT_EQ(panel->parameter("+IP1port"), QStringLiteral("3050"));
    EXPECT_EQ(edit("IPEdit2")->text(), QStringLiteral("10.20.30.40"));
    EXPECT_EQ(edit("PortEdit2")->text(), QStringLiteral("3050"));
    EXPECT_TRUE(host.errorLists.empty());
}

TEST_F(PagesOnPanel, GPRSRefusedAndLostParametersAreListedByName) {
    // The panel takes only an eight-character identification password.
    gprs.SetDefault();
    edit("PasswordEdit")->setText(QStringLiteral("1234567"));
    gprs.WritePage();
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Пароль для идентификации"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(panel->parameter("+ps"), QStringLiteral("DemoDemo"));

    failCommand("+GAPN0");
    gprs.WritePage();
    gprs.ReadPage();
    ASSERT_EQ(host.errorLists.size(), 3u);
    EXPECT_EQ(host.errorLists[1].Errors, (QStringList{"Точка доствпа в GPRS", "Пароль для идентификации"}));
    EXPECT_EQ(host.errorLists[2].Errors, QStringList{"Точка доступа в GPRS"});
    EXPECT_EQ(host.errorLists[2].Mode, wmRead);
}

TEST_F(PagesOnPanel, GPRSEmptyTextsThePanelKeepsAreListedWithTheirValues) {
    // MegaFon has no user name or password: their writes go out as reads.
    gprs.SetDefault();
    operators()->setCurrentIndex(1);
    emit operators()->activated(1);
    gprs.WritePage();

    EXPECT_EQ(panel->receivedLines().mid(1, 3), (QStringList{"+GAPN0internet", "+gprsname0", "+gprspswd0"}));
    EXPECT_EQ(panel->writeCount("+gprsname0"), 0) << "the panel saw a read";
    EXPECT_EQ(panel->parameter("+gprsname0"), QStringLiteral("mts"));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(host.errorLists[0].Errors,
              (QStringList{"Имя пользователя: пустое значение не записано, в панели осталось «mts»",
                           "Пароль: пустое значение не записано, в панели осталось «mts»"}));
    EXPECT_EQ(panel->parameter("+GAPN0"), QStringLiteral("internet"));
}

TEST_F(PagesOnPanel, WhatWasReadLoadsIntoFreshPagesFromItsSettings) {
    ASSERT_TRUE(panel->setParameter("+pwlog", "FFFF00173BFFFFFFFF"));
    ASSERT_TRUE(panel->setParameter("+GAPN0", "internet"));
    ASSERT_TRUE(panel->setParameter("+timegpres", "0258"));
    ASSERT_TRUE(panel->setParameter("+IP1port", "65535"));
    events.ReadPage();
    gprs.ReadPage();
    ASSERT_TRUE(host.errors.isEmpty());
    ASSERT_TRUE(host.errorLists.empty());

    FakeHost otherHost;
    TSystemEventsFrame otherEvents(otherHost);
    TGPRSFrame otherGPRS(otherHost);
    otherEvents.Init();
    otherGPRS.Init();
    for (const auto& [page, other] : {std::pair<TPageFrame*, TPageFrame*>{&events, &otherEvents},
                                      std::pair<TPageFrame*, TPageFrame*>{&gprs, &otherGPRS}}) {
        QStringList lines;
        page->GetSettings(lines);
        other->SetSettings(lines);
        QStringList again;
        other->GetSettings(again);
        EXPECT_EQ(again, lines);
    }
    EXPECT_EQ(otherEvents.findChild<QComboBox*>("HourCombo")->currentIndex(), 23);
    EXPECT_EQ(otherGPRS.findChild<QComboBox*>("OperatorsCombo")->currentText(), QStringLiteral("Мегафон"));
    EXPECT_EQ(otherGPRS.findChild<QComboBox*>("GPRSRepeatComboBox")->currentText(), QStringLiteral("10"));
    EXPECT_TRUE(otherGPRS.findChild<QLineEdit*>("PointEdit")->isReadOnly());
    EXPECT_EQ(otherGPRS.findChild<QLineEdit*>("PortEdit2")->text(), QStringLiteral("65535"));
}

} // namespace
