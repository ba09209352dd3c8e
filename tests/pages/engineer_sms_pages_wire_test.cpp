// The Engineer numbers and SMS pages against the emulated panel over a pty:
// read from the factory state, written with the panel's own examples, put
// back to the defaults, and the parameters the panel refuses or does not
// answer listed by their read or write names.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "page_fakes.h"
#include "pages/EngeneerNumberFrameUnit.h"
#include "pages/SMSCodec.h"
#include "pages/SMSFrameUnit.h"
#include "panel/CommandExchange.h"
#include "test_wait.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PagesOnTheWire : public ::testing::Test {
protected:
    void SetUp() override {
        panel = StartEmulatedPanel(QuickPanelSettings());
        // A command the panel drops costs three attempts; they need not take seconds here.
        link.timings.TimeOutCapMs = 300;
        ASSERT_TRUE(link.Connect(panel->slavePath()));
        panel->clearRecords();
    }

    // One fault on the commands that start with `command`.
    void fault(const char* command, bool missingOk) {
        emu::Faults f;
        f.onlyCommand = QString::fromLatin1(command);
        if (missingOk)
            f.missingOk = true;
        else
            f.dropEvery = 1;
        panel->setFaults(f);
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TCommandExchange& exchange = link.exchange;
    LinkHost host{exchange};
};

struct EngineerControls {
    explicit EngineerControls(TEngeneerNumberFrame& page)
        : page(page), enable(page.findChild<QCheckBox*>(QStringLiteral("EnableCheck"))) {}
    QStringList numbers() const {
        QStringList out;
        for (int n = 1; n <= 5; ++n)
            out.append(page.Edit(n)->text());
        return out;
    }
    TEngeneerNumberFrame& page;
    QCheckBox* enable;
};

QStringList SMSTexts(const TSMSFrame& page) {
    QStringList out;
    for (int r = 1; r <= SMSCount; ++r)
        out.append(page.Text(r));
    return out;
}

TEST_F(PagesOnTheWire, EngineerNumbersReadWriteAndDefault) {
    TEngeneerNumberFrame page(host);
    page.Init();
    EngineerControls c(page);

    // The factory state: off, five empty numbers, each the panel's single
    // space (also when the line sprinkles LF and ">" into the answers).
    c.enable->setChecked(true);
    for (int n = 1; n <= 5; ++n)
        page.Edit(n)->setText(QStringLiteral("9"));
    emu::Faults sprinkle;
    sprinkle.sprinkle = true;
    panel->setFaults(sprinkle);
    page.ReadPage();
    panel->setFaults({});
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+enaing", "+phing0", "+phing1", "+phing2", "+phing3", "+phing4"}));
    EXPECT_FALSE(c.enable->isChecked());
    EXPECT_FALSE(page.Edit(1)->isEnabled());
    EXPECT_EQ(c.numbers(), (QStringList{" ", " ", " ", " ", " "}));
    EXPECT_TRUE(host.errorLists.empty());

    // The panel's example: on, number 1, the other four empty.
    c.enable->setChecked(true);
    page.Edit(1)->setText(QStringLiteral("+123456"));
    for (int n = 2; n <= 5; ++n)
        page.Edit(n)->clear();
    page.Edit(4)->setText(QStringLiteral("  "));
    panel->clearRecords();
    page.WritePage();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+enaing00", "+phing0+123456", "+phing1 ", "+phing2 ", "+phing3 ", "+phing4 "}));
    EXPECT_TRUE(panel->receivedBytes().startsWith("+enaing00\r\n\r\n+phing0+123456\r\n\r\n+phing1 \r\n"));
    EXPECT_EQ(panel->writeCount("+phing3"), 1) << "one space is a write, not a read";
    EXPECT_EQ(panel->parameter("+enaing"), QStringLiteral("00"));
    EXPECT_EQ(panel->parameter("+phing0"), QStringLiteral("+123456"));
    EXPECT_EQ(c.numbers(), (QStringList{"+123456", " ", " ", " ", " "}));
    EXPECT_TRUE(host.errorLists.empty());

    // A fresh page reads it back as written.
    TEngeneerNumberFrame fresh(host);
    fresh.Init();
    fresh.ReadPage();
    EngineerControls f(fresh);
    EXPECT_TRUE(f.enable->isChecked());
    EXPECT_TRUE(fresh.Edit(5)->isEnabled());
    EXPECT_EQ(f.numbers(), (QStringList{"+123456", " ", " ", " ", " "}));

    // Defaults written put the panel back to its factory state.
    page.SetDefault();
    panel->clearRecords();
    page.WritePage();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+enaingFF", "+phing0 ", "+phing1 ", "+phing2 ", "+phing3 ", "+phing4 "}));
    EXPECT_EQ(panel->parameter("+enaing"), QStringLiteral("FF"));
    EXPECT_EQ(panel->parameter("+phing0"), QStringLiteral(" "));
    EXPECT_TRUE(host.errorLists.empty());
}

TEST_F(PagesOnTheWire, EngineerNumbersThePanelRefusesOrDoesNotAnswer) {
    TEngeneerNumberFrame page(host);
    page.Init();
    ASSERT_TRUE(panel->setParameter("+phing1", QStringLiteral("555")));

    // A number longer than the panel keeps (from a settings file, past the
    // typing limit) is refused.
    page.SetSettings({"EnableEng=1", "EPhone1=1", "EPhone2=" + QString(31, QLatin1Char('7'))});
    page.WritePage();
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Инженерный номер 2"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(panel->parameter("+phing1"), QStringLiteral("555"));
    EXPECT_EQ(panel->parameter("+phing0"), QStringLiteral("1")) << "the others are written";

    // An answer without "OK" and no answer at all.
    page.Edit(3)->setText(QStringLiteral("kept"));
    fault("+phing2", true);
    page.ReadPage();
    EXPECT_EQ(page.Edit(3)->text(), QStringLiteral("kept"));
    fault("+enaing", false);
    page.ReadPage();
    ASSERT_EQ(host.errorLists.size(), 3u);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{"Инженерный номер 3"});
    EXPECT_EQ(host.errorLists[1].Mode, wmRead);
    EXPECT_EQ(host.errorLists[2].Errors, QStringList{"Включить/Выключить инж. номера"});
    EXPECT_EQ(page.Edit(2)->text(), QStringLiteral("555"));
}

