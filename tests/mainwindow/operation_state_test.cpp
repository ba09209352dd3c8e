// The main window's one operation state against the emulated panel: which
// actions each state enables, operations nesting only from their own steps,
// nothing started from the menu during a wait, the busy indicator, and the
// lost line in every phase of a connection.
#include "main_window_fixture.h"
#include "mainwindow/BusyForm.h"

#include <QFileDialog>
#include <QSignalSpy>

#include <map>

namespace {

const char* const kAllActions[] = {"ConnectAction", "DisconnectAction", "ReadAction",    "WriteAction",
                                   "ReadAllAction", "WriteAllAction",   "DefaultAction", "DefaultAllAction"};

struct Snapshot {
    QStringList Enabled;
    bool PagesLive;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
    *os << s.Enabled.join(',').toStdString() << (s.PagesLive ? " +pages" : " -pages");
}

class OperationState : public MainWindow {
protected:
    Snapshot snapshot(TMainForm& w) {
        Snapshot s{{}, child<QListWidget>(&w, "PageList")->isEnabled()};
        for (const char* name : kAllActions) {
            if (action(w, name)->isEnabled())
                s.Enabled << name;
        }
        EXPECT_EQ(common(w)->isEnabled(), s.PagesLive) << "the page follows the list";
        return s;
    }
    // Records the state and what it enables at every change.
    void watch(TMainForm& w) {
        QObject::connect(&w, &TMainForm::StateChanged, &w, [this, &w](TOperationState s) {
            states.push_back(s);
            seen[s] = snapshot(w);
        });
    }
    std::vector<TOperationState> states;
    std::map<TOperationState, Snapshot> seen;
};

TEST_F(OperationState, EachStateDecidesWhatIsEnabled) {
    auto w = makeWindow();
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
    const Snapshot disconnected = snapshot(*w);
    watch(*w);

    connectWindow(*w);
    ASSERT_EQ(w->State(), TOperationState::Connected);
    w->ReadActionExecute();
    w->WriteActionExecute();
    w->DefaultAllActionExecute();
    ASSERT_TRUE(w->BeginOperation(TOperationState::Erasing)); // as a page's long erase enters it
    w->EndOperation();
    disconnectWindow(*w);
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->close();
    ASSERT_TRUE(waitUntil([&] { return !w->isVisible(); }));

    using S = TOperationState;
    const std::vector<S> expected{S::Connecting, S::Connected, S::Reading,       S::Connected,
                                  S::Writing,    S::Connected, S::Defaulting,    S::Connected,
                                  S::Erasing,    S::Connected, S::Disconnecting, S::Disconnected,
                                  S::Connecting, S::Connected, S::Closing};
    EXPECT_EQ(states, expected);

    const Snapshot nothing{{}, false};
    EXPECT_EQ(disconnected, (Snapshot{{"ConnectAction"}, true}));
    EXPECT_EQ(seen[S::Disconnected], disconnected);
    EXPECT_EQ(seen[S::Connected], (Snapshot{{"DisconnectAction", "ReadAction", "WriteAction", "ReadAllAction",
                                             "WriteAllAction", "DefaultAction", "DefaultAllAction"},
                                            true}));
    for (S s :
         {S::Connecting, S::Reading, S::Writing, S::Defaulting, S::Erasing, S::Disconnecting, S::Closing})
        EXPECT_EQ(seen[s], nothing) << StateName(s).toStdString();
}

TEST_F(OperationState, OperationsNestOnlyFromTheirOwnSteps) {
    auto w = makeWindow();
    EXPECT_FALSE(w->BeginOperation(TOperationState::Reading)) << "no panel";
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    EXPECT_FALSE(w->BeginOperation(TOperationState::Connected)) << "not an operation";
    EXPECT_FALSE(w->BeginOperation(TOperationState::Closing));

    // Writing all pages, one of which erases the journal first.
    ASSERT_TRUE(w->BeginOperation(TOperationState::Writing));
    ASSERT_TRUE(w->BeginOperation(TOperationState::Erasing));
    EXPECT_EQ(w->State(), TOperationState::Erasing);
    w->EndOperation();
    EXPECT_EQ(w->State(), TOperationState::Writing);
    w->EndOperation();
    EXPECT_EQ(w->State(), TOperationState::Connected);
    w->EndOperation(); // one too many changes nothing
    EXPECT_EQ(w->State(), TOperationState::Connected);

    // Outside an operation the pages' exchange refuses without a word to
    // the panel.
    panel->clearRecords();
    QStringList lines;
    EXPECT_FALSE(w->Exchange().DeviceCommandLst("+o", lines, 2500));
    EXPECT_TRUE(panel->receivedLines().isEmpty());
}

TEST_F(OperationState, NothingStartsFromTheMenuWhileTheExchangeWaits) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    // What one Read all sends when nothing comes between.
    panel->clearRecords();
    w->ReadAllActionExecute();
    const QStringList readAll = panel->receivedLines();
    ASSERT_EQ(readAll.mid(0, 2), (QStringList{"+o", "+disp"}));
    emu::Faults f;
    f.extraDelayMs = 200;
    panel->setFaults(f);
    panel->clearRecords();
    bool checked = false;
    QTimer::singleShot(60, [&] {
        checked = true;
        EXPECT_EQ(w->State(), TOperationState::Reading);
        // The menu's own items (not the tool bar's buttons).
        auto* menu = child<QMenu>(w.get(), "MSettings");
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
            item->trigger();
        }
        EXPECT_FALSE(w->BeginOperation(TOperationState::Writing)) << "an event during the wait";
        EXPECT_FALSE(w->BeginOperation(TOperationState::Reading));
        EXPECT_EQ(w->State(), TOperationState::Reading);
    });
    w->ReadAllActionExecute();
    EXPECT_TRUE(checked);
    EXPECT_EQ(panel->receivedLines(), readAll);
    EXPECT_EQ(w->State(), TOperationState::Connected);
}

