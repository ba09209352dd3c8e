// The Alarm buttons page against a scripted panel dialogue and a recording
// host.
#include "page_fakes.h"
#include "pages/AlarmButtonsFrameUnit.h"
#include "pages/PageTable.h"
#include "settings_lines.h"
#include "widget_probes.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString ReactionError = QStringLiteral("Параметры реакции на тревожные кнопки");
const QString Button1Error = QStringLiteral("Настройки реакции тревожной кнопки 1");
const QString Button2Error = QStringLiteral("Настройки реакции тревожной кнопки 2");
const QString HoldTimeError = QStringLiteral("Время удержания тревожной кнопки");
const QStringList ReadCommands = {"+X", "+n00", "+n02", "+presstime"};
const QStringList DefaultWrites = {"+X20", "+n00110000000", "+n02110000000", "+presstime02"};

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

// What one button shows.
struct TButtonView {
    bool Enabled;
    QString AlarmType; // the selected item's text; empty for none
    int Section;
    int Loop;
    bool operator==(const TButtonView&) const = default;
};

void PrintTo(const TButtonView& b, std::ostream* os) {
    *os << "{" << b.Enabled << ", \"" << b.AlarmType.toStdString() << "\", " << b.Section << ", " << b.Loop
        << "}";
}

class AlarmButtonsPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TAlarmButtonsFrame>(host);
        page->Init();
    }

    template <typename T> T* control(const QString& name) { return FindControl<T>(page.get(), name); }
    QCheckBox* enable(int n) { return control<QCheckBox>(QStringLiteral("EnableCheck%1").arg(n)); }
    QComboBox* alarmType(int n) { return control<QComboBox>(QStringLiteral("AlarmTypeCombo%1").arg(n)); }
    QSpinBox* section(int n) { return control<QSpinBox>(QStringLiteral("SectionSpin%1").arg(n)); }
    QSpinBox* loop(int n) { return control<QSpinBox>(QStringLiteral("LoopSpin%1").arg(n)); }
    QComboBox* holdTime() { return control<QComboBox>(QStringLiteral("HoldTimeCombo")); }
    QCheckBox* akb() { return control<QCheckBox>(QStringLiteral("AKBAlarmMessage")); }
    FakeExchange& exchange() { return host.exchange; }

    TButtonView button(int n) {
        return {enable(n)->isChecked(), alarmType(n)->currentText(), section(n)->value(), loop(n)->value()};
    }
    // Puts a button's values in as the user would set them.
    void setButton(int n, const TButtonView& b) {
        enable(n)->setChecked(b.Enabled);
        alarmType(n)->setCurrentIndex(alarmType(n)->findText(b.AlarmType));
        section(n)->setValue(b.Section);
        loop(n)->setValue(b.Loop);
    }
    void answerReads(const QString& x, const QString& n00, const QString& n02, const QString& hold) {
        exchange().answers[QStringLiteral("+X")] = Ok(x);
        exchange().answers[QStringLiteral("+n00")] = Ok(n00);
        exchange().answers[QStringLiteral("+n02")] = Ok(n02);
        exchange().answers[QStringLiteral("+presstime")] = Ok(hold);
    }
    // Every write is taken; the lines sent.
    QStringList write() {
        exchange().sent.clear();
        exchange().during = [this](const QString& c) { exchange().answers[c] = {QStringLiteral("OK")}; };
        page->WritePage();
        exchange().during = {};
        return exchange().Commands();
    }
    QStringList lastErrors(TWorkMode mode) {
        if (host.errorLists.empty())
            return {};
        EXPECT_EQ(host.errorLists.back().Mode, mode);
        return host.errorLists.back().Errors;
    }

    FakeHost host;
    std::unique_ptr<TAlarmButtonsFrame> page;
};

