// The Channels page in the main window against the emulated panel over a
// pty: the release handed on at every connection, the read, the write with
// its question and journal erase byte for byte, defaults, the erase wait
// with the window alive, and what fails on the line.
#include "main_window_fixture.h"
#include "mainwindow/BusyForm.h"
#include "pages/ChannelsFrameUnit.h"
#include "pages/HistoryFrameUnit.h"

#include <QTreeWidget>

namespace {

const QString EraseQuestion = QStringLiteral("При записи история прибора будет очищена, продолжать?");
const QString Csd = QStringLiteral("Цифровой канал GSM");
const QString GprsIp1 = QStringLiteral("GPRS-offline IP1");
const QString SmsMobile = QStringLiteral("SMS на мобильный телефон");
const QString NotUsed = QStringLiteral("Не используется");

class ChannelsWindow : public MainWindow {
protected:
    // The window connected to the panel with the Channels page on show.
    TChannelsFrame* openPage(TMainForm& w) {
        connectWindow(w);
        EXPECT_TRUE(w.Connected()) << (boxes.empty() ? "" : boxes[0].second.toStdString());
        return showFrame<TChannelsFrame>(w);
    }
    static QComboBox* combo(TChannelsFrame* page, int r) {
        return child<QComboBox>(page, QStringLiteral("ChannelCombo%1").arg(r).toLatin1());
    }
    static QLineEdit* phone(TChannelsFrame* page, int r) {
        return child<QLineEdit>(page, QStringLiteral("PhoneEdit%1").arg(r).toLatin1());
    }
    static QStringList captions(TChannelsFrame* page) {
        QStringList out;
        for (int r = 1; r <= 8; ++r)
            out << combo(page, r)->currentText();
        return out;
    }
    static QStringList phones(TChannelsFrame* page) {
        QStringList out;
        for (int r = 1; r <= 8; ++r)
            out << phone(page, r)->text();
        return out;
    }
    // Every list the error list window shows from now on.
    void recordErrorLists(TMainForm& w) {
        auto* box = child<QTreeWidget>(w.ErrorListForm(), "ErrorListBox");
        QObject::connect(box->model(), &QAbstractItemModel::rowsInserted, box, [this, &w] {
            errorLists.push_back(w.ErrorListForm()->Items());
            linesWhenShown.push_back(panel->receivedLines());
        });
    }
    std::vector<QStringList> errorLists;
    std::vector<QStringList> linesWhenShown;
};

TEST_F(ChannelsWindow, TheWindowHandsOnThePanelsReleaseAtEveryConnection) {
    const struct {
        const char* versionLine;
        int release;
        int items; // in every list
    } cases[] = {
        {"REV 07.700.020", 20, 6},  // no voice call
        {"REV 07.700.125", 125, 7}, // with it
        {"REV 07.700.0x9", -1, 7},  // no release to go by: the lists stay
        {"REV 07.700.032", 32, 6},
    };
    auto w = makeWindow();
    TChannelsFrame* page = frameOf<TChannelsFrame>(*w);
    ASSERT_NE(page, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.versionLine);
        panel->setVersionLine(c.versionLine);
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        EXPECT_EQ(page->State().DevRelease, c.release);
        for (int r = 1; r <= 8; ++r)
            EXPECT_EQ(combo(page, r)->count(), c.items) << r;
        disconnectWindow(*w);
    }
}

// The window builds a page when it is first shown: one first shown while
// connected knows the panel's release and the window's state as well as one
// built before the connection.
TEST_F(ChannelsWindow, APageFirstShownWhileConnectedKnowsThePanel) {
    panel->setVersionLine("REV 07.700.020");
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    TChannelsFrame* channels = nullptr;
    THistoryFrame* history = nullptr;
    auto* list = child<QListWidget>(w.get(), "PageList");
    for (int row = 1; row < list->count(); ++row) {
        list->setCurrentRow(row); // as a click does
        if (auto* page = qobject_cast<TChannelsFrame*>(w->CurrentFrame()))
            channels = page;
        if (auto* page = qobject_cast<THistoryFrame*>(w->CurrentFrame()))
            history = page;
    }
    ASSERT_TRUE(channels && history);
    EXPECT_EQ(channels->State().DevRelease, 20);
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(combo(channels, r)->count(), 6) << r;
    EXPECT_TRUE(child<QPushButton>(history, "ReadAllBtn")->isEnabled());
    disconnectWindow(*w);
    EXPECT_FALSE(child<QPushButton>(history, "ReadAllBtn")->isEnabled());
}

