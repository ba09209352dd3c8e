#pragma once

// The main window on the emulated panel over a pty, as the window's tests
// drive it: message boxes recorded (and questions answered), window state in
// a folder of its own, short link timings.
#include "emulated_panel_fixture.h"
#include "mainwindow/ConnectFormUnit.h"
#include "mainwindow/ErrorListFormUnit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MessageBoxes.h"
#include "pages/CommonFrameUnit.h"
#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"
#include "serial/Device.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

// Readable texts in failed expectations.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline const char* const kGuardedActions[] = {"DisconnectAction", "ReadAction",     "WriteAction",
                                              "ReadAllAction",    "WriteAllAction", "DefaultAction",
                                              "DefaultAllAction"};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings("Velmor", "Tarvik1").clear();
        SetMessagePresenter([this](QWidget*, const TMessage& m) -> TBoxAnswer {
            boxes.push_back({m.Kind, m.Text});
            details.push_back(m.Detail);
            if (m.Kind == TBoxKind::QuestionCancel)
                return threeWayAnswer;
            return answerYes;
        });
        panel = StartEmulatedPanel(QuickPanelSettings());
    }
    void TearDown() override { SetMessagePresenter({}); }

    std::unique_ptr<TMainForm> makeWindow() {
        auto w = std::make_unique<TMainForm>();
        w->SetLinkTimings(timings);
        w->show();
        return w;
    }

    template <class T> static T* child(QObject* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QAction* action(TMainForm& w, const char* name) { return child<QAction>(&w, name); }
    static QString panelText(TMainForm& w, int i) {
        return child<QLabel>(&w, QString("InfoBarPanel%1").arg(i).toLatin1())->text();
    }
    static TCommonFrame* common(TMainForm& w) { return qobject_cast<TCommonFrame*>(w.Frames().front()); }

    // Runs the Connect action; `inDialog` plays the user in the dialog (by
    // default: the emulator's port, the cable, Connect).
    void connectWindow(TMainForm& w, std::function<void(TConnectForm&)> inDialog = {}) {
        if (!inDialog) {
            inDialog = [this](TConnectForm& d) {
                child<QComboBox>(&d, "PortCombo")->setCurrentText(panel->slavePath());
                child<QPushButton>(&d, "ConnectButton")->click();
            };
        }
        QTimer::singleShot(0, [inDialog] {
            auto* dialog = qobject_cast<TConnectForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inDialog(*dialog);
        });
        w.ConnectActionExecute();
    }

    // Caps every time-out of the window's exchange (a silent panel's three
    // attempts then take milliseconds).
    void capTimeOuts(TMainForm& w, uint32_t ms) {
        TLinkTimings capped = timings;
        capped.TimeOutCapMs = ms;
        capped.QuietMs = std::min(capped.QuietMs, 2 * ms); // the bound follows the time-out
        w.SetLinkTimings(capped);
    }

    void disconnectWindow(TMainForm& w) {
        w.DisconnectActionExecute();
        ASSERT_TRUE(waitUntil([&] { return !w.Connected() && !w.Busy(); }));
    }

    QTemporaryDir settingsDir;
    ShortLinkTimings timings;
    std::vector<std::pair<TBoxKind, QString>> boxes;
    QStringList details;
    bool answerYes = true;
    // The answer to the questions that may be cancelled (keep a copy first?).
    TAnswer threeWayAnswer = TAnswer::No;
    std::unique_ptr<emu::EmulatedPanel> panel;
};
