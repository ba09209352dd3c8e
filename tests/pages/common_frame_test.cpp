// The Common page against a scripted panel dialogue and a recording host.
#include "page_fakes.h"
#include "pages/BalloonHint.h"
#include "pages/CommonFrameUnit.h"
#include "pages/PageTable.h"
#include "widget_probes.h"

#include <QAccessible>
#include <QGroupBox>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

const QString ObjectError = QStringLiteral("Номер объекта");
const QString DispError = QStringLiteral("Параметры диспетчерской связи");
const QString SignalError = QStringLiteral("Уровень сигнала GSM");
const QString SignalImpossible = QStringLiteral("В данный момент чтение уровня сигнала GSM невозможно");
const QString Unknown = QStringLiteral("Неопределено");

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

class CommonPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TCommonFrame>(host);
        page->Init();
        balloons = std::make_unique<QSignalSpy>(page.get(), &TCommonFrame::BalloonShown);
        exchange().answers[QStringLiteral("+o")] = Ok(QStringLiteral("0050"));
        exchange().answers[QStringLiteral("+disp")] = Ok(QStringLiteral("FF"));
    }

    template <typename T> T* control(const char* name) {
        return FindControl<T>(page.get(), QLatin1String(name));
    }
    QLineEdit* objNum() { return control<QLineEdit>("ObjNumEdit"); }
    QCheckBox* disp() { return control<QCheckBox>("DispCheckBox"); }
    QComboBox* time() { return control<QComboBox>("TimeCombo"); }
    FakeExchange& exchange() { return host.exchange; }

    // Answers every write with "OK".
    void acceptWrites(const QStringList& commands) {
        for (const QString& c : commands)
            exchange().answers[c] = {QStringLiteral("OK")};
    }
    void readSignal(const QString& value) {
        exchange().answers[QStringLiteral("+U")] = {QStringLiteral("OK"), value, QStringLiteral("OK")};
        page->SpeedButton1Click();
    }

    FakeHost host;
    std::unique_ptr<TCommonFrame> page;
    std::unique_ptr<QSignalSpy> balloons;
};

