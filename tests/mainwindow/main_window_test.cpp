// The main window against the emulated panel over a pty: start-up state,
// connecting and disconnecting, the Common page's read, write, defaults and
// signal reading, the error list, the operation guard, closing during an
// operation, the port kept from other programs, a lost line, and the window
// state kept between runs.
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "main_window_fixture.h"
#include "pages/PageTable.h"
#include "pages/StringConsts.h"
#include "serial/nComPort.h"

#include "mainwindow/LogUtils.h"

#include <QPlainTextEdit>
#include <QStackedWidget>

#include <map>

namespace {

TEST_F(MainWindow, FirstStartAppliesBuiltInTextsAndStampsTheVersion) {
    {
        auto w = makeWindow();
        EXPECT_EQ(w->windowTitle(), "Программа настройки Tarvik-1 ver 2.0.0.16 Update: no update");
        EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());
        for (const char* name : kGuardedActions)
            EXPECT_FALSE(action(*w, name)->isEnabled()) << name;
        EXPECT_EQ(action(*w, "ReadAction")->toolTip(), "Прочитать текущую страницу");
        auto* list = child<QListWidget>(w.get(), "PageList");
        ASSERT_EQ(list->count(), int(PageTable().size()));
        EXPECT_EQ(list->item(0)->text(), "Общие настройки");
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(list->item(i)->text(), PageName(PageTable()[std::size_t(i)].Tag));
        EXPECT_EQ(w->CurrentFrame(), w->Frames().front());
        EXPECT_EQ(QSettings("Velmor", "Tarvik1").value("version").toString(), "2.0.0.16");
        w->close();
    }
    // The second start takes the texts from the stored state.
    QSettings("Velmor", "Tarvik1").setValue("MainForm/ReadAction_Hint", "Прочитать эту страницу");
    auto w = makeWindow();
    EXPECT_EQ(action(*w, "ReadAction")->toolTip(), "Прочитать эту страницу");
    EXPECT_TRUE(QSettings("Velmor", "Tarvik1").contains("MainForm/MainForm_Width"));
}

TEST_F(MainWindow, ConnectAndDisconnectOverTheCable) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected()) << (boxes.empty() ? "" : boxes[0].second.toStdString());
    EXPECT_EQ(panelText(*w, 0), panel->slavePath());
    EXPECT_EQ(panelText(*w, 2), "REV 07.700.125");
    EXPECT_EQ(panelText(*w, 3), "M45PE16");
    EXPECT_EQ(w->DeviceRelease(), 125) << "the release the pages are given";
    EXPECT_FALSE(action(*w, "ConnectAction")->isEnabled());
    for (const char* name : kGuardedActions)
        EXPECT_TRUE(action(*w, name)->isEnabled()) << name;
    EXPECT_TRUE(w->Device()->WakeUp());
    EXPECT_TRUE(boxes.empty());

    panel->clearRecords();
    disconnectWindow(*w);
    EXPECT_EQ(panel->receivedBytes(), QByteArray("CABLE DISCONNECT\r\n"));
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_FALSE(w->Device()->WakeUp());
    for (int i : {0, 2, 3})
        EXPECT_EQ(panelText(*w, i), "");
    EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());
    EXPECT_FALSE(action(*w, "ReadAction")->isEnabled());
}

TEST_F(MainWindow, WithoutBuiltInFirmwareOnlyTheFileUpdateIsOffered) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    EXPECT_TRUE(action(*w, "UpdateFromFileAction")->isEnabled());
    EXPECT_FALSE(action(*w, "UpdateFromExeAction")->isEnabled()) << "this program carries no firmware";
    panel->clearRecords();
    w->UpdateFromExeActionExecute();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(w->State(), TOperationState::Connected);
    EXPECT_TRUE(panel->receivedLines().isEmpty());
}

TEST_F(MainWindow, ConnectThroughTheModemAndHangUp) {
    panel = StartEmulatedPanel(QuickPanelSettings(emu::LinkMode::Modem));
    auto w = makeWindow();
    connectWindow(*w, [this](TConnectForm& d) {
        child<QComboBox>(&d, "PortCombo")->setCurrentText(panel->slavePath());
        child<QRadioButton>(&d, "GSMRadio")->setChecked(true);
        child<QComboBox>(&d, "PhoneCombo")->setCurrentText("89001234567");
        child<QPushButton>(&d, "ConnectButton")->click();
    });
    ASSERT_TRUE(w->Connected());
    EXPECT_TRUE(w->Modem());
    EXPECT_TRUE(panel->callConnected());
    panel->clearRecords();
    disconnectWindow(*w);
    EXPECT_EQ(panel->receivedBytes(), QByteArray("+++ATH\r\n"));
}

