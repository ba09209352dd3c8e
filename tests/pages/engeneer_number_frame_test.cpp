// The Engineer numbers page against a scripted panel dialogue and a
// recording host: the switch and the edits it enables, reading and writing
// with the single-space rule, the key filter, the settings-file lines.
#include "page_fakes.h"
#include "pages/EngeneerNumberCodec.h"
#include "pages/EngeneerNumberFrameUnit.h"
#include "pages/PageTable.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const QString EnableError = QStringLiteral("Включить/Выключить инж. номера");

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

QString Number(int n) {
    return QStringLiteral("Инженерный номер %1").arg(n);
}

class EngineerPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TEngeneerNumberFrame>(host);
        page->Init();
    }

    QCheckBox* enable() const { return page->findChild<QCheckBox*>(QStringLiteral("EnableCheck")); }
    QLineEdit* edit(int n) const { return page->Edit(n); }
    FakeExchange& exchange() { return host.exchange; }

    // The five edits' texts.
    QStringList numbers() const {
        QStringList out;
        for (int n = 1; n <= 5; ++n)
            out.append(edit(n)->text());
        return out;
    }
    void setNumbers(const QStringList& texts) {
        for (int n = 1; n <= 5; ++n)
            edit(n)->setText(texts.value(n - 1));
    }
    bool editsEnabled(bool expected) const {
        for (int n = 1; n <= 5; ++n) {
            if (edit(n)->isEnabled() != expected)
                return false;
        }
        return true;
    }
    // The panel takes every write and answers every read as given.
    void answerReads(const QString& enaing, const QStringList& phing) {
        exchange().answers[QStringLiteral("+enaing")] = Ok(enaing);
        for (int n = 1; n <= 5; ++n)
            exchange().answers[QStringLiteral("+phing%1").arg(n - 1)] = Ok(phing.value(n - 1));
    }
    void acceptWrites(const QStringList& commands) {
        for (const QString& c : commands)
            exchange().answers[c] = {QStringLiteral("OK")};
    }

    FakeHost host;
    std::unique_ptr<TEngeneerNumberFrame> page;
};

TEST_F(EngineerPage, StartsDisabledWithEmptyNumbersReachedByName) {
    EXPECT_EQ(page->Tag(), ptEngineerNumbers);
    auto* box = page->findChild<QGroupBox*>(QStringLiteral("MainGroupBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), QStringLiteral("Инженерные номера"));
    ASSERT_NE(enable(), nullptr);
    EXPECT_EQ(enable()->text(), QStringLiteral("Включить инженерные номера"));
    EXPECT_FALSE(enable()->isChecked());
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        QLineEdit* e = page->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(page->Edit(n), e);
        EXPECT_TRUE(e->text().isEmpty());
        EXPECT_FALSE(e->isEnabled());
        auto* label = page->findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QStringLiteral("%1:").arg(n));
        EXPECT_EQ(label->buddy(), e);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(e)->text(QAccessible::Name), Number(n));
    }
    EXPECT_EQ(page->Edit(0), nullptr);
    EXPECT_EQ(page->Edit(6), nullptr);

    // The table has the page after Common, before SMS.
    std::vector<int> tags;
    for (const TPageInfo& p : PageTable())
        tags.push_back(p.Tag);
    EXPECT_TRUE(std::is_sorted(tags.begin(), tags.end()));
    const auto row = std::find(tags.begin(), tags.end(), int(ptEngineerNumbers));
    ASSERT_NE(row, tags.end());
    std::unique_ptr<TPageFrame> created(PageTable()[size_t(row - tags.begin())].Create(host));
    EXPECT_NE(dynamic_cast<TEngeneerNumberFrame*>(created.get()), nullptr);
}