TEST_F(ChannelsWindow, ReadsWritesAndDefaults) {
    auto w = makeWindow();
    TChannelsFrame* page = openPage(*w);
    ASSERT_NE(page, nullptr);

    // The panel's factory entries: CSD and SMS in direction 1, GPRS in 2.
    panel->clearRecords();
    w->ReadActionExecute();
    EXPECT_EQ(panel->receivedLines(), (QStringList{"+gprsena", "+alphon0", "+alphon1", "+alphon2", "+alphon3",
                                                   "+alphon4", "+alphon5", "+alphon6", "+alphon7", "+JDIR"}));
    EXPECT_EQ(captions(page),
              (QStringList{Csd, SmsMobile, GprsIp1, NotUsed, NotUsed, NotUsed, NotUsed, NotUsed}));
    EXPECT_EQ(phones(page).mid(0, 3), (QStringList{"+79031234567", "+79031234567", ""}));
    EXPECT_TRUE(child<QRadioButton>(page, "LogicAND2")->isChecked());
    EXPECT_EQ(child<QLabel>(page, "Label3")->text(), "Направление 2");
    EXPECT_TRUE(w->ErrorListForm()->isHidden());

    // Rows 1..3 used, the rest free (row 6 with a phone), all links OR,
    // moving on to the next direction.
    phone(page, 1)->setText("111");
    phone(page, 2)->setText("+79001234567");
    phone(page, 3)->setText("333");
    phone(page, 6)->setText("666");
    combo(page, 2)->setCurrentIndex(combo(page, 2)->findText(GprsIp1));
    combo(page, 3)->setCurrentIndex(combo(page, 3)->findText(SmsMobile));
    child<QRadioButton>(page, "LogicOR2")->click();
    child<QRadioButton>(page, "MoveGroupItem1")->click();
    const unsigned journal = panel->journalPointer();
    ASSERT_GT(journal, 0u);
    panel->clearRecords();

    // No to the question: not a byte goes out, the journal stays.
    answerYes = false;
    boxes.clear();
    w->WriteActionExecute();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(panel->receivedBytes().isEmpty());
    EXPECT_EQ(panel->journalPointer(), journal);

    answerYes = true;
    boxes.clear();
    w->WriteActionExecute();

    const QStringList wire{"+erase",
                           "+gprsenaFF",
                           "+alphon0110002=111",
                           "+alphon1120003=+79001234567",
                           "+alphon2130006=333",
                           "+alphon3140000=",
                           "+alphon4150000=",
                           "+alphon5160000=666",
                           "+alphon6170000=",
                           "+alphon7180000=",
                           "+JDIR00"};
    EXPECT_EQ(panel->receivedLines(), wire);
    EXPECT_EQ(panel->receivedBytes(), (wire.join("\r\n\r\n") + "\r\n\r\n").toLatin1());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Question, EraseQuestion));
    EXPECT_EQ(panel->journalPointer(), 0u) << "the journal was erased";
    EXPECT_EQ(panel->parameter("+alphon1"), "120003=+79001234567");
    EXPECT_EQ(panel->parameter("+alphon5"), "160000=666");
    EXPECT_EQ(panel->parameter("+JDIR"), "00");
    EXPECT_TRUE(w->ErrorListForm()->isHidden());
    EXPECT_TRUE(w->Device()->WakeUp());
    EXPECT_EQ(w->State(), TOperationState::Connected);

    // Read back, the page shows what it wrote.
    const TChannelsState written = page->State();
    page->SetDefault();
    w->ReadActionExecute();
    EXPECT_EQ(page->State(), written);

    // Defaults touch nothing on the panel.
    panel->clearRecords();
    w->DefaultActionExecute();
    EXPECT_EQ(captions(page), QStringList(8, NotUsed));
    EXPECT_EQ(phones(page), QStringList(8, ""));
    EXPECT_TRUE(child<QRadioButton>(page, "MoveGroupItem0")->isChecked());
    EXPECT_TRUE(panel->receivedLines().isEmpty());
}

