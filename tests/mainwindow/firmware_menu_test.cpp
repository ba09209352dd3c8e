// The window's "Перепрошивка" menu against the emulated panel over a pty,
// with a built-in firmware compiled into this test: what the menu offers in
// each state, an image from a file written end to end, images refused and
// questions declined with nothing sent, a refused block and Cancel stopping
// the upload without the final command, the operation guard during the
// upload, the window closed or the line lost in the middle of it, the
// built-in image, and a panel left in its boot loader connected for the
// update alone and recovered by it.
#include "close_box.h"
#include "file_dialogs.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpdateProgressUnit.h"
#include "firmware/UploadFirmware.h"
#include "hex_lines.h"
#include "main_window_fixture.h"
#include "mainwindow/FirmwareActions.h"
#include "pages/SettingsFile.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>

#include <algorithm>
#include <map>

namespace {

const char* const kFirmwareActions[] = {"UpdateFromFileAction", "UpdateFromExeAction"};
const QString kRecovery = QString::fromUtf16(kRecoveryAdvice);
const QString kClosing = QStringLiteral("Соединение с панелью будет закрыто.");

QByteArray DataOf(const QStringList& image) {
    QByteArray data;
    for (const QString& line : image)
        data += QByteArray::fromHex(line.mid(9).chopped(2).toLatin1());
    return data;
}

bool StartsWithAny(const QStringList& lines, const QString& prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(prefix); });
}

// What the standard open dialog looked like when the test answered it.
struct SeenDialog {
    bool Shown = false;
    QString Title;
    QStringList Filters;
    QString Suffix;
    QFileDialog::FileMode Mode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode Accept = QFileDialog::AcceptSave;
};

class FirmwareMenu : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(scratch.isValid());
    }

    // A connected window whose uploads give up on a silent panel quickly.
    std::unique_ptr<TMainForm> connectedWindow() {
        auto w = makeWindow();
        TUploadTimeOuts t;
        t.BootCheck = t.FlashErase = t.Block = t.FinalCheck = t.BootLoaderAnswer = 300;
        w->FirmwareActions().SetTimeOuts(t);
        connectWindow(*w);
        EXPECT_TRUE(w->Connected());
        return w;
    }

    static emu::PanelSettings settingsWith(const emu::Delays& delays) {
        emu::PanelSettings s = QuickPanelSettings();
        s.delays = delays;
        return s;
    }

    QString writeImage(const QString& name, const QStringList& lines) {
        const QString path = scratch.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((lines.join("\r\n") + (lines.isEmpty() ? "" : "\r\n")).toLatin1());
        return path;
    }

    // Answers the open dialog with `path` (or cancels it when empty).
    void answerFileDialog(const QString& path) {
        QTimer::singleShot(0, [this, path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no file dialog";
                return;
            }
            seenDialog = {true,
                          dialog->windowTitle(),
                          dialog->nameFilters(),
                          dialog->defaultSuffix(),
                          dialog->fileMode(),
                          dialog->acceptMode()};
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    // Starts the update from `path` through the menu; true when an upload
    // began (the engine runs).
    bool startFromFile(TMainForm& w, const QString& path) {
        answerFileDialog(path);
        child<QAction>(&w, "UpdateFromFileAction")->trigger();
        return w.FirmwareActions().Running();
    }

    // Waits for the upload's end and the disconnect after it.
    void waitForTheEnd(TMainForm& w) {
        ASSERT_TRUE(
            waitUntil([&] { return !w.FirmwareActions().Running() && !w.Connected() && !w.Busy(); }, 30000));
        ASSERT_TRUE(waitUntil([&] { return w.findChild<TFormUpdateProgress*>() == nullptr; }))
            << "the progress window is freed";
    }

    // Takes the offers to keep the panel's settings first out of the boxes
    // shown; how many there were.
    int takeOffers() {
        return int(std::erase_if(boxes, [](const auto& b) { return b.first == TBoxKind::QuestionCancel; }));
    }

    // Answers the question the progress window has open (its Cancel's, or
    // the close's): "Прервать" when `stop`, else "Продолжить". The
    // question's text; empty when none was open.
    static QString answerStopQuestion(TMainForm& w, bool stop) {
        TFormUpdateProgress* form = w.FirmwareActions().ProgressForm();
        auto* box = form ? form->findChild<QMessageBox*>("CancelWarning") : nullptr;
        if (!box || !box->isVisible())
            return {};
        const QString text = box->text();
        box->button(stop ? QMessageBox::Yes : QMessageBox::No)->click();
        return text;
    }

    QStringList questions() const {
        QStringList q;
        for (const auto& [kind, text] : boxes) {
            if (kind == TBoxKind::Question)
                q << text;
        }
        return q;
    }

    QTemporaryDir scratch;
    SeenDialog seenDialog;
};

TEST_F(FirmwareMenu, TheMenuOffersTheUpdateOnlyWhileAPanelIsConnectedAndIdle) {
    auto w = makeWindow();
    auto* menu = child<QMenu>(w.get(), "MFirmware");
    EXPECT_EQ(menu->title(), "&Перепрошивка");
    QStringList captions;
    for (QAction* item : menu->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"...из файла", "...встроенная"}));
    EXPECT_EQ(w->BuiltInVersion(), "07.700.126") << "this test carries a built-in firmware";

    auto enabled = [&] {
        QStringList on;
        for (const char* name : kFirmwareActions) {
            if (action(*w, name)->isEnabled())
                on << name;
        }
        return on;
    };
    std::map<TOperationState, QStringList> seen;
    QObject::connect(w.get(), &TMainForm::StateChanged, w.get(),
                     [&](TOperationState s) { seen[s] = enabled(); });

    EXPECT_EQ(enabled(), QStringList());
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadActionExecute();
    disconnectWindow(*w);

    using S = TOperationState;
    const QStringList both{"UpdateFromFileAction", "UpdateFromExeAction"};
    EXPECT_EQ(seen[S::Connecting], QStringList());
    EXPECT_EQ(seen[S::Connected], both);
    EXPECT_EQ(seen[S::Reading], QStringList()) << "an operation holds the menu too";
    EXPECT_EQ(seen[S::Disconnecting], QStringList());
    EXPECT_EQ(seen[S::Disconnected], QStringList());
}

