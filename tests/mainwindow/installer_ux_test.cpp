// What an installer meets in the window besides the pages' values: the
// error list by page and reason, the outcome in the status bar, the log's
// end in view, the connection dialog's Отмена and steps, the questions of a
// whole write before anything is sent, the page list in step with the page
// on show, the History page's erase and empty journal, the GPRS fields'
// reasons, the status bar after a disconnect.
#include "main_window_fixture.h"
#include "mainwindow/OperationOutcome.h"
#include "pages/GPRSFrameUnit.h"
#include "pages/HistoryFrameUnit.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeWidget>

#include <optional>

namespace {

class InstallerUx : public MainWindow {};

TEST(OperationOutcome, SaysWhatTheOperationCameTo) {
    const struct {
        TOperationState Op;
        int Pages;
        TOperationResult Result;
        const char* Text;
    } cases[] = {
        {TOperationState::Reading, 8, {TOperationResult::Done, {}}, "Прочитано: 8 страниц, без ошибок"},
        {TOperationState::Writing, 1, {TOperationResult::Failed, {"a", "b"}}, "Записано: 1 страница, ошибок: 2"},
        {TOperationState::Reading, 3, {TOperationResult::Failed, {}}, "Прочитано: 3 страницы, ошибок: 1"},
        {TOperationState::Defaulting, 21, {TOperationResult::Done, {}},
         "Установлены значения по умолчанию: 21 страница, без ошибок"},
        {TOperationState::Reading, 12, {TOperationResult::Done, {}}, "Прочитано: 12 страниц, без ошибок"},
        {TOperationState::Writing, 4, {TOperationResult::Lost, {"a"}}, "Связь с панелью потеряна"},
        {TOperationState::Reading, 2, {TOperationResult::Cancelled, {}}, "Прервано"},
        {TOperationState::Reading, 0, {TOperationResult::Refused, {}}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OperationOutcomeText(c.Op, c.Pages, c.Result), QString::fromUtf8(c.Text)) << c.Text;
}

// The exchange tells why it put a name in an error list: no answer, or an
// answer without "OK" (a refusal); a name it did not put there was failed by
// its page, for a value the page cannot use.
class TScriptedExchange : public TPanelExchange {
public:
    QList<std::optional<QStringList>> Answers;
    bool DeviceCommandLst(const QString&, QStringList& Res, uint32_t) override {
        const std::optional<QStringList> next = Answers.takeFirst();
        if (next)
            Res = *next;
        return next.has_value();
    }
    bool Uparam() const override { return false; }
    void SetUparam(bool) override {}
};

TEST(ErrorReasons, TheExchangeSaysWhyANameFailed) {
    TScriptedExchange exchange;
    exchange.Answers = {std::nullopt, QStringList{"ERROR"}, QStringList{"OK"}};
    QStringList errors;
    exchange.SendParamToDevice("+o0050", errors, "silent", "OK", 10);
    exchange.SendParamToDevice("+o0050", errors, "refused", "OK", 10);
    exchange.SendParamToDevice("+o0050", errors, "taken", "OK", 10);
    EXPECT_EQ(errors, (QStringList{"silent", "refused"}));
    EXPECT_EQ(exchange.FailReason("silent"), TFailReason::NoAnswer);
    EXPECT_EQ(exchange.FailReason("refused"), TFailReason::Refused);
    EXPECT_EQ(exchange.FailReason("a page's own"), TFailReason::BadValue);
    EXPECT_EQ(TErrorListForm::ReasonText(TFailReason::Refused, wmWrite), "панель не приняла значение");
    exchange.ForgetFailReasons();
    EXPECT_EQ(exchange.FailReason("silent"), TFailReason::BadValue);
}

TEST_F(InstallerUx, TheErrorListGroupsByPageWithReasonsAndCloses) {
    auto w = connectedWindow(60);
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    w->ReadAllActionExecute();
    // The panel answered everything but "+disp": the Common page lists it,
    // no answer as its reason; no other page failed, nothing was replaced.
    TErrorListForm* list = w->ErrorListForm();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->Heading(), "Не удалось прочитать следующие значения:");
    EXPECT_EQ(list->Items(PageName(ptCommon)), QStringList{"Параметры диспетчерской связи"});
    EXPECT_EQ(list->Reasons(), QStringList{"панель не ответила"});
    EXPECT_EQ(w->Outcome(), QString("Прочитано: %1 страниц, ошибок: 1").arg(w->Frames().size()));

    // A value the page cannot use; a write the panel answers without "OK".
    panel->setFaults({});
    ASSERT_TRUE(panel->storeParameterBytes("+disp", "ZZ"));
    list->close();
    w->ReadActionExecute();
    EXPECT_EQ(list->Items(), QStringList{"Параметры диспетчерской связи"});
    EXPECT_EQ(list->Reasons(), QStringList{"значение, которое страница не может показать"});
    EXPECT_EQ(w->Outcome(), "Прочитано: 1 страница, ошибок: 1");
    f = {};
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    w->WriteActionExecute();
    EXPECT_EQ(list->Heading(), "Не удалось записать следующие значения:");
    EXPECT_EQ(list->Items(), QStringList{"Номер объекта"});
    EXPECT_EQ(list->Reasons(), QStringList{"панель не ответила"});

    // Закрыть and Esc close it.
    child<QDialogButtonBox>(list, "ErrorListButtons")->button(QDialogButtonBox::Close)->click();
    EXPECT_FALSE(list->isVisible());
    w->ReadActionExecute();
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());

