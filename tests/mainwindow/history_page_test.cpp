// The History page in the main window against the emulated panel over a
// pty: its panel buttons following the connection, the read, the erase with
// the window alive under the busy indicator, the whole journal read with
// its progress and a Cancel from the indicator, a close in the middle of
// it (also by the close box), and the export through the standard save
// dialog.
#include "close_box.h"
#include "history/HistoryModel.h"
#include "main_window_fixture.h"
#include "mainwindow/BusyForm.h"
#include "pages/ChannelsFrameUnit.h"
#include "pages/HistoryFrameUnit.h"
#include "record_indexes.h"
#include "url_catcher.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QTableView>
#include <QUrl>

#include <map>
#include <optional>

namespace {

class HistoryWindow : public MainWindow {
protected:
    // The window with the History page on show.
    static THistoryFrame* showPage(TMainForm& w) { return showFrame<THistoryFrame>(w); }
    static QPushButton* button(THistoryFrame* page, const char* name) {
        return child<QPushButton>(page, name);
    }
    static QList<int> shown(THistoryFrame* page) {
        QAbstractItemModel* model = child<QTableView>(page, "HistoryView")->model();
        QList<int> out;
        for (int row = 0; row < model->rowCount(); ++row)
            out.append(model->index(row, 0).data(THistoryModel::RecordIndexRole).toInt());
        return out;
    }
    static QList<int> stored(THistoryFrame* page) {
        QList<int> out;
        for (int row = 0; row < page->History().Count(); ++row)
            out.append(page->History().RecordAt(row).index);
        return out;
    }
    QStringList reads() const { return panel->receivedLines().filter(QRegularExpression("^\\+read")); }
    // Small chunks, each answered a little late: a whole read takes a while.
    void slowChunks(THistoryFrame* page, int records) {
        panel->regenerateJournal(records);
        TJournalTiming timing;
        timing.FirstChunk = timing.MaxChunk = 50;
        page->Reader().SetTiming(timing);
        emu::Faults f;
        f.extraDelayMs = 40;
        f.onlyCommand = "+read";
        panel->setFaults(f);
    }
};

TEST_F(HistoryWindow, ThePanelButtonsFollowTheConnectionAndReadShowsTheNewestPage) {
    auto w = makeWindow();
    THistoryFrame* page = showPage(*w);
    ASSERT_NE(page, nullptr);
    const auto panelButtons = [&] {
        return std::make_pair(button(page, "ClearBtn")->isEnabled(), button(page, "ReadAllBtn")->isEnabled());
    };
    EXPECT_EQ(panelButtons(), std::make_pair(false, false));
    EXPECT_TRUE(button(page, "ExportPage")->isEnabled());

    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    EXPECT_EQ(panelButtons(), std::make_pair(true, true));
    panel->clearRecords();
    w->ReadActionExecute();
    EXPECT_EQ(shown(page), Down(99, 80)) << "the newest record at the top";
    EXPECT_EQ(reads(), QStringList{"+read00500064"});
    EXPECT_TRUE(w->ErrorListForm()->isHidden());

    // Disconnected: what is stored stays and can be paged through.
    disconnectWindow(*w);
    EXPECT_EQ(panelButtons(), std::make_pair(false, false));
    EXPECT_EQ(shown(page), Down(99, 80));
    panel->clearRecords();
    button(page, "BackBtn")->click();
    EXPECT_EQ(shown(page), Down(99, 80)) << "nothing older is stored";
    EXPECT_TRUE(panel->receivedLines().isEmpty());

    // The line lost while nothing runs.
    connectWindow(*w);
    EXPECT_EQ(panelButtons(), std::make_pair(true, true));
    panel->stop();
    ASSERT_TRUE(waitUntil([&] { return !w->Connected(); }));
    EXPECT_EQ(panelButtons(), std::make_pair(false, false));
}

TEST_F(HistoryWindow, EraseKeepsTheWindowAliveUnderTheBusyIndicator) {
    auto w = makeWindow();
    THistoryFrame* page = showPage(*w);
    ASSERT_NE(page, nullptr);
    connectWindow(*w);
    w->ReadActionExecute();
    emu::Delays delays = emu::Delays::quick();
    delays.journalEraseMs = 400;
    panel->setDelays(delays);

    EraseWatch seen(*w);
    boxes.clear();
    button(page, "ClearBtn")->click();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::Question, EraseJournalQuestion));
    EXPECT_GE(seen.ticks, 10) << "the window's timers ran during the wait";
    EXPECT_TRUE(seen.indicatorShown);
    EXPECT_EQ(seen.indicatorText, THistoryFrame::EraseBusyText());
    EXPECT_FALSE(seen.cancelOffered);
    EXPECT_FALSE(seen.wakeUpDuringErase);
    EXPECT_TRUE(w->Device()->WakeUp()) << "back on after the erase";
    EXPECT_FALSE(w->BusyForm()->isVisible());
    EXPECT_EQ(panel->journalPointer(), 0u);
    EXPECT_TRUE(shown(page).isEmpty());
    EXPECT_TRUE(w->ErrorListForm()->isHidden());
    EXPECT_EQ(w->State(), TOperationState::Connected);

    // A failed erase: named under the write heading, the list as it was.
    panel->regenerateJournal(100);
    w->ReadActionExecute();
    capTimeOuts(*w, 100);
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+erase";
    panel->setFaults(f);
    button(page, "ClearBtn")->click();
    EXPECT_EQ(w->ErrorListForm()->Items(), QStringList{"Очистка истории"});
    EXPECT_EQ(w->ErrorListForm()->Heading(),
              "Не удалось записать следующие значения:");
    EXPECT_EQ(shown(page), Down(99, 80));
    EXPECT_TRUE(w->Device()->WakeUp());
    EXPECT_EQ(w->State(), TOperationState::Connected);
}