TEST_F(FirmwareMenu, AnImageFileIsCheckedSummarisedWrittenAndThePanelDisconnected) {
    auto w = connectedWindow();
    const QString path = RealImagePath("stk500boot_v2_mega2560.hex");
    TFirmwareImage image;
    QString error;
    ASSERT_TRUE(ReadFirmwareFile(path, image, error));
    panel->clearRecords();

    ASSERT_TRUE(startFromFile(*w, path));
    EXPECT_EQ(w->State(), TOperationState::UpdatingFirmware);
    EXPECT_FALSE(w->Device()->WakeUp()) << "no wake-up between the blocks";
    TFormUpdateProgress* form = w->FirmwareActions().ProgressForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->windowTitle(), "Обновление");
    QSignalSpy steps(w->FirmwareActions().Engine(), &TUploadFirmware::StepChanged);
    waitForTheEnd(*w);

    // The standard open dialog as it comes: its own caption, every file.
    const QFileDialog plain;
    EXPECT_TRUE(seenDialog.Shown);
    EXPECT_EQ(seenDialog.Title, plain.windowTitle());
    EXPECT_EQ(seenDialog.Filters, plain.nameFilters());
    EXPECT_EQ(seenDialog.Suffix, "");
    EXPECT_EQ(seenDialog.Accept, QFileDialog::AcceptOpen);
    EXPECT_EQ(seenDialog.Mode, QFileDialog::ExistingFile);

    // The question showed what was about to be written.
    ASSERT_EQ(questions().size(), 1);
    const QString question = questions().first();
    for (const QString& part : {QString("Файл: %1").arg(path), QString("Строк: 469, блоков по 8 строк: 59"),
                                QString("Байт данных: 7454"), QString("Адреса: 0x0003E000–0x0003FD1D"),
                                QString("Записи кроме данных: 01"),
                                QString("Внимание: загрузчик получит как данные байты записей типа 02"),
                                QString("Записать эту прошивку в панель?")})
        EXPECT_TRUE(question.contains(part)) << part.toStdString() << "\n in: " << question.toStdString();

    EXPECT_EQ(steps.size(), 59 + 3) << "the window followed every step";
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(panel->flashedImage(), DataOf(image.Lines));
    const QStringList lines = panel->receivedLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 3), (QStringList{"+BL", "+v", "+BE"}));
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith("+EE"));
    EXPECT_EQ(lines.last(), "CABLE DISCONNECT") << "the update ends with the disconnect";
    EXPECT_FALSE(w->Device()->ComActive());
    EXPECT_EQ(panelText(*w, 0), "");

    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), std::make_pair(TBoxKind::Plain,
                                           "Прошивка записана: блоков 59, проверка пройдена.\n" + kClosing));
}