TEST_F(OperationState, BusyIndicatorCountsDuringTheWaitAndCancelEndsIt) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    emu::Faults f;
    f.extraDelayMs = 1500;
    panel->setFaults(f);

    ASSERT_TRUE(w->BeginOperation(TOperationState::Erasing));
    w->BeginBusy("Очистка истории прибора", true);
    TBusyForm* busy = w->BusyForm();
    ASSERT_NE(busy, nullptr);
    EXPECT_TRUE(busy->isVisible());
    // Nothing modal: the window's state keeps other operations out, and a
    // modal indicator would leave the window's close box dead.
    EXPECT_EQ(busy->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    busy->SetTickInterval(20);
    QSignalSpy ticks(busy, &TBusyForm::Ticked);
    QTimer::singleShot(250, [&] { child<QPushButton>(busy, "CancelButton")->click(); });
    QElapsedTimer t;
    t.start();
    QStringList lines;
    EXPECT_FALSE(w->Exchange().DeviceCommandLst("+o", lines, 5000));
    EXPECT_LT(t.elapsed(), 1200) << "Cancel ended the wait";
    EXPECT_GE(ticks.count(), 5) << "the indicator kept counting while the exchange waited";
    EXPECT_TRUE(w->BusyCancelled());
    EXPECT_TRUE(busy->ElapsedText().startsWith("Прошло")) << busy->ElapsedText().toStdString();
    w->EndBusy();
    EXPECT_FALSE(busy->isVisible());
    w->EndOperation();
    EXPECT_EQ(w->State(), TOperationState::Connected);

    // The next indicator starts afresh.
    ASSERT_TRUE(w->BeginOperation(TOperationState::ReadingJournal));
    w->BeginBusy("Чтение истории", false);
    EXPECT_FALSE(w->BusyCancelled());
    EXPECT_FALSE(child<QPushButton>(busy, "CancelButton")->isVisible());
    w->EndBusy();
    w->EndOperation();
}