TEST_F(EngineerPage, TheSwitchEnablesTheEditsWhoeverChangesIt) {
    QTest::mouseClick(enable(), Qt::LeftButton);
    EXPECT_TRUE(editsEnabled(true));
    QTest::mouseClick(enable(), Qt::LeftButton);
    EXPECT_TRUE(editsEnabled(false));

    answerReads(QStringLiteral("00"), {});
    page->ReadPage();
    EXPECT_TRUE(editsEnabled(true));
    page->SetDefault();
    EXPECT_TRUE(editsEnabled(false));
    page->SetSettings({"EnableEng=1"});
    EXPECT_TRUE(editsEnabled(true));
}

TEST_F(EngineerPage, WriteSendsEmptyNumbersAsOneSpace) {
    // The panel's example: enabled, number 1 set, the other four empty (one
    // of them spaces only, as a user may leave it).
    enable()->setChecked(true);
    setNumbers({"+123456", "", "   ", "", ""});
    const QStringList wire{"+enaing00", "+phing0+123456", "+phing1 ", "+phing2 ", "+phing3 ", "+phing4 "};
    acceptWrites(wire);

    page->WritePage();

    EXPECT_EQ(exchange().Commands(), wire);
    EXPECT_EQ(numbers(), (QStringList{"+123456", " ", " ", " ", " "})) << "the edits show what went out";
    EXPECT_TRUE(host.errorLists.empty());
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);

    // Disabled: the switch goes off and the numbers are written all the same,
    // without their spaces; a single space written back stays one.
    enable()->setChecked(false);
    setNumbers({"+7 903 123 45 67", " ", "12", "", "5"});
    const QStringList off{"+enaingFF", "+phing0+79031234567", "+phing1 ", "+phing212", "+phing3 ",
                          "+phing45"};
    acceptWrites(off);
    exchange().sent.clear();
    page->WritePage();
    EXPECT_EQ(exchange().Commands(), off);
    EXPECT_EQ(numbers(), (QStringList{"+79031234567", " ", "12", " ", "5"}));
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(EngineerPage, RefusedWritesAreListedByTheirNames) {
    enable()->setChecked(true);
    setNumbers({"1", "2", "3", "4", "5"});
    acceptWrites({"+phing01", "+phing12", "+phing34", "+phing45"});
    exchange().answers[QStringLiteral("+phing23")] = {QStringLiteral("ERROR")};

    page->WritePage(); // "+enaing00" is not answered at all

    EXPECT_EQ(exchange().Commands(),
              (QStringList{"+enaing00", "+phing01", "+phing12", "+phing23", "+phing34", "+phing45"}));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{EnableError, Number(3)}));
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
}

TEST_F(EngineerPage, ReadShowsTheValuesAsTheyCome) {
    const struct {
        const char* enaing;
        bool on;
    } switches[] = {{"00", true}, {"FF", false}, {"01", false}, {"ff", false}};
    for (const auto& c : switches) {
        SCOPED_TRACE(c.enaing);
        enable()->setChecked(!c.on);
        answerReads(QString::fromLatin1(c.enaing), {"+123456", " ", "89001234567", " ", "+7 (903)"});

        page->ReadPage();

        EXPECT_EQ(enable()->isChecked(), c.on);
        EXPECT_TRUE(editsEnabled(c.on));
        // Unchanged: the panel's single space for an empty number, and even
        // characters that cannot be typed.
        EXPECT_EQ(numbers(), (QStringList{"+123456", " ", "89001234567", " ", "+7 (903)"}));
        EXPECT_TRUE(host.errorLists.empty());
    }
    EXPECT_EQ(exchange().Commands().mid(0, 6),
              (QStringList{"+enaing", "+phing0", "+phing1", "+phing2", "+phing3", "+phing4"}));

    // What was read as a single space goes back as one.
    // Only the spaces are taken out of the rest.
    const QStringList back{"+enaingFF",          "+phing0+123456", "+phing1 ",
                           "+phing289001234567", "+phing3 ",       "+phing4+7(903)"};
    acceptWrites(back);
    enable()->setChecked(false);
    exchange().sent.clear();
    page->WritePage();
    EXPECT_EQ(exchange().Commands(), back);
}