TEST_F(AlarmButtonsPage, StartsWithTheTableInBothListsAndNothingInUse) {
    EXPECT_EQ(page->Tag(), ptAlarmButtons);
    const struct {
        const char* name;
        const char* title;
    } boxes[] = {{"AlarmButtonsSetGroup", "Настройка тревожных кнопок"},
                 {"ArarmButton1Box", "Тревожная кнопка 1"},
                 {"GroupBox1", "Тревожная кнопка 2"}};
    for (const auto& b : boxes)
        EXPECT_EQ(control<QGroupBox>(QString::fromLatin1(b.name))->title(), QString::fromUtf8(b.title));
    EXPECT_EQ(akb()->text(), QStringLiteral("Генерировать сообщение \"Разряд АКБ\"."));
    EXPECT_EQ(control<QLabel>("HoldTimeLabel")->text(),
              QStringLiteral("Время удержания тревожной кнопки до передачи сообщения:"));
    EXPECT_EQ(control<QLabel>("HoldTimeUnitLabel")->text(), QStringLiteral("сек."));

    // One item per table line, in the table's order, carrying its code.
    const int count = alarmType(1)->count();
    EXPECT_EQ(count, 431);
    EXPECT_EQ(count, page->AlarmTypes().size());
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        QComboBox* list = alarmType(n);
        ASSERT_EQ(list->count(), count);
        EXPECT_EQ(list->itemText(0), QStringLiteral("Медицинская тревога"));
        EXPECT_EQ(list->itemData(0).toInt(), 1100);
        const int alarm = list->findText(QStringLiteral("Тревожная кнопка"));
        EXPECT_EQ(list->itemData(alarm).toInt(), 1120);
        EXPECT_EQ(list->itemData(alarm + 1).toInt(), 3120);
        EXPECT_EQ(list->itemText(alarm + 1), QStringLiteral("ВОССТ: Тревожная кнопка"));
        EXPECT_EQ(list->itemText(list->findData(3408)), QStringLiteral("Быстрое взятие на охрану"));
        EXPECT_EQ(list->findData(1408), -1); // 408 is a restore only
        EXPECT_EQ(list->itemText(list->findData(1146)), QStringLiteral("\"Тихая тревога; проникновение\""));
        EXPECT_EQ(list->maxVisibleItems(), 25);
        EXPECT_EQ(section(n)->maximum(), 99);
        EXPECT_EQ(loop(n)->maximum(), 999);
        EXPECT_EQ(button(n), (TButtonView{false, "Медицинская тревога", 0, 0}));
        EXPECT_FALSE(list->isEnabled());
        EXPECT_FALSE(section(n)->isEnabled());
        EXPECT_FALSE(loop(n)->isEnabled());
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(holdTime()->itemText(i), QString::number(i + 1));
    EXPECT_EQ(holdTime()->count(), 5);
    EXPECT_EQ(holdTime()->currentIndex(), 0);
    EXPECT_FALSE(akb()->isChecked()); // ticked by the defaults only
    EXPECT_TRUE(holdTime()->isEnabled());
    EXPECT_TRUE(akb()->isEnabled());
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(AlarmButtonsPage, PageTableCreatesItInTagOrder) {
    int previous = -1;
    const TPageInfo* row = nullptr;
    for (const TPageInfo& info : PageTable()) {
        EXPECT_GT(info.Tag, previous);
        previous = info.Tag;
        if (info.Tag == ptAlarmButtons)
            row = &info;
    }
    ASSERT_NE(row, nullptr);
    std::unique_ptr<TPageFrame> created(row->Create(host));
    EXPECT_NE(dynamic_cast<TAlarmButtonsFrame*>(created.get()), nullptr);
    EXPECT_EQ(PageName(ptAlarmButtons), QStringLiteral("Тревожные кнопки"));
}

TEST_F(AlarmButtonsPage, EachCheckBoxEnablesItsOwnButtonOnly) {
    const struct {
        bool first, second;
    } cases[] = {{false, true}, {true, false}, {true, true}, {false, false}}; // clicks alternate
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << c.second);
        enable(1)->setChecked(c.first);
        QTest::mouseClick(enable(2), Qt::LeftButton); // the user's own click
        ASSERT_EQ(enable(2)->isChecked(), c.second);
        for (int n = 1; n <= 2; ++n) {
            const bool on = n == 1 ? c.first : c.second;
            EXPECT_EQ(alarmType(n)->isEnabled(), on) << n;
            EXPECT_EQ(section(n)->isEnabled(), on) << n;
            EXPECT_EQ(loop(n)->isEnabled(), on) << n;
        }
        EXPECT_TRUE(holdTime()->isEnabled());
        EXPECT_TRUE(akb()->isEnabled());
    }
}