TEST_F(CommonPage, StartsWithItsControlsTextsAndTimeList) {
    for (const char* name :
         {"MainGroup", "ObjectGroup", "ObjNumLabel", "ObjNumEdit", "DispGroup", "DispCheckBox",
          "InfoTimeText", "TimeCombo", "GSMSignalGroup", "GSMSigralLevel", "SignalProgress", "SignalValue",
          "GSMSignalErrors", "ErrorsProgress", "ErrorsValue", "SpeedButton1"})
        EXPECT_NE(page->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;

    EXPECT_EQ(page->Tag(), ptCommon);
    EXPECT_EQ(objNum()->text(), QStringLiteral("0050"));
    EXPECT_TRUE(objNum()->alignment() & Qt::AlignRight);
    EXPECT_FALSE(disp()->isChecked());
    EXPECT_EQ(disp()->text(), QStringLiteral("Включить диспетчерскую связь"));
    EXPECT_EQ(control<QLabel>("ObjNumLabel")->text(), QStringLiteral("Номер объекта:"));
    EXPECT_EQ(control<QLabel>("SignalValue")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QLabel>("ErrorsValue")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QProgressBar>("SignalProgress")->maximum(), 31);
    EXPECT_EQ(control<QProgressBar>("ErrorsProgress")->maximum(), 7);

    ASSERT_EQ(time()->count(), 255);
    EXPECT_EQ(time()->itemText(0), QStringLiteral("Неограничено"));
    EXPECT_EQ(time()->itemText(1), QStringLiteral("1 мин."));
    EXPECT_EQ(time()->itemText(254), QStringLiteral("254 мин."));
    EXPECT_EQ(time()->maxVisibleItems(), 15);
    EXPECT_EQ(time()->currentIndex(), 0);
    EXPECT_FALSE(time()->isEnabled());
    EXPECT_FALSE(control<QLabel>("InfoTimeText")->isEnabled());

    // A second Init keeps the list and selects its first entry again.
    time()->setCurrentIndex(9);
    page->Init();
    EXPECT_EQ(time()->count(), 255);
    EXPECT_EQ(time()->currentIndex(), 0);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(CommonPage, PageTableCreatesIt) {
    ASSERT_FALSE(PageTable().empty());
    EXPECT_EQ(PageTable().front().Tag, ptCommon);
    std::unique_ptr<TPageFrame> created(PageTable().front().Create(host));
    EXPECT_NE(dynamic_cast<TCommonFrame*>(created.get()), nullptr);
}

TEST_F(CommonPage, WriteSendsZeroFilledObjectAndDispatcherValue) {
    const struct {
        const char* object;
        bool on;
        int time;
        const char* objectSent;
        const char* dispSent;
    } cases[] = {
        {"5", false, 3, "+o0005", "+dispFF"},   // unchecked: FF whatever the list shows
        {"0050", true, 0, "+o0050", "+disp00"}, // unlimited
        {"ABCD", true, 254, "+oABCD", "+dispFE"},
        {"ab", true, 10, "+o00ab", "+disp0A"}, // not decimal: zeros as text
        {"", false, 0, "+o0000", "+dispFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        exchange().sent.clear();
        acceptWrites({QString::fromUtf8(c.objectSent), QString::fromUtf8(c.dispSent)});
        objNum()->setText(QString::fromUtf8(c.object));
        disp()->setChecked(c.on);
        time()->setCurrentIndex(c.time);

        page->WritePage();

        EXPECT_EQ(exchange().Commands(), (QStringList{c.objectSent, c.dispSent}));
        EXPECT_EQ(objNum()->text(), QString::fromUtf8(c.objectSent).mid(2)); // the filled number stays
        for (const FakeExchange::Sent& s : exchange().sent) {
            EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);
            EXPECT_FALSE(s.Uparam);
        }
    }
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(CommonPage, FailedWritesAreListedOnceInWriteMode) {
    // Nothing answered: both parameters fail, in page order, in one list.
    page->WritePage();
    EXPECT_EQ(exchange().Commands(), (QStringList{"+o0050", "+dispFF"}));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{ObjectError, DispError}));
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);

    // An answer without "OK" fails that parameter only.
    acceptWrites({"+o0050"});
    exchange().answers[QStringLiteral("+dispFF")] = {QStringLiteral("ERROR")};
    page->WritePage();
    ASSERT_EQ(host.errorLists.size(), 2u);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{DispError});
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(CommonPage, WriteWithoutTimeListSkipsTheDispatcherAndReportsIt) {
    // Before Init the list is empty, so a checked box has no time to send.
    TCommonFrame bare(host);
    bare.findChild<QCheckBox*>(QStringLiteral("DispCheckBox"))->setChecked(true);
    acceptWrites({"+o0050"});
    bare.WritePage();
    EXPECT_EQ(exchange().Commands(), QStringList{"+o0050"});
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{DispError});
}

TEST_F(CommonPage, ReadDecodesTheDispatcherValue) {
    const struct {
        const char* answer;
        bool on;
        int time;
    } cases[] = {{"FF", false, 0}, {"0A", true, 10}, {"00", true, 0}, {"FE", true, 254}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        disp()->setChecked(!c.on);
        time()->setCurrentIndex(5);
        balloons->clear();
        exchange().answers[QStringLiteral("+disp")] = Ok(QString::fromUtf8(c.answer));

        page->ReadPage();

        EXPECT_EQ(disp()->isChecked(), c.on);
        EXPECT_EQ(time()->currentIndex(), c.time);
        EXPECT_EQ(time()->isEnabled(), c.on);
        EXPECT_EQ(balloons->count(), 0); // a read never raises the warning
    }
    EXPECT_TRUE(host.errorLists.empty());
    for (const FakeExchange::Sent& s : exchange().sent) {
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);
        EXPECT_FALSE(s.Uparam);
    }
}

TEST_F(CommonPage, UnusableDispatcherAnswersChangeNothing) {
    for (const char* answer : {"XY", "1G", "FFFF"}) {
        SCOPED_TRACE(answer);
        host.errorLists.clear();
        disp()->setChecked(true);
        time()->setCurrentIndex(7);
        exchange().answers[QStringLiteral("+disp")] = Ok(QString::fromUtf8(answer));

        page->ReadPage();

        EXPECT_TRUE(disp()->isChecked());
        EXPECT_EQ(time()->currentIndex(), 7);
        ASSERT_EQ(host.errorLists.size(), 1u);
        EXPECT_EQ(host.errorLists[0].Errors, QStringList{DispError});
        EXPECT_EQ(host.errorLists[0].Mode, wmRead);
    }
}

