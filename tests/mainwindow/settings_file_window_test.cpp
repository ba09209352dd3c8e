// The settings file in the window: "Сохранить в файл" and "Загрузить из
// файла" with and without a panel, never inside another operation; files
// that cannot be read or written told with nothing changed; a whole
// configuration kept and written back to the emulated panel over a pty; the
// comparison with a file; the copy offered before "По умолчанию все...".
#include "file_dialogs.h"
#include "hostile_files.h"
#include "main_window_fixture.h"
#include "mainwindow/SettingsCompareForm.h"
#include "pages/PageFrame.h"
#include "pages/SettingsDifferenceModel.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsLookup.h"
#include "pages/SettingsPages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>

#include <map>

namespace {

using S = TOperationState;

const char* const kFileActions[] = {"SaveSettingsAction", "LoadSettingsAction", "CompareSettingsAction"};

class SettingsFileWindow : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(scratch.isValid());
    }

    QString path(const QString& name) const { return scratch.filePath(name); }

    // What the window's pages hold, as a settings file holds it.
    static QStringList pageLines(TMainForm& w) {
        return SettingsLines(CollectPageSettings(SettingsPages(w.Frames())));
    }
    static QLineEdit* objectEdit(TMainForm& w) { return child<QLineEdit>(common(w), "ObjNumEdit"); }

    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void put(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Triggers an action of the menu "Настройки" with its file dialogs
    // answered by `paths`; returns how they looked.
    std::vector<FileDialogAnswers::Seen> trigger(TMainForm& w, const char* name, const QStringList& paths) {
        FileDialogAnswers answers(paths);
        action(w, name)->trigger();
        EXPECT_TRUE(answers.used()) << name;
        return answers.seen;
    }

    struct Seen {
        QStringList Rows;
        bool LoadEnabled = false;
        QString Summary;
    };
    // Compares the window's pages with `with`, looks at the dialog and
    // presses `button`.
    Seen compare(TMainForm& w, const QString& with, const char* button) {
        Seen seen;
        bool shown = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* form = qobject_cast<TSettingsCompareForm*>(QApplication::activeModalWidget());
            if (!form || shown)
                return;
            shown = true;
            EXPECT_EQ(w.State(), S::LoadingSettings);
            const QAbstractItemModel* model = form->Table()->model();
            EXPECT_EQ(model, form->Model());
            for (int r = 0; r < model->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < model->columnCount(); ++c)
                    cells << model->index(r, c).data().toString();
                seen.Rows << cells.join(" | ");
            }
            seen.LoadEnabled = form->LoadButton()->isEnabled();
            seen.Summary = child<QLabel>(form, "SummaryLabel")->text();
            EXPECT_EQ(form->Table()->editTriggers(), QAbstractItemView::NoEditTriggers);
            child<QPushButton>(form, button)->click();
        });
        poll.start(10);
        trigger(w, "CompareSettingsAction", {with});
        EXPECT_TRUE(shown);
        return seen;
    }

    std::vector<std::pair<TBoxKind, QString>> boxesOf(TBoxKind kind) const {
        std::vector<std::pair<TBoxKind, QString>> of;
        for (const auto& b : boxes)
            if (b.first == kind)
                of.push_back(b);
        return of;
    }

    QTemporaryDir scratch;
};