TEST_F(FirmwareMenu, NothingIsSentUnlessAGoodImageIsConfirmed) {
    QStringList good = DataRecords(12);
    good << kEndOfFile;
    QStringList badSum = good;
    badSum[2].replace(badSum[2].size() - 2, 2, badSum[2].endsWith("00") ? "01" : "00");
    QStringList badPair = good;
    badPair[4].replace(11, 2, "G7");

    struct Case {
        const char* name;
        QStringList lines;
        bool confirm;
        TBoxKind kind;
        QString says; // in the last box
    };
    const Case cases[] = {
        {"sum.hex", badSum, true, TBoxKind::Error, "строка 3"},
        {"pair.hex", badPair, true, TBoxKind::Error, "строка 5"},
        {"empty.hex", {}, true, TBoxKind::Error, "файл пуст"},
        {"cut.hex", good.mid(0, 12), true, TBoxKind::Error, "в конце нет записи конца файла (тип 01)"},
        {"after.hex", good + DataRecords(1), true, TBoxKind::Error,
         "строка 14: запись после записи конца файла (тип 01) в строке 13"},
        {"declined.hex", good, false, TBoxKind::Question, "Записать эту прошивку в панель?"},
    };
    auto w = connectedWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeImage(c.name, c.lines);
        boxes.clear();
        panel->clearRecords();
        answerYes = c.confirm;
        EXPECT_FALSE(startFromFile(*w, path));
        EXPECT_EQ(takeOffers(), c.kind == TBoxKind::Question ? 1 : 0)
            << "a copy offered for a good image only";
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].first, c.kind);
        EXPECT_TRUE(boxes[0].second.contains(c.says)) << boxes[0].second.toStdString();
        if (c.kind == TBoxKind::Error) {
            EXPECT_TRUE(boxes[0].second.contains(path)) << "the file is named";
        }
        QTest::qWait(50);
        EXPECT_EQ(panel->receivedLines(), QStringList()) << "nothing on the wire";
        EXPECT_EQ(w->State(), TOperationState::Connected) << "the connection stays";
        EXPECT_TRUE(w->Device()->WakeUp());
    }
    // The dialog cancelled: nothing at all.
    boxes.clear();
    answerYes = true;
    EXPECT_FALSE(startFromFile(*w, QString()));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(w->State(), TOperationState::Connected);
}

TEST_F(FirmwareMenu, ARefusedBlockStopsTheUploadWithoutTheFinalCommand) {
    emu::Faults f;
    f.refuseBlock = 3;
    panel->setFaults(f);
    auto w = connectedWindow();
    QStringList image = ImageLines(40);
    panel->clearRecords();
    ASSERT_TRUE(startFromFile(*w, writeImage("refused.hex", image)));
    waitForTheEnd(*w);

    const QStringList lines = panel->receivedLines();
    EXPECT_FALSE(StartsWithAny(lines, "+EE")) << lines.join(' ').toStdString();
    EXPECT_FALSE(StartsWithAny(lines, "+W0018")) << "nothing after the refused block";
    EXPECT_TRUE(StartsWithAny(lines, "+W0010"));
    EXPECT_EQ(lines.last(), "CABLE DISCONNECT");
    EXPECT_TRUE(panel->inBootLoader());

    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().first, TBoxKind::Error);
    const QString said = boxes.back().second;
    EXPECT_TRUE(said.contains("Запись блока 3 из 5")) << said.toStdString();
    EXPECT_TRUE(said.contains(kRecovery)) << said.toStdString();
    EXPECT_FALSE(said.contains("Прошивка записана"));
}