// A time above FF: the link on, the list without selection, no failure;
// the value goes back exactly as it came until the user changes the link
// or the time.
TEST_F(CommonPage, ADispatcherTimeAboveFFIsKeptAndWrittenBack) {
    for (const char* answer : {"100", "1FF", "FFF"}) {
        SCOPED_TRACE(answer);
        host.errorLists.clear();
        disp()->setChecked(false);
        time()->setCurrentIndex(7);
        exchange().answers[QStringLiteral("+disp")] = Ok(QString::fromUtf8(answer));
        page->ReadPage();
        EXPECT_TRUE(disp()->isChecked());
        EXPECT_EQ(time()->currentIndex(), -1);
        EXPECT_TRUE(host.errorLists.empty());
        exchange().sent.clear();
        page->WritePage();
        EXPECT_TRUE(exchange().Commands().contains(QStringLiteral("+disp") + QString::fromUtf8(answer)));
    }
    // Changed by the user: what the page shows is written.
    time()->setCurrentIndex(3);
    exchange().sent.clear();
    page->WritePage();
    EXPECT_TRUE(exchange().Commands().contains(QStringLiteral("+disp03")));
}

TEST_F(CommonPage, ReadTakesTheObjectNumberAsText) {
    const struct {
        QStringList answer;
        const char* shown;
        bool fails;
    } cases[] = {
        {Ok("1234"), "1234", false},
        {Ok("12345"), "12345", false}, // longer than can be typed, kept whole
        {Ok("00ab"), "00ab", false},   // taken as the panel gives it
        {{"OK"}, "0050", true},        // no value line
        {Ok("07"), "0050", true},      // another command's answer (the memory type's)
        {Ok("0x5"), "0050", true},     // no object number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        host.errorLists.clear();
        objNum()->setText(QStringLiteral("0050"));
        exchange().answers[QStringLiteral("+o")] = c.answer;

        page->ReadPage();

        EXPECT_EQ(objNum()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(host.errorLists.size(), c.fails ? 1u : 0u);
    }

    exchange().answers.remove(QStringLiteral("+o"));
    exchange().answers.remove(QStringLiteral("+disp"));
    host.errorLists.clear();
    objNum()->setText(QStringLiteral("0077"));
    page->ReadPage();
    EXPECT_EQ(objNum()->text(), QStringLiteral("0077"));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{ObjectError, DispError}));
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
}

TEST_F(CommonPage, ModeFollowsTheOperation) {
    std::vector<std::pair<QString, TWorkMode>> seen;
    exchange().during = [&](const QString& command) { seen.emplace_back(command, page->Mode()); };
    acceptWrites({"+o0050", "+dispFF"});

    page->ReadPage();
    EXPECT_EQ(page->Mode(), wmNull);
    page->WritePage();
    EXPECT_EQ(page->Mode(), wmNull);
    readSignal(QStringLiteral("1F00"));
    EXPECT_EQ(page->Mode(), wmNull);

    const std::vector<std::pair<QString, TWorkMode>> expected{
        {"+o", wmRead}, {"+disp", wmRead}, {"+o0050", wmWrite}, {"+dispFF", wmWrite}, {"+U", wmRead}};
    EXPECT_EQ(seen, expected);
}

