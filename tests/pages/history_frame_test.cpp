// The History page against the emulated panel over a pty, through a
// recording page host: the newest page on top with both kinds of panel,
// paging that reads only what is missing, records per page, the filter, the
// export buttons writing real files, paging without a panel, the erase, the
// whole journal with a cancel, and the failures that reach the error list.
#include "connected_link.h"
#include "emulated_panel_fixture.h"
#include "history/HistoryModel.h"
#include "history/JournalPages.h"
#include "page_fakes.h"
#include "pages/HistoryFrameUnit.h"
#include "record_indexes.h"
#include "sheet_reader.h"
#include "test_wait.h"
#include "url_catcher.h"
#include "widget_probes.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QList<int> Range(int first, int last) {
    QList<int> out;
    for (int i = first; i <= last; ++i)
        out.append(i);
    return out;
}

class HistoryPageOnPanel : public ::testing::Test {
protected:
    static emu::PanelSettings Journal(int records, bool readIncludesEnd = true) {
        emu::PanelSettings s = QuickPanelSettings();
        s.journalRecords = records;
        s.readIncludesEnd = readIncludesEnd;
        s.delays.journalEraseMs = 100;
        return s;
    }

    void start(const emu::PanelSettings& settings) {
        panel = StartEmulatedPanel(settings);
        ASSERT_TRUE(panel);
        ASSERT_TRUE(link.Connect(panel->slavePath()));
        page = std::make_unique<THistoryFrame>(host);
        page->Init();
        panel->clearRecords();
    }

    template <typename T> T* control(const char* name) {
        return FindControl<T>(page.get(), QLatin1String(name));
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    void click(const char* name) {
        QPushButton* b = button(name);
        ASSERT_TRUE(b->isEnabled()) << name;
        b->click();
    }
    QComboBox* recordsCount() { return control<QComboBox>("RecordsCount"); }

    // The indexes in the list, top to bottom.
    QList<int> shown() {
        QAbstractItemModel* model = control<QTableView>("HistoryView")->model();
        QList<int> out;
        for (int row = 0; row < model->rowCount(); ++row)
            out.append(model->index(row, 0).data(THistoryModel::RecordIndexRole).toInt());
        return out;
    }
    QList<int> stored() const {
        QList<int> out;
        for (int row = 0; row < page->History().Count(); ++row)
            out.append(page->History().RecordAt(row).index);
        return out;
    }
    QStringList reads() const {
        return panel->receivedLines().filter(QRegularExpression(QStringLiteral("^\\+read")));
    }
    // A lost command costs three attempts and a quiet wait: not seconds
    // here.
    void capTimeOuts(uint32_t ms) {
        link.timings.TimeOutCapMs = ms;
        link.timings.LateMs = 2 * ms;
        link.exchange.SetTimings(link.timings);
    }
    void fail(const char* command, bool garbage = false) {
        emu::Faults f;
        if (garbage)
            f.garbage = true; // a line of noise in front of the answer
        else
            f.dropEvery = 1;
        f.onlyCommand = QString::fromLatin1(command);
        panel->setFaults(f);
    }

    std::unique_ptr<emu::EmulatedPanel> panel;
    TConnectedLink link;
    LinkHost host{link.exchange};
    std::unique_ptr<THistoryFrame> page;
};

// Both kinds of panel: true answers the record at the second index of
// "+read", false leaves it out.
class HistoryPaging : public HistoryPageOnPanel, public ::testing::WithParamInterface<bool> {};

TEST_P(HistoryPaging, NewestPageOnTopAndPagingReadsOnlyWhatIsMissing) {
    start(Journal(100, GetParam()));
    page->ReadPage();
    EXPECT_EQ(shown(), Down(99, 80)) << "the newest record at the top";
    EXPECT_TRUE(host.errorLists.empty());
    QAbstractItemModel* model = control<QTableView>("HistoryView")->model();
    ASSERT_EQ(model->columnCount(), 13);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "№");
    EXPECT_EQ(model->headerData(12, Qt::Horizontal).toString(), "КС");

    click("BackBtn");
    EXPECT_EQ(reads().last(), "+read003C0050");
    EXPECT_EQ(shown(), Down(79, 60));
    click("BackBtn");
    EXPECT_EQ(shown(), Down(59, 40));

