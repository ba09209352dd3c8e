// The Alarm buttons page in the main window, over a pty against the emulated
// panel: the exact lines on the wire, what the panel stores, and how failed
// parameters reach the error list window.
#include "main_window_fixture.h"
#include "pages/AlarmButtonsFrameUnit.h"

#include <QSpinBox>

namespace {

const QStringList ReadCommands = {"+X", "+n00", "+n02", "+presstime"};
const QString Button1Error = QStringLiteral("Настройки реакции тревожной кнопки 1");
const QString Button2Error = QStringLiteral("Настройки реакции тревожной кнопки 2");
const QString HoldTimeError = QStringLiteral("Время удержания тревожной кнопки");

class AlarmButtonsWindow : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        w = makeWindow();
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        // The page chosen in the list, as the user does.
        const auto& frames = w->Frames();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i]->Tag() == ptAlarmButtons) {
                page = qobject_cast<TAlarmButtonsFrame*>(frames[i]);
                child<QListWidget>(w.get(), "PageList")->setCurrentRow(int(i));
                w->PageListClick();
            }
        }
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(w->CurrentFrame(), page);
        panel->clearRecords();
    }

    QCheckBox* enable(int n) { return child<QCheckBox>(page, QString("EnableCheck%1").arg(n).toLatin1()); }
    QComboBox* alarmType(int n) {
        return child<QComboBox>(page, QString("AlarmTypeCombo%1").arg(n).toLatin1());
    }
    QSpinBox* section(int n) { return child<QSpinBox>(page, QString("SectionSpin%1").arg(n).toLatin1()); }
    QSpinBox* loop(int n) { return child<QSpinBox>(page, QString("LoopSpin%1").arg(n).toLatin1()); }
    QComboBox* holdTime() { return child<QComboBox>(page, "HoldTimeCombo"); }
    QCheckBox* akb() { return child<QCheckBox>(page, "AKBAlarmMessage"); }

    // Sets the panel's values as a write of the tool would.
    void panelHolds(const char* x, const char* n00, const char* n02, const char* hold) {
        ASSERT_TRUE(panel->setParameter("+X", x));
        ASSERT_TRUE(panel->setParameter("+n00", n00));
        ASSERT_TRUE(panel->setParameter("+n02", n02));
        ASSERT_TRUE(panel->setParameter("+presstime", hold));
    }

    std::unique_ptr<TMainForm> w;
    TAlarmButtonsFrame* page = nullptr;
};

TEST_F(AlarmButtonsWindow, DefaultsWrittenThenReadBack) {
    panelHolds("05", "312099999", "340801002", "0A");
    w->DefaultActionExecute();
    EXPECT_TRUE(panel->receivedLines().isEmpty()) << "defaults do not touch the panel";

    w->WriteActionExecute();
    const QStringList writes = {"+X20", "+n00110000000", "+n02110000000", "+presstime02"};
    EXPECT_EQ(panel->receivedLines(), writes);
    EXPECT_EQ(panel->receivedBytes(), (writes.join("\r\n\r\n") + "\r\n\r\n").toLatin1());
    EXPECT_TRUE(panel->rejectedLines().isEmpty());
    EXPECT_EQ(panel->parameter("+X"), "20");
    EXPECT_EQ(panel->parameter("+n00"), "110000000");
    EXPECT_EQ(panel->parameter("+n02"), "110000000");
    EXPECT_EQ(panel->parameter("+presstime"), "02");
    EXPECT_TRUE(w->ErrorListForm()->isHidden());

    panelHolds("21", "112001005", "312099999", "08");
    panel->clearRecords();
    w->ReadActionExecute();
    EXPECT_EQ(panel->receivedLines(), ReadCommands);
    EXPECT_TRUE(enable(1)->isChecked());
    EXPECT_FALSE(enable(2)->isChecked());
    EXPECT_TRUE(akb()->isChecked());
    EXPECT_EQ(alarmType(1)->currentText(), "Тревожная кнопка");
    EXPECT_EQ(section(1)->value(), 1);
    EXPECT_EQ(loop(1)->value(), 5);
    EXPECT_EQ(alarmType(2)->currentText(), "ВОССТ: Тревожная кнопка");
    EXPECT_EQ(section(2)->value(), 99);
    EXPECT_EQ(loop(2)->value(), 999);
    EXPECT_FALSE(alarmType(2)->isEnabled());
    EXPECT_EQ(holdTime()->currentText(), "4");
    EXPECT_TRUE(w->ErrorListForm()->isHidden());

    // What was read goes back unchanged.
    panel->clearRecords();
    w->WriteActionExecute();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+X21", "+n00112001005", "+n02312099999", "+presstime08"}));
    EXPECT_TRUE(panel->rejectedLines().isEmpty());
}

