#pragma once

// The tool's side of a cable connection to the emulated panel over a pty:
// device, exchange and a journal reader on a store, connected as the window
// connects.
#include "emulated_panel_fixture.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"
#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "serial/Device.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

class JournalLink : public ::testing::Test {
protected:
    static emu::PanelSettings Journal(int records, bool readIncludesEnd = true) {
        emu::PanelSettings s = QuickPanelSettings();
        s.journalRecords = records;
        s.readIncludesEnd = readIncludesEnd;
        s.seed = 11;
        return s;
    }

    void connectTo(const emu::PanelSettings& settings) {
        panel = StartEmulatedPanel(settings);
        ASSERT_TRUE(panel);
        TConnectSequence sequence;
        sequence.SetDevice(&device);
        QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
        QSignalSpy failed(&sequence, &TConnectSequence::Failed);
        ASSERT_TRUE(sequence.Connect(panel->slavePath(), false, QString()));
        ASSERT_TRUE(waitUntil([&] { return ok.count() + failed.count() > 0; }, 10000));
        ASSERT_EQ(ok.count(), 1);
        sequence.ResetDevice();
        exchange.Attach();
        panel->clearRecords();
    }

    // The "+read" commands the panel received, in order.
    QStringList reads() const {
        return panel->receivedLines().filter(QRegularExpression(QStringLiteral("^\\+read")));
    }

    // The stored indexes, in order.
    QList<int> stored() const {
        QList<int> out;
        for (int row = 0; row < history.Count(); ++row)
            out.append(history.RecordAt(row).index);
        return out;
    }

    static QList<int> Range(int first, int last) {
        QList<int> out;
        for (int i = first; i <= last; ++i)
            out.append(i);
        return out;
    }

    ShortLinkTimings timings;
    std::unique_ptr<emu::EmulatedPanel> panel;
    TDevice device;
    TCommandExchange exchange{&device};
    THistory history;
    TJournalReader reader{exchange, history};
};
