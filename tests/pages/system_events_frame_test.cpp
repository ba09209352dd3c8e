// The System events page against a scripted panel dialogue and a recording
// host: the "+pwlog" value from and to the lists and the check box, failures
// in message boxes, periods the lists cannot show, and the settings keys.
#include "page_fakes.h"
#include "pages/PageTable.h"
#include "pages/SystemEventsFrameUnit.h"
#include "widget_probes.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString ReadFailed = QStringLiteral("Произошла ошибка чтения.");
const QString WriteFailed = QStringLiteral("Произошла ошибка записи.");

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

class SystemEventsPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TSystemEventsFrame>(host);
        page->Init();
    }

    template <typename T> T* control(const char* name) {
        return FindControl<T>(page.get(), QLatin1String(name));
    }
    QComboBox* hours() { return control<QComboBox>("HourCombo"); }
    QComboBox* minutes() { return control<QComboBox>("MinCombo"); }
    QCheckBox* reboot() { return control<QCheckBox>("RebootEventCheckBox"); }
    FakeExchange& exchange() { return host.exchange; }

    void show(int h, int m, bool on) {
        hours()->setCurrentIndex(h);
        minutes()->setCurrentIndex(m);
        reboot()->setChecked(on);
    }
    // Reads `value` as the panel's answer.
    void readValue(const QString& value) {
        exchange().answers[QStringLiteral("+pwlog")] = Ok(value);
        page->ReadPage();
    }
    // Writes the page with every value accepted; returns what went out.
    QString write() {
        exchange().sent.clear();
        exchange().during = [this](const QString& command) {
            exchange().answers[command] = {QStringLiteral("OK")};
        };
        page->WritePage();
        exchange().during = {};
        return exchange().sent.empty() ? QString() : exchange().sent.back().Command;
    }

    FakeHost host;
    std::unique_ptr<TSystemEventsFrame> page;
};