TEST_F(FirmwareMenu, CancelStopsBetweenBlocksAfterAWarning) {
    emu::Delays d = emu::Delays::quick();
    d.blockWriteMs = 15;
    panel->setDelays(d);
    auto w = connectedWindow();
    panel->clearRecords();
    ASSERT_TRUE(startFromFile(*w, writeImage("long.hex", ImageLines(40 * 8))));
    TUploadFirmware* engine = w->FirmwareActions().Engine();
    TFormUpdateProgress* form = w->FirmwareActions().ProgressForm();
    QString warning;
    QObject::connect(engine, &TUploadFirmware::StepChanged, form, [&](TUploadStep step, int block) {
        if (step != TUploadStep::WriteBlock || block != 3)
            return;
        form->CancelButton->click();
        auto* box = form->findChild<QMessageBox*>("CancelWarning");
        ASSERT_NE(box, nullptr);
        warning = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    waitForTheEnd(*w);

    EXPECT_TRUE(warning.contains(kRecovery)) << warning.toStdString();
    const QStringList lines = panel->receivedLines();
    EXPECT_FALSE(StartsWithAny(lines, "+EE"));
    EXPECT_EQ(panel->commandCount("+W"), 3) << "the block under way is finished, the next not begun";
    EXPECT_EQ(lines.last(), "CABLE DISCONNECT");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().first, TBoxKind::Error);
    EXPECT_TRUE(boxes.back().second.startsWith("Обновление прервано перед блоком"))
        << boxes.back().second.toStdString();
    EXPECT_TRUE(boxes.back().second.contains(kRecovery));
}

TEST_F(FirmwareMenu, NothingElseCanStartDuringTheUpload) {
    emu::Delays d = emu::Delays::quick();
    d.blockWriteMs = 60; // room for a try while a block waits
    panel->setDelays(d);
    auto w = connectedWindow();
    panel->clearRecords();
    ASSERT_TRUE(startFromFile(*w, writeImage("guarded.hex", ImageLines(10 * 8))));

    std::vector<bool> waiting; // whether the exchange waited for the panel at each try
    auto tryEverything = [&] {
        waiting.push_back(w->CommandExchange()->Waiting());
        EXPECT_EQ(w->State(), TOperationState::UpdatingFirmware);
        EXPECT_FALSE(child<QListWidget>(w.get(), "PageList")->isEnabled());
        for (const char* name : {"MConnect", "MSettings", "MFirmware"}) {
            for (QAction* item : child<QMenu>(w.get(), name)->actions()) {
                // Выход is the close box's twin: it asks before breaking
                // the upload off (the close tests cover it).
                if (item->isSeparator() || item->objectName() == "QuitAction")
                    continue;
                EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
                item->trigger();
            }
        }
        w->ConnectActionExecute();
        w->DisconnectActionExecute();
        w->ReadAllActionExecute();
        w->UpdateFromFileActionExecute();
        w->UpdateFromExeActionExecute();
        for (TOperationState s : {TOperationState::Reading, TOperationState::Writing,
                                  TOperationState::Erasing, TOperationState::UpdatingFirmware})
            EXPECT_FALSE(w->BeginOperation(s)) << StateName(s).toStdString();
        w->SetWakeUp(true); // a page's wish changes nothing
        EXPECT_FALSE(w->Device()->WakeUp());
    };
    QObject::connect(w->FirmwareActions().Engine(), &TUploadFirmware::StepChanged, w.get(),
                     [&](TUploadStep step, int block) {
                         if (step != TUploadStep::WriteBlock)
                             return;
                         if (block == 2) // between two blocks
                             tryEverything();
                         if (block == 5) // while the block waits for its answer
                             QTimer::singleShot(5, w.get(), tryEverything);
                     });
    waitForTheEnd(*w);
    EXPECT_EQ(waiting, (std::vector<bool>{false, true}));
    EXPECT_EQ(questions().size(), 1) << "no second update was asked for";
    for (const QString& line : panel->receivedLines()) {
        const bool upload = line == "+BL" || line == "+v" || line == "+BE" || line.startsWith("+W") ||
                            line.startsWith("+EE") || line == "CABLE DISCONNECT";
        EXPECT_TRUE(upload) << "not the upload's: " << line.toStdString();
    }
    EXPECT_EQ(panel->commandCount("+W"), 10);
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
}

TEST_F(FirmwareMenu, AnUploadBrokenOffByTheCloseOrALostLineNeverEndsInSuccess) {
    emu::Delays d = emu::Delays::quick();
    d.blockWriteMs = 20;
    panel->setDelays(d);
    for (const bool close : {true, false}) {
        SCOPED_TRACE(close ? "closed" : "line lost");
        if (!close)
            panel = StartEmulatedPanel(settingsWith(d));
        auto w = connectedWindow();
        boxes.clear();
        panel->clearRecords();
        ASSERT_TRUE(startFromFile(*w, writeImage("broken.hex", ImageLines(20 * 8))));
        QString asked;
        QObject::connect(w->FirmwareActions().Engine(), &TUploadFirmware::StepChanged, w.get(),
                         [&](TUploadStep step, int block) {
                             if (step != TUploadStep::WriteBlock || block != 3)
                                 return;
                             if (close)
                                 QTimer::singleShot(5, w.get(), [&] {
                                     w->close();
                                     asked = answerStopQuestion(*w, true);
                                 });
                             else
                                 QTimer::singleShot(5, [&] { panel->stop(); });
                         });
        // The window closes, or goes back to the disconnected state.
        ASSERT_TRUE(waitUntil(
            [&] { return !w->FirmwareActions().Running() && (close ? !w->isVisible() : !w->Busy()); },
            10000));
        EXPECT_FALSE(w->Device()->ComActive());
        EXPECT_FALSE(StartsWithAny(panel->receivedLines(), "+EE"));
        EXPECT_LT(panel->commandCount("+W"), 20);
        for (const auto& [kind, text] : boxes)
            EXPECT_FALSE(text.contains("Прошивка записана")) << text.toStdString();
        if (close) {
            EXPECT_EQ(panel->receivedLines().last(), "CABLE DISCONNECT") << "a proper disconnect";
            EXPECT_TRUE(asked.startsWith("Прервать обновление прошивки?")) << asked.toStdString();
            takeOffers();
            // Told once, before the window closed, that the panel waits in its
            // boot loader.
            ASSERT_EQ(int(boxes.size()), questions().size() + 1);
            EXPECT_EQ(boxes.back().first, TBoxKind::Error);
            EXPECT_TRUE(boxes.back().second.contains(kRecovery)) << boxes.back().second.toStdString();
        } else {
            ASSERT_TRUE(waitUntil([&] { return boxes.size() >= 3; }));
            EXPECT_EQ(w->State(), TOperationState::Disconnected);
            // The loss and the upload's end, each in its own error box.
            QStringList errors;
            for (const auto& [kind, text] : boxes) {
                if (kind == TBoxKind::Error)
                    errors << text;
            }
            ASSERT_EQ(errors.size(), 2);
            EXPECT_EQ(errors.filter("Связь с панелью потеряна").size(), 1);
            EXPECT_EQ(errors.filter(kRecovery).size(), 1);
        }
    }
}

// The installer clicks the window's close box during the upload. Between
// blocks he is asked what Cancel asks: "Прервать" stops the upload before
// the next block, tells him that the panel waits in its boot loader and then
// closes the window; "Продолжить" lets the upload go on and keeps the window.
// With only the final check left there is nothing to ask: the window closes
// once the result has been told.
TEST_F(FirmwareMenu, ClosingTheWindowDuringTheUploadAsksFirst) {
    struct Case {
        const char* what;
        TUploadStep at;
        bool stop;
        bool asked, closes, written;
    };
    const Case cases[] = {
        {"stop", TUploadStep::WriteBlock, true, true, true, false},
        {"go on", TUploadStep::WriteBlock, false, true, false, true},
        {"final check", TUploadStep::FinalCheck, true, false, true, true},
    };
    emu::Delays d = emu::Delays::quick();
    d.blockWriteMs = 15;
    d.finalCheckMs = 100;
    panel->setDelays(d);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        panel = StartEmulatedPanel(settingsWith(d));
        auto w = connectedWindow();
        CloseBox closeBox(*w);
        boxes.clear();
        panel->clearRecords();
        ASSERT_TRUE(startFromFile(*w, writeImage("close.hex", ImageLines(20 * 8))));
        bool reached = false;
        QString asked;
        QObject::connect(w->FirmwareActions().Engine(), &TUploadFirmware::StepChanged, w.get(),
                         [&](TUploadStep step, int block) {
                             if (step != c.at || (step == TUploadStep::WriteBlock && block != 3))
                                 return;
                             QTimer::singleShot(5, w.get(), [&] {
                                 reached = closeBox.press();
                                 asked = answerStopQuestion(*w, c.stop);
                             });
                         });
        // The window closes, or stays with the panel disconnected.
        ASSERT_TRUE(waitUntil(
            [&] {
                return !w->FirmwareActions().Running() &&
                       (!w->isVisible() || w->State() == TOperationState::Disconnected);
            },
            20000));
        EXPECT_TRUE(reached) << "the close box works during the upload";
        EXPECT_EQ(asked.startsWith("Прервать обновление прошивки?"), c.asked) << asked.toStdString();
        EXPECT_EQ(w->isVisible(), !c.closes);
        EXPECT_FALSE(w->Device()->ComActive());
        EXPECT_EQ(panel->receivedLines().last(), "CABLE DISCONNECT") << "a proper disconnect";
        takeOffers();
        ASSERT_EQ(int(boxes.size()), questions().size() + 1) << "the upload's end told once";
        const QString said = boxes.back().second;
        if (c.written) {
            EXPECT_EQ(panel->commandCount("+W"), 20);
            EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
            EXPECT_TRUE(said.startsWith("Прошивка записана")) << said.toStdString();
        } else {
            EXPECT_EQ(panel->commandCount("+W"), 3) << "the block under way finished, the next not begun";
            EXPECT_FALSE(StartsWithAny(panel->receivedLines(), "+EE"));
            EXPECT_TRUE(panel->inBootLoader());
            EXPECT_TRUE(said.startsWith("Обновление прервано перед блоком 4 из 20")) << said.toStdString();
            EXPECT_TRUE(said.contains(kRecovery)) << said.toStdString();
        }
    }
}