TEST_F(MainWindow, IncompatibleFirmwareIsRefusedAndDisconnected) {
    panel->setVersionLine("REV 07.650.001");
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(waitUntil([&] { return !w->Connected() && !w->Busy(); }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Error, QString("Несовместимая оболочка")));
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());
    EXPECT_EQ(panelText(*w, 2), "");
}

TEST_F(MainWindow, PortThatWillNotOpenAndDialogClosedWithoutConnecting) {
    auto w = makeWindow();
    connectWindow(*w, [](TConnectForm& d) {
        pressConnect(d, "/dev/tarvik-no-such-port");
        EXPECT_TRUE(child<QPushButton>(&d, "ConnectButton")->isEnabled());
        d.reject(); // the close box
    });
    EXPECT_FALSE(w->Connected());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Error, QString("Не удалось открыть порт /dev/tarvik-no-such-port")));
    EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());

    // Closing the dialog while its sequence runs leaves no port open.
    emu::Faults f;
    f.dropEvery = 1;
    panel->setFaults(f);
    connectWindow(*w, [this](TConnectForm& d) {
        pressConnect(d, panel->slavePath());
        QTimer::singleShot(50, &d, &QDialog::reject);
    });
    EXPECT_FALSE(w->Connected());
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_EQ(panel->receivedLines().count("CABLE DISCONNECT"), 0);
}

TEST_F(MainWindow, EscapeCancelsTheSequenceAndKeepsTheDialog) {
    emu::Faults f;
    f.dropEvery = 1; // the panel stays silent: the sequence keeps resending
    panel->setFaults(f);
    auto w = makeWindow();
    bool checked = false;
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, panel->slavePath());
        EXPECT_FALSE(child<QPushButton>(&d, "ConnectButton")->isEnabled());
        QTimer::singleShot(50, &d, [&] {
            QTest::keyClick(&d, Qt::Key_Escape);
            checked = true;
            EXPECT_TRUE(d.isVisible()) << "Esc is Cancel, not close";
            EXPECT_TRUE(child<QPushButton>(&d, "ConnectButton")->isEnabled());
            EXPECT_FALSE(w->Device()->ComActive());
            const int sent = panel->commandCount("CABLE CONNECT");
            QTimer::singleShot(700, &d, [&, sent] {
                EXPECT_EQ(panel->commandCount("CABLE CONNECT"), sent) << "nothing more after Cancel";
                d.reject();
            });
        });
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(w->Connected());
    EXPECT_TRUE(boxes.empty()) << "a cancelled attempt reports nothing";
}

TEST_F(MainWindow, CommonPageWritesReadsAndDefaults) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    TCommonFrame* page = common(*w);
    auto* obj = child<QLineEdit>(page, "ObjNumEdit");
    auto* disp = child<QCheckBox>(page, "DispCheckBox");
    auto* time = child<QComboBox>(page, "TimeCombo");

    struct WriteCase {
        QString object;
        bool dispOn;
        int time;
        QString objectWire, dispWire;
    };
    const WriteCase writes[] = {
        {"5", false, 7, "+o0005", "+dispFF"},
        {"0050", true, 0, "+o0050", "+disp00"},
        {"ABCD", true, 254, "+oABCD", "+dispFE"},
    };
    for (const WriteCase& c : writes) {
        obj->setText(c.object);
        disp->setChecked(c.dispOn);
        time->setCurrentIndex(c.time);
        panel->clearRecords();
        w->WriteActionExecute();
        EXPECT_EQ(panel->receivedLines(), (QStringList{c.objectWire, c.dispWire}));
        EXPECT_EQ(panel->receivedBytes(), (c.objectWire + "\r\n\r\n" + c.dispWire + "\r\n\r\n").toLatin1());
        EXPECT_EQ(obj->text(), c.objectWire.mid(2)) << "the zero-filled number stays in the edit";
    }
    EXPECT_EQ(panel->parameter("+o"), "ABCD");
    EXPECT_EQ(panel->parameter("+disp"), "FE");
    EXPECT_TRUE(w->ErrorListForm()->isHidden());

    struct ReadCase {
        QString object, dispValue;
        bool checked;
        int time;
    };
    const ReadCase reads[] = {{"0077", "FF", false, 0}, {"1234", "0A", true, 10}, {"0001", "00", true, 0}};
    for (const ReadCase& c : reads) {
        ASSERT_TRUE(panel->setParameter("+o", c.object));
        ASSERT_TRUE(panel->setParameter("+disp", c.dispValue));
        w->ReadActionExecute();
        EXPECT_EQ(obj->text(), c.object);
        EXPECT_EQ(disp->isChecked(), c.checked) << c.dispValue.toStdString();
        EXPECT_EQ(time->currentIndex(), c.time) << c.dispValue.toStdString();
        EXPECT_EQ(time->isEnabled(), c.checked);
    }

    panel->clearRecords();
    w->DefaultActionExecute();
    EXPECT_EQ(obj->text(), "0050");
    EXPECT_FALSE(disp->isChecked());
    EXPECT_EQ(time->currentIndex(), 0);
    EXPECT_TRUE(panel->receivedLines().isEmpty()) << "defaults do not touch the panel";
}