TEST_F(SettingsFileWindow, SavedAndLoadedWithoutAPanel) {
    auto w = makeWindow();
    ASSERT_EQ(w->State(), S::Disconnected);
    for (const char* name : kFileActions)
        EXPECT_TRUE(action(*w, name)->isEnabled()) << name;
    std::vector<S> states;
    QObject::connect(w.get(), &TMainForm::StateChanged, w.get(), [&](S s) { states.push_back(s); });

    // While the dialog is open: the saving state, no panel, nothing else
    // to start (not even a connection).
    bool looked = false;
    QTimer::singleShot(0, w.get(), [&] {
        looked = true;
        EXPECT_EQ(w->State(), S::SavingSettings);
        EXPECT_FALSE(w->Connected());
        for (const char* name : {"ConnectAction", "SaveSettingsAction", "LoadSettingsAction"})
            EXPECT_FALSE(action(*w, name)->isEnabled()) << name;
    });
    objectEdit(*w)->setText("1A2B");
    const QString file = path("desk.ini");
    const auto saveDialog = trigger(*w, "SaveSettingsAction", {file});
    EXPECT_TRUE(looked);
    EXPECT_EQ(bytesOf(file), TSettingsFile::Encode(pageLines(*w)));
    EXPECT_TRUE(bytesOf(file).startsWith("Object=1A2B\r\nDisp=0\r\nTime="));

    objectEdit(*w)->setText("0000");
    const auto loadDialog = trigger(*w, "LoadSettingsAction", {file});
    EXPECT_EQ(objectEdit(*w)->text(), "1A2B");
    EXPECT_EQ(states,
              (std::vector<S>{S::SavingSettings, S::Disconnected, S::LoadingSettings, S::Disconnected}));
    EXPECT_TRUE(boxes.empty());

    // The dialogs: .ini files or every file, ".ini" added to a bare name.
    ASSERT_EQ(saveDialog.size(), 1u);
    ASSERT_EQ(loadDialog.size(), 1u);
    for (const auto& seen : {saveDialog[0], loadDialog[0]}) {
        EXPECT_EQ(seen.Filters, (QStringList{"ini файлы (*.ini)", "все файлы (*)"}));
        EXPECT_EQ(seen.Suffix, "ini");
    }
    EXPECT_EQ(saveDialog[0].Accept, QFileDialog::AcceptSave);
    EXPECT_EQ(saveDialog[0].Title, "Сохранить настройки в файл");
    EXPECT_EQ(loadDialog[0].Accept, QFileDialog::AcceptOpen);
    EXPECT_EQ(loadDialog[0].Title, "Загрузить настройки из файла");

    // A name typed without its extension gets ".ini".
    trigger(*w, "SaveSettingsAction", {path("bare")});
    EXPECT_TRUE(QFile::exists(path("bare.ini")));
    // A dialog cancelled writes or loads nothing.
    objectEdit(*w)->setText("0000");
    trigger(*w, "SaveSettingsAction", {QString()});
    trigger(*w, "LoadSettingsAction", {QString()});
    EXPECT_EQ(objectEdit(*w)->text(), "0000");
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), (QStringList{"bare.ini", "desk.ini"}));
    EXPECT_EQ(w->State(), S::Disconnected);
}

TEST_F(SettingsFileWindow, NeverInsideAnotherOperation) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_EQ(w->State(), S::Connected);
    for (const char* name : kFileActions)
        EXPECT_TRUE(action(*w, name)->isEnabled()) << name << " with a panel too";

    for (S running : {S::Reading, S::Writing, S::Defaulting, S::Erasing}) {
        ASSERT_TRUE(w->BeginOperation(running));
        for (const char* name : kFileActions)
            EXPECT_FALSE(action(*w, name)->isEnabled())
                << name << " while " << StateName(running).toStdString();
        EXPECT_FALSE(w->BeginOperation(S::SavingSettings)) << StateName(running).toStdString();
        EXPECT_FALSE(w->BeginOperation(S::LoadingSettings)) << StateName(running).toStdString();
        // Called all the same, they open no dialog (one would fail here).
        FileDialogAnswers none;
        w->SaveSettingsActionExecute();
        w->LoadSettingsActionExecute();
        w->CompareSettingsActionExecute();
        w->EndOperation();
        EXPECT_EQ(w->State(), S::Connected);
    }
    // Nor does anything start inside them.
    ASSERT_TRUE(w->BeginOperation(S::SavingSettings));
    EXPECT_FALSE(w->BeginOperation(S::Reading));
    EXPECT_FALSE(w->BeginOperation(S::LoadingSettings));
    w->EndOperation();
    disconnectWindow(*w);
}

TEST_F(SettingsFileWindow, AFileThatCannotBeReadChangesNoPage) {
    auto w = makeWindow();
    objectEdit(*w)->setText("1A2B");
    const QStringList before = pageLines(*w);

    // A file good for forty lines, then a byte no Windows-1251 text holds:
    // read whole before any page takes a value, it changes nothing.
    QStringList lines = before;
    for (QString& line : lines)
        line.replace("1A2B", "9999");
    QByteArray damaged = TSettingsFile::Encode(lines.mid(0, 40)) + "SMS1=\xD0\x98\r\n";
    damaged += TSettingsFile::Encode(lines.mid(40));
    const QString file = path("damaged.ini");
    put(file, damaged);

    trigger(*w, "LoadSettingsAction", {file});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Error);
    EXPECT_TRUE(boxes[0].second.contains(file)) << boxes[0].second.toStdString();
    EXPECT_TRUE(boxes[0].second.contains("строка 41")) << boxes[0].second.toStdString();
    EXPECT_EQ(pageLines(*w), before);
    EXPECT_EQ(w->State(), S::Disconnected);
}