TEST_F(AlarmButtonsPage, ReadShowsEveryValueInOrder) {
    std::vector<std::pair<QString, TWorkMode>> seen;
    exchange().during = [&](const QString& c) { seen.emplace_back(c, page->Mode()); };
    answerReads("21", "112001005", "312099999", "0A");

    page->ReadPage();

    EXPECT_EQ(exchange().Commands(), ReadCommands);
    for (const auto& [command, mode] : seen)
        EXPECT_EQ(mode, wmRead) << command.toStdString();
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, 2500u);
    EXPECT_EQ(page->Mode(), wmNull);
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(button(1), (TButtonView{true, "Тревожная кнопка", 1, 5}));
    EXPECT_EQ(button(2), (TButtonView{false, "ВОССТ: Тревожная кнопка", 99, 999}));
    EXPECT_TRUE(alarmType(1)->isEnabled()); // the check box flipped by the read
    EXPECT_FALSE(alarmType(2)->isEnabled());
    EXPECT_EQ(holdTime()->currentText(), QStringLiteral("5"));
    EXPECT_TRUE(akb()->isChecked());
    EXPECT_EQ(write(), (QStringList{"+X21", "+n00112001005", "+n02312099999", "+presstime0A"}));
}

TEST_F(AlarmButtonsPage, UnusableValuesAreListedAndChangeNothing) {
    answerReads("25", "112001005", "312099999", "08");
    page->ReadPage();
    const TAlarmButtonsState read = page->State();

    const struct {
        const char* command;
        QStringList answer; // empty: no answer
        QStringList errors;
    } cases[] = {
        {"+n02", Ok("31209999X"), {Button2Error}}, // nine characters, not all digits
        {"+n00", Ok("ERROR1234"), {Button1Error}},
        {"+n02", Ok("1120"), {Button2Error}}, // too short to be a value
        {"+n00", Ok("1120010050"), {Button1Error}}, // too long
        {"+X", Ok("ZZ"), {ReactionError}},          // not hexadecimal
        {"+n00", {"OK"}, {Button1Error}},
        {"+presstime", Ok("0AA"), {HoldTimeError}}, // no two characters
        {"+presstime", {}, {HoldTimeError}},
        {"+X", {}, {ReactionError}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + (" " + c.answer.join(QLatin1Char('|')).toStdString()));
        host.errorLists.clear();
        exchange().sent.clear();
        answerReads("25", "112001005", "312099999", "08");
        if (c.answer.isEmpty())
            exchange().answers.remove(QLatin1String(c.command));
        else
            exchange().answers[QLatin1String(c.command)] = c.answer;

        page->ReadPage();

        EXPECT_EQ(exchange().Commands(), ReadCommands); // the others are still read
        EXPECT_EQ(lastErrors(wmRead), c.errors);
        EXPECT_EQ(page->State(), read);
    }
}