TEST_F(FirmwareMenu, TheBuiltInImageWhenThePanelNeedsIt) {
    struct Case {
        const char* versionLine;
        const char* memoryType;
        TBoxKind kind;
        QString says;
    };
    // The built-in list: 07.700.126 with an image for M45PE16 panels.
    const Case refused[] = {
        {"REV 07.700.126", "07", TBoxKind::Plain, "Обновление не требуется"},
        {"REV 07.700.125", "03", TBoxKind::Error, "Ошибка извлечения файла прощивки"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.versionLine);
        panel->setVersionLine(c.versionLine);
        panel->setMemoryType(c.memoryType);
        auto w = connectedWindow();
        boxes.clear();
        panel->clearRecords();
        child<QAction>(w.get(), "UpdateFromExeAction")->trigger();
        EXPECT_EQ(boxes, (std::vector<std::pair<TBoxKind, QString>>{{c.kind, c.says}}));
        QTest::qWait(50);
        EXPECT_EQ(panel->receivedLines(), QStringList());
        EXPECT_EQ(w->State(), TOperationState::Connected);
        disconnectWindow(*w);
    }

    panel->setVersionLine("REV 07.700.125");
    panel->setMemoryType("07");
    auto w = connectedWindow();
    boxes.clear();
    panel->clearRecords();
    child<QAction>(w.get(), "UpdateFromExeAction")->trigger();
    ASSERT_TRUE(w->FirmwareActions().Running());
    waitForTheEnd(*w);
    ASSERT_EQ(questions().size(), 1);
    EXPECT_TRUE(questions().first().contains("встроенная прошивка M45PE16_T (07.700.126)"))
        << questions().first().toStdString();
    QFile builtIn(":/FIRMWARE/M45PE16_T");
    ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
    const QStringList image = QString::fromLatin1(builtIn.readAll()).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_EQ(panel->flashedImage(), DataOf(image));
    EXPECT_EQ(panel->receivedLines().last(), "CABLE DISCONNECT");
    EXPECT_EQ(boxes.back().first, TBoxKind::Plain);
}

