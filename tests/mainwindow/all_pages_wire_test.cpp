// Read all and Write all against the emulated panel: what reaches the panel
// is each page's own exchange, page after page in tag order, every page on
// show while it runs. Whatever pages the table holds.
#include "main_window_fixture.h"
#include "pages/PageFrame.h"
#include "pages/PageTable.h"

#include <QStackedWidget>

#include <algorithm>

namespace {

// The command lines the panel received since the last clear, without the
// wake-up command the device may put between them.
QStringList PageLines(emu::EmulatedPanel& panel) {
    QStringList lines = panel.receivedLines();
    lines.removeAll(QStringLiteral("+v"));
    return lines;
}

// What a window's page actions sent: the lines, and the page tag on show
// from each line on.
struct TRound {
    QStringList Lines;
    std::vector<std::pair<int, qsizetype>> Shown; // tag, index of its first line
};

class AllPagesOnTheWire : public MainWindow {
protected:
    // Runs an all-page action, noting each page as it comes on show.
    TRound runAll(TMainForm& w, void (TMainForm::*action)()) {
        TRound round;
        panel->clearRecords();
        auto* stack = child<QStackedWidget>(&w, "Panel4");
        const QMetaObject::Connection watch =
            QObject::connect(stack, &QStackedWidget::currentChanged, &w, [&](int index) {
                auto* page = qobject_cast<TPageFrame*>(stack->widget(index));
                round.Shown.emplace_back(page ? page->Tag() : -1, PageLines(*panel).size());
            });
        (w.*action)();
        QObject::disconnect(watch);
        round.Lines = PageLines(*panel);
        return round;
    }
    // Runs a single-page action on each page in turn: what each one sends.
    std::vector<QStringList> runEach(TMainForm& w, void (TMainForm::*action)()) {
        std::vector<QStringList> each;
        auto* list = child<QListWidget>(&w, "PageList");
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentRow(i);
            EXPECT_EQ(w.CurrentFrame(), w.Frames()[size_t(i)]);
            panel->clearRecords();
            (w.*action)();
            each.push_back(PageLines(*panel));
        }
        return each;
    }
};

TEST_F(AllPagesOnTheWire, ReadAllAndWriteAllRunThePagesInTagOrder) {
    std::vector<int> tags;
    for (const TPageInfo& p : PageTable())
        tags.push_back(p.Tag);
    ASSERT_GE(tags.size(), 2u);
    ASSERT_TRUE(std::is_sorted(tags.begin(), tags.end())) << "the table is in tag order";

    // One window runs the all-page actions from its start (the last page on
    // show, so that the first one is seen coming); its pages then hold what
    // they read.
    TRound readAll, writeAll;
    {
        auto w = makeWindow();
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        child<QListWidget>(w.get(), "PageList")->setCurrentRow(int(tags.size()) - 1);
        readAll = runAll(*w, &TMainForm::ReadAllActionExecute);
        EXPECT_EQ(w->CurrentFrame(), w->Frames().front()) << "Read all ends on the first page";
        // The list marks the page on show: the first one.
        EXPECT_EQ(child<QListWidget>(w.get(), "PageList")->currentRow(), 0);
        child<QListWidget>(w.get(), "PageList")->setCurrentRow(int(tags.size()) - 1);
        writeAll = runAll(*w, &TMainForm::WriteAllActionExecute);
        EXPECT_EQ(w->CurrentFrame(), w->Frames().back()) << "Write all leaves the last page on show";
        EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
        disconnectWindow(*w);
    }
    // Another window from the same start runs each page alone. Writing the
    // Channels page erased the panel's journal: it is put back first.
    const emu::PanelSettings start = panel->settings();
    panel->regenerateJournal(start.journalRecords, start.badRecords, start.seed);
    std::vector<QStringList> readEach, writeEach;
    {
        auto w = makeWindow();
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        readEach = runEach(*w, &TMainForm::ReadActionExecute);
        writeEach = runEach(*w, &TMainForm::WriteActionExecute);
        disconnectWindow(*w);
    }
    ASSERT_EQ(readEach.size(), tags.size());
    EXPECT_EQ(readEach.front().mid(0, 2), (QStringList{"+o", "+disp"}));

    const auto expectPagesInOrder = [&](const TRound& all, const std::vector<QStringList>& each,
                                        const char* what) {
        SCOPED_TRACE(what);
        QStringList joined;
        for (const QStringList& lines : each)
            joined += lines;
        EXPECT_EQ(all.Lines, joined);
        // Each page on show exactly while its own lines went out.
        ASSERT_GE(all.Shown.size(), tags.size());
        for (size_t i = 0; i < tags.size(); ++i) {
            EXPECT_EQ(all.Shown[i].first, tags[i]) << i;
            const qsizetype end = i + 1 < all.Shown.size() ? all.Shown[i + 1].second : all.Lines.size();
            EXPECT_EQ(all.Lines.mid(all.Shown[i].second, end - all.Shown[i].second), each[i])
                << "page " << tags[i];
        }
    };
    expectPagesInOrder(readAll, readEach, "Read all");
    expectPagesInOrder(writeAll, writeEach, "Write all");
    // The Engineer numbers page writes its switch before its numbers, the SMS
    // page its texts in row order, and one after the other.
    const qsizetype enaing = writeAll.Lines.indexOf(QStringLiteral("+enaingFF"));
    ASSERT_GE(enaing, 0);
    EXPECT_EQ(writeAll.Lines.mid(enaing, 7),
              (QStringList{"+enaingFF", "+phing0 ", "+phing1 ", "+phing2 ", "+phing3 ", "+phing4 ",
                           "+smstext0" + QStringLiteral("Внимание! Была нажата Тревожная кнопка 1")}));
}

} // namespace