TEST_F(EngineerPage, FailedReadsAreListedAndKeepTheirControls) {
    enable()->setChecked(true);
    setNumbers({"1", "2", "3", "4", "5"});
    answerReads(QStringLiteral("FF"), {"11", "22", "33", "44", "55"});
    exchange().answers.remove(QStringLiteral("+enaing"));
    exchange().answers.remove(QStringLiteral("+phing2"));
    // No value line: the panel holds no number there, read as empty.
    exchange().answers[QStringLiteral("+phing4")] = {QStringLiteral("OK")};

    page->ReadPage();

    EXPECT_TRUE(enable()->isChecked());
    EXPECT_EQ(numbers(), (QStringList{"11", "22", "3", "44", ""}));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{EnableError, Number(3)}));
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
}

TEST_F(EngineerPage, DefaultsNeedNoPanel) {
    enable()->setChecked(true);
    setNumbers({"1", "2", "3", "4", "5"});
    page->SetDefault();
    EXPECT_FALSE(enable()->isChecked());
    EXPECT_EQ(numbers(), (QStringList{"", "", "", "", ""}));
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(EngineerPage, KeyFilterTakesPlusAndDigitsUpToThirty) {
    enable()->setChecked(true);
    QLineEdit* e = edit(2);
    e->setFocus();
    for (const QChar c : QStringLiteral("+7 (903) 12-3ж#*a4")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &press);
    }
    EXPECT_EQ(e->text(), QStringLiteral("+79031234"));
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(e->text(), QStringLiteral("+7903123"));

    e->clear();
    QTest::keyClicks(e, QString(35, QLatin1Char('9')));
    EXPECT_EQ(e->text(), QString(30, QLatin1Char('9')));

    // Pasted text: all of it or nothing.
    e->clear();
    e->insert(QStringLiteral("+7 903"));
    EXPECT_TRUE(e->text().isEmpty());
    e->insert(QStringLiteral("+7903"));
    EXPECT_EQ(e->text(), QStringLiteral("+7903"));
}

TEST_F(EngineerPage, SettingsRoundTrip) {
    enable()->setChecked(true);
    setNumbers({"+123456", " ", "", "89001234567", "5"});
    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    const QStringList expected{
        "EnableEng=1", "EPhone1=+123456", "EPhone2= ", "EPhone3=", "EPhone4=89001234567", "EPhone5=5"};
    EXPECT_EQ(lines, expected);

    FakeHost otherHost;
    TEngeneerNumberFrame other(otherHost);
    other.Init();
    other.SetSettings(lines);
    QStringList again;
    other.GetSettings(again);
    EXPECT_EQ(again, expected);
    EXPECT_TRUE(other.Edit(1)->isEnabled());

    // A missing number empties its edit, another order and letter case count.
    page->SetSettings({"ephone2=123", "x=1", "ENABLEENG=1"});
    EXPECT_TRUE(enable()->isChecked());
    EXPECT_TRUE(editsEnabled(true));
    EXPECT_EQ(numbers(), (QStringList{"", "123", "", "", ""}));
    page->SetSettings({"EnableEng=0", "EPhone1=1=2"});
    EXPECT_FALSE(enable()->isChecked());
    EXPECT_EQ(numbers(), (QStringList{"1=2", "", "", "", ""}));
}

TEST_F(EngineerPage, SettingsWithoutAUsableSwitchResetThePage) {
    const QStringList cases[] = {
        {"EPhone1=123"},
        {"EnableEng=", "EPhone1=123"},
        {"EnableEng=yes", "EPhone1=123"},
    };
    for (const QStringList& lines : cases) {
        SCOPED_TRACE(lines.join(QLatin1Char(' ')).toStdString());
        enable()->setChecked(true);
        setNumbers({"1", "2", "3", "4", "5"});
        page->SetSettings(lines);
        EXPECT_FALSE(enable()->isChecked());
        EXPECT_EQ(numbers(), (QStringList{"", "", "", "", ""}));
        EXPECT_TRUE(editsEnabled(false));
    }
}

} // namespace