TEST_F(FirmwareMenu, APanelLeftInItsBootLoaderIsConnectedForTheUpdateAlone) {
    // An update that broke off at the erase leaves the panel in its boot loader.
    emu::Faults f;
    f.refuseErase = true;
    panel->setFaults(f);
    auto w = connectedWindow();
    const QString path = writeImage("image.hex", ImageLines(24));
    ASSERT_TRUE(startFromFile(*w, path));
    waitForTheEnd(*w);
    ASSERT_TRUE(panel->inBootLoader());
    EXPECT_TRUE(boxes.back().second.contains(kRecovery));
    panel->setFaults({});

    // Connecting again: the boot loader answers, and the window takes the
    // connection for the update alone.
    boxes.clear();
    connectWindow(*w);
    ASSERT_EQ(w->State(), TOperationState::BootLoader);
    EXPECT_TRUE(w->Connected());
    EXPECT_FALSE(w->Busy());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, TBoxKind::Plain);
    EXPECT_TRUE(boxes[0].second.contains("Панель находится в загрузчике (BL REV 01.002.004)"))
        << boxes[0].second.toStdString();
    EXPECT_EQ(panelText(*w, 1), "Панель в загрузчике");
    EXPECT_EQ(panelText(*w, 2), "BL REV 01.002.004");
    EXPECT_EQ(panelText(*w, 3), "M45PE16");
    QStringList enabled;
    for (const char* name :
         {"ConnectAction", "DisconnectAction", "ReadAction", "WriteAction", "ReadAllAction", "WriteAllAction",
          "DefaultAction", "DefaultAllAction", "UpdateFromFileAction", "UpdateFromExeAction"}) {
        if (action(*w, name)->isEnabled())
            enabled << name;
    }
    EXPECT_EQ(enabled, (QStringList{"DisconnectAction", "UpdateFromFileAction", "UpdateFromExeAction"}));
    EXPECT_FALSE(child<QListWidget>(w.get(), "PageList")->isEnabled());
    EXPECT_FALSE(w->BeginOperation(TOperationState::Reading)) << "the pages cannot reach the boot loader";
    panel->clearRecords();
    w->ReadAllActionExecute();
    EXPECT_EQ(panel->receivedLines(), QStringList());

    // Running the update again recovers the panel.
    ASSERT_TRUE(startFromFile(*w, path));
    waitForTheEnd(*w);
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
    EXPECT_FALSE(panel->inBootLoader());
    EXPECT_EQ(panelText(*w, 1), "") << "the notice goes with the connection";
    connectWindow(*w);
    EXPECT_EQ(w->State(), TOperationState::Connected);
    EXPECT_EQ(panelText(*w, 2), "REV 07.700.125");
    EXPECT_EQ(panelText(*w, 1), "");
}