// A text file with none of the pages' keys would put every page on its
// defaults and empty the SMS texts: loading it, or loading it from the
// comparison, is refused.
TEST_F(SettingsFileWindow, AFileWithoutAnyPagesKeyChangesNoPage) {
    auto w = makeWindow();
    objectEdit(*w)->setText("1A2B");
    const QStringList before = pageLines(*w);
    const QString file = path("notes.txt");
    put(file, "hello world\r\nComment=1\r\n");
    for (const char* name : {"LoadSettingsAction", "CompareSettingsAction"}) {
        SCOPED_TRACE(name);
        boxes.clear();
        trigger(*w, name, {file});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].first, TBoxKind::Error);
        EXPECT_EQ(boxes[0].second, "В файле " + file + " нет настроек ни одной страницы");
        EXPECT_EQ(pageLines(*w), before);
        EXPECT_EQ(w->State(), S::Disconnected);
    }
}

// A file saved by a Linux editor is UTF-8 without the byte-order mark: its
// Russian texts are read as UTF-8, and the log says so.
TEST_F(SettingsFileWindow, AUtf8FileWithoutItsMarkLoadsItsRussianTexts) {
    auto w = makeWindow();
    QStringList lines = pageLines(*w);
    const QString text = QString::fromUtf8("SMS1=Внимание! Шум в подъезде");
    for (QString& line : lines) {
        if (line.startsWith("SMS1="))
            line = text;
    }
    const QString file = path("edited.ini");
    put(file, lines.join('\n').toUtf8());
    trigger(*w, "LoadSettingsAction", {file});
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(pageLines(*w).contains(text));
    EXPECT_TRUE(child<QPlainTextEdit>(w.get(), "LogMemo")
                    ->toPlainText()
                    .contains("Файл настроек " + file + " прочитан в кодировке UTF-8"));
}

// A number beyond its list: the file's other values are loaded, that list
// shows no selection, and the line is told in the log and in one message
// naming the file.
TEST_F(SettingsFileWindow, ANumberBeyondItsListIsToldAndTheRestLoaded) {
    auto w = makeWindow();
    QStringList lines = pageLines(*w);
    for (QString& line : lines) {
        if (line.startsWith("Object="))
            line = "Object=0077";
        else if (line.startsWith("Time="))
            line = "Time=300";
        else if (line.startsWith("Alarm1="))
            line = "Alarm1=500";
    }
    const QString file = path("beyond.ini");
    ASSERT_TRUE(TSettingsFile(lines).Write(file));
    trigger(*w, "LoadSettingsAction", {file});
    EXPECT_EQ(objectEdit(*w)->text(), "0077");
    EXPECT_EQ(child<QComboBox>(common(*w), "TimeCombo")->currentIndex(), -1);
    const QStringList loaded = pageLines(*w);
    EXPECT_TRUE(loaded.contains("Time=300"));
    EXPECT_TRUE(loaded.contains("Alarm1=-1"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Error);
    const QString log = child<QPlainTextEdit>(w.get(), "LogMemo")->toPlainText();
    for (const char* line : {"Time=300", "Alarm1=500"}) {
        EXPECT_TRUE(boxes[0].second.contains(RefusedValueText(file, line))) << boxes[0].second.toStdString();
        EXPECT_TRUE(log.contains(RefusedValueText(file, line))) << line;
    }
}

TEST_F(SettingsFileWindow, ASaveThatCannotBeWrittenIsTold) {
    auto w = makeWindow();
    // A folder where no file can be made, whoever runs the test.
    const QString file = "/proc/tarvik1-settings.ini";
    trigger(*w, "SaveSettingsAction", {file});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Error);
    EXPECT_TRUE(boxes[0].second.startsWith("Не удалось записать файл настроек " + file + ": "))
        << boxes[0].second.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(w->State(), S::Disconnected);
}

