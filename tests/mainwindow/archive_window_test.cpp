// The panel archive in the main window against the emulated panel over a
// pty, with a real archive file: the History page records what it reads,
// reads only the new records, shows an archived run without a panel (paged,
// filtered, exported) and removes a panel after a question; Read all and
// Write all keep the configuration, "История настроек" compares and loads
// it; a failed Read all keeps nothing; the archive can be turned off.
#include "archive/Archive.h"
#include "archive/ConfigArchive.h"
#include "archive/JournalArchive.h"
#include "history/HistoryModel.h"
#include "main_window_fixture.h"
#include "mainwindow/ConfigHistoryForm.h"
#include "mainwindow/SettingsCompareForm.h"
#include "pages/ArchivePanelDialog.h"
#include "pages/HistoryFrameUnit.h"
#include "pages/SettingsDifferenceModel.h"
#include "record_indexes.h"
#include "url_catcher.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QTableView>
#include <QTableWidget>

namespace {

QList<int> Range(int first, int last) {
    QList<int> out;
    for (int i = first; i <= last; ++i)
        out.append(i);
    return out;
}

class ArchiveWindow : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        // Each test its own archive: the one of this test's home, emptied.
        const QString path = TArchive::DefaultPath();
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
    }

    static QPushButton* button(QObject* w, const char* name) { return child<QPushButton>(w, name); }
    static QList<int> shown(THistoryFrame* page) {
        QAbstractItemModel* model = child<QTableView>(page, "HistoryView")->model();
        QList<int> out;
        for (int row = 0; row < model->rowCount(); ++row)
            out.append(model->index(row, 0).data(THistoryModel::RecordIndexRole).toInt());
        return out;
    }
    QStringList reads() const { return panel->receivedLines().filter(QRegularExpression("^\\+read")); }

    // The archive file as another program sees it.
    struct Archived {
        TArchive archive;
        std::optional<TArchivePanel> panel;
        explicit Archived(const QString& object = QStringLiteral("0050")) {
            EXPECT_TRUE(archive.Open(TArchive::DefaultPath())) << archive.Error().toStdString();
            panel = archive.Panel(object);
        }
        QList<int> Run(int run) {
            QList<int> out;
            if (panel) {
                for (const TArchivedRecord& r :
                     TJournalArchive(archive).Run(panel->Id, run).value_or(QList<TArchivedRecord>{}))
                    out.append(r.Index);
            }
            return out;
        }
        QList<TArchivedConfig> Configs() {
            return panel ? TConfigArchive(archive).List(panel->Id).value_or(QList<TArchivedConfig>{})
                         : QList<TArchivedConfig>{};
        }
    };

    // Runs `act` once the modal dialog of type T is up (it must close it).
    template <class T> static void inDialog(std::function<void(T&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no dialog " << T::staticMetaObject.className();
                return;
            }
            act(*dialog);
        });
    }

    // Clicks the button and waits for the long read it starts to end.
    void runLongRead(TMainForm& w, QPushButton* start) {
        start->click();
        ASSERT_TRUE(waitUntil([&] { return w.State() == TOperationState::Connected; }, 20000));
    }
};

TEST_F(ArchiveWindow, HistoryReadsAreArchivedAndNewRecordsOnlyAreReadLater) {
    auto w = makeWindow();
    THistoryFrame* page = showFrame<THistoryFrame>(*w);
    EXPECT_FALSE(button(page, "NewRecordsBtn")->isEnabled()) << "no panel";
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadActionExecute();
    EXPECT_EQ(shown(page), Down(99, 80));
    EXPECT_EQ(Archived().Run(1), Range(80, 99));

    // The whole journal, then five new events: only those five are asked for.
    runLongRead(*w, button(page, "ReadAllBtn"));
    EXPECT_EQ(Archived().Run(1), Range(0, 99));
    panel->appendJournalRecords(5);
    panel->clearRecords();
    runLongRead(*w, button(page, "NewRecordsBtn"));
    EXPECT_EQ(reads(), (QStringList{"+read00630064", "+read00640069"}));
    EXPECT_EQ(shown(page), Down(104, 85));
    EXPECT_EQ(Archived().Run(1), Range(0, 104));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(w->ErrorListForm()->isHidden());
    disconnectWindow(*w);
}