TEST_F(AlarmButtonsWindow, AMalformedButtonValueIsListedAndTheRestIsRead) {
    panelHolds("25", "112001005", "340801002", "04");
    w->ReadActionExecute();
    ASSERT_EQ(alarmType(2)->currentText(), "Быстрое взятие на охрану");

    ASSERT_TRUE(panel->storeParameterBytes("+n02", "31209999X"));
    ASSERT_TRUE(panel->setParameter("+presstime", "0A"));
    panel->clearRecords();
    w->ReadActionExecute();

    EXPECT_EQ(panel->receivedLines(), ReadCommands);
    TErrorListForm* errors = w->ErrorListForm();
    EXPECT_TRUE(errors->isVisible());
    EXPECT_EQ(errors->Heading(), "Не удалось прочитать следующие значения:");
    EXPECT_EQ(errors->Items(), QStringList{Button2Error});
    // Button 2 keeps what it showed; the hold time after it is still read.
    EXPECT_EQ(alarmType(2)->currentText(), "Быстрое взятие на охрану");
    EXPECT_EQ(section(2)->value(), 1);
    EXPECT_EQ(loop(2)->value(), 2);
    EXPECT_EQ(holdTime()->currentText(), "5");
}

TEST_F(AlarmButtonsWindow, ValuesNoItemStandsForGoBackAsRead) {
    // A panel's own values the lists do not have: an event the table lacks
    // and a hold time of six seconds.
    ASSERT_TRUE(panel->storeParameterBytes("+n00", "199901002"));
    ASSERT_TRUE(panel->storeParameterBytes("+presstime", "0C"));
    ASSERT_TRUE(panel->setParameter("+n02", "112003004"));
    w->ReadActionExecute();
    EXPECT_TRUE(w->ErrorListForm()->isHidden());
    EXPECT_EQ(alarmType(1)->currentIndex(), -1);
    EXPECT_EQ(alarmType(1)->placeholderText(), "Код 1999 (нет в списке)");
    EXPECT_EQ(section(1)->value(), 1);
    EXPECT_EQ(loop(1)->value(), 2);
    EXPECT_EQ(holdTime()->currentIndex(), -1);
    EXPECT_EQ(holdTime()->placeholderText(), "6");

    // Written back exactly; this panel takes neither, and says so.
    panel->clearRecords();
    w->WriteActionExecute();
    QStringList sent = panel->receivedLines();
    sent.removeDuplicates();
    EXPECT_EQ(sent, (QStringList{"+X20", "+n00199901002", "+n02112003004", "+presstime0C"}));
    QStringList refused = panel->rejectedLines();
    refused.removeDuplicates();
    EXPECT_EQ(refused, (QStringList{"+n00199901002", "+presstime0C"}));
    TErrorListForm* errors = w->ErrorListForm();
    EXPECT_TRUE(errors->isVisible());
    EXPECT_EQ(errors->Heading(), "Не удалось записать следующие значения:");
    EXPECT_EQ(errors->Items(), (QStringList{Button1Error, HoldTimeError}));
    EXPECT_EQ(panel->parameterBytes("+n00"), "199901002");
    EXPECT_EQ(panel->parameterBytes("+presstime"), "0C");

    // Once the user has chosen, the choice is written.
    alarmType(1)->setCurrentIndex(alarmType(1)->findText("Тревожная кнопка"));
    holdTime()->setCurrentIndex(2);
    panel->clearRecords();
    w->WriteActionExecute();
    EXPECT_EQ(panel->receivedLines(),
              (QStringList{"+X20", "+n00112001002", "+n02112003004", "+presstime06"}));
    EXPECT_TRUE(panel->rejectedLines().isEmpty());
    EXPECT_EQ(panel->parameter("+n00"), "112001002");
    EXPECT_EQ(panel->parameter("+presstime"), "06");
}

} // namespace