// The window never waits on a FIFO (it would freeze until someone wrote to
// it), and never lets a link another user planted in a shared folder lead
// its save elsewhere: each is told, naming the file, and nothing changes.
TEST_F(SettingsFileWindow, AFifoOrAPlantedLinkIsToldAndChangesNothing) {
    auto w = makeWindow();
    objectEdit(*w)->setText("1A2B");
    const QStringList before = pageLines(*w);
    const QString fifo = path("fifo.ini");
    ASSERT_TRUE(MakeFifo(fifo));
    {
        const FifoGuard guard(fifo);
        trigger(*w, "LoadSettingsAction", {fifo});
        EXPECT_FALSE(guard.Fired()) << "the window waited for a writer of the FIFO";
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Error);
    EXPECT_EQ(boxes[0].second, "Не удалось открыть файл настроек " + fifo +
                                   ": это именованный канал (FIFO), а не обычный файл");
    EXPECT_EQ(pageLines(*w), before);
    EXPECT_TRUE(IsFifo(fifo));

    if (!RunningAsRoot())
        return; // planting another user's link takes root
    const QString shared = path("shared");
    ASSERT_TRUE(MakeSharedFolder(shared));
    const QString victim = path("victim.ini"); // not there yet: the link would make it
    const QString link = shared + "/panel.ini";
    ASSERT_TRUE(PlantLink(victim, link, kStrangerUid));
    trigger(*w, "SaveSettingsAction", {link});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].first, TBoxKind::Error);
    EXPECT_TRUE(boxes[1].second.startsWith("Не удалось записать файл настроек " + link +
                                           ": символьная ссылка " + link +
                                           " в общей папке принадлежит "
                                           "другому пользователю"))
        << boxes[1].second.toStdString();
    EXPECT_FALSE(QFile::exists(victim));
    EXPECT_EQ(w->State(), S::Disconnected);
}

// ---- a whole configuration and the panel ---------------------------------

std::map<QString, QByteArray> PanelState(emu::EmulatedPanel& panel) {
    std::map<QString, QByteArray> state;
    for (const QString& name : panel.parameterNames())
        state[name] = panel.parameterBytes(name);
    return state;
}

TEST_F(SettingsFileWindow, AConfigurationKeptAndWrittenBack) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    ASSERT_TRUE(w->ErrorListForm()->isHidden());
    const QString kept = path("panel.ini");
    trigger(*w, "SaveSettingsAction", {kept});
    const std::map<QString, QByteArray> saved = PanelState(*panel);
    const int records = panel->journalLines().size();
    ASSERT_GT(records, 0);

    // Someone changes the panel; the window reads it as it is now.
    ASSERT_TRUE(panel->setParameter("+o", "4321"));
    ASSERT_TRUE(panel->setParameter("+IPadr", "010.000.000.001"));
    ASSERT_TRUE(panel->setParameter("+enaing", "00"));
    ASSERT_TRUE(panel->setParameter("+phing1", "5551234"));
    ASSERT_TRUE(panel->setParameter("+smstext2", QString::fromUtf8("Изменено")));
    ASSERT_TRUE(panel->setParameter("+alphon0", "110002=+79990000000"));
    w->ReadAllActionExecute();
    EXPECT_EQ(objectEdit(*w)->text(), "4321");

    trigger(*w, "LoadSettingsAction", {kept});
    EXPECT_EQ(objectEdit(*w)->text(), "0050") << "loading talks to no panel";
    EXPECT_EQ(panel->parameter("+o"), "4321");

    // Written back without the journal's erase: everything but the
    // reporting entries, the journal kept.
    answerYes = false;
    w->WriteAllActionExecute();
    std::map<QString, QByteArray> now = PanelState(*panel);
    EXPECT_EQ(now["+alphon0"], "110002=+79990000000");
    now["+alphon0"] = saved.at("+alphon0");
    EXPECT_EQ(now, saved);
    EXPECT_EQ(panel->journalLines().size(), records);
    EXPECT_EQ(panel->commandCount("+erase"), 0);

    // With the erase confirmed the panel holds the kept configuration
    // whole, its journal erased.
    answerYes = true;
    w->WriteAllActionExecute();
    EXPECT_EQ(PanelState(*panel), saved);
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_TRUE(panel->journalLines().isEmpty() || panel->journalPointer() == 0);
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    disconnectWindow(*w);
}