TEST_F(SystemEventsPage, StartsWithItsControlsAndLists) {
    EXPECT_EQ(page->Tag(), ptSystemEvents);
    EXPECT_EQ(control<QGroupBox>("SysEventsGroup")->title(), QStringLiteral("Системные события"));
    EXPECT_EQ(control<QGroupBox>("AutotestPeriodGroup")->title(), QStringLiteral("Период автотеста"));
    EXPECT_EQ(control<QGroupBox>("GenerateGroup")->title(), QStringLiteral("Генерация событий"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Часов"));
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("Минут"));
    EXPECT_EQ(reboot()->text(), QStringLiteral("Перезагрузка системы"));

    ASSERT_EQ(hours()->count(), 24);
    ASSERT_EQ(minutes()->count(), 60);
    for (int i : {0, 9, 23})
        EXPECT_EQ(hours()->itemText(i), QString::number(i));
    for (int i : {0, 30, 59})
        EXPECT_EQ(minutes()->itemText(i), QString::number(i));
    EXPECT_FALSE(hours()->isEditable());
    // The start state is not the defaults: 0 h 0 min until a read, default or load.
    EXPECT_EQ(hours()->currentIndex(), 0);
    EXPECT_EQ(minutes()->currentIndex(), 0);
    EXPECT_FALSE(reboot()->isChecked());
    EXPECT_EQ(page->Mode(), wmNull);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(SystemEventsPage, WritesTheWholeValueInOneCommand) {
    const struct {
        int h, m;
        bool on;
        const char* sent;
    } cases[] = {
        {0, 4, false, "+pwlogFFFFFF0004FFFFFFFF"},  {23, 59, true, "+pwlogFFFF00173BFFFFFFFF"},
        {0, 0, true, "+pwlogFFFF00FFFFFFFFFFFF"}, // no automatic test
        {0, 30, false, "+pwlogFFFFFF001EFFFFFFFF"}, {12, 0, false, "+pwlogFFFFFF0C00FFFFFFFF"},
    };
    for (const auto& c : cases) {
        show(c.h, c.m, c.on);
        EXPECT_EQ(write(), QString::fromLatin1(c.sent));
        ASSERT_EQ(exchange().sent.size(), 1u);
        EXPECT_EQ(exchange().sent[0].TimeOut, ExchangeTimeout::Param);
    }
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(host.began, std::vector<TOperationState>(std::size(cases), TOperationState::Writing));
    EXPECT_TRUE(host.held.empty());
}

TEST_F(SystemEventsPage, ReadShowsTheFieldsItUses) {
    const struct {
        const char* value;
        int h, m;
        bool on;
    } cases[] = {
        {"FFFF00173BFFFFFFFF", 23, 59, true},
        {"FFFFFFFFFFFFFFFFFF", 0, 0, false}, // no automatic test shows 0 h 0 min
        {"FFFFFF0004FFFFFFFF", 0, 4, false},
        {"123401050A56789ABC", 5, 10, true}, // any restart value but FF; the other fields ignored
        {"ffffff0c1effffffff", 12, 30, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        show(7, 7, !c.on);
        std::vector<TWorkMode> modes;
        exchange().during = [&](const QString&) { modes.push_back(page->Mode()); };

        readValue(QString::fromLatin1(c.value));

        EXPECT_EQ(exchange().sent.back().Command, QStringLiteral("+pwlog"));
        EXPECT_EQ(exchange().sent.back().TimeOut, ExchangeTimeout::Param);
        EXPECT_EQ(modes, std::vector<TWorkMode>{wmRead});
        EXPECT_EQ(hours()->currentIndex(), c.h);
        EXPECT_EQ(minutes()->currentIndex(), c.m);
        EXPECT_EQ(reboot()->isChecked(), c.on);
        EXPECT_EQ(page->Mode(), wmNull);
    }
    EXPECT_TRUE(host.errors.isEmpty());
}

TEST_F(SystemEventsPage, FailuresAreReportedInAnErrorBoxNotTheList) {
    show(3, 15, true);
    // No answer, a lone "OK" that carries no value, and values that are not
    // 18 hexadecimal digits (another command's answer, a field that does
    // not convert, a short value): nothing of them is applied.
    for (const QStringList& answer :
         {QStringList{}, QStringList{"OK"}, QStringList{"0050", "OK"}, QStringList{"FFFF00ZZ3BFFFFFFFF", "OK"},
          QStringList{"FFFF00171ZFFFFFFFF", "OK"}, QStringList{"FFFF0005FF", "OK"},
          QStringList{"FFFF00173BFFFFFFFF00", "OK"}}) {
        SCOPED_TRACE(answer.join('|').toStdString());
        host.errors.clear();
        if (answer.isEmpty())
            exchange().answers.remove(QStringLiteral("+pwlog"));
        else
            exchange().answers[QStringLiteral("+pwlog")] = answer;
        page->ReadPage();
        EXPECT_EQ(host.errors, QStringList{ReadFailed});
        EXPECT_EQ(hours()->currentIndex(), 3);
        EXPECT_EQ(minutes()->currentIndex(), 15);
        EXPECT_TRUE(reboot()->isChecked());
    }

    // A write the panel does not answer, and one it refuses.
    host.errors.clear();
    page->WritePage();
    exchange().answers[QStringLiteral("+pwlogFFFF00030FFFFFFFFF")] = {QStringLiteral("ERROR")};
    page->WritePage();
    EXPECT_EQ(exchange().Commands().mid(exchange().Commands().size() - 2),
              (QStringList{"+pwlogFFFF00030FFFFFFFFF", "+pwlogFFFF00030FFFFFFFFF"}));
    EXPECT_EQ(host.errors, (QStringList{WriteFailed, WriteFailed}));

    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->Mode(), wmNull);
    EXPECT_TRUE(host.held.empty());
}

// A restart field other than 00 and FF (no hexadecimal at all, or another
// number) shows the event on, leaves the period to be read as usual, and
// goes back as the panel gave it, through a settings file too, until the
// user changes the switch.
TEST_F(SystemEventsPage, ARestartFieldNoSwitchWritesIsKept) {
    for (const char* field : {"ZZ", "01", "x?"}) {
        SCOPED_TRACE(field);
        const QString held = "FFFF" + QLatin1String(field) + "051EFFFFFFFF";
        readValue(held);
        EXPECT_TRUE(host.errors.isEmpty()) << host.errors.join(' ').toStdString();
        EXPECT_TRUE(reboot()->isChecked());
        EXPECT_EQ(hours()->currentIndex(), 5);
        EXPECT_EQ(minutes()->currentIndex(), 30);
        EXPECT_EQ(write(), "+pwlog" + held);

        QStringList lines;
        page->GetSettings(lines);
        EXPECT_EQ(lines, (QStringList{"Hour=5", "Min=30", "Reboot=1", "RebootKept=" + QLatin1String(field)}));
        page->SetDefault();
        page->SetSettings(lines);
        EXPECT_EQ(write(), "+pwlog" + held);

        reboot()->setChecked(false);
        reboot()->setChecked(true);
        EXPECT_EQ(write(), QStringLiteral("+pwlogFFFF00051EFFFFFFFF")) << "the user's choice";
    }
    // A kept key without the switch on, or not of the field's form, is not
    // taken.
    const std::pair<const char*, const char*> notTaken[] = {
        {"Reboot=0|RebootKept=ZZ", "+pwlogFFFFFF051EFFFFFFFF"},
        {"Reboot=1|RebootKept=Z Z", "+pwlogFFFF00051EFFFFFFFF"},
        {"Reboot=1|RebootKept=FF", "+pwlogFFFF00051EFFFFFFFF"},
        {"Reboot=1|RebootKept=ZZZ", "+pwlogFFFF00051EFFFFFFFF"},
    };
    for (const auto& [keys, sent] : notTaken) {
        SCOPED_TRACE(keys);
        page->SetSettings(QStringList{"Hour=5", "Min=30"} + QString::fromLatin1(keys).split('|'));
        EXPECT_EQ(write(), QString::fromLatin1(sent));
    }
}

TEST_F(SystemEventsPage, PeriodTheListsCannotShowIsWrittenBackAsRead) {
    readValue(QStringLiteral("FFFFFF203CFFFFFFFF")); // 32 hours 60 minutes
    EXPECT_EQ(hours()->currentIndex(), -1);
    EXPECT_EQ(minutes()->currentIndex(), -1);
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFFFF203CFFFFFFFF"));

    // Each list keeps its own: the user's choice replaces the hours only.
    hours()->setCurrentIndex(2);
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFFFF023CFFFFFFFF"));
    reboot()->setChecked(true);
    minutes()->setCurrentIndex(0);
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFF000200FFFFFFFF"));

    // A later read or the defaults take over the value kept.
    readValue(QStringLiteral("FFFFFFFE05FFFFFFFF"));
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFFFFFE05FFFFFFFF"));
    page->SetDefault();
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFFFF0004FFFFFFFF"));
    EXPECT_TRUE(host.errors.isEmpty());

    // Saved, the key holds the nearest value the list has and a key of its
    // own the value itself: loaded on a page holding other values, it
    // writes back what the panel held.
    readValue(QStringLiteral("FFFF00173CFFFFFFFF"));
    QStringList lines;
    page->GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"Hour=23", "Min=59", "MinKept=60", "Reboot=1"}));
    page->SetDefault();
    page->SetSettings(lines);
    EXPECT_EQ(hours()->currentIndex(), 23);
    EXPECT_EQ(minutes()->currentIndex(), -1);
    EXPECT_TRUE(reboot()->isChecked());
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFF00173CFFFFFFFF"));
    // A kept key beyond what the panel can hold is passed over.
    page->SetSettings(QStringList{"Hour=23", "Min=59", "MinKept=255", "HourKept=x", "Reboot=0"});
    EXPECT_EQ(write(), QStringLiteral("+pwlogFFFFFF173BFFFFFFFF"));
}

