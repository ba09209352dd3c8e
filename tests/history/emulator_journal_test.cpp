// The journal read from the emulated panel over a pty through the tool's
// own exchange, merged into the store and checked against what the panel
// holds, faulty records included.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "history/HistoryUnit.h"
#include "panel/CommandExchange.h"
#include "test_wait.h"

#include <gtest/gtest.h>

namespace {

class JournalOverThePty : public ::testing::Test {
protected:
    void start(const emu::PanelSettings& settings) {
        panel = StartEmulatedPanel(settings);
        ASSERT_TRUE(panel);
        ASSERT_TRUE(link.Connect(panel->slavePath()));
    }

    static emu::PanelSettings Journal(int records, int bad) {
        emu::PanelSettings s = QuickPanelSettings();
        s.journalRecords = records;
        s.badRecords = bad;
        s.seed = 7;
        return s;
    }

    // "+read" from..to as the history page sends it; every line but the
    // final "OK" goes to the store.
    void read(int from, int to) {
        QStringList lines, errors;
        const QString command = "+read" + QStringLiteral("%1").arg(from, 4, 16, QLatin1Char('0')).toUpper() +
                                QStringLiteral("%1").arg(to, 4, 16, QLatin1Char('0')).toUpper();
        ASSERT_TRUE(exchange.ReadParamFromDevice(command, lines, errors, "Записи истории", "OK", 5000));
        ASSERT_TRUE(errors.isEmpty()) << qPrintable(command);
        ASSERT_EQ(lines.value(lines.size() - 1), "OK");
        lines.removeLast();
        EXPECT_EQ(history.AddLines(lines), 0) << qPrintable(command);
    }

    // The store against the panel's journal: every record it holds is the
    // panel's line decoded; the faulty ones, and only they, show a check
    // that fails.
    void expectStoreMatchesPanel(const QList<int>& expectedIndexes) {
        const QList<QByteArray> lines = panel->journalLines();
        const QList<int> bad = panel->badJournalIndexes();
        ASSERT_EQ(history.Count(), expectedIndexes.size());
        int wrongSums = 0, wrongDigits = 0;
        for (int row = 0; row < history.Count(); ++row) {
            const THistoryRec& rec = history.RecordAt(row);
            ASSERT_EQ(rec.index, expectedIndexes.at(row));
            const QByteArray& line = lines.at(rec.index);
            EXPECT_EQ(RawMessage(rec).toLatin1(), line.mid(4, 16));
            EXPECT_EQ(ObjectNumber(rec), 50);
            EXPECT_EQ(rec.globalindex, line.mid(61, 8).toUInt(nullptr, 16));
            EXPECT_FALSE(history.EventText(rec).isEmpty()) << line.constData();
            EXPECT_FALSE(IsNoDate(rec.datetime)) << line.constData();
            const bool faulty = bad.contains(rec.index);
            EXPECT_EQ(!rec.csisvalud || !CidSumValid(rec), faulty) << line.constData();
            EXPECT_FALSE(!rec.csisvalud && !CidSumValid(rec)) << line.constData();
            wrongSums += !rec.csisvalud;
            wrongDigits += !CidSumValid(rec);
        }
        // Both kinds of fault were read.
        EXPECT_GT(wrongSums, 0);
        EXPECT_GT(wrongDigits, 0);
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    TCommandExchange& exchange = link.exchange;
    THistory history;
};

TEST_F(JournalOverThePty, PagesReadInAnyOrderGiveThePanelsRecords) {
    start(Journal(300, 12));
    QString pointer;
    ASSERT_TRUE(exchange.DeviceCommand("+point", pointer, ExchangeTimeout::Param));
    EXPECT_EQ(pointer, "012C");
    // The newest page, then older pages going back, then a stretch in the
    // middle again: overlapping reads replace what they read twice.
    read(0x118, 0x12B);
    for (int to = 0x117; to >= 0; to -= 40)
        read(std::max(0, to - 39), to);
    read(100, 160);
    QList<int> all;
    for (int i = 0; i < 300; ++i)
        all.append(i);
    expectStoreMatchesPanel(all);
    EXPECT_EQ(history.RejectedLines(), 0);
}

TEST_F(JournalOverThePty, ARangeWithCheckValueTenSentAsA) {
    emu::PanelSettings s = Journal(120, 6);
    s.cidTenAsA = true;
    start(s);
    read(0, 119);
    QList<int> all;
    for (int i = 0; i < 120; ++i)
        all.append(i);
    expectStoreMatchesPanel(all);
    bool sawA = false;
    for (int row = 0; row < history.Count(); ++row)
        sawA = sawA || history.RecordAt(row).cid[15] == 10;
    EXPECT_TRUE(sawA);
}

} // namespace