// Values a panel holds that no item of the pages stands for: Read all,
// Save, Load and Write all give another panel exactly what the first held.
TEST_F(SettingsFileWindow, ValuesWithoutAnItemGoBackAsTheyCame) {
    panel->setOddValues(true);
    const std::pair<const char*, QByteArray> odd[] = {
        {"+n00", "199901002"},       {"+n02", "000900999"},
        {"+presstime", "G1"},        {"+disp", "1FF"},
        {"+pwlog", "FFFFZZ051EFFFFFFFF"},
    };
    for (const auto& [command, value] : odd)
        ASSERT_TRUE(panel->storeParameterBytes(command, value));
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    ASSERT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    const QString kept = path("odd.ini");
    trigger(*w, "SaveSettingsAction", {kept});
    const std::map<QString, QByteArray> held = PanelState(*panel);

    panel->resetParameters();
    w->ReadAllActionExecute();
    trigger(*w, "LoadSettingsAction", {kept});
    answerYes = true;
    w->WriteAllActionExecute();
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    for (const auto& [command, value] : odd)
        EXPECT_EQ(panel->parameterBytes(command), value) << command;
    EXPECT_EQ(PanelState(*panel), held);
    disconnectWindow(*w);
}

// ---- the comparison -------------------------------------------------------

TEST_F(SettingsFileWindow, ComparedWithAFileLoadedOnlyWhenAsked) {
    auto w = makeWindow();
    const QStringList pages = pageLines(*w);
    // The file: another object number, no third SMS, a line no page uses.
    QStringList lines = pages;
    lines.replaceInStrings(QRegularExpression("^Object=.*"), "Object=0051");
    const QString sms3 = lines.filter(QRegularExpression("^SMS3=")).value(0);
    lines.removeAll(sms3);
    lines << "Comment=kept by the installer";
    const QString file = path("other.ini");
    ASSERT_TRUE(TSettingsFile(lines).Write(file));

    const QString purpose3 = sms3.mid(5);
    const QStringList expected{
        "Общие настройки | Номер объекта | 0050 | 0051",
        "Настройка СМС | Текст СМС 3 (" + purpose3 + ") | " + purpose3 + " | нет в файле",
    };
    Seen seen = compare(*w, file, "CloseButton");
    EXPECT_EQ(seen.Rows, expected);
    EXPECT_TRUE(seen.LoadEnabled);
    EXPECT_TRUE(seen.Summary.contains(file));
    EXPECT_EQ(pageLines(*w), pages) << "closed: nothing changes";

    seen = compare(*w, file, "LoadFileButton");
    EXPECT_EQ(seen.Rows, expected);
    EXPECT_EQ(objectEdit(*w)->text(), "0051");
    EXPECT_EQ(SettingsValue(pageLines(*w), "SMS3"), "") << "a missing text empties its control";
    EXPECT_EQ(w->State(), S::Disconnected);

    // A file that holds what the pages hold: nothing differs, nothing to
    // load.
    ASSERT_TRUE(TSettingsFile(pageLines(*w)).Write(file));
    seen = compare(*w, file, "CloseButton");
    EXPECT_TRUE(seen.Rows.isEmpty());
    EXPECT_FALSE(seen.LoadEnabled);
    EXPECT_TRUE(seen.Summary.contains("совпадают"));

    // A file that cannot be read is told; no dialog.
    boxes.clear();
    put(path("damaged.ini"), "Object=0052\r\n\x98\r\n");
    trigger(*w, "CompareSettingsAction", {path("damaged.ini")});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].second.contains(path("damaged.ini")));
    EXPECT_EQ(objectEdit(*w)->text(), "0051");
}

// The comparison tells what writing the file would change against what the
// pages would write now: numbers spelt otherwise, and rows the write packs
// alike, are no difference.
TEST_F(SettingsFileWindow, ComparedByWhatAWriteWouldSend) {
    auto w = makeWindow();
    QStringList lines = pageLines(*w);
    const auto set = [&lines](const QString& key, const QString& value) {
        lines.replaceInStrings(QRegularExpression("^" + key + "=.*"), key + "=" + value);
    };
    // Rows 1 and 3 used, row 2 free between them.
    set("CCombo1", "1");
    set("CPhone1", "111");
    set("CCombo3", "4");
    set("CPhone3", "333");
    const QString file = path("rows.ini");
    ASSERT_TRUE(TSettingsFile(lines).Write(file));
    trigger(*w, "LoadSettingsAction", {file});
    ASSERT_EQ(pageLines(*w), lines);

    // The same rows packed, and the numbers with zeros in front.
    set("CCombo2", "4");
    set("CPhone2", "333");
    set("CCombo3", "0");
    set("CPhone3", "");
    for (const char* key : {"Disp", "Time", "Hour", "Min", "Reboot", "Move", "Online", "EnableEng"})
        set(key, "00" + SettingsValue(lines, key));
    ASSERT_TRUE(TSettingsFile(lines).Write(file));
    Seen seen = compare(*w, file, "CloseButton");
    EXPECT_TRUE(seen.Rows.isEmpty()) << seen.Rows.join('\n').toStdString();
    EXPECT_TRUE(seen.Summary.contains("совпадают")) << seen.Summary.toStdString();

    // A row the file puts elsewhere is told by its settings.
    set("CCombo2", "5");
    ASSERT_TRUE(TSettingsFile(lines).Write(file));
    seen = compare(*w, file, "CloseButton");
    EXPECT_EQ(seen.Rows, (QStringList{
                             PageName(ptChannels) + " | Телефон 2 |  | 333",
                             PageName(ptChannels) + " | Тип передачи данных 2 | 0 | 5",
                             PageName(ptChannels) + " | Телефон 3 | 333 | ",
                             PageName(ptChannels) + " | Тип передачи данных 3 | 4 | 0",
                         }));
}

