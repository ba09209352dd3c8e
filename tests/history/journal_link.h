#pragma once

// The tool's side of a cable connection to the emulated panel over a pty:
// device, exchange and a journal reader on a store, connected as the window
// connects.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"
#include "test_wait.h"

#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
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
        ASSERT_TRUE(link.Connect(panel->slavePath()));
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

    // Caps every time-out of the exchange (a silent panel's three attempts
    // then take milliseconds).
    void capTimeOuts(uint32_t ms) {
        link.timings.TimeOutCapMs = ms;
        link.timings.LateMs = std::min(link.timings.LateMs, 2 * ms); // the bound follows the time-out
        exchange.SetTimings(link.timings);
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TDevice& device = link.device;
    TCommandExchange& exchange = link.exchange;
    THistory history;
    TJournalReader reader{exchange, history};
};