TEST_F(CommonPage, SignalReadingShowsPercentagesAndUnknownLevels) {
    const struct {
        const char* value;
        const char* signalText;
        int signalBar;
        const char* errorsText;
        int errorsBar;
    } cases[] = {
        {"1F00", "100%", 31, "0%", 0},
        {"0307", "9%", 3, "100%", 7},
        {"6363", "Неопределено", 17, "Неопределено", 3}, // bars stay where they were
        {"1163", "54%", 17, "Неопределено", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        readSignal(QStringLiteral("1103")); // bars at 17 and 3 before the reading
        readSignal(QString::fromUtf8(c.value));
        EXPECT_EQ(control<QLabel>("SignalValue")->text(), QString::fromUtf8(c.signalText));
        EXPECT_EQ(control<QProgressBar>("SignalProgress")->value(), c.signalBar);
        EXPECT_EQ(control<QLabel>("ErrorsValue")->text(), QString::fromUtf8(c.errorsText));
        EXPECT_EQ(control<QProgressBar>("ErrorsProgress")->value(), c.errorsBar);
    }
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(CommonPage, SignalReadingSetsUparamOnlyAroundItsCommand) {
    readSignal(QStringLiteral("1F00"));
    ASSERT_EQ(exchange().sent.size(), 1u);
    EXPECT_EQ(exchange().sent[0].Command, QStringLiteral("+U"));
    EXPECT_EQ(exchange().sent[0].TimeOut, ExchangeTimeout::Signal);
    EXPECT_TRUE(exchange().sent[0].Uparam);
    EXPECT_FALSE(exchange().Uparam());
    EXPECT_EQ(host.began, std::vector<TOperationState>{TOperationState::Reading});
    EXPECT_EQ(host.ended, 1);
    EXPECT_TRUE(host.held.empty());
}

TEST_F(CommonPage, FailedSignalReadingIsListedAndCleansUp) {
    readSignal(QStringLiteral("1103"));
    const QStringList bad[] = {
        {}, // no answer
        {QStringLiteral("OK"), QStringLiteral("ZZ00"), QStringLiteral("OK")},
        {QStringLiteral("OK"), QStringLiteral("2000"), QStringLiteral("OK")}, // level 32
        {QStringLiteral("OK"), QStringLiteral("1F0"), QStringLiteral("OK")},
    };
    for (const QStringList& answer : bad) {
        SCOPED_TRACE(answer.join(QLatin1Char('|')).toStdString());
        host.errorLists.clear();
        if (answer.isEmpty())
            exchange().answers.remove(QStringLiteral("+U"));
        else
            exchange().answers[QStringLiteral("+U")] = answer;
        const int endedBefore = host.ended;

        page->SpeedButton1Click();

        ASSERT_EQ(host.errorLists.size(), 1u);
        EXPECT_EQ(host.errorLists[0].Errors, QStringList{SignalError});
        EXPECT_EQ(host.errorLists[0].Mode, wmRead);
        EXPECT_EQ(control<QLabel>("SignalValue")->text(), QStringLiteral("54%"));
        EXPECT_EQ(control<QProgressBar>("SignalProgress")->value(), 17);
        EXPECT_FALSE(exchange().Uparam());
        EXPECT_EQ(page->Mode(), wmNull);
        EXPECT_EQ(host.ended, endedBefore + 1);
        EXPECT_TRUE(host.held.empty());
    }
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(CommonPage, SignalReadingErrorShowsTheMessageAndCleansUp) {
    exchange().during = [](const QString&) { throw std::runtime_error("link gone"); };
    page->SpeedButton1Click();
    EXPECT_EQ(host.messages, QStringList{SignalImpossible});
    EXPECT_FALSE(exchange().Uparam());
    EXPECT_EQ(page->Mode(), wmNull);
    EXPECT_EQ(host.began.size(), 1u);
    EXPECT_EQ(host.ended, 1);
    EXPECT_TRUE(host.held.empty());
}

TEST_F(CommonPage, SignalReadingIsRefusedWithoutConnection) {
    host.connected = false;
    QTest::mouseClick(control<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(host.messages, QStringList{SignalImpossible});
    EXPECT_TRUE(exchange().sent.empty());
    EXPECT_TRUE(host.began.empty());
    EXPECT_FALSE(exchange().Uparam());
}

TEST_F(CommonPage, NoSecondExchangeStartsWhileOneWaits) {
    // The message loop runs during a wait, so the button can be pressed then.
    exchange().during = [&](const QString&) { control<QToolButton>("SpeedButton1")->click(); };
    page->ReadPage();
    readSignal(QStringLiteral("1F00"));
    EXPECT_EQ(exchange().Commands(), (QStringList{"+o", "+disp", "+U"}));
}

TEST_F(CommonPage, BalloonOnlyWhenTheBoxIsCheckedOutsideAnOperation) {
    disp()->setChecked(true);
    ASSERT_EQ(balloons->count(), 1);
    EXPECT_EQ(balloons->at(0).at(0).toString(), QStringLiteral("Внимание!"));
    EXPECT_EQ(balloons->at(0).at(1).toString(),
              QStringLiteral("Для работы диспетчерской связи необходимо добавить\n"
                             "инженерные номера в память панели\n"));
    EXPECT_TRUE(time()->isEnabled());
    EXPECT_TRUE(control<QLabel>("InfoTimeText")->isEnabled());

    disp()->setChecked(false); // unchecking warns of nothing
    EXPECT_FALSE(time()->isEnabled());
    EXPECT_FALSE(control<QLabel>("InfoTimeText")->isEnabled());

    exchange().answers[QStringLiteral("+disp")] = Ok(QStringLiteral("0A"));
    page->ReadPage(); // checks the box in read mode
    EXPECT_TRUE(disp()->isChecked());
    EXPECT_EQ(balloons->count(), 1);

    page->SetDefault();
    QTest::mouseClick(disp(), Qt::LeftButton); // the user's own click
    EXPECT_EQ(balloons->count(), 2);
}

TEST_F(CommonPage, DefaultsNeedNoPanel) {
    objNum()->setText(QStringLiteral("1234"));
    disp()->setChecked(true);
    time()->setCurrentIndex(30);
    page->SetDefault();
    EXPECT_EQ(objNum()->text(), QStringLiteral("0050"));
    EXPECT_FALSE(disp()->isChecked());
    EXPECT_EQ(time()->currentIndex(), 0);
    EXPECT_FALSE(time()->isEnabled());
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(CommonPage, KeyFilterAndPastedText) {
    QLineEdit* edit = objNum();
    edit->clear();
    typeText(edit, QStringLiteral("1g-Ж 2aF"));
    EXPECT_EQ(edit->text(), QStringLiteral("12aF"));
    typeText(edit, QStringLiteral("3")); // a fifth character is not taken
    EXPECT_EQ(edit->text(), QStringLiteral("12aF"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("12a"));

    // A longer number the page put there itself stays whole; typing cannot
    // make it longer, erasing works.
    page->SetSettings({"Object=12345", "Disp=0", "Time=0"});
    typeText(edit, QStringLiteral("6"));
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("1234"));

    // Inserted text (paste, drop) obeys the same rule: all of it or nothing.
    const struct {
        const char* inserted;
        const char* result;
    } cases[] = {{"0B", "0B"}, {"1-2", ""}, {"12345", ""}, {"Ж1", ""}, {"abcd", "abcd"}};
    for (const auto& c : cases) {
        edit->clear();
        edit->insert(QString::fromUtf8(c.inserted));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.result)) << c.inserted;
    }
}

TEST_F(CommonPage, SettingsRoundTrip) {
    objNum()->setText(QStringLiteral("00AB"));
    disp()->setChecked(true);
    time()->setCurrentIndex(37);
    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"Object=00AB", "Disp=1", "Time=37"}));

    FakeHost otherHost;
    TCommonFrame other(otherHost);
    other.Init();
    QSignalSpy otherBalloons(&other, &TCommonFrame::BalloonShown);
    other.SetSettings(lines);
    EXPECT_EQ(other.findChild<QLineEdit*>(QStringLiteral("ObjNumEdit"))->text(), QStringLiteral("00AB"));
    EXPECT_TRUE(other.findChild<QCheckBox*>(QStringLiteral("DispCheckBox"))->isChecked());
    EXPECT_TRUE(other.findChild<QComboBox*>(QStringLiteral("TimeCombo"))->isEnabled());
    EXPECT_EQ(other.findChild<QComboBox*>(QStringLiteral("TimeCombo"))->currentIndex(), 37);
    EXPECT_EQ(otherBalloons.count(), 1); // loading a checked box warns as a click does

    // Other keys, another order and letter case; a missing object number empties the box.
    page->SetSettings({"Time=0", "x=1", "disp=0"});
    EXPECT_EQ(objNum()->text(), QString());
    EXPECT_FALSE(disp()->isChecked());
    EXPECT_EQ(time()->currentIndex(), 0);
}