    // A good read says so.
    panel->setFaults({});
    w->ReadAllActionExecute();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(w->Outcome(), QString("Прочитано: %1 страниц, без ошибок").arg(w->Frames().size()));
    EXPECT_EQ(child<QLabel>(w.get(), "OutcomeLabel")->accessibleName(), w->Outcome());
}

TEST_F(InstallerUx, TheLogsEndStaysInViewWhileAnOperationRuns) {
    auto w = connectedWindow(500);
    auto* autoscroll = child<QCheckBox>(w.get(), "AutoscrollCheckBox");
    autoscroll->setChecked(false);
    auto* memo = child<QPlainTextEdit>(w.get(), "LogMemo");
    // Enough lines to scroll, then the view at the top, as the user left it.
    w->ReadAllActionExecute();
    w->ReadAllActionExecute();
    memo->verticalScrollBar()->setValue(0);
    int atEnd = 0;
    int samples = 0;
    QObject::connect(memo->document(), &QTextDocument::contentsChanged, memo, [&] {
        QTimer::singleShot(0, memo, [&] {
            if (w->State() != TOperationState::Reading)
                return;
            ++samples;
            atEnd += memo->verticalScrollBar()->value() == memo->verticalScrollBar()->maximum();
        });
    });
    w->ReadAllActionExecute();
    ASSERT_GT(samples, 10);
    EXPECT_GT(atEnd, samples * 9 / 10);
}

TEST_F(InstallerUx, ConnectionDialogCancelClosesWhenNothingRunsAndSaysTheStep) {
    auto w = makeWindow();
    // Отмена with nothing under way closes the dialog.
    connectWindow(*w, [](TConnectForm& d) { child<QPushButton>(&d, "CancelButton")->click(); });
    EXPECT_FALSE(w->Connected());
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
    // So does Esc.
    connectWindow(*w, [](TConnectForm& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(w->State(), TOperationState::Disconnected);

    // A connection that gets no answer is stopped by Отмена, the dialog
    // stays; the second Отмена closes it.
    emu::Faults f;
    f.dropEvery = 1;
    panel->setFaults(f);
    QString stepWhileRunning;
    bool stayed = false;
    connectWindow(*w, [&](TConnectForm& d) {
        pressConnect(d, panel->slavePath());
        waitUntil([&] { return !child<QLabel>(&d, "StepLabel")->text().isEmpty(); }, 2000);
        stepWhileRunning = child<QLabel>(&d, "StepLabel")->text();
        child<QPushButton>(&d, "CancelButton")->click();
        stayed = d.isVisible();
        EXPECT_EQ(child<QLabel>(&d, "StepLabel")->text(), "Подключение отменено");
        child<QPushButton>(&d, "CancelButton")->click();
    });
    EXPECT_EQ(stepWhileRunning, "Подключение по кабелю…");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(w->State(), TOperationState::Disconnected);
}

TEST_F(InstallerUx, WriteAllAsksItsQuestionsBeforeAnythingIsSent) {
    auto w = connectedWindow(500);
    w->ReadAllActionExecute();
    panel->clearRecords();
    QList<QStringList> sentWhenAsked;
    SetMessagePresenter([&](QWidget*, const TMessage& m) -> TBoxAnswer {
        boxes.push_back({m.Kind, m.Text});
        if (m.Kind == TBoxKind::Question)
            sentWhenAsked << panel->receivedLines();
        return answerYes;
    });
    answerYes = false; // no erase: the Channels page is not written
    w->WriteAllActionExecute();
    ASSERT_EQ(sentWhenAsked.size(), 1) << "asked once";
    EXPECT_TRUE(sentWhenAsked[0].isEmpty()) << sentWhenAsked[0].join(' ').toStdString();
    EXPECT_FALSE(panel->receivedLines().contains("+erase"));
    EXPECT_TRUE(panel->receivedLines().contains("+o0050") || !panel->receivedLines().filter("+o").isEmpty());

    // Yes: asked once, first, and the erase goes with the Channels page.
    sentWhenAsked.clear();
    panel->clearRecords();
    answerYes = true;
    w->WriteAllActionExecute();
    ASSERT_EQ(sentWhenAsked.size(), 1);
    EXPECT_TRUE(sentWhenAsked[0].isEmpty());
    EXPECT_FALSE(panel->receivedLines().filter("erase").isEmpty());
}

TEST_F(InstallerUx, ThePageListMarksThePageOnShowWhoeverBroughtItUp) {
    auto w = connectedWindow(500);
    auto* list = child<QListWidget>(w.get(), "PageList");
    // Sampled while the round runs: the list's row and the page on show.
    int samples = 0;
    int outOfStep = 0;
    QTimer sampler;
    sampler.setInterval(2);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const auto& frames = w->Frames();
        const auto at = std::find(frames.begin(), frames.end(), w->CurrentFrame());
        ++samples;
        outOfStep += list->currentRow() != int(at - frames.begin());
    });
    showFrame<THistoryFrame>(*w);
    sampler.start();
    w->ReadAllActionExecute();
    sampler.stop();
    EXPECT_GT(samples, 5);
    EXPECT_EQ(outOfStep, 0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w->CurrentFrame(), w->Frames().front());
}

