// The GPRS page against a scripted panel dialogue and a recording host: the
// ten parameters in order, the operator presets and their recognition, the
// pause, the reserve server, empty texts the panel keeps, the marking and
// key filters of the server edits, and the settings keys.
#include "page_fakes.h"
#include "pages/GPRSFrameUnit.h"
#include "pages/RedWhenInvalid.h"
#include "widget_probes.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList ReadCommands{"+gphon0", "+GAPN0", "+gprsname0", "+gprspswd0", "+timegpres",
                               "+ps",     "+IPadr", "+IPport",    "+IP1adr",    "+IP1port"};

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

// The four SIM edits: texts and whether they are read-only.
struct Sim {
    QString phone, point, user, password;
    bool readOnly;
    bool operator==(const Sim&) const = default;
};

void PrintTo(const Sim& s, std::ostream* os) {
    *os << '{' << s.phone.toStdString() << ", " << s.point.toStdString() << ", " << s.user.toStdString()
        << ", " << s.password.toStdString() << (s.readOnly ? ", read-only}" : ", editable}");
}

const Sim Beeline{"*99#", "internet.beeline.ru", "beeline", "beeline", true};
const Sim MTS{"*99#", "internet.mts.ru", "mts", "mts", true};

class GPRSPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TGPRSFrame>(host);
        page->Init();
    }

    template <typename T> T* control(const char* name) {
        return FindControl<T>(page.get(), QLatin1String(name));
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QComboBox* operators() { return control<QComboBox>("OperatorsCombo"); }
    QComboBox* pause() { return control<QComboBox>("GPRSRepeatComboBox"); }
    FakeExchange& exchange() { return host.exchange; }

    Sim sim() {
        return {edit("PhoneEdit")->text(), edit("PointEdit")->text(), edit("UserEdit")->text(),
                edit("PWDEdit")->text(), edit("PhoneEdit")->isReadOnly()};
    }
    void expectSimReadOnly(bool readOnly) {
        for (const char* name : {"PhoneEdit", "PointEdit", "UserEdit", "PWDEdit"})
            EXPECT_EQ(edit(name)->isReadOnly(), readOnly) << name;
    }
    // The user picks an operator from the list.
    void pick(int index) {
        operators()->setCurrentIndex(index);
        emit operators()->activated(index);
    }
    void answerReads(const QStringList& values) {
        for (int i = 0; i < ReadCommands.size(); ++i)
            exchange().answers[ReadCommands[i]] = Ok(values[i]);
    }
    // Writes the page with every value accepted; returns the commands sent.
    QStringList write() {
        exchange().sent.clear();
        exchange().during = [this](const QString& command) {
            if (!exchange().answers.contains(command))
                exchange().answers[command] = {QStringLiteral("OK")};
        };
        page->WritePage();
        exchange().during = {};
        return exchange().Commands();
    }

    FakeHost host;
    std::unique_ptr<TGPRSFrame> page;
};