TEST_F(MainWindow, SignalReading) {
    auto w = makeWindow();
    TCommonFrame* page = common(*w);
    page->SpeedButton1Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Plain,
                                       QString("В данный момент чтение уровня сигнала GSM невозможно")));

    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    struct Case {
        int signal, errors;
        QString signalText, errorsText;
        int signalBar, errorsBar;
    };
    const Case cases[] = {
        {31, 0, "100%", "0%", 31, 0},
        {99, 99, "Неопределено", "Неопределено", 31, 0}, // bars keep their places
        {3, 7, "9%", "100%", 3, 7},
    };
    for (const Case& c : cases) {
        panel->setSignal(c.signal, c.errors);
        page->SpeedButton1Click();
        EXPECT_EQ(child<QLabel>(page, "SignalValue")->text(), c.signalText);
        EXPECT_EQ(child<QLabel>(page, "ErrorsValue")->text(), c.errorsText);
        EXPECT_EQ(child<QProgressBar>(page, "SignalProgress")->value(), c.signalBar);
        EXPECT_EQ(child<QProgressBar>(page, "ErrorsProgress")->value(), c.errorsBar);
        EXPECT_FALSE(w->CommandExchange()->Uparam());
        EXPECT_FALSE(w->Busy());
    }
    EXPECT_EQ(panel->commandCount("+U"), 3) << "each reading one exchange, complete at the second OK";
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindow, FailedParametersReachTheErrorListWithTheirHeading) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    capTimeOuts(*w, 60);
    emu::Faults f;
    f.missingOk = true;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    w->ReadActionExecute();
    TErrorListForm* errors = w->ErrorListForm();
    EXPECT_TRUE(errors->isVisible());
    EXPECT_EQ(errors->Heading(), "Не удалось прочитать следующие значения:");
    EXPECT_EQ(errors->Items(), QStringList{"Параметры диспетчерской связи"});

    f = {};
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    w->WriteActionExecute();
    EXPECT_EQ(errors->Heading(), "Не удалось записать следующие значения:");
    EXPECT_EQ(errors->Items(), QStringList{"Номер объекта"});

    // Read all against a panel that answers nothing: each page reports what
    // failed as the next one comes up (System events in a message box), and
    // the Common page is on show at the end.
    f = {};
    f.dropEvery = 1;
    panel->setFaults(f);
    std::map<int, QStringList> listedBeforePage;
    QObject::connect(child<QStackedWidget>(w.get(), "Panel4"), &QStackedWidget::currentChanged, w.get(),
                     [&](int page) { listedBeforePage[page] = errors->Items(); });
    boxes.clear();
    w->ReadAllActionExecute();
    EXPECT_EQ(listedBeforePage[ptSystemEvents],
              (QStringList{"Номер объекта", "Параметры диспетчерской связи"}));
    EXPECT_EQ(listedBeforePage[ptGPRS], listedBeforePage[ptSystemEvents]);
    // The list after the GPRS page: when the next page comes up, or at the
    // end when the Common page is shown again.
    const QStringList afterGPRS =
        listedBeforePage.count(ptGPRS + 1) ? listedBeforePage[ptGPRS + 1] : listedBeforePage[ptCommon];
    // The round lists page after page: the Common page's two, then the
    // GPRS page's ten under its own name.
    EXPECT_EQ(afterGPRS.size(), 12);
    EXPECT_EQ(afterGPRS.value(2), "Номер для выхода в GPRS");
    EXPECT_EQ(errors->Items(PageName(ptGPRS)).size(), 10);
    EXPECT_EQ(errors->Items(PageName(ptCommon)), (QStringList{"Номер объекта", "Параметры диспетчерской связи"}));
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Error, QString("Произошла ошибка чтения.")));
    EXPECT_EQ(w->CurrentFrame(), w->Frames().front());
}