TEST_F(HistoryWindow, WholeJournalCancelledFromTheIndicatorKeepsWhatCame) {
    auto w = makeWindow();
    THistoryFrame* page = showPage(*w);
    ASSERT_NE(page, nullptr);
    connectWindow(*w);
    slowChunks(page, 400);

    // The user watches the indicator and presses Cancel once 100 records
    // are in; the chunk then awaited is broken off.
    int ticks = 0;
    QString progressText;
    bool pressed = false;
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        TBusyForm* busy = w->BusyForm();
        if (w->State() != TOperationState::ReadingJournal || !busy || !busy->isVisible())
            return;
        ++ticks;
        progressText = busy->Text();
        if (!pressed && child<QProgressBar>(busy, "ProgressBar")->value() >= 100) {
            pressed = true;
            child<QPushButton>(busy, "CancelButton")->click();
        }
    });
    user.start();
    button(page, "ReadAllBtn")->click();
    ASSERT_TRUE(waitUntil([&] { return w->State() == TOperationState::Connected; }, 20000));

    EXPECT_TRUE(pressed);
    EXPECT_GE(ticks, 5) << "the window's timers ran during the read";
    EXPECT_TRUE(progressText.contains("из 400 записей")) << progressText.toStdString();
    EXPECT_FALSE(w->BusyForm()->isVisible());
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    const QList<int> kept = stored(page);
    ASSERT_GE(kept.size(), 100);
    EXPECT_LT(kept.size(), 400);
    EXPECT_EQ(kept.first(), 0);
    EXPECT_EQ(kept.last(), kept.size() - 1) << "oldest first, nothing skipped";
    EXPECT_EQ(shown(page).first(), kept.last()) << "the newest record that came on top";

    // Read again: the rest, and the newest page.
    user.stop();
    button(page, "ReadAllBtn")->click();
    ASSERT_TRUE(waitUntil([&] { return w->State() == TOperationState::Connected; }, 20000));
    EXPECT_EQ(page->History().Count(), 400);
    EXPECT_EQ(shown(page), Down(399, 380));
    EXPECT_TRUE(w->ErrorListForm()->isHidden());
}

// The records of the panel's journal as the emulated panel holds them now.
std::map<int, THistoryRec> JournalOf(const emu::EmulatedPanel& panel) {
    std::map<int, THistoryRec> records;
    for (const QByteArray& line : panel.journalLines()) {
        if (const std::optional<THistoryRec> rec = ParseRecord(QString::fromLatin1(line)))
            records[rec->index] = *rec;
    }
    return records;
}

TEST_F(HistoryWindow, ANewConnectionStartsWithAnEmptyStore) {
    auto w = makeWindow();
    THistoryFrame* page = showPage(*w);
    ASSERT_NE(page, nullptr);
    connectWindow(*w);
    w->ReadActionExecute();
    ASSERT_EQ(shown(page), Down(99, 80));
    const std::map<int, THistoryRec> first = JournalOf(*panel);
    disconnectWindow(*w);
    EXPECT_EQ(shown(page), Down(99, 80)) << "kept while no panel is connected";

    // Another panel on the same port, with a journal of its own at the same
    // indexes.
    panel->regenerateJournal(100, 0, 7);
    const std::map<int, THistoryRec> second = JournalOf(*panel);
    ASSERT_NE(first.at(90), second.at(90)) << "the two journals differ where the first was read";
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    EXPECT_TRUE(shown(page).isEmpty());
    EXPECT_EQ(page->History().Count(), 0);

    // The whole journal: every record is the second panel's, none is
    // skipped for an index the first panel's store held.
    panel->clearRecords();
    button(page, "ReadAllBtn")->click();
    ASSERT_TRUE(waitUntil([&] { return w->State() == TOperationState::Connected; }, 20000));
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    ASSERT_EQ(page->History().Count(), 100);
    for (int row = 0; row < page->History().Count(); ++row) {
        const THistoryRec& rec = page->History().RecordAt(row);
        EXPECT_TRUE(rec == second.at(rec.index)) << "record " << rec.index << " is not the second panel's";
    }
    EXPECT_EQ(shown(page), Down(99, 80));
}