TEST_F(GPRSPage, StartsWithBeelineAndNoPause) {
    EXPECT_EQ(page->Tag(), ptGPRS);
    EXPECT_EQ(control<QGroupBox>("GPRSGroup")->title(), QStringLiteral("Настройки GPRS"));
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("Настройки SIM карты"));
    EXPECT_EQ(control<QGroupBox>("InternetGroup")->title(),
              QStringLiteral("Настройки соединения с сервером"));
    const struct {
        const char* label;
        const char* text;
    } labels[] = {
        {"Label1", "Оператор:"},
        {"Label2", "Номер телефона:"},
        {"Label3", "Точка доступа:"},
        {"Label4", "Имя пользователя:"},
        {"Label5", "Пароль:"},
        {"Label6", "Пауза между попытками установить GPRS соединение, мин."},
        {"Label7", "Пароль для идентификации:"},
        {"Panel1", "Основные (IP1)"},
        {"Label8", "IP адрес сервера:"},
        {"Label9", "Порт сервера:"},
        {"Panel2", "Резервные (IP2)"},
        {"Label11", "IP адрес сервера:"},
        {"Label10", "Порт сервера:"},
    };
    for (const auto& l : labels)
        EXPECT_EQ(control<QLabel>(l.label)->text(), QString::fromUtf8(l.text)) << l.label;

    ASSERT_EQ(operators()->count(), 5);
    EXPECT_EQ(operators()->itemText(0), QStringLiteral("Билайн"));
    EXPECT_EQ(operators()->itemText(4), QStringLiteral("Другой"));
    ASSERT_EQ(pause()->count(), 11);
    EXPECT_EQ(pause()->itemText(0), QStringLiteral("5"));
    EXPECT_EQ(pause()->itemText(10), QStringLiteral("15"));

    EXPECT_EQ(operators()->currentIndex(), 0);
    EXPECT_EQ(sim(), Beeline);
    expectSimReadOnly(true);
    EXPECT_EQ(pause()->currentIndex(), -1);
    for (const char* name : {"PasswordEdit", "IPEdit1", "PortEdit1", "IPEdit2", "PortEdit2"})
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(GPRSPage, ReadTakesTheTenValuesInOrder) {
    answerReads({"*99***1#", "internet.beeline.ru", "user", "pass", "0258", "12345678", "10.0.0.1", "3050",
                 "10.0.0.2", "3051"});
    pick(4); // "Другой": the edits are unlocked before the read
    std::vector<TWorkMode> modes;
    exchange().during = [&](const QString&) { modes.push_back(page->Mode()); };

    page->ReadPage();

    EXPECT_EQ(exchange().Commands(), ReadCommands);
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);
    EXPECT_EQ(modes, std::vector<TWorkMode>(10, wmRead));
    // The texts stay as the panel has them: recognising Beeline applies no preset.
    EXPECT_EQ(sim(), (Sim{"*99***1#", "internet.beeline.ru", "user", "pass", true}));
    EXPECT_EQ(operators()->currentIndex(), 0);
    EXPECT_EQ(pause()->currentIndex(), 5); // 600 s, "10"
    EXPECT_EQ(edit("PasswordEdit")->text(), QStringLiteral("12345678"));
    EXPECT_EQ(edit("IPEdit1")->text(), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(edit("PortEdit1")->text(), QStringLiteral("3050"));
    EXPECT_EQ(edit("IPEdit2")->text(), QStringLiteral("10.0.0.2"));
    EXPECT_EQ(edit("PortEdit2")->text(), QStringLiteral("3051"));
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(GPRSPage, ReadPauseSelectsTheNearestEntry) {
    const struct {
        const char* value;
        int index;
    } cases[] = {
        {"012C", 0}, {"0168", 1}, {"0258", 5},  {"0384", 10},
        {"0000", 0}, {"0001", 0}, {"FFFF", 10}, {"0167", 0}, // 359 s: whole minutes, 5
    };
    answerReads({"", "", "", "", "", "", "", "", "", ""});
    for (const auto& c : cases) {
        pause()->setCurrentIndex(7);
        exchange().answers[QStringLiteral("+timegpres")] = Ok(QString::fromLatin1(c.value));
        page->ReadPage();
        EXPECT_EQ(pause()->currentIndex(), c.index) << c.value;
    }
    EXPECT_TRUE(host.errorLists.empty());

    // A value that is not four hexadecimal digits is no pause: a failed
    // read, listed, and the list keeps its item.
    for (const char* value : {"ZZ", "12C", "0012C", "ZZZZ"}) {
        host.errorLists.clear();
        pause()->setCurrentIndex(7);
        exchange().answers[QStringLiteral("+timegpres")] = Ok(QString::fromLatin1(value));
        page->ReadPage();
        EXPECT_EQ(pause()->currentIndex(), 7) << value;
        ASSERT_EQ(host.errorLists.size(), 1u) << value;
        EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Пауза между попытками установить GPRS соединение"});
    }
}

TEST_F(GPRSPage, AccessPointReadRecognisesTheOperator) {
    const struct {
        const char* point;
        int op;
    } cases[] = {
        {"internet.mts.ru", 2},   {"MTS", 2},         {"internet.beeline.ru", 0},
        {"home.BeeLine.ru", 0},   {"internet", 1},    {"INTERNET", 1},
        {"internet.tele2.ru", 3}, {"internet.ru", 4}, {"", 4},
        {"my.apn.com", 4},        {"mts.tele2", 2}, // MTS is tested first
    };
    answerReads({"", "", "", "", "012C", "", "", "", "", ""});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.point);
        pick(c.op == 4 ? 2 : 4); // something else before
        exchange().answers[QStringLiteral("+GAPN0")] = Ok(QString::fromUtf8(c.point));
        exchange().answers[QStringLiteral("+gprsname0")] = Ok(QStringLiteral("panel's own"));

        page->ReadPage();

        EXPECT_EQ(operators()->currentIndex(), c.op);
        EXPECT_EQ(edit("PointEdit")->text(), QString::fromUtf8(c.point));
        EXPECT_EQ(edit("UserEdit")->text(), QStringLiteral("panel's own"));
        expectSimReadOnly(c.op != 4);
    }
}