TEST_F(MainWindow, ReadAllAndWriteAllGoThroughThePagesInTagOrder) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    panel->clearRecords();
    w->ReadAllActionExecute();
    const QStringList reads{"+o",         "+disp", "+pwlog", "+gphon0", "+GAPN0",  "+gprsname0", "+gprspswd0",
                            "+timegpres", "+ps",   "+IPadr", "+IPport", "+IP1adr", "+IP1port"};
    EXPECT_EQ(panel->receivedLines().mid(0, reads.size()), reads);

    // What was read goes back as it came, page after page.
    panel->clearRecords();
    w->WriteAllActionExecute();
    const QStringList writes{"+o0050",
                             "+dispFF",
                             "+pwlogFFFFFF0004FFFFFFFF",
                             "+gphon0*99#",
                             "+GAPN0internet.mts.ru",
                             "+gprsname0mts",
                             "+gprspswd0mts",
                             "+timegpres012C",
                             "+psDemoDemo",
                             "+IPadr127.000.000.001",
                             "+IPport3050",
                             "+IP1adr127.000.000.001",
                             "+IP1port3050"};
    EXPECT_EQ(panel->receivedLines().mid(0, writes.size()), writes);
    EXPECT_TRUE(panel->rejectedLines().isEmpty());
    // The one box: the Channels page's question before the journal is erased.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Question);
    EXPECT_FALSE(w->ErrorListForm()->isVisible());
}

TEST_F(MainWindow, NothingElseStartsWhileAnOperationRuns) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    emu::Faults f;
    f.extraDelayMs = 150;
    panel->setFaults(f);
    panel->clearRecords();
    bool checked = false;
    QTimer::singleShot(50, [&] {
        checked = true;
        EXPECT_TRUE(w->Busy());
        EXPECT_FALSE(action(*w, "ConnectAction")->isEnabled());
        for (const char* name : kGuardedActions)
            EXPECT_FALSE(action(*w, name)->isEnabled()) << name;
        EXPECT_FALSE(child<QListWidget>(w.get(), "PageList")->isEnabled());
        EXPECT_FALSE(common(*w)->isEnabled()) << "the page's own signal button is out of reach too";
        // Neither the menu nor a direct call starts a second operation.
        action(*w, "ReadAllAction")->trigger();
        w->WriteActionExecute();
        common(*w)->SpeedButton1Click();
    });
    w->ReadActionExecute();
    EXPECT_TRUE(checked);
    EXPECT_EQ(panel->receivedLines(), (QStringList{"+o", "+disp"}));
    EXPECT_FALSE(w->Busy());
    EXPECT_TRUE(action(*w, "ReadAction")->isEnabled());
    EXPECT_TRUE(common(*w)->isEnabled());
}

TEST_F(MainWindow, ClosingDuringAnOperationEndsItAndDisconnects) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    emu::Faults f;
    f.dropEvery = 1; // the read would take three long time-outs per parameter
    panel->setFaults(f);
    panel->clearRecords();
    QTimer::singleShot(50, [&] { w->close(); });
    QElapsedTimer t;
    t.start();
    w->ReadActionExecute();
    EXPECT_LT(t.elapsed(), 1500) << "the wait ended at once";
    ASSERT_TRUE(waitUntil([&] { return !w->isVisible(); }));
    EXPECT_EQ(panel->receivedLines(), (QStringList{"+o", "CABLE DISCONNECT"}));
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << "no error list for a read the user broke off";
    EXPECT_TRUE(QSettings("Velmor", "Tarvik1").contains("MainForm/MainForm_Width")) << "state saved";
}