TEST_F(ArchiveWindow, AnArchivedRunIsShownFilteredAndExportedWithoutAPanelAndAPanelIsRemovedAfterAQuestion) {
    QTemporaryDir dir;
    auto w = makeWindow();
    THistoryFrame* page = showFrame<THistoryFrame>(*w);
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    runLongRead(*w, button(page, "ReadAllBtn"));
    disconnectWindow(*w);
    page->ForgetJournal(); // as another connection would
    ASSERT_TRUE(shown(page).isEmpty());

    inDialog<TArchivePanelDialog>([](TArchivePanelDialog& d) {
        EXPECT_EQ(d.Table()->rowCount(), 1);
        EXPECT_EQ(d.Table()->item(0, 0)->text(), "0050");
        EXPECT_EQ(d.Runs()->currentText(), "1");
        button(&d, "ShowButton")->click();
    });
    button(page, "ArchiveBtn")->click();
    EXPECT_EQ(shown(page), Down(99, 80));
    auto* label = child<QLabel>(page, "ArchiveLabel");
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "Архив: панель 0050, серия 1 (записей: 100)");
    // Paged from the store alone, filtered like the panel's journal.
    button(page, "BackBtn")->click();
    EXPECT_EQ(shown(page), Down(79, 60));
    child<QLineEdit>(page, "FilterEdit")->setText(page->History().EventText(page->History().RecordAt(0)));
    EXPECT_FALSE(shown(page).isEmpty());
    child<QLineEdit>(page, "FilterEdit")->clear();

    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    const QString target = dir.filePath("archive.csv");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(target);
        static_cast<QDialog*>(dialog)->accept();
    });
    button(page, "ExportAllPages")->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QFile csv(target);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 101) << "the header and the run's 100 records";

    // Removal: "No" keeps the panel, "Yes" removes it.
    for (const bool yes : {false, true}) {
        answerYes = yes;
        boxes.clear();
        inDialog<TArchivePanelDialog>([](TArchivePanelDialog& d) {
            button(&d, "RemoveButton")->click();
            d.reject();
        });
        button(page, "ArchiveBtn")->click();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].second,
                  "Удалить из архива панель 0050: записей журнала 100, настроек 0? Удалённое не вернуть.");
        EXPECT_EQ(Archived().panel.has_value(), !yes);
    }
}

TEST_F(ArchiveWindow, ReadAllAndWriteAllKeepTheConfigurationWhichTheHistoryComparesAndLoads) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    w->WriteAllActionExecute(); // the Channels page's question answered Yes
    const QList<TArchivedConfig> configs = Archived().Configs();
    ASSERT_EQ(configs.size(), 2);
    EXPECT_EQ(configs[0].Direction, TConfigDirection::Read);
    EXPECT_EQ(configs[1].Direction, TConfigDirection::Written);
    EXPECT_EQ(configs[0].Lines, configs[1].Lines);
    EXPECT_TRUE(configs[0].Lines.contains("Object=0050"));

    // The pages changed, then the read configuration loaded back.
    auto* object = child<QLineEdit>(common(*w), "ObjNumEdit");
    object->setText("1111");
    int differences = -1;
    inDialog<TConfigHistoryForm>([&](TConfigHistoryForm& d) {
        EXPECT_EQ(d.Panels()->currentText(), "0050");
        ASSERT_EQ(d.Table()->rowCount(), 2);
        EXPECT_EQ(d.Table()->item(0, 2)->text(), "чтение");
        EXPECT_EQ(d.Table()->item(1, 2)->text(), "запись");
        // The two compared: nothing differs.
        d.Table()->selectAll();
        inDialog<TSettingsCompareForm>([&](TSettingsCompareForm& f) {
            differences = f.Model()->rowCount();
            EXPECT_FALSE(f.LoadButton()->isVisible());
            f.reject();
        });
        d.CompareClicked();
        d.Table()->clearSelection();
        d.Table()->selectRow(0);
        d.LoadClicked();
    });
    w->findChild<QAction*>("ConfigHistoryAction")->trigger();
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(object->text(), "0050");
    disconnectWindow(*w);
}

// A configuration is compared with the pages by what their write would
// send: an object number typed short goes out with zeros in front, as the
// archive holds it, and a real change is still told.
TEST_F(ArchiveWindow, TheHistoryComparesByWhatAWriteWouldSend) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    ASSERT_EQ(Archived().Configs().size(), 1);
    auto* object = child<QLineEdit>(common(*w), "ObjNumEdit");
    const auto differencesWith = [&](const QString& typed) {
        object->setText(typed);
        QStringList keys;
        inDialog<TConfigHistoryForm>([&](TConfigHistoryForm& d) {
            d.Table()->selectRow(0);
            inDialog<TSettingsCompareForm>([&](TSettingsCompareForm& f) {
                for (int row = 0; row < f.Model()->rowCount(); ++row)
                    keys << f.Model()->index(row, 1).data().toString();
                f.reject();
            });
            d.CompareClicked();
            d.reject();
        });
        w->findChild<QAction*>("ConfigHistoryAction")->trigger();
        return keys;
    };
    EXPECT_EQ(differencesWith("50"), QStringList());
    EXPECT_EQ(differencesWith("51").size(), 1);
    disconnectWindow(*w);
}

TEST_F(ArchiveWindow, AReadAllWithAFailedPageOrTheArchiveOffKeepsNothing) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    capTimeOuts(*w, 100);
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    w->ReadAllActionExecute();
    EXPECT_TRUE(Archived().Configs().isEmpty());
    panel->setFaults({});

    // Off: nothing kept, the new-records button off, and so after a restart.
    // (The History page's read went to the archive: its page did not fail.)
    const QList<int> kept = Archived().Run(1);
    EXPECT_EQ(kept, Range(80, 99));
    w->findChild<QAction*>("ArchiveEnabledAction")->setChecked(false);
    panel->appendJournalRecords(3);
    w->ReadAllActionExecute();
    EXPECT_TRUE(Archived().Configs().isEmpty());
    EXPECT_EQ(Archived().Run(1), kept) << "the History page's read not kept either";
    EXPECT_FALSE(button(frameOf<THistoryFrame>(*w), "NewRecordsBtn")->isEnabled());
    disconnectWindow(*w);
    w.reset();
    auto again = makeWindow();
    EXPECT_FALSE(again->findChild<QAction*>("ArchiveEnabledAction")->isChecked());
}

} // namespace