    // Forward over what is stored asks the panel for nothing.
    const QStringList before = reads();
    click("ForwardBtn");
    click("ForwardBtn");
    EXPECT_EQ(shown(), Down(99, 80));
    EXPECT_EQ(reads(), before);
    EXPECT_EQ(host.began,
              (std::vector<TOperationState>{TOperationState::Reading, TOperationState::ReadingJournal,
                                            TOperationState::ReadingJournal, TOperationState::ReadingJournal,
                                            TOperationState::ReadingJournal}));
    EXPECT_TRUE(host.held.empty());
    EXPECT_TRUE(host.errorLists.empty());
}

INSTANTIATE_TEST_SUITE_P(BothPanels, HistoryPaging, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ReadIncludesEnd" : "ReadExcludesEnd"; });

TEST_F(HistoryPageOnPanel, RecordsPerPageFromTheBox) {
    start(Journal(100));
    recordsCount()->setCurrentIndex(1);
    EXPECT_EQ(page->Reader().RecordsPerPage(), 40);
    page->ReadPage();
    EXPECT_EQ(reads(), QStringList{"+read003C0064"});
    EXPECT_EQ(shown(), Down(99, 60));

    // Letters go back to "20" at once; a number that is no count when the
    // editing ends; a typed count is taken as it is typed.
    QLineEdit* edit = recordsCount()->lineEdit();
    const struct {
        const char* typed;
        bool finish; // Enter after the typing
        const char* box;
        int count;
    } cases[] = {
        {"ab", false, "20", 20}, {"0", true, "20", 20}, {"70000", true, "20", 20},
        {"35", false, "35", 35}, {"", true, "20", 20},  {"50", false, "50", 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        if (c.finish)
            QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(recordsCount()->currentText(), c.box);
        EXPECT_EQ(page->Reader().RecordsPerPage(), c.count);
    }
    EXPECT_EQ(shown(), Down(99, 60)) << "50 from record 60, 40 of them stored";

    page->SetDefault();
    EXPECT_EQ(recordsCount()->currentText(), "20");
    EXPECT_EQ(page->Reader().RecordsPerPage(), 20);
    EXPECT_EQ(shown(), Down(79, 60)) << "at once";
}

TEST_F(HistoryPageOnPanel, TheFilterShowsEveryStoredMatchNewestFirstWithPagingOff) {
    start(Journal(100));
    page->ReadPage();
    click("BackBtn");
    const QString code = QString::number(EventCode(page->History().RecordAt(0)));

    control<QLineEdit>("FilterEdit")->setText(code);
    EXPECT_FALSE(button("BackBtn")->isEnabled()) << "paging off at once";
    ASSERT_TRUE(waitUntil([&] { return !page->Model().FilterPending(); }));
    const QList<int> found = shown();
    ASSERT_FALSE(found.isEmpty());
    EXPECT_TRUE(std::is_sorted(found.rbegin(), found.rend())) << "newest first";
    EXPECT_EQ(found.last(), 60) << "past the page on show";
    int matches = 0;
    for (int row = 0; row < page->History().Count(); ++row)
        matches += RecordMatches(page->History(), page->History().RecordAt(row), code);
    EXPECT_EQ(found.size(), matches);
    EXPECT_FALSE(button("BackBtn")->isEnabled());
    EXPECT_FALSE(button("ForwardBtn")->isEnabled());
    page->BackBtnClick();
    EXPECT_EQ(shown(), found) << "no paging while filtering";

    control<QLineEdit>("FilterEdit")->clear();
    EXPECT_EQ(shown(), Down(79, 60));
    EXPECT_TRUE(button("BackBtn")->isEnabled());
    EXPECT_TRUE(button("ForwardBtn")->isEnabled());

    // Typed key by key: the list ends with the whole text's result.
    QTest::keyClicks(control<QLineEdit>("FilterEdit"), code);
    ASSERT_TRUE(waitUntil([&] { return !page->Model().FilterPending(); }));
    EXPECT_EQ(shown(), found);
}

TEST_F(HistoryPageOnPanel, ExportWritesTheFileChosenAndHandsItToTheDesktop) {
    QTemporaryDir dir;
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    start(Journal(100));

    // Nothing read yet: said, no file asked for.
    click("ExportPage");
    click("ExportAllPages");
    EXPECT_EQ(host.messages, QStringList(2, THistoryFrame::NothingToExport()));
    EXPECT_TRUE(host.fileChoices.empty());
    host.messages.clear();

    page->ReadPage();
    click("BackBtn");
    click("ForwardBtn");
    host.chosenFile = dir.filePath("page.xlsx");
    click("ExportPage");
    ASSERT_EQ(host.fileChoices.size(), 1u);
    const TFileChoice& choice = host.fileChoices[0];
    EXPECT_TRUE(choice.Save);
    EXPECT_EQ(choice.Filter, "Книга Excel — для просмотра в таблице (*.xlsx);;"
                             "CSV для программ — в таблице сообщение из цифр может стать числом (*.csv)");
    EXPECT_EQ(choice.DefaultName, "История_0050_" + QDate::currentDate().toString("yyyy-MM-dd") + ".xlsx");
    EXPECT_EQ(choice.DefaultSuffix, "xlsx");
    const Workbook book = ReadWorkbook(host.chosenFile);
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_EQ(book.text("A1"), "№");
    EXPECT_EQ(book.lastRow(), 21) << "the header and the page on show";
    EXPECT_EQ(book.text("A2"), "80") << "oldest first";
    EXPECT_EQ(book.text("A21"), "99");
    EXPECT_EQ(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(host.chosenFile)});

    host.chosenFile = dir.filePath("all.csv");
    click("ExportAllPages");
    QFile csv(host.chosenFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 41) << "the header and every record read: 60..99";
    EXPECT_TRUE(lines[1].startsWith("60;"));
    EXPECT_TRUE(lines[40].startsWith("99;"));
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_TRUE(host.errors.isEmpty());

    // Nothing on the desktop opens it: the message says where it is.
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    host.chosenFile = dir.filePath("again.xlsx");
    click("ExportPage");
    EXPECT_TRUE(QFile::exists(host.chosenFile));
    EXPECT_EQ(host.messages, QStringList{THistoryFrame::NotOpened(host.chosenFile)});

    // A file the export cannot write: an error, nothing left behind.
    host.chosenFile = dir.filePath("missing/folder.xlsx");
    click("ExportPage");
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].contains("missing")) << host.errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(host.chosenFile));
    // Cancelled in the dialog: nothing.
    host.chosenFile.clear();
    click("ExportAllPages");
    EXPECT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.errors.size(), 1);
}

