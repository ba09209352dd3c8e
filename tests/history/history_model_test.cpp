// The history list's model over the store: the captions, the cells the list
// shows, the rows of a page newest first (also when its first index is not
// stored), and the filter over the whole store, at once and in the
// background (the last text typed wins; a cleared filter or a changed store
// is never overtaken by an older run).
#include "history/HistoryModel.h"
#include "record_lines.h"

#include "test_wait.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

// Every run of the pool has ended and every result it posted has been
// delivered: a stale one would be on show now.
void SettleRuns() {
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QList<int> Shown(const THistoryModel& model) {
    QList<int> out;
    for (int row = 0; row < model.rowCount(); ++row)
        out.append(model.data(model.index(row, hcIndex), THistoryModel::RecordIndexRole).toInt());
    return out;
}

// Six records whose fields are told apart by the filter cases below; their
// messages are 0050181130010050, 0050181301020135, 1234181602000002,
// 005018114603077C, 0050181401011305 and 00501831301A0094.
class HistoryModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        add({.index = 10}); // "Тревога по зоне", zone 5
        add({.index = 11, .code = "301", .partition = "02", .zone = "013"});
        add({.index = 12, .account = "1234", .code = "602", .partition = "00", .zone = "000"});
        add({.index = 13, .code = "146", .partition = "03", .zone = "077", .sendflag = 2, .phones = 0xFF});
        add({.index = 14, .code = "401", .zone = "130"});
        add({.index = 15, .qualifier = 3, .partition = "1A", .zone = "009"}); // partition 1*10 + 10 = 20
        model.SetLocale(QLocale(QLocale::Russian, QLocale::Russia));
    }

    void add(const TestRecord& r) { ASSERT_TRUE(history.Add(RecordLine(r))) << RecordLine(r).toStdString(); }

    THistory history;
    THistoryModel model{history};
};

TEST_F(HistoryModelTest, CaptionsAndTheCellsOfTheList) {
    ASSERT_EQ(model.columnCount(), 13);
    QStringList captions;
    for (int c = 0; c < model.columnCount(); ++c)
        captions << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions,
              (QStringList{"№", "Время", "Объект", "Код", "Раздел", "Шлейф", "Событие CID", "Посылка",
                           "КС CID", "Передано по всем", "Каналы передачи", "Глобальный индекс", "КС"}));

    model.SetPage(13, 1);
    ASSERT_EQ(model.rowCount(), 1);
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.data(model.index(0, c)).toString();
    EXPECT_EQ(cells, (QStringList{"13", "01.03.2024 07:12:00", "50", "146", "3", "77",
                                  "\"Тихая тревога; проникновение\"", "005018114603077C", "ДА",
                                  "ДА", // sent over GPRS online: delivered to all
                                  "GPRS", "1", "ДА"}));
    EXPECT_EQ(model.data(model.index(0, hcCode), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST_F(HistoryModelTest, PageRowsNewestFirstEvenWithoutItsFirstIndex) {
    model.SetPage(11, 3);
    EXPECT_EQ(Shown(model), (QList<int>{13, 12, 11}));
    EXPECT_EQ(model.ShownRows(), (std::vector<int>{1, 2, 3}));
    // Index 8 is not stored: the page still shows what it holds.
    model.SetPage(8, 4);
    EXPECT_EQ(Shown(model), (QList<int>{11, 10}));
    model.SetPage(-1, 20);
    EXPECT_EQ(model.rowCount(), 0);
    model.SetPage(100, 20);
    EXPECT_EQ(model.rowCount(), 0);

    // Records that come later show on the same page.
    model.SetPage(16, 5);
    EXPECT_EQ(model.rowCount(), 0);
    add({.index = 17});
    model.Refresh();
    EXPECT_EQ(Shown(model), QList<int>{17});
}

TEST_F(HistoryModelTest, FilterFindsEveryStoredRecordNewestFirst) {
    model.SetPage(10, 2);
    const struct {
        const char* text;
        QList<int> shown;
    } cases[] = {
        {"тревога", {15, 13, 10}}, // event texts, any case, the restore included
        {"ВОССТ", {15}},
        {"13", {15, 14, 11, 10}}, // code 130, zones 13 and 130, messages
        {"20", {15, 12, 11}},     // partition 1A counts 20; messages
        {"1a", {15}},             // the message, any case
        {"1234", {12}},
        {"  602 ", {12}},
        {"нет такого", {}},
    };
    for (const auto& c : cases) {
        model.SetFilter(QString::fromUtf8(c.text));
        EXPECT_TRUE(model.Filtering()) << c.text;
        EXPECT_EQ(Shown(model), c.shown) << c.text;
    }
    model.SetFilter("13");
    EXPECT_EQ(model.ShownRows(), (std::vector<int>{0, 1, 4, 5})) << "oldest first for the export";

    // An empty text gives the page back.
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.SetFilter("  ");
    EXPECT_FALSE(model.Filtering());
    EXPECT_EQ(Shown(model), (QList<int>{11, 10}));
    EXPECT_EQ(reset.count(), 1);
}

// Typed quickly, one character after another: only the last text's result
// comes on show; until then the list keeps what it showed.
TEST_F(HistoryModelTest, InTheBackgroundTheLastTextTypedIsTheOneShown) {
    for (int i = 100; i < 3100; ++i)
        add({.index = i, .code = i % 2 ? "130" : "602", .zone = i % 3 ? "013" : "200"});
    THistoryModel immediate(history);
    immediate.SetFilter("1300120"); // code 130, partition 1, zone 200
    const QList<int> expected = Shown(immediate);
    ASSERT_FALSE(expected.isEmpty());

    model.FilterInBackground(true);
    model.SetPage(10, 2);
    QSignalSpy filterShown(&model, &THistoryModel::FilterShown);
    for (const char* text : {"1", "13", "130", "13001", "1300120"}) {
        model.SetFilter(text);
        EXPECT_TRUE(model.Filtering());
        EXPECT_EQ(Shown(model), (QList<int>{11, 10})) << "nothing waits for the filter: " << text;
    }
    EXPECT_EQ(model.FilterText(), "1300120");
    EXPECT_TRUE(model.FilterPending());
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    EXPECT_EQ(Shown(model), expected);
    SettleRuns();
    EXPECT_EQ(Shown(model), expected) << "no older run came later";
    EXPECT_EQ(filterShown.count(), 1);
    EXPECT_EQ(model.ShownRows().size(), size_t(expected.size()));

    // A keystroke after the previous run has ended but before its result
    // was delivered.
    model.SetFilter("1");
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10000));
    model.SetFilter("1300120");
    SettleRuns();
    EXPECT_EQ(Shown(model), expected);

    // A narrower text replaces a result that is on show.
    model.SetFilter("тревога");
    model.SetFilter("нет такого");
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    SettleRuns();
    EXPECT_TRUE(Shown(model).isEmpty());
}