TEST_F(CommonPage, SettingsThePageCannotUseResetItWhole) {
    const QStringList cases[] = {
        {"Object=1234", "Disp=x", "Time=3"},
        {"Object=1234", "Time=3"},
        {"Object=1234", "Disp=1"},
    };
    for (const QStringList& lines : cases) {
        SCOPED_TRACE(lines.join(QLatin1Char(' ')).toStdString());
        objNum()->setText(QStringLiteral("9999"));
        disp()->setChecked(true);
        time()->setCurrentIndex(7);
        balloons->clear();

        page->SetSettings(lines);

        EXPECT_EQ(objNum()->text(), QStringLiteral("0050"));
        EXPECT_FALSE(disp()->isChecked());
        EXPECT_EQ(time()->currentIndex(), 0);
        EXPECT_EQ(balloons->count(), 0);
    }
}

// A time beyond the list leaves it without selection, a switch value other
// than 0 and 1 is kept as it is; the object number is taken all the same,
// and the page names the lines it could not take.
TEST_F(CommonPage, SettingsBeyondTheListsAreTakenWithoutSelection) {
    const struct {
        QStringList lines;
        int time;
    } cases[] = {
        {{"Object=1234", "Disp=1", "Time=255"}, -1},
        {{"Object=1234", "Disp=1", "Time=-1"}, -1},
        {{"Object=1234", "Disp=2", "Time=3"}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char(' ')).toStdString());
        objNum()->setText(QStringLiteral("9999"));
        time()->setCurrentIndex(7);
        page->SetSettings(c.lines);
        EXPECT_EQ(objNum()->text(), QStringLiteral("1234"));
        EXPECT_EQ(time()->currentIndex(), c.time);
        EXPECT_EQ(page->PageModel()->LoadRefused().size(), 1);
        QStringList saved;
        page->GetSettings(saved);
        EXPECT_EQ(saved, c.lines) << "saved as the file gave it";
    }
}