TEST_F(InstallerUx, HistoryEraseIsNamedAsSuchAndAnEmptyJournalIsSaid) {
    panel->setJournalLines({});
    auto w = connectedWindow(500);
    THistoryFrame* history = showFrame<THistoryFrame>(*w);
    auto* erase = child<QPushButton>(history, "ClearBtn");
    EXPECT_EQ(erase->text(), "Очистить журнал панели…");
    EXPECT_FALSE(erase->toolTip().isEmpty());
    EXPECT_NE(erase->text(), child<QPushButton>(w.get(), "ClearLogButton")->text());
    auto* note = child<QLabel>(history, "EmptyNote");
    w->ReadActionExecute();
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith("Журнал панели пуст"));

    panel->regenerateJournal(30);
    w->ReadActionExecute();
    EXPECT_FALSE(note->isVisible());
}

TEST_F(InstallerUx, RedGprsFieldsSayWhy) {
    auto w = makeWindow();
    TGPRSFrame* gprs = showFrame<TGPRSFrame>(*w);
    const struct {
        const char* Edit;
        const char* Bad;
        const char* Good;
        const char* Says;
    } cases[] = {
        {"PasswordEdit", "123", "12345678", "8 символов"},
        {"IPEdit1", "300.1.1.1", "10.0.0.1", "от 0 до 255"},
        {"PortEdit1", "0", "8080", "от 1 до 65535"},
    };
    for (const auto& c : cases) {
        auto* edit = child<QLineEdit>(gprs, c.Edit);
        edit->setText(c.Good);
        const QString before = edit->toolTip();
        EXPECT_FALSE(before.contains(QString::fromUtf8(c.Says))) << c.Edit;
        edit->setText(c.Bad);
        EXPECT_TRUE(edit->toolTip().contains(QString::fromUtf8(c.Says))) << c.Edit;
        edit->setText(c.Good);
        EXPECT_EQ(edit->toolTip(), before) << c.Edit;
    }
}

// An edit a connected panel could take is not dropped unasked: Read, Read
// all, Load, Disconnect and the close ask Записать / Не записывать /
// Отмена, and the page list marks a changed page.
TEST_F(InstallerUx, UnwrittenEditsAreNotLostUnasked) {
    auto w = connectedWindow(500);
    w->ReadAllActionExecute();
    auto* list = child<QListWidget>(w.get(), "PageList");
    auto* object = child<QLineEdit>(common(*w), "ObjNumEdit");
    EXPECT_FALSE(list->item(0)->font().bold());
    object->setFocus();
    object->selectAll();
    QTest::keyClicks(object, "77"); // the user types
    ASSERT_NE(object->text(), panel->parameter("+o"));
    EXPECT_TRUE(list->item(0)->font().bold());
    EXPECT_FALSE(list->item(0)->toolTip().isEmpty());

    // Отмена: nothing is read, the edit stays.
    const QString typed = object->text();
    boxes.clear();
    panel->clearRecords();
    threeWayAnswer = TAnswer::Cancel;
    w->ReadActionExecute();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, "Изменения на странице «Общие настройки» не записаны в панель. Записать их?");
    EXPECT_TRUE(panel->receivedLines().isEmpty());
    EXPECT_EQ(object->text(), typed);
    w->DisconnectActionExecute();
    EXPECT_TRUE(w->Connected());

    // Записать before a disconnect: written, then disconnected.
    threeWayAnswer = TAnswer::Yes;
    w->DisconnectActionExecute();
    ASSERT_TRUE(waitUntil([&] { return !w->Connected() && !w->Busy(); }));
    EXPECT_TRUE(panel->parameter("+o").endsWith("77")) << panel->parameter("+o").toStdString();
    EXPECT_FALSE(list->item(0)->font().bold());

    // Не записывать: the read goes on and replaces the edit.
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    const QString held = object->text();
    QTest::keyClick(object, Qt::Key_Backspace);
    ASSERT_NE(object->text(), held);
    boxes.clear();
    threeWayAnswer = TAnswer::No;
    w->ReadAllActionExecute();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(object->text(), held);
    EXPECT_FALSE(list->item(0)->font().bold());
}

TEST_F(InstallerUx, AfterADisconnectThePortLabelNamesNoPort) {
    auto w = connectedWindow(500);
    auto* port = child<QLabel>(w.get(), "InfoBarPanel0");
    EXPECT_EQ(port->accessibleName(), panel->slavePath());
    disconnectWindow(*w);
    EXPECT_TRUE(port->accessibleName().isEmpty());
    EXPECT_TRUE(port->text().isEmpty());
}

} // namespace