TEST_F(PagesOnTheWire, SMSReadWriteAndDefault) {
    TSMSFrame page(host);
    page.Init();
    for (int r = 1; r <= SMSCount; ++r)
        page.findChild<QTableWidget*>(QStringLiteral("SMSGrid"))
            ->item(r - 1, 2)
            ->setText(QStringLiteral("x"));

    page.ReadPage();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+smstext0", "+smstext1", "+smstext2", "+smstext3", "+smstext4", "+smstext5"}));
    EXPECT_EQ(SMSTexts(page), SMSDefaultTexts()) << "the factory texts, from Windows-1251";
    EXPECT_TRUE(host.errorLists.empty());

    // Latin texts, and row 6 in Russian as it stands.
    page.TranslateButtonClick();
    page.findChild<QTableWidget*>(QStringLiteral("SMSGrid"))
        ->item(5, 2)
        ->setText(QStringLiteral("Заряд АКБ восстановлен"));
    panel->clearRecords();
    page.WritePage();
    EXPECT_EQ(panel->receivedLines().at(2), QStringLiteral("+smstext2Razrjad AKB"));
    EXPECT_EQ(panel->receivedLines().at(5), QStringLiteral("+smstext5Заряд АКБ восстановлен"));
    EXPECT_TRUE(panel->receivedBytes().contains("+smstext5\xC7\xE0\xF0\xFF\xE4 \xC0\xCA\xC1"));
    EXPECT_EQ(panel->parameter("+smstext0"), QStringLiteral("Vnimanie! Byla nazhata Trevozhnaja knopka 1"));
    EXPECT_TRUE(host.errorLists.empty());

    TSMSFrame fresh(host);
    fresh.Init();
    fresh.ReadPage();
    EXPECT_EQ(SMSTexts(fresh), SMSTexts(page));

    page.SetDefault();
    page.WritePage();
    EXPECT_EQ(panel->parameterBytes("+smstext2"), QByteArray("\xD0\xE0\xE7\xF0\xFF\xE4 \xC0\xCA\xC1"));
    fresh.ReadPage();
    EXPECT_EQ(SMSTexts(fresh), SMSDefaultTexts());
    EXPECT_TRUE(host.errorLists.empty());
}

TEST_F(PagesOnTheWire, SMSTextsThePanelRefusesKeepsOrDoesNotAnswer) {
    TSMSFrame page(host);
    page.Init();
    auto* grid = page.findChild<QTableWidget*>(QStringLiteral("SMSGrid"));
    grid->item(0, 2)->setText({});                             // empty: the write is a read
    grid->item(5, 2)->setText(QString(161, QLatin1Char('a'))); // longer than the panel keeps
    page.WritePage();
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors,
              (QStringList{"Тест СМС #1: пустое значение не записано, в панели осталось "
                           "«Внимание! Была нажата Тревожная кнопка 1»",
                           "Тест СМС #6"}));
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(panel->writeCount("+smstext0"), 0) << "the panel saw a read";
    EXPECT_EQ(panel->parameter("+smstext5"), SMSPurpose(6));
    EXPECT_EQ(panel->writeCount("+smstext1"), 1);

    fault("+smstext5", false);
    page.ReadPage();
    ASSERT_EQ(host.errorLists.size(), 2u);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{"Текст СМС #6"});
    EXPECT_EQ(host.errorLists[1].Mode, wmRead);
    EXPECT_EQ(page.Text(6), QString(161, QLatin1Char('a'))) << "a failed text keeps its row";
    EXPECT_EQ(page.Text(1), SMSPurpose(1));
}

TEST_F(PagesOnTheWire, SMSTextsThroughTheirFileFromOnePanelStateToAnother) {
    QTemporaryDir dir;
    host.chosenFile = dir.filePath(QStringLiteral("sms.txt"));
    TSMSFrame page(host);
    page.Init();
    page.ReadPage();
    page.SaveButtonClick();

    // The panel's texts change; a page loads the file and writes it back.
    for (int r = 1; r <= SMSCount; ++r)
        ASSERT_TRUE(panel->setParameter(QStringLiteral("+smstext%1").arg(r - 1), QStringLiteral("other")));
    TSMSFrame other(host);
    other.Init();
    other.SetSettings({});
    other.LoadButtonClick();
    other.WritePage();
    for (int r = 1; r <= SMSCount; ++r)
        EXPECT_EQ(panel->parameter(QStringLiteral("+smstext%1").arg(r - 1)), SMSPurpose(r)) << r;

    // A file of five lines changes nothing: what is written is what was there.
    QFile five(dir.filePath(QStringLiteral("five.txt")));
    ASSERT_TRUE(five.open(QIODevice::WriteOnly));
    five.write("1\r\n2\r\n3\r\n4\r\n5\r\n");
    five.close();
    host.chosenFile = five.fileName();
    other.LoadButtonClick();
    EXPECT_EQ(host.errors, QStringList{"Файл имеет неверный формат или поврежден"});
    panel->clearRecords();
    other.WritePage();
    EXPECT_EQ(panel->receivedLines().at(0), "+smstext0" + SMSPurpose(1));
    EXPECT_TRUE(host.errorLists.empty());
}

} // namespace