TEST_F(OperationState, LineLostDuringAReadEndsDisconnected) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    watch(*w);
    emu::Faults f;
    f.extraDelayMs = 500;
    panel->setFaults(f);
    QTimer::singleShot(50, [&] { panel->stop(); });
    w->ReadAllActionExecute();
    ASSERT_TRUE(waitUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(states, (std::vector<TOperationState>{TOperationState::Reading, TOperationState::Disconnected}))
        << "the read's end does not bring the connected state back";
    EXPECT_EQ(seen[TOperationState::Disconnected], (Snapshot{{"ConnectAction"}, true}));
    EXPECT_FALSE(w->Device()->ComActive());
}

TEST_F(OperationState, LineLostBetweenTheConnectionAndTheConnectedState) {
    auto w = makeWindow();
    watch(*w);
    connectWindow(*w, [this, &w](TConnectForm& d) {
        // The loss is reported in the moment the sequence succeeds, before
        // the window has taken the connection.
        QObject::connect(&d.Sequence(), &TConnectSequence::Succeeded, &d, [this, &w] {
            panel->stop();
            TDevice* device = w->Device();
            if (device->OnLineLost)
                device->OnLineLost(device);
        });
        pressConnect(d, panel->slavePath());
    });
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
    EXPECT_EQ(states,
              (std::vector<TOperationState>{TOperationState::Connecting, TOperationState::Disconnected}));
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_FALSE(w->Device()->WakeUp());
    EXPECT_EQ(panelText(*w, 0), "");
    EXPECT_EQ(panelText(*w, 2), "");
    ASSERT_TRUE(waitUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes.back().first, TBoxKind::Error);
}

TEST_F(OperationState, LineLostWhileTheDialogConnects) {
    emu::Faults f;
    f.dropEvery = 1; // the panel stays silent: the sequence keeps resending
    panel->setFaults(f);
    auto w = makeWindow();
    bool checked = false;
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, panel->slavePath());
        QTimer::singleShot(50, &d, [&] { panel->stop(); });
        // The loss ends the attempt at once, not after the resends.
        QTimer::singleShot(600, &d, [&] {
            checked = true;
            EXPECT_FALSE(boxes.empty()) << "the loss is reported";
            EXPECT_FALSE(w->Device()->ComActive());
            EXPECT_TRUE(child<QPushButton>(&d, "ConnectButton")->isEnabled()) << "ready for another try";
            d.reject();
        });
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
    EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());
}

TEST_F(OperationState, AskingAndTellingGoThroughTheMessageBoxes) {
    auto w = makeWindow();
    answerYes = false;
    EXPECT_FALSE(w->Confirm("При записи история прибора будет очищена, продолжать?"));
    answerYes = true;
    EXPECT_TRUE(w->Confirm("Вы действительно хотите удалить историю прибора?"));
    w->ShowError("Произошла ошибка чтения.");
    w->ShowMessage("В данный момент чтение уровня сигнала GSM невозможно");
    const std::vector<std::pair<TBoxKind, QString>> expected{
        {TBoxKind::Question, "При записи история прибора будет очищена, продолжать?"},
        {TBoxKind::Question, "Вы действительно хотите удалить историю прибора?"},
        {TBoxKind::Error, "Произошла ошибка чтения."},
        {TBoxKind::Plain, "В данный момент чтение уровня сигнала GSM невозможно"},
    };
    EXPECT_EQ(boxes, expected);
}

TEST_F(OperationState, FileChoiceUsesTheStandardDialog) {
    auto w = makeWindow();
    QTemporaryDir dir;
    const QString target = dir.filePath("panel.ini");
    bool sawDialog = false;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        sawDialog = true;
        EXPECT_EQ(dialog->windowTitle(), "Сохранить настройки");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->defaultSuffix(), "ini");
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"ini файлы (*.ini)", "все файлы (*.*)"}));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "Tarvik1.ini");
        name->setText(target);
        static_cast<QDialog*>(dialog)->accept();
    });
    TFileChoice choice;
    choice.Save = true;
    choice.Caption = "Сохранить настройки";
    choice.Filter = "ini файлы (*.ini);;все файлы (*.*)";
    choice.DefaultName = "Tarvik1.ini";
    choice.DefaultSuffix = "ini";
    EXPECT_EQ(w->ChooseFile(choice), target);
    EXPECT_TRUE(sawDialog);
}

} // namespace