TEST_F(HistoryModelTest, InTheBackgroundAClearedFilterIsNotOvertakenByARunStillGoing) {
    model.FilterInBackground(true);
    model.SetPage(10, 2);
    QSignalSpy filterShown(&model, &THistoryModel::FilterShown);
    model.SetFilter("13");
    model.SetFilter("");
    EXPECT_FALSE(model.Filtering());
    EXPECT_FALSE(model.FilterPending());
    EXPECT_EQ(Shown(model), (QList<int>{11, 10})) << "the page, at once";
    SettleRuns();
    EXPECT_EQ(Shown(model), (QList<int>{11, 10}));
    EXPECT_EQ(filterShown.count(), 0);

    // A run that has ended, its result not yet delivered: cleared all the
    // same.
    model.SetFilter("13");
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10000));
    model.SetFilter("");
    SettleRuns();
    EXPECT_EQ(Shown(model), (QList<int>{11, 10}));
    EXPECT_EQ(filterShown.count(), 0);

    // Also after a result was on show.
    model.SetFilter("13");
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    EXPECT_EQ(Shown(model), (QList<int>{15, 14, 11, 10}));
    model.SetFilter("1234");
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10000));
    model.SetFilter(" ");
    SettleRuns();
    EXPECT_EQ(Shown(model), (QList<int>{11, 10}));
}

TEST_F(HistoryModelTest, InTheBackgroundAChangedStoreIsFilteredAgain) {
    model.FilterInBackground(true);
    model.SetFilter("602");
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    EXPECT_EQ(Shown(model), QList<int>{12});

    // Records that come while filtering join the result.
    add({.index = 30, .code = "602"});
    add({.index = 5, .code = "602"});
    model.Refresh();
    EXPECT_EQ(Shown(model), QList<int>{12}) << "until the new result";
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    EXPECT_EQ(Shown(model), (QList<int>{30, 12, 5}));
    EXPECT_EQ(model.ShownRows(), (std::vector<int>{0, 3, 7}));

    // A cleared store leaves the list at once: no row names a record that
    // is gone, also before the new result.
    history.Clear();
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.ShownRows().empty());
    add({.index = 12, .code = "401"});
    model.Refresh();
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(model.data(model.index(row, hcCode)).toString(), "602");
    ASSERT_TRUE(waitUntil([&] { return !model.FilterPending(); }));
    SettleRuns();
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
