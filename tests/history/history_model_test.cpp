// The history list's model over the store: the captions, the cells the list
// shows, the rows of a page newest first (also when its first index is not
// stored), and the filter over the whole store.
#include "history/HistoryModel.h"
#include "record_lines.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

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

} // namespace