TEST_F(GPRSPage, FailedReadsAreListedByTheirReadNames) {
    answerReads(
        {"*99#", "internet.mts.ru", "mts", "mts", "012C", "DemoDemo", "1.2.3.4", "1", "1.2.3.4", "1"});
    exchange().answers.remove(QStringLiteral("+GAPN0"));
    // No value line: an empty user name, read as such.
    exchange().answers[QStringLiteral("+gprsname0")] = {QStringLiteral("OK")};
    exchange().answers.remove(QStringLiteral("+timegpres"));
    exchange().answers.remove(QStringLiteral("+IP1port"));
    edit("UserEdit")->setText(QStringLiteral("before"));
    pause()->setCurrentIndex(3);

    page->ReadPage();

    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
    EXPECT_EQ(host.errorLists[0].Errors,
              (QStringList{"Точка доступа в GPRS", "Пауза между попытками установить GPRS соединение",
                           "Порт сервера резервный"}));
    EXPECT_EQ(exchange().Commands(), ReadCommands) << "the others are still read";
    EXPECT_EQ(edit("UserEdit")->text(), QString());
    EXPECT_EQ(edit("PointEdit")->text(), QStringLiteral("internet.beeline.ru"));
    EXPECT_EQ(operators()->currentIndex(), 0) << "no access point read, no recognition";
    EXPECT_EQ(pause()->currentIndex(), 3);
    EXPECT_EQ(edit("PWDEdit")->text(), QStringLiteral("mts"));
}

TEST_F(GPRSPage, WriteSendsTheTenValuesAndFillsTheReserveServer) {
    page->SetDefault();
    pick(0);
    pause()->setCurrentIndex(10);
    edit("PasswordEdit")->setText(QStringLiteral("12345678"));
    edit("IPEdit1")->setText(QStringLiteral("10.20.30.40"));
    edit("PortEdit1")->setText(QStringLiteral("3050"));
    edit("IPEdit2")->clear();
    edit("PortEdit2")->clear();

    EXPECT_EQ(write(), (QStringList{"+gphon0*99#", "+GAPN0internet.beeline.ru", "+gprsname0beeline",
                                    "+gprspswd0beeline", "+timegpres0384", "+ps12345678", "+IPadr10.20.30.40",
                                    "+IPport3050", "+IP1adr10.20.30.40", "+IP1port3050"}));
    EXPECT_EQ(edit("IPEdit2")->text(), QStringLiteral("10.20.30.40")) << "the fill stays in the edits";
    EXPECT_EQ(edit("PortEdit2")->text(), QStringLiteral("3050"));
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);
    EXPECT_TRUE(host.errorLists.empty());

    // A reserve server of its own is kept; only an empty edit is filled.
    edit("IPEdit2")->setText(QStringLiteral("1.1.1.1"));
    edit("PortEdit2")->clear();
    const QStringList sent = write();
    EXPECT_EQ(sent.mid(8), (QStringList{"+IP1adr1.1.1.1", "+IP1port3050"}));
}

TEST_F(GPRSPage, PauseIsWrittenInSeconds) {
    const struct {
        int index;
        const char* sent;
    } cases[] = {
        {0, "+timegpres012C"}, {1, "+timegpres0168"}, {10, "+timegpres0384"}, {-1, "+timegpres012C"}};
    for (const auto& c : cases) {
        pause()->setCurrentIndex(c.index);
        EXPECT_EQ(write().at(4), QString::fromLatin1(c.sent)) << c.index;
    }
}

TEST_F(GPRSPage, InvalidValuesAreWrittenAsTheyStand) {
    page->SetDefault();
    edit("PasswordEdit")->setText(QStringLiteral("short"));
    edit("IPEdit1")->setText(QStringLiteral("1.2.3"));
    edit("PortEdit1")->setText(QStringLiteral("0"));
    const QStringList sent = write();
    EXPECT_TRUE(sent.contains(QStringLiteral("+psshort")));
    EXPECT_TRUE(sent.contains(QStringLiteral("+IPadr1.2.3")));
    EXPECT_TRUE(sent.contains(QStringLiteral("+IPport0")));
}