// The port is the window's alone, for root too (tests run as root): another
// program asking for it while the window is connected is turned away before
// it sends anything, and the window's session goes on; a port another
// program holds is refused in words.
TEST_F(MainWindow, ThePortIsTheWindowsAlone) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    panel->clearRecords();
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(RunCli({"identify", "--port", panel->slavePath()}, outStream, errStream, timings),
              cePortFailed);
    errStream.flush();
    EXPECT_TRUE(err.contains("порт занят другой программой")) << err.toStdString();
    EXPECT_EQ(panel->receivedLines(), QStringList()) << "nothing of the other program reached the panel";
    w->ReadActionExecute();
    EXPECT_EQ(panel->receivedLines(), (QStringList{"+o", "+disp"}));
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    EXPECT_EQ(w->State(), TOperationState::Connected);
    disconnectWindow(*w);

    TNewInDcb dcb;
    dcb.Port = panel->slavePath();
    TnComPort other(dcb);
    ASSERT_TRUE(other.InitPort(true));
    boxes.clear();
    details.clear();
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, panel->slavePath());
        d.reject();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Error, "Не удалось открыть порт " + panel->slavePath()));
    EXPECT_EQ(details.value(0), "Порт занят другой программой: закройте её или выберите другой порт");
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
}

TEST_F(MainWindow, ClosingWhileConnectedDisconnectsFirst) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    panel->clearRecords();
    w->close();
    ASSERT_TRUE(waitUntil([&] { return !w->isVisible(); }));
    EXPECT_EQ(panel->receivedBytes(), QByteArray("CABLE DISCONNECT\r\n"));
}

TEST_F(MainWindow, LostLineDisconnectsWithAMessage) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    // The line goes away (the emulator's pty closes, as an unplugged USB
    // adapter would) while the tool waits for an answer.
    emu::Faults f;
    f.extraDelayMs = 500;
    panel->setFaults(f);
    QTimer::singleShot(50, [&] { panel->stop(); });
    QElapsedTimer t;
    t.start();
    w->ReadActionExecute();
    EXPECT_LT(t.elapsed(), 2000);
    ASSERT_TRUE(waitUntil([&] { return !boxes.empty(); }));
    EXPECT_FALSE(w->Connected());
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_EQ(boxes.back().first, TBoxKind::Error);
    EXPECT_TRUE(boxes.back().second.startsWith("Связь с панелью потеряна"))
        << boxes.back().second.toStdString();
    EXPECT_TRUE(action(*w, "ConnectAction")->isEnabled());
    EXPECT_FALSE(action(*w, "ReadAction")->isEnabled());
    EXPECT_EQ(panelText(*w, 0), "");
}

TEST_F(MainWindow, LogPaneKeepsItsLimitUnderAFlood) {
    auto w = connectedWindow(2000);
    auto* memo = child<QPlainTextEdit>(w.get(), "LogMemo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->maximumBlockCount(), TLog::kMaxLines);
    // More unsolicited lines than the pane keeps, as fast as the pty takes
    // them.
    emu::Faults f;
    f.floodLine = "RING 0050 18 1130 01 005";
    f.floodLines = TLog::kMaxLines + 2000;
    panel->setFaults(f);
    ASSERT_TRUE(waitUntil([&] { return panel->floodLinesSent() == f.floodLines; }, 30000));
    // The page's answers come after every line of the flood: once read, the
    // whole flood has passed through the pane.
    w->ReadActionExecute();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(memo->blockCount(), TLog::kMaxLines);
    const QString text = memo->toPlainText();
    EXPECT_TRUE(text.contains(">> RING 0050 18 1130 01 005\n")) << "the newest flood lines are kept";
    EXPECT_TRUE(text.contains("<< +o")) << "and the read after them";
    disconnectWindow(*w);
}

TEST_F(MainWindow, WindowStateSurvivesARestart) {
    {
        auto w = makeWindow();
        // A list width that leaves room for the widest page beside it.
        child<QSplitter>(w.get(), "Splitter2")->setSizes({200, 500});
        w->showMaximized();
        // A new phone number typed into the dialog, which is then closed.
        connectWindow(*w, [](TConnectForm& d) {
            child<QComboBox>(&d, "PhoneCombo")->setCurrentText("+79995550011");
            child<QRadioButton>(&d, "GSMRadio")->setChecked(true);
            d.reject();
        });
        w->close();
    }
    auto w = makeWindow();
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    QApplication::processEvents();
    EXPECT_EQ(child<QSplitter>(w.get(), "Splitter2")->sizes().value(0), 200);
    bool seen = false;
    connectWindow(*w, [&](TConnectForm& d) {
        seen = true;
        auto* phone = child<QComboBox>(&d, "PhoneCombo");
        EXPECT_GE(phone->findText("+79995550011"), 0) << "offered again";
        EXPECT_EQ(phone->currentText(), "+79995550011");
        EXPECT_TRUE(child<QRadioButton>(&d, "GSMRadio")->isChecked());
        d.reject();
    });
    EXPECT_TRUE(seen);
}

} // namespace