TEST_F(FirmwareMenu, TheBootLoaderStateEndsWithDisconnectOrTheClose) {
    auto w = connectedWindow();
    ASSERT_TRUE(w->BeginOperation(TOperationState::UpdatingFirmware));
    QString answer;
    w->CommandExchange()->DeviceCommand("+BL", answer, 500);
    w->EndOperation();
    disconnectWindow(*w);
    ASSERT_TRUE(panel->inBootLoader());

    connectWindow(*w);
    ASSERT_EQ(w->State(), TOperationState::BootLoader);
    panel->clearRecords();
    child<QAction>(w.get(), "DisconnectAction")->trigger();
    ASSERT_TRUE(waitUntil([&] { return w->State() == TOperationState::Disconnected; }));
    EXPECT_EQ(panel->receivedBytes(), QByteArray("CABLE DISCONNECT\r\n"));

    connectWindow(*w);
    ASSERT_EQ(w->State(), TOperationState::BootLoader);
    panel->clearRecords();
    w->close();
    ASSERT_TRUE(waitUntil([&] { return !w->isVisible(); }));
    EXPECT_EQ(panel->receivedBytes(), QByteArray("CABLE DISCONNECT\r\n")) << "closing disconnects properly";
}

} // namespace

namespace {

TEST_F(FirmwareMenu, ASafetyCopyOfTheSettingsIsOfferedFirst) {
    const QString image = writeImage("copy.hex", ImageLines(16));
    const QString copy = scratch.filePath("before-update.ini");
    struct Case {
        const char* what;
        TAnswer answer;
        QStringList dialogs; // the image, then the settings file
        bool read, saved, uploaded;
    };
    const std::vector<Case> cases{
        {"Cancel: nothing sent", TAnswer::Cancel, {image}, false, false, false},
        {"Yes, the save dialog cancelled: nothing sent",
         TAnswer::Yes,
         {image, QString()},
         true,
         false,
         false},
        {"No: the upload alone", TAnswer::No, {image}, false, false, true},
        {"Yes: read, saved, then the upload", TAnswer::Yes, {image, copy}, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto w = connectedWindow();
        panel->setParameter("+o", "2468");
        boxes.clear();
        panel->clearRecords();
        threeWayAnswer = c.answer;
        {
            FileDialogAnswers answers(c.dialogs);
            action(*w, "UpdateFromFileAction")->trigger();
            EXPECT_TRUE(answers.used());
        }
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], std::make_pair(TBoxKind::QuestionCancel, TFirmwareActions::SafetyCopyQuestion()))
            << "asked after the image passed its checks, before anything else";
        const QStringList lines = panel->receivedLines();
        EXPECT_EQ(lines.contains("+o"), c.read) << "every page read from the panel";
        EXPECT_EQ(QFile::exists(copy), c.saved);
        if (c.saved) {
            TSettingsFile file;
            ASSERT_TRUE(file.Read(copy));
            EXPECT_EQ(file.Value("Object"), "2468");
            EXPECT_TRUE(file.Contains("SMS6"));
        }
        if (c.uploaded) {
            waitForTheEnd(*w);
            EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
            const QStringList all = panel->receivedLines();
            if (c.read) {
                EXPECT_LT(all.indexOf("+o"), all.indexOf("+BL")) << "the copy comes before the update";
            }
        } else {
            EXPECT_FALSE(w->FirmwareActions().Running());
            EXPECT_FALSE(panel->receivedLines().contains("+BL"));
            EXPECT_EQ(questions(), QStringList()) << "the upload was not even asked for";
            EXPECT_EQ(w->State(), TOperationState::Connected);
            disconnectWindow(*w);
        }
        QFile::remove(copy);
    }
}

} // namespace