TEST_F(AlarmButtonsPage, ValuesNoItemStandsForAreWrittenBackAsRead) {
    page->SetDefault();
    answerReads("25", "199901002", "312099999", "0C"); // no event 999 in the table
    page->ReadPage();
    EXPECT_TRUE(host.errorLists.empty());

    // Shown as what they are, with no item chosen.
    EXPECT_EQ(button(1), (TButtonView{true, "", 1, 2}));
    EXPECT_EQ(alarmType(1)->currentIndex(), -1);
    EXPECT_EQ(alarmType(1)->placeholderText(), QStringLiteral("Код 1999 (нет в списке)"));
    EXPECT_TRUE(alarmType(1)->toolTip().contains(QStringLiteral("1999")));
    EXPECT_EQ(holdTime()->currentIndex(), -1);
    EXPECT_EQ(holdTime()->placeholderText(), QStringLiteral("6"));
    EXPECT_TRUE(holdTime()->toolTip().contains(QStringLiteral("0C (6 сек.)")));
    EXPECT_TRUE(alarmType(2)->placeholderText().isEmpty());
    EXPECT_EQ(alarmType(2)->toolTip(), QStringLiteral("ВОССТ: Тревожная кнопка"));

    // Written back unchanged, also after section and loop were edited.
    EXPECT_EQ(write(), (QStringList{"+X25", "+n00199901002", "+n02312099999", "+presstime0C"}));
    section(1)->setValue(7);
    EXPECT_EQ(write()[1], QStringLiteral("+n00199907002"));
    // A later read of another kept value replaces the first.
    answerReads("25", "100101002", "312099999", "01");
    page->ReadPage();
    EXPECT_EQ(alarmType(1)->placeholderText(), QStringLiteral("Код 1001 (нет в списке)"));
    EXPECT_EQ(holdTime()->placeholderText(), QStringLiteral("0,5"));
    EXPECT_EQ(write(), (QStringList{"+X25", "+n00100101002", "+n02312099999", "+presstime01"}));

    // The user's choice replaces them: the list's item goes out from now on.
    QTest::keyClick(alarmType(1), Qt::Key_Down);
    QTest::keyClick(holdTime(), Qt::Key_End);
    EXPECT_EQ(alarmType(1)->currentIndex(), 0);
    EXPECT_TRUE(alarmType(1)->placeholderText().isEmpty());
    EXPECT_EQ(alarmType(1)->toolTip(), QStringLiteral("Медицинская тревога"));
    EXPECT_TRUE(holdTime()->placeholderText().isEmpty());
    EXPECT_TRUE(holdTime()->toolTip().isEmpty());
    EXPECT_EQ(write(), (QStringList{"+X25", "+n00110001002", "+n02312099999", "+presstime0A"}));

    // A value of the list read later shows its item.
    answerReads("25", "199901002", "312099999", "00");
    page->ReadPage();
    answerReads("25", "112001005", "312099999", "04");
    page->ReadPage();
    EXPECT_EQ(button(1), (TButtonView{true, "Тревожная кнопка", 1, 5}));
    EXPECT_EQ(holdTime()->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(alarmType(1)->placeholderText().isEmpty());
    EXPECT_TRUE(holdTime()->placeholderText().isEmpty());

    // The defaults and a settings file drop what was kept.
    answerReads("25", "199901002", "312099999", "0C");
    page->ReadPage();
    page->SetDefault();
    EXPECT_EQ(write(), DefaultWrites);
    page->ReadPage();
    page->SetSettings({"Enable1=1", "Alarm1=-1", "Section1=0", "Loop1=0", "Enable2=0", "Alarm2=0",
                       "Section2=0", "Loop2=0", "HoldTime=-1", "AKBmessage=1"});
    EXPECT_TRUE(alarmType(1)->placeholderText().isEmpty());
    EXPECT_TRUE(holdTime()->placeholderText().isEmpty());
}

TEST_F(AlarmButtonsPage, WriteAfterDefaultsAndWhatFails) {
    setButton(1, {true, "Тревожная кнопка", 1, 5});
    setButton(2, {true, "Пожарная тревога", 12, 345});
    holdTime()->setCurrentIndex(3);
    page->SetDefault();
    EXPECT_EQ(button(1), (TButtonView{false, "Медицинская тревога", 0, 0}));
    EXPECT_EQ(button(2), (TButtonView{false, "Медицинская тревога", 0, 0}));
    EXPECT_FALSE(alarmType(1)->isEnabled());
    EXPECT_EQ(holdTime()->currentIndex(), 0);
    EXPECT_TRUE(akb()->isChecked());
    EXPECT_TRUE(exchange().sent.empty()); // defaults need no panel

    std::vector<std::pair<QString, TWorkMode>> seen;
    exchange().during = [&](const QString& c) { seen.emplace_back(c, page->Mode()); };
    page->WritePage();
    EXPECT_EQ(exchange().Commands(), DefaultWrites);
    for (const auto& [command, mode] : seen)
        EXPECT_EQ(mode, wmWrite) << command.toStdString();
    // Nothing answered: each is listed under its name, in order.
    EXPECT_EQ(lastErrors(wmWrite), (QStringList{ReactionError, Button1Error, Button2Error, HoldTimeError}));

    // The values go out whether or not a button is in use.
    setButton(1, {false, "Тревожная кнопка", 1, 5});
    setButton(2, {true, "ВОССТ: Тревожная кнопка", 99, 999});
    akb()->setChecked(false);
    holdTime()->setCurrentIndex(2);
    host.errorLists.clear();
    EXPECT_EQ(write(), (QStringList{"+X04", "+n00112001005", "+n02312099999", "+presstime06"}));
    EXPECT_TRUE(host.errorLists.empty());

    // A list left without selection by a settings file has nothing to send:
    // listed, not sent.
    page->SetSettings({"Enable1=0", "Alarm1=0", "Section1=0", "Loop1=0", "Enable2=1", "Alarm2=-1",
                       "Section2=3", "Loop2=4", "HoldTime=-1", "AKBmessage=0"});
    EXPECT_EQ(write(), (QStringList{"+X04", "+n00110000000"}));
    EXPECT_EQ(lastErrors(wmWrite), (QStringList{Button2Error, HoldTimeError}));
}

TEST_F(AlarmButtonsPage, SettingsRoundTrip) {
    setButton(1, {true, "ВОССТ: Тревожная кнопка", 7, 123});
    setButton(2, {false, "Пожарная тревога", 99, 999});
    holdTime()->setCurrentIndex(4);
    akb()->setChecked(false);
    const int alarm1 = alarmType(1)->currentIndex();
    const int alarm2 = alarmType(2)->currentIndex();

    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Enable1=1"), QStringLiteral("Alarm1=%1").arg(alarm1),
                                  QStringLiteral("Section1=7"), QStringLiteral("Loop1=123"),
                                  QStringLiteral("Enable2=0"), QStringLiteral("Alarm2=%1").arg(alarm2),
                                  QStringLiteral("Section2=99"), QStringLiteral("Loop2=999"),
                                  QStringLiteral("HoldTime=4"), QStringLiteral("AKBmessage=0")}));

    FakeHost otherHost;
    TAlarmButtonsFrame other(otherHost);
    other.Init();
    other.SetSettings(lines);
    EXPECT_EQ(other.State(), page->State());
    EXPECT_TRUE(other.findChild<QComboBox*>(QStringLiteral("AlarmTypeCombo1"))->isEnabled());
    EXPECT_FALSE(other.findChild<QComboBox*>(QStringLiteral("AlarmTypeCombo2"))->isEnabled());
    QStringList again;
    other.GetSettings(again);
    EXPECT_EQ(again, lines);

    // Another order and letter case, section and loop brought into range.
    page->SetSettings({"akbmessage=1", "HOLDTIME=1", "loop2=1000", "Section2=-5", "Alarm2=3", "Enable2=1",
                       "Loop1=0", "Section1=100", "Alarm1=430", "Enable1=0"});
    EXPECT_EQ(button(1), (TButtonView{false, alarmType(1)->itemText(430), 99, 0}));
    EXPECT_EQ(button(2), (TButtonView{true, alarmType(2)->itemText(3), 0, 999}));
    EXPECT_EQ(holdTime()->currentIndex(), 1);
    EXPECT_TRUE(akb()->isChecked());

    // A value kept from the panel is saved as no selection.
    answerReads("00", "199901002", "110000000", "0C");
    page->ReadPage();
    page->GetSettings(lines);
    EXPECT_TRUE(lines.contains(QStringLiteral("Alarm1=-1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("HoldTime=-1")));
}

TEST_F(AlarmButtonsPage, SettingsThePageCannotUseResetItWhole) {
    const QStringList good = {"Enable1=1", "Alarm1=5",   "Section1=1", "Loop1=2",    "Enable2=1",
                              "Alarm2=6",  "Section2=3", "Loop2=4",    "HoldTime=2", "AKBmessage=0"};
    const struct {
        const char* key;
        const char* value; // nullptr: the line is missing
    } cases[] = {
        {"Enable2", nullptr}, {"Loop1", "x"}, {"Section2", "1.5"}, {"AKBmessage", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.value ? c.value : "<missing>"));
        const QStringList lines = WithKeyLine(good, c.key, c.value);
        page->SetSettings(good);
        ASSERT_EQ(button(2), (TButtonView{true, alarmType(2)->itemText(6), 3, 4}));

        page->SetSettings(lines);

        EXPECT_EQ(button(1), (TButtonView{false, "Медицинская тревога", 0, 0}));
        EXPECT_EQ(button(2), (TButtonView{false, "Медицинская тревога", 0, 0}));
        EXPECT_EQ(holdTime()->currentIndex(), 0);
        EXPECT_TRUE(akb()->isChecked());
    }
    EXPECT_TRUE(exchange().sent.empty());
}

// An item past the end of its list leaves that list without selection; the
// file's other values are taken, and the page names the line.
TEST_F(AlarmButtonsPage, SettingsBeyondTheListsAreTakenWithoutSelection) {
    const QStringList good = {"Enable1=1", "Alarm1=5",   "Section1=1", "Loop1=2",    "Enable2=1",
                              "Alarm2=6",  "Section2=3", "Loop2=4",    "HoldTime=2", "AKBmessage=0"};
    const struct {
        const char* key;
        const char* value;
        int alarm1, alarm2, hold;
    } cases[] = {
        {"Alarm1", "431", -1, 6, 2},
        {"Alarm2", "-2", 5, -1, 2},
        {"HoldTime", "5", 5, 6, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        page->SetSettings(WithKeyLine(good, c.key, c.value));
        EXPECT_EQ(alarmType(1)->currentIndex(), c.alarm1);
        EXPECT_EQ(alarmType(2)->currentIndex(), c.alarm2);
        EXPECT_EQ(holdTime()->currentIndex(), c.hold);
        EXPECT_TRUE(button(1).Enabled);
        EXPECT_FALSE(akb()->isChecked());
        EXPECT_EQ(page->PageModel()->LoadRefused(),
                  QStringList{QString::fromLatin1(c.key) + "=" + QString::fromLatin1(c.value)});
    }
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(AlarmButtonsPage, ControlsAreReadWithTheirOwnNames) {
    page->show();
    for (int n = 1; n <= 2; ++n) {
        EXPECT_EQ(labelledBy(alarmType(n)), QStringLiteral("Вид тревоги:"));
        EXPECT_EQ(accessibleName(section(n)), QStringLiteral("Номер раздела:"));
        EXPECT_EQ(accessibleName(loop(n)), QStringLiteral("Номер шлейфа:"));
        EXPECT_EQ(accessibleName(enable(n)), QStringLiteral("Включить"));
    }
    EXPECT_EQ(labelledBy(holdTime()),
              QStringLiteral("Время удержания тревожной кнопки до передачи сообщения:"));
    for (const char* name : {"AlarmButtonsSetGroup", "ArarmButton1Box", "GroupBox1"}) {
        auto* box = control<QGroupBox>(QLatin1String(name));
        EXPECT_EQ(accessibleName(box), box->title()) << name;
    }
}

TEST_F(AlarmButtonsPage, AnOpenListShowsTwentyFiveRowsOfWholeTexts) {
    page->resize(620, 260);
    page->show();
    enable(1)->setChecked(true);
    QComboBox* list = alarmType(1);
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const int rows = view->viewport()->height() / view->sizeHintForRow(0);
    EXPECT_GE(rows, 24);
    EXPECT_LE(rows, 25);
    // The longest text fits the open list, though not the closed one.
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, view->fontMetrics().horizontalAdvance(list->itemText(i)));
    EXPECT_GT(view->viewport()->width(), widest);
    EXPECT_LT(list->width(), widest);
    list->hidePopup();
}

} // namespace