TEST_F(HistoryPageOnPanel, WithoutAPanelThePagePagesThroughWhatIsStored) {
    start(Journal(100));
    page->ReadPage();
    click("BackBtn");
    const QStringList before = reads();
    const size_t operations = host.began.size();
    host.connected = false;
    page->HostStateChanged(TOperationState::Disconnected);

    EXPECT_FALSE(button("ClearBtn")->isEnabled());
    EXPECT_FALSE(button("ReadAllBtn")->isEnabled());
    click("BackBtn");
    EXPECT_EQ(shown(), Down(79, 60)) << "40..59 are not stored: the page stays";
    click("ForwardBtn");
    EXPECT_EQ(shown(), Down(99, 80));
    click("ForwardBtn");
    EXPECT_EQ(shown(), Down(99, 80));
    EXPECT_EQ(reads(), before);
    EXPECT_EQ(host.began.size(), operations);
    EXPECT_TRUE(host.errorLists.empty());

    // Asked for all the same, the panel's buttons say why not.
    page->ClearBtnClick();
    page->ReadAllBtnClick();
    EXPECT_EQ(host.messages, QStringList(2, THistoryFrame::NoPanel()));
    EXPECT_TRUE(host.questions.isEmpty());
    EXPECT_EQ(panel->receivedLines().filter("+erase"), QStringList());

    host.connected = true;
    page->HostStateChanged(TOperationState::Connected);
    EXPECT_TRUE(button("ClearBtn")->isEnabled());
    EXPECT_TRUE(button("ReadAllBtn")->isEnabled());
}