namespace {

TEST_F(FirmwareMenu, ACopyWithPagesNotReadIsKeptOnlyWhenTheUserSaysSo) {
    const QString image = writeImage("copy.hex", ImageLines(16));
    const QString copy = scratch.filePath("before-update.ini");
    // The SMS page's third text never comes.
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+smstext3";
    panel->setFaults(f);
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "stopped");
        auto w = connectedWindow();
        capTimeOuts(*w, 100);
        boxes.clear();
        panel->clearRecords();
        threeWayAnswer = TAnswer::Yes;
        answerYes = keep;
        {
            FileDialogAnswers answers(keep ? QStringList{image, copy} : QStringList{image});
            action(*w, "UpdateFromFileAction")->trigger();
            EXPECT_TRUE(answers.used());
        }
        ASSERT_GE(questions().size(), 1);
        EXPECT_EQ(questions().first(), TFirmwareActions::IncompleteCopyQuestion());
        EXPECT_EQ(QFile::exists(copy), keep);
        if (keep) {
            EXPECT_EQ(questions().size(), 2) << "then the upload's own question";
            waitForTheEnd(*w);
            EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
        } else {
            EXPECT_FALSE(panel->receivedLines().contains("+BL")) << "nothing of the update sent";
            EXPECT_EQ(w->State(), TOperationState::Connected);
            disconnectWindow(*w);
        }
    }
}

} // namespace