TEST_F(ChannelsWindow, TheWindowStaysAliveWhileThePanelErases) {
    auto w = makeWindow();
    TChannelsFrame* page = openPage(*w);
    ASSERT_NE(page, nullptr);
    emu::Delays delays = emu::Delays::quick();
    delays.journalEraseMs = 400;
    panel->setDelays(delays);

    // A timer of the window's own samples what the user sees while the
    // erase is awaited.
    EraseWatch seen(*w);
    QElapsedTimer clock;
    clock.start();

    w->WriteActionExecute();

    EXPECT_GE(clock.elapsed(), 400);
    EXPECT_GE(seen.ticks, 10) << "the window's timers ran during the wait";
    EXPECT_TRUE(seen.indicatorShown);
    EXPECT_EQ(seen.indicatorText, TChannelsFrame::EraseBusyText());
    EXPECT_FALSE(seen.cancelOffered);
    EXPECT_FALSE(seen.wakeUpDuringErase);
    EXPECT_TRUE(w->Device()->WakeUp()) << "back on after the erase";
    EXPECT_FALSE(w->BusyForm()->isVisible());
    EXPECT_EQ(panel->journalPointer(), 0u);
    EXPECT_EQ(panel->receivedLines().last(), "+JDIRFF");
    EXPECT_EQ(w->State(), TOperationState::Connected);
}

TEST_F(ChannelsWindow, AFailedEraseIsShownAtOnceAndTheWriteGoesOn) {
    auto w = makeWindow();
    TChannelsFrame* page = openPage(*w);
    ASSERT_NE(page, nullptr);
    capTimeOuts(*w, 100);
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+erase";
    panel->setFaults(f);
    // A phone the panel does not take, from a settings file.
    QStringList lines;
    page->GetSettings(lines);
    lines.replaceInStrings("CCombo1=0", "CCombo1=1");
    lines.replaceInStrings("CPhone1=", "CPhone1=12*3");
    page->SetSettings(lines);
    recordErrorLists(*w);
    panel->clearRecords();

    w->WriteActionExecute();

    ASSERT_EQ(errorLists.size(), 2u);
    EXPECT_EQ(errorLists[0], QStringList{"Очистка истории"});
    ASSERT_FALSE(linesWhenShown[0].isEmpty());
    EXPECT_EQ(linesWhenShown[0].filter("+erase"), linesWhenShown[0])
        << "shown before anything else was written";
    EXPECT_EQ(errorLists[1], QStringList{"Ошибка записи телефона #0"});
    EXPECT_EQ(w->ErrorListForm()->Heading(),
              "Не удалось записать следующие значения:");
    // The rest of the write went through.
    EXPECT_TRUE(panel->receivedLines().contains("+alphon7180000="));
    EXPECT_EQ(panel->parameter("+alphon1"), "120000=");
    EXPECT_EQ(panel->receivedLines().last(), "+JDIRFF");
    EXPECT_GT(panel->journalPointer(), 0u) << "the panel never erased";
    EXPECT_TRUE(w->Device()->WakeUp());
    EXPECT_EQ(w->State(), TOperationState::Connected);
}

TEST_F(ChannelsWindow, FailedReadsOnTheLine) {
    auto w = makeWindow();
    TChannelsFrame* page = openPage(*w);
    ASSERT_NE(page, nullptr);
    capTimeOuts(*w, 100);
    phone(page, 4)->setText("4444");
    ASSERT_TRUE(panel->storeParameterBytes("+gprsena", "ZZ"));
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+alphon3";
    panel->setFaults(f);
    recordErrorLists(*w);

    w->ReadActionExecute();

    // "ZZ" is no switch value: a failed read, listed, not a box. The one box
    // is the question about the row typed and not written (answered "Не
    // записывать").
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, "Изменения на странице «Каналы связи» не записаны в панель. Записать их?");
    ASSERT_EQ(errorLists.size(), 1u);
    EXPECT_EQ(errorLists[0], (QStringList{"Значение GPRS-online", "Параметр направления 4"}));
    EXPECT_EQ(w->ErrorListForm()->Heading(),
              "Не удалось прочитать следующие значения:");
    EXPECT_EQ(phones(page).mid(0, 4), (QStringList{"+79031234567", "+79031234567", "", "4444"}));
    EXPECT_EQ(panel->receivedLines().last(), "+JDIR") << "the read went on";
}

} // namespace