TEST_F(SystemEventsPage, DefaultsNeedNoPanel) {
    show(23, 59, true);
    page->SetDefault();
    EXPECT_EQ(hours()->currentIndex(), 0);
    EXPECT_EQ(minutes()->currentIndex(), 4);
    EXPECT_FALSE(reboot()->isChecked());
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(SystemEventsPage, SettingsRoundTripOnAFreshPage) {
    show(23, 59, true);
    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"Hour=23", "Min=59", "Reboot=1"}));

    FakeHost otherHost;
    TSystemEventsFrame other(otherHost);
    other.Init();
    other.SetSettings(QStringList{"min=59", "x=1", "REBOOT=1", "Hour=23"});
    EXPECT_EQ(other.findChild<QComboBox*>(QStringLiteral("HourCombo"))->currentIndex(), 23);
    EXPECT_EQ(other.findChild<QComboBox*>(QStringLiteral("MinCombo"))->currentIndex(), 59);
    EXPECT_TRUE(other.findChild<QCheckBox*>(QStringLiteral("RebootEventCheckBox"))->isChecked());
}

TEST_F(SystemEventsPage, SettingsThePageCannotUseResetItWhole) {
    const QStringList cases[] = {
        {"Hour=5", "Min=30"}, // no "Reboot"
        {"Hour=5", "Min=x", "Reboot=1"},
    };
    for (const QStringList& lines : cases) {
        SCOPED_TRACE(lines.join(QLatin1Char(' ')).toStdString());
        show(12, 12, true);
        page->SetSettings(lines);
        EXPECT_EQ(hours()->currentIndex(), 0);
        EXPECT_EQ(minutes()->currentIndex(), 4);
        EXPECT_FALSE(reboot()->isChecked());
    }
}