TEST_F(CommonPage, ControlsAreReadWithTheirOwnNames) {
    page->show();
    EXPECT_EQ(accessibleName(objNum()), QStringLiteral("Номер объекта:"));
    EXPECT_EQ(labelledBy(time()), control<QLabel>("InfoTimeText")->text());
    EXPECT_EQ(labelledBy(control<QProgressBar>("SignalProgress")), QStringLiteral("Уровень сигнала GSM"));
    EXPECT_EQ(labelledBy(control<QProgressBar>("ErrorsProgress")), QStringLiteral("Уровень ошибок GSM"));
    // Inner boxes by their own titles, not the page's.
    for (const char* name : {"ObjectGroup", "DispGroup", "GSMSignalGroup", "MainGroup"}) {
        auto* box = control<QGroupBox>(name);
        EXPECT_EQ(accessibleName(box), box->title()) << name;
    }
    auto* button = control<QToolButton>("SpeedButton1");
    EXPECT_EQ(button->toolTip(), QStringLiteral("Прочитать уровень сигнала GSM"));
    EXPECT_EQ(accessibleName(button), button->toolTip());
}

TEST_F(CommonPage, SignalBarsKeepTheirWidthWhateverTheyShow) {
    page->resize(640, 400);
    page->show();
    QApplication::processEvents();
    auto* bar = control<QProgressBar>("SignalProgress");
    auto* errorsBar = control<QProgressBar>("ErrorsProgress");
    const int width = bar->width();
    const int errorsWidth = errorsBar->width();
    for (const char* value : {"1103", "6363", "1F00", "0000"}) {
        readSignal(QString::fromUtf8(value));
        QApplication::processEvents();
        EXPECT_EQ(bar->width(), width) << value;
        EXPECT_EQ(errorsBar->width(), errorsWidth) << value;
    }
}

TEST_F(CommonPage, BalloonStaysClearOfTheListForItsWholeTime) {
    page->resize(640, 400);
    page->show();
    QApplication::processEvents();
    TBalloonHint* balloon = page->BalloonHint();
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->ShowTime(), TCommonFrame::BalloonShowMs);

    // The pointer on the list just below the box, as after a click there.
    QCursor::setPos(time()->mapToGlobal(time()->rect().center()));
    disp()->setChecked(true);
    ASSERT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->Title(), QStringLiteral("Внимание!"));
    EXPECT_LE(balloon->Text().count(QLatin1Char('\n')), 1) << "one or two lines";
    const QRect list(time()->mapToGlobal(QPoint(0, 0)), time()->size());
    EXPECT_FALSE(balloon->frameGeometry().intersects(list));

    // Leaving the window does not take it away; its time does.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(page.get(), &leave);
    QApplication::sendEvent(time(), &leave);
    QCursor::setPos(page->mapToGlobal(QPoint(-300, -300)));
    QApplication::processEvents();
    EXPECT_TRUE(balloon->isVisible());
    disp()->setChecked(false);
    balloon->SetShowTime(30);
    disp()->setChecked(true);
    ASSERT_TRUE(balloon->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !balloon->isVisible(); }, 2000));
}

} // namespace