TEST_F(HistoryWindow, AnEraseFromTheChannelsPageEmptiesTheList) {
    struct EraseCase {
        const char* Name;
        bool PanelErases;
        bool ListEmptied;
    };
    const EraseCase cases[] = {
        {"the panel erases", true, true},
        // Unanswered: the list stays as it was, as after the History page's
        // own erase that failed.
        {"the erase unanswered", false, false},
    };
    for (const EraseCase& c : cases) {
        SCOPED_TRACE(c.Name);
        panel->regenerateJournal(100);
        auto w = makeWindow();
        THistoryFrame* page = showPage(*w);
        ASSERT_NE(page, nullptr);
        connectWindow(*w);
        w->ReadActionExecute();
        ASSERT_EQ(shown(page), Down(99, 80));
        capTimeOuts(*w, 200);
        emu::Faults f;
        if (!c.PanelErases) {
            f.dropEvery = 1;
            f.onlyCommand = "+erase";
        }
        panel->setFaults(f);
        showFrame<TChannelsFrame>(*w);
        w->WriteActionExecute(); // asks, erases the journal, writes the entries
        panel->setFaults({});
        EXPECT_EQ(panel->journalPointer() == 0, c.PanelErases);
        EXPECT_EQ(shown(page).isEmpty(), c.ListEmptied);
        EXPECT_EQ(page->History().Count() == 0, c.ListEmptied);
        EXPECT_EQ(w->State(), TOperationState::Connected);
        w->ErrorListForm()->hide();
        disconnectWindow(*w);
        w->close();
    }
}

// Closed by the program (close()) or by the installer's click on the close
// box while the busy indicator shows: the read ends at once, the panel is
// disconnected, the window closes.
TEST_F(HistoryWindow, ClosingTheWindowDuringTheWholeJournalReadEndsItAndDisconnects) {
    for (const bool byTheCloseBox : {false, true}) {
        SCOPED_TRACE(byTheCloseBox ? "the close box" : "close()");
        auto w = makeWindow();
        CloseBox closeBox(*w);
        THistoryFrame* page = showPage(*w);
        ASSERT_NE(page, nullptr);
        connectWindow(*w);
        slowChunks(page, 400);
        panel->clearRecords();
        bool busyShown = false;
        bool dropped = false;
        QObject::connect(&page->Reader(), &TJournalReader::ReadProgress, w.get(), [&](int done) {
            if (done < 100 || busyShown)
                return;
            busyShown = w->BusyForm() && w->BusyForm()->isVisible();
            if (!byTheCloseBox)
                w->close();
            else if (!closeBox.press())
                dropped = true;
        });
        button(page, "ReadAllBtn")->click();
        ASSERT_TRUE(waitUntil([&] { return !w->isVisible() || dropped; }, 20000));
        ASSERT_FALSE(dropped) << "the close box did nothing while the busy indicator showed";
        EXPECT_TRUE(busyShown);
        EXPECT_LT(reads().size(), 8) << "the read was broken off";
        EXPECT_FALSE(panel->cableSessionOpen()) << "disconnected before closing";
        EXPECT_TRUE(w->ErrorListForm()->isHidden());
    }
}

TEST_F(HistoryWindow, ExportThroughTheSaveDialogOpensTheFile) {
    QTemporaryDir dir;
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    auto w = makeWindow();
    THistoryFrame* page = showPage(*w);
    ASSERT_NE(page, nullptr);
    connectWindow(*w);
    w->ReadActionExecute();
    disconnectWindow(*w);

    const QString target = dir.filePath("journal.csv");
    QStringList filters;
    QString offered;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        filters = dialog->nameFilters();
        offered = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(target);
        static_cast<QDialog*>(dialog)->accept();
    });
    button(page, "ExportAllPages")->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    EXPECT_EQ(filters,
              (QStringList{"Книга Excel — для просмотра в таблице (*.xlsx)",
                           "CSV для программ — в таблице сообщение из цифр может стать числом (*.csv)"}));
    EXPECT_EQ(offered, "История_0050_" + QDate::currentDate().toString("yyyy-MM-dd") + ".xlsx");
    QFile csv(target);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 21) << "the header and 20 records";
    EXPECT_EQ(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(target)});
}

} // namespace