// A voice-call row loaded before any panel was connected keeps its type
// once a panel whose lists have it is connected.
TEST_F(SettingsFileWindow, VoiceCallRowsLoadedBeforeConnectingStay) {
    auto w = makeWindow();
    QStringList lines = pageLines(*w);
    lines.replaceInStrings(QRegularExpression("^Online=.*"), "Online=1");
    lines.replaceInStrings(QRegularExpression("^CCombo1=.*"), "CCombo1=4");
    lines.replaceInStrings(QRegularExpression("^CPhone1=.*"), "CPhone1=+79001112233");
    ASSERT_TRUE(TSettingsFile(lines).Write(path("voice.ini")));
    trigger(*w, "LoadSettingsAction", {path("voice.ini")});
    EXPECT_EQ(SettingsValue(pageLines(*w), "CCombo1"), "4");
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    EXPECT_EQ(SettingsValue(pageLines(*w), "CCombo1"), "4");
    EXPECT_EQ(SettingsValue(pageLines(*w), "Online"), "1");
    disconnectWindow(*w);
}

// ---- "По умолчанию все..." ------------------------------------------------

TEST_F(SettingsFileWindow, DefaultAllOffersToKeepTheValuesFirst) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    const QString question = "Настройки на всех страницах будут заменены значениями по умолчанию. Сохранить "
                             "текущие настройки в файл?";

    struct Case {
        const char* what;
        TAnswer answer;
        QString file; // the save dialog's answer (empty: cancelled)
        bool dialog;
        bool defaults;
    };
    const std::vector<Case> cases{
        {"Cancel: nothing happens", TAnswer::Cancel, {}, false, false},
        {"Yes, then the dialog cancelled: nothing happens", TAnswer::Yes, {}, true, false},
        {"Yes: kept, then the defaults", TAnswer::Yes, path("before-defaults.ini"), true, true},
        {"No: the defaults", TAnswer::No, {}, false, true},
        {"Yes, the copy cannot be written: told, nothing happens", TAnswer::Yes,
         "/proc/tarvik1-before-defaults.ini", true, false},
    };
    for (const Case& c : cases) {
        objectEdit(*w)->setText("1A2B");
        boxes.clear();
        threeWayAnswer = c.answer;
        QStringList answers;
        if (c.dialog)
            answers << c.file;
        const auto seen = trigger(*w, "DefaultAllAction", answers);
        const bool unwritable = c.file.startsWith("/proc/");
        ASSERT_EQ(boxes.size(), unwritable ? 2u : 1u) << c.what;
        EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::QuestionCancel, question)) << c.what;
        if (unwritable) {
            EXPECT_EQ(boxes[1].first, TBoxKind::Error) << c.what;
            EXPECT_TRUE(boxes[1].second.contains(c.file)) << c.what;
        }
        EXPECT_EQ(seen.size(), c.dialog ? 1u : 0u) << c.what;
        EXPECT_EQ(objectEdit(*w)->text(), c.defaults ? "0050" : "1A2B") << c.what;
        if (!c.file.isEmpty() && !unwritable) {
            EXPECT_TRUE(bytesOf(c.file).startsWith("Object=1A2B\r\n")) << "the values before the defaults";
        }
        EXPECT_EQ(w->State(), S::Connected) << c.what;
    }
    disconnectWindow(*w);
}

} // namespace