TEST_F(GPRSPage, FailedWritesAreListedByTheirWriteNames) {
    page->SetDefault();
    exchange().answers[QStringLiteral("+GAPN0internet.mts.ru")] = {QStringLiteral("ERROR")};
    exchange().answers[QStringLiteral("+ps") + edit("PasswordEdit")->text()] = {QStringLiteral("ERROR")};
    exchange().during = [this](const QString& command) {
        // Nothing at all for the user name, the password and the reserve port.
        if (command.startsWith("+gprs") || command.startsWith("+IP1port"))
            return;
        if (!exchange().answers.contains(command))
            exchange().answers[command] = {QStringLiteral("OK")};
    };
    page->WritePage();

    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{"Точка доствпа в GPRS", "Имя пользователя", "Пароль",
                                                      "Пароль для идентификации", "Порт сервера резервный"}));
    EXPECT_EQ(exchange().sent.size(), 10u);
}

TEST_F(GPRSPage, EmptyTextsThePanelKeptAreListedWithTheKeptValue) {
    pick(1); // MegaFon empties the user name and the password
    EXPECT_EQ(sim(), (Sim{"*99#", "internet", "", "", true}));
    page->SetSettings({"GPRSPause=0", "Password=DemoDemo", "IP1=1.2.3.4", "Port1=1", "IP2=1.2.3.4", "Port2=1",
                       "Opsos=1", "Phone=*99#", "Point=internet"});
    // The empty write is the read: the panel answers with what it keeps.
    exchange().answers[QStringLiteral("+gprsname0")] = Ok(QStringLiteral("mts"));
    exchange().answers[QStringLiteral("+gprspswd0")] = {QStringLiteral("OK")}; // nothing kept

    const QStringList sent = write();

    EXPECT_EQ(sent.mid(2, 2), (QStringList{"+gprsname0", "+gprspswd0"})) << "the same bytes as before";
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors,
              QStringList{"Имя пользователя: пустое значение не записано, в панели осталось «mts»"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
}

TEST_F(GPRSPage, OperatorChoiceAppliesItsPreset) {
    pick(4); // "Другой" keeps the texts and unlocks them
    EXPECT_EQ(sim(), (Sim{"*99#", "internet.beeline.ru", "beeline", "beeline", false}));
    edit("UserEdit")->setText(QStringLiteral("own"));
    pick(1);
    EXPECT_EQ(sim(), (Sim{"*99#", "internet", "", "", true}));
    pick(3);
    EXPECT_EQ(sim(), (Sim{"*99#", "internet.tele2.ru", "", "", true}));
    pick(2);
    EXPECT_EQ(sim(), MTS);

    // The keyboard is a user's choice too.
    operators()->setFocus();
    QTest::keyClick(operators(), Qt::Key_Up);
    EXPECT_EQ(operators()->currentIndex(), 1);
    EXPECT_EQ(sim(), (Sim{"*99#", "internet", "", "", true}));

    // A selection by the program is no choice.
    pick(4);
    operators()->setCurrentIndex(0);
    EXPECT_EQ(sim(), (Sim{"*99#", "internet", "", "", false}));
}

TEST_F(GPRSPage, NoPresetWhileThePageTalksToThePanel) {
    answerReads({"1", "my.apn", "u", "p", "012C", "", "", "", "", ""});
    exchange().during = [this](const QString& command) {
        if (command == QStringLiteral("+gprsname0"))
            pick(2);
    };
    page->ReadPage();
    EXPECT_EQ(sim(), (Sim{"1", "my.apn", "u", "p", false}));
    EXPECT_EQ(operators()->currentIndex(), 2) << "the choice stands, its preset is not applied";
}

TEST_F(GPRSPage, DefaultsEndWithTheMTSPreset) {
    pick(4);
    pause()->setCurrentIndex(7);
    page->SetDefault();
    EXPECT_EQ(pause()->currentIndex(), 0);
    EXPECT_EQ(edit("PasswordEdit")->text(), QStringLiteral("DemoDemo"));
    for (const char* ip : {"IPEdit1", "IPEdit2"}) {
        EXPECT_EQ(edit(ip)->text(), QStringLiteral("127.000.000.001")) << ip;
        EXPECT_FALSE(IsDrawnInvalid(edit(ip))) << ip;
    }
    EXPECT_EQ(edit("PortEdit1")->text(), QStringLiteral("3050"));
    EXPECT_EQ(edit("PortEdit2")->text(), QStringLiteral("3050"));
    EXPECT_EQ(operators()->currentIndex(), 2);
    EXPECT_EQ(sim(), MTS);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(GPRSPage, ServerEditsAreRedWhileInvalid) {
    const struct {
        const char* edit;
        const char* text;
        bool red;
    } cases[] = {
        {"IPEdit1", "1.2.3", true},
        {"IPEdit1", "1.2.3.256", true},
        {"IPEdit1", "0.0.0.0", false},
        {"IPEdit1", "255.255.255.255", false},
        {"IPEdit2", "1..2.3", true},
        {"IPEdit2", "127.000.000.001", false},
        {"IPEdit2", "", true},
        {"PortEdit1", "0", true},
        {"PortEdit1", "65536", true},
        {"PortEdit1", "1", false},
        {"PortEdit2", "65535", false},
        {"PortEdit2", "", true},
        {"PasswordEdit", "1234567", true},
        {"PasswordEdit", "12345678", false},
        {"PasswordEdit", "123456789", false}, // longer from the panel or a file
    };
    for (const auto& c : cases) {
        QLineEdit* e = edit(c.edit);
        e->setText(QStringLiteral("x"));
        e->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(IsDrawnInvalid(e), c.red) << c.edit << " " << c.text;
        EXPECT_EQ(e->palette().color(QPalette::Text) == Qt::red, c.red) << c.edit << " " << c.text;
    }
    // Every change counts, the page's own ones too.
    answerReads({"", "", "", "", "012C", "1234", "1.2.3.4", "99999", "", ""});
    page->ReadPage();
    EXPECT_TRUE(IsDrawnInvalid(edit("PasswordEdit")));
    EXPECT_FALSE(IsDrawnInvalid(edit("IPEdit1")));
    EXPECT_TRUE(IsDrawnInvalid(edit("PortEdit1")));
}

TEST_F(GPRSPage, KeyFiltersOfTheServerEdits) {
    const struct {
        const char* edit;
        const char* typed;
        const char* result;
    } cases[] = {
        {"IPEdit1", "1a9.-2,Ж.3 .4", "19.2.3.4"},
        {"IPEdit2", "1234567890123456789", "123456789012345"}, // fifteen at most
        {"PortEdit1", "3.0x5Ж0", "3050"},
        {"PortEdit2", "1234567", "12345"},
        {"PasswordEdit", "Pass word1", "Pass wor"}, // any 8-bit character, eight at most
    };
    for (const auto& c : cases) {
        QLineEdit* e = edit(c.edit);
        e->clear();
        pressText(e, QString::fromUtf8(c.typed));
        EXPECT_EQ(e->text(), QString::fromUtf8(c.result)) << c.edit;
    }
    QTest::keyClick(edit("PortEdit2"), Qt::Key_Backspace);
    EXPECT_EQ(edit("PortEdit2")->text(), QStringLiteral("1234"));
}

TEST_F(GPRSPage, SettingsRoundTripOnAFreshPage) {
    page->SetDefault();
    pick(4);
    edit("PhoneEdit")->setText(QStringLiteral("*99***1#"));
    edit("PointEdit")->setText(QStringLiteral("apn.example"));
    edit("UserEdit")->setText(QStringLiteral("u=1"));
    edit("PWDEdit")->setText(QStringLiteral("p"));
    pause()->setCurrentIndex(6);
    edit("PasswordEdit")->setText(QStringLiteral("Secret12"));
    edit("IPEdit1")->setText(QStringLiteral("10.0.0.1"));
    edit("PortEdit1")->setText(QStringLiteral("1000"));
    edit("IPEdit2")->setText(QStringLiteral("10.0.0.2"));
    edit("PortEdit2")->setText(QStringLiteral("2000"));
    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    EXPECT_EQ(lines, (QStringList{"GPRSPause=6", "Password=Secret12", "IP1=10.0.0.1", "Port1=1000",
                                  "IP2=10.0.0.2", "Port2=2000", "Opsos=4", "Phone=*99***1#",
                                  "Point=apn.example", "UserName=u=1", "UserPWD=p"}));

    FakeHost otherHost;
    TGPRSFrame other(otherHost);
    other.Init();
    other.SetSettings(lines);
    QStringList again;
    other.GetSettings(again);
    EXPECT_EQ(again, lines);
    EXPECT_FALSE(other.findChild<QLineEdit*>(QStringLiteral("PhoneEdit"))->isReadOnly())
        << "a loaded \"Другой\" unlocks the SIM edits";

    // No pause selected is saved as the five minutes it writes.
    TGPRSFrame fresh(otherHost);
    fresh.Init();
    fresh.GetSettings(again);
    EXPECT_EQ(again.first(), QStringLiteral("GPRSPause=0"));
}

TEST_F(GPRSPage, LoadedOperatorSetsTheLockButNotThePreset) {
    pick(4);
    page->SetSettings({"GPRSPause=2", "Opsos=0", "Phone=1", "Point=apn", "UserName=u"});
    EXPECT_EQ(operators()->currentIndex(), 0);
    EXPECT_EQ(sim(), (Sim{"1", "apn", "u", "", true})) << "a missing text key empties its edit";
    EXPECT_EQ(pause()->currentIndex(), 2);
    EXPECT_TRUE(edit("IPEdit1")->text().isEmpty());

    page->SetSettings({"gprspause=2", "OPSOS=4", "Phone=1"});
    EXPECT_EQ(sim(), (Sim{"1", "", "", "", false}));
}

TEST_F(GPRSPage, SettingsThePageCannotUseResetItWhole) {
    const QStringList cases[] = {
        {"GPRSPause=2", "Password=x"}, // no "Opsos"
        {"Opsos=1", "Password=x"},     // no "GPRSPause"
        {"GPRSPause=x", "Opsos=1"},
    };
    for (const QStringList& lines : cases) {
        SCOPED_TRACE(lines.join(QLatin1Char(' ')).toStdString());
        pick(4);
        edit("PasswordEdit")->setText(QStringLiteral("before"));
        pause()->setCurrentIndex(9);
        page->SetSettings(lines);
        EXPECT_EQ(pause()->currentIndex(), 0);
        EXPECT_EQ(edit("PasswordEdit")->text(), QStringLiteral("DemoDemo"));
        EXPECT_EQ(operators()->currentIndex(), 2);
        EXPECT_EQ(sim(), MTS);
    }
}

// A pause or an operator beyond its list leaves that list without
// selection; the file's other values are taken, and the page names the
// lines it could not take.
TEST_F(GPRSPage, SettingsBeyondTheListsAreTakenWithoutSelection) {
    const struct {
        QStringList lines;
        int pause, op;
    } cases[] = {
        {{"GPRSPause=11", "Opsos=1", "Password=x"}, -1, 1},
        {{"GPRSPause=-1", "Opsos=1", "Password=x"}, -1, 1},
        {{"GPRSPause=2", "Opsos=5", "Password=x"}, 2, -1},
        {{"GPRSPause=2", "Opsos=-1", "Password=x"}, 2, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char(' ')).toStdString());
        pick(4);
        edit("PasswordEdit")->setText(QStringLiteral("before"));
        pause()->setCurrentIndex(9);
        page->SetSettings(c.lines);
        EXPECT_EQ(pause()->currentIndex(), c.pause);
        EXPECT_EQ(operators()->currentIndex(), c.op);
        EXPECT_EQ(edit("PasswordEdit")->text(), QStringLiteral("x"));
        EXPECT_EQ(page->PageModel()->LoadRefused().size(), 1);
    }
}

TEST_F(GPRSPage, ControlsAreReadWithTheirLabels) {
    page->show();
    const auto name = [](QObject* o) {
        return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
    };
    const struct {
        const char* edit;
        const char* label;
    } cases[] = {
        {"PhoneEdit", "Номер телефона:"},
        {"PointEdit", "Точка доступа:"},
        {"UserEdit", "Имя пользователя:"},
        {"PWDEdit", "Пароль:"},
        {"PasswordEdit", "Пароль для идентификации:"},
        {"IPEdit1", "IP адрес сервера:"},
        {"PortEdit1", "Порт сервера:"},
        {"IPEdit2", "IP адрес сервера:"},
        {"PortEdit2", "Порт сервера:"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(name(edit(c.edit)), QString::fromUtf8(c.label)) << c.edit;
    for (const char* box : {"GPRSGroup", "GroupBox1", "InternetGroup"})
        EXPECT_EQ(name(control<QGroupBox>(box)), control<QGroupBox>(box)->title()) << box;
    for (const char* combo : {"OperatorsCombo", "GPRSRepeatComboBox"}) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(control<QComboBox>(combo));
        ASSERT_FALSE(i->relations(QAccessible::Label).isEmpty()) << combo;
    }
}

} // namespace