TEST_F(HistoryPageOnPanel, EraseAsksThenClearsWithTheWakeUpOffUnderTheBusyIndicator) {
    start(Journal(100));
    page->ReadPage();

    host.answerYes = false;
    click("ClearBtn");
    EXPECT_EQ(host.questions, QStringList{EraseJournalQuestion});
    EXPECT_EQ(panel->commandCount("+erase"), 0);
    EXPECT_EQ(shown().size(), 20);

    // Seen from the event loop while the panel erases.
    int ticks = 0;
    bool wakeUpSeen = false;
    QTimer sampler;
    sampler.setInterval(5);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (host.busy) {
            ++ticks;
            wakeUpSeen |= host.wakeUp;
        }
    });
    sampler.start();
    host.answerYes = true;
    click("ClearBtn");
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_EQ(panel->journalPointer(), 0u);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(page->History().Count(), 0);
    EXPECT_GT(ticks, 3);
    EXPECT_FALSE(wakeUpSeen);
    EXPECT_TRUE(host.wakeUp);
    EXPECT_EQ(host.busyTexts.last(), THistoryFrame::EraseBusyText());
    EXPECT_FALSE(host.busyCancellable.back()) << "the panel cannot stop an erase";
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(host.began.back(), TOperationState::Erasing);
    EXPECT_TRUE(host.errorLists.empty());

    // A failed erase leaves the store and the list as they were.
    panel->regenerateJournal(100);
    page->ReadPage();
    fail("+erase");
    capTimeOuts(60);
    click("ClearBtn");
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Очистка истории"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(shown(), Down(99, 80));
    EXPECT_TRUE(host.wakeUp);
}

TEST_F(HistoryPageOnPanel, WholeJournalCancelledKeepsWhatCameAndGoesOnLater) {
    start(Journal(300));
    TJournalTiming timing;
    timing.FirstChunk = timing.MaxChunk = 50;
    page->Reader().SetTiming(timing);
    const QMetaObject::Connection cancelAtHundred =
        QObject::connect(&page->Reader(), &TJournalReader::ReadProgress, [&](int done, int, qint64) {
            if (done >= 100)
                host.cancelled = true;
        });

    click("ReadAllBtn");
    EXPECT_TRUE(host.busy);
    EXPECT_EQ(host.held, std::vector<TOperationState>{TOperationState::ReadingJournal});
    EXPECT_FALSE(button("ReadAllBtn")->isEnabled()) << "one read at a time";
    ASSERT_TRUE(waitUntil([&] { return !host.busy; }, 10000));
    EXPECT_TRUE(host.held.empty());
    EXPECT_TRUE(host.errorLists.empty()) << "a cancel is no failure";
    EXPECT_EQ(host.busyTexts.last(), THistoryFrame::ReadAllBusyText());
    EXPECT_TRUE(host.busyCancellable.back());
    ASSERT_FALSE(host.busyUpdates.isEmpty());
    EXPECT_TRUE(host.busyUpdates.last().contains("Прочитано 10")) << host.busyUpdates.last().toStdString();
    const QList<int> kept = stored();
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_EQ(kept, Range(0, kept.last())) << "oldest first, nothing skipped";
    EXPECT_LT(kept.size(), 300);
    EXPECT_EQ(shown(), Down(kept.last(), kept.last() - 19)) << "the newest records that came";
    EXPECT_TRUE(button("ReadAllBtn")->isEnabled());

    QObject::disconnect(cancelAtHundred);
    host.cancelled = false;
    click("ReadAllBtn");
    ASSERT_TRUE(waitUntil([&] { return !host.busy; }, 10000));
    EXPECT_EQ(stored(), Range(0, 299));
    EXPECT_EQ(shown(), Down(299, 280)) << "the newest page on show";
    EXPECT_TRUE(host.errorLists.empty());
}

TEST_F(HistoryPageOnPanel, ReadFailuresReachTheErrorList) {
    start(Journal(100));
    capTimeOuts(60);
    const struct {
        const char* command;
        bool garbage;
        QStringList errors;
        int rows;
    } cases[] = {
        {"+alphon3", false, {"Параметр направления 4"}, 20},
        {"+point", false, {"Значение указателя истории"}, 0},
        {"+read", false, {"Записи истории"}, 0},
        {"+read", true, {JournalError::RejectedLines(1)}, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.garbage ? " garbage" : ""));
        page = std::make_unique<THistoryFrame>(host);
        host.errorLists.clear();
        fail(c.command, c.garbage);
        page->ReadPage();
        ASSERT_EQ(host.errorLists.size(), 1u);
        EXPECT_EQ(host.errorLists[0].Errors, c.errors);
        EXPECT_EQ(host.errorLists[0].Mode, wmRead);
        EXPECT_EQ(shown().size(), c.rows);
    }
}

} // namespace
