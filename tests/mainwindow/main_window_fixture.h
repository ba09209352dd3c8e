#pragma once

// The main window on the emulated panel over a pty, as the window's tests
// drive it: message boxes recorded (and questions answered), window state in
// a folder of its own, short link timings.
#include "emulated_panel_fixture.h"
#include "mainwindow/BusyForm.h"
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

    // The window's page of type T; a failure when it has none.
    template <class T> static T* frameOf(TMainForm& w) {
        for (TPageFrame* frame : w.Frames()) {
            if (auto* page = qobject_cast<T*>(frame))
                return page;
        }
        ADD_FAILURE() << "no page " << T::staticMetaObject.className();
        return nullptr;
    }
    // The window's page of type T chosen in the page list, as a click does.
    template <class T> static T* showFrame(TMainForm& w) {
        T* page = frameOf<T>(w);
        const auto& frames = w.Frames();
        child<QListWidget>(&w, "PageList")
            ->setCurrentRow(int(std::find(frames.begin(), frames.end(), page) - frames.begin()));
        EXPECT_EQ(w.CurrentFrame(), page);
        return page;
    }

    // In the connection dialog: `port` typed in, Connect pressed.
    static void pressConnect(TConnectForm& d, const QString& port) {
        child<QComboBox>(&d, "PortCombo")->setCurrentText(port);
        child<QPushButton>(&d, "ConnectButton")->click();
    }

    // Runs the Connect action; `inDialog` plays the user in the dialog (by
    // default: the emulator's port, the cable, Connect).
    void connectWindow(TMainForm& w, std::function<void(TConnectForm&)> inDialog = {}) {
        if (!inDialog)
            inDialog = [this](TConnectForm& d) { pressConnect(d, panel->slavePath()); };
        QTimer::singleShot(0, [inDialog] {
            auto* dialog = qobject_cast<TConnectForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inDialog(*dialog);
        });
        w.ConnectActionExecute();
    }

    // The link's timings with every time-out capped at `ms` (a silent
    // panel's three attempts then take milliseconds).
    TLinkTimings cappedTimings(uint32_t ms) const {
        TLinkTimings capped = timings;
        capped.TimeOutCapMs = ms;
        capped.LateMs = std::min(capped.LateMs, 2 * ms); // the bound follows the time-out
        return capped;
    }
    // Caps every time-out of the window's exchange.
    void capTimeOuts(TMainForm& w, uint32_t ms) { w.SetLinkTimings(cappedTimings(ms)); }

    // A new window connected to the emulated panel over the cable, its
    // time-outs capped at `capMs`.
    std::unique_ptr<TMainForm> connectedWindow(uint32_t capMs) {
        auto w = makeWindow();
        connectWindow(*w);
        EXPECT_TRUE(w->Connected());
        capTimeOuts(*w, capMs);
        return w;
    }

    void disconnectWindow(TMainForm& w) {
        w.DisconnectActionExecute();
        ASSERT_TRUE(waitUntil([&] { return !w.Connected() && !w.Busy(); }));
    }

    // What the user sees while the window awaits the panel's erase, sampled
    // every 10 ms by a timer of the window's own from construction on.
    struct EraseWatch {
        explicit EraseWatch(TMainForm& w) {
            sampler.setInterval(10);
            QObject::connect(&sampler, &QTimer::timeout, [this, &w] {
                if (w.State() != TOperationState::Erasing)
                    return;
                ++ticks;
                TBusyForm* busy = w.BusyForm();
                if (busy && busy->isVisible()) {
                    indicatorShown = true;
                    indicatorText = child<QLabel>(busy, "TextLabel")->text();
                    cancelOffered |= child<QPushButton>(busy, "CancelButton")->isVisible();
                }
                wakeUpDuringErase |= w.Device()->WakeUp();
            });
            sampler.start();
        }

        int ticks = 0; // samples taken while erasing
        bool indicatorShown = false;
        QString indicatorText;
        bool cancelOffered = false;
        bool wakeUpDuringErase = false; // the wake-up seen on while erasing
        QTimer sampler;
    };

    QTemporaryDir settingsDir;
    ShortLinkTimings timings;
    std::vector<std::pair<TBoxKind, QString>> boxes;
    QStringList details;
    bool answerYes = true;
    // The answer to the questions that may be cancelled (keep a copy first?).
    TAnswer threeWayAnswer = TAnswer::No;
    std::unique_ptr<emu::EmulatedPanel> panel;
};