// Hours or minutes beyond the lists leave that list without selection; the
// other values are taken, and the page names the lines it could not take.
TEST_F(SystemEventsPage, SettingsBeyondTheListsAreTakenWithoutSelection) {
    const struct {
        QStringList lines;
        int hours, minutes;
        bool reboot;
    } cases[] = {
        {{"Hour=24", "Min=30", "Reboot=1"}, -1, 30, true},
        {{"Hour=5", "Min=60", "Reboot=1"}, 5, -1, true},
        {{"Hour=-1", "Min=30", "Reboot=0"}, -1, 30, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char(' ')).toStdString());
        show(12, 12, !c.reboot);
        page->SetSettings(c.lines);
        EXPECT_EQ(hours()->currentIndex(), c.hours);
        EXPECT_EQ(minutes()->currentIndex(), c.minutes);
        EXPECT_EQ(reboot()->isChecked(), c.reboot);
        EXPECT_EQ(page->PageModel()->LoadRefused().size(), 1);
    }
}

TEST_F(SystemEventsPage, ListsAreReadWithTheirLabels) {
    page->show();
    const auto labelledBy = [](QObject* o) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
        for (const auto& rel : i->relations(QAccessible::Label))
            return rel.first->text(QAccessible::Name);
        return QString();
    };
    EXPECT_EQ(labelledBy(hours()), QStringLiteral("Часов"));
    EXPECT_EQ(labelledBy(minutes()), QStringLiteral("Минут"));
    for (const char* name : {"SysEventsGroup", "AutotestPeriodGroup", "GenerateGroup"}) {
        auto* box = control<QGroupBox>(name);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), box->title()) << name;
    }
}

TEST(PageTableOrder, PagesComeInTagOrder) {
    FakeHost host;
    int previous = -1;
    for (const TPageInfo& info : PageTable()) {
        EXPECT_GT(info.Tag, previous);
        previous = info.Tag;
        std::unique_ptr<TPageFrame> page(info.Create(host));
        EXPECT_EQ(page->Tag(), info.Tag);
    }
    const auto has = [](int tag) {
        for (const TPageInfo& info : PageTable()) {
            if (info.Tag == tag)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has(ptSystemEvents));
    EXPECT_TRUE(has(ptGPRS));
}

} // namespace
