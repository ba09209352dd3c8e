// The Channels page against a scripted panel dialogue and a recording host:
// its controls, the columns under the header, the lists by release and
// switch, the packing and the directions as the user sees them, the read,
// the write with its question and journal erase, defaults and settings.
#include "page_fakes.h"
#include "pages/ChannelsFrameUnit.h"
#include "pages/PageTable.h"
#include "pages/RedWhenInvalid.h"
#include "widget_probes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString OK = QStringLiteral("OK");
const QString NotUsed = QStringLiteral("Не используется");
const QString Csd = QStringLiteral("Цифровой канал GSM");
const QString GprsIp1 = QStringLiteral("GPRS-offline IP1");
const QString GprsIp2 = QStringLiteral("GPRS-offline IP2");
const QString SmsRelvan = QStringLiteral("SMS Relvan");
const QString SmsMobile = QStringLiteral("SMS на мобильный телефон");
const QString Voice = QStringLiteral("Голосовой звонок (до поднятия трубки)");
const QString None = QStringLiteral("<none>");
const QString EraseQuestion = QStringLiteral("При записи история прибора будет очищена, продолжать?");

QColor Colour(int n) {
    const TRgb c = DirectionColour(n);
    return QColor(c.R, c.G, c.B);
}

class ChannelsPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TChannelsFrame>(host);
        page->Init();
    }

    template <typename T> T* control(const QString& name) { return FindControl<T>(page.get(), name); }
    QComboBox* combo(int r) { return control<QComboBox>(QStringLiteral("ChannelCombo%1").arg(r)); }
    QLineEdit* phone(int r) { return control<QLineEdit>(QStringLiteral("PhoneEdit%1").arg(r)); }
    QLabel* label(int r) { return control<QLabel>(QStringLiteral("Label%1").arg(r)); }
    QRadioButton* andButton(int k) { return control<QRadioButton>(QStringLiteral("LogicAND%1").arg(k)); }
    QRadioButton* orButton(int k) { return control<QRadioButton>(QStringLiteral("LogicOR%1").arg(k)); }
    QRadioButton* moveItem(int i) { return control<QRadioButton>(QStringLiteral("MoveGroupItem%1").arg(i)); }
    QCheckBox* online() { return control<QCheckBox>(QStringLiteral("GPRSOnlineCheckBox")); }
    QHeaderView* header() { return control<QHeaderView>(QStringLiteral("HeaderControl1")); }
    FakeExchange& exchange() { return host.exchange; }

    // The user picks a caption in row r's list.
    void choose(int r, const QString& caption) {
        const int item = combo(r)->findText(caption);
        ASSERT_GE(item, 0) << caption.toStdString();
        combo(r)->setCurrentIndex(item);
    }
    // Rows from the top: the user picks each caption and types each phone.
    void fillRows(const QStringList& captions, const QStringList& phones) {
        for (int r = 1; r <= 8; ++r)
            phone(r)->setText(phones.value(r - 1));
        for (int r = 1; r <= captions.size(); ++r)
            choose(r, captions[r - 1]);
    }
    QStringList captions() {
        QStringList out;
        for (int r = 1; r <= 8; ++r)
            out << (combo(r)->currentIndex() < 0 ? None : combo(r)->currentText());
        return out;
    }
    QStringList phones() {
        QStringList out;
        for (int r = 1; r <= 8; ++r)
            out << phone(r)->text();
        return out;
    }
    QStringList labels() {
        QStringList out;
        for (int r = 1; r <= 8; ++r)
            out << label(r)->text();
        return out;
    }
    QString links() {
        QString out;
        for (int k = 1; k <= 7; ++k) {
            EXPECT_NE(andButton(k)->isChecked(), orButton(k)->isChecked()) << "link " << k;
            out += andButton(k)->isChecked() ? QLatin1Char('&') : QLatin1Char('|');
        }
        return out;
    }
    // Every write of the page answered "OK", the erase too.
    void acceptWrites() {
        exchange().during = [this](const QString& command) {
            static const QRegularExpression write(QStringLiteral("^\\+(gprsena|JDIR|alphon\\d)."));
            if (write.match(command).hasMatch())
                exchange().answers[command] = {OK};
        };
        exchange().answers[QStringLiteral("+erase")] = {OK};
    }
    void answerRead(const QString& online, const QStringList& entries, const QString& move) {
        exchange().answers[QStringLiteral("+gprsena")] = {online, OK};
        for (int i = 0; i < entries.size(); ++i)
            exchange().answers[QStringLiteral("+alphon%1").arg(i)] = {entries[i], OK};
        exchange().answers[QStringLiteral("+JDIR")] = {move, OK};
    }

    FakeHost host;
    std::unique_ptr<TChannelsFrame> page;
};

TEST_F(ChannelsPage, StartsWithItsControlsAndTexts) {
    EXPECT_EQ(page->Tag(), ptChannels);
    EXPECT_EQ(control<QGroupBox>("ChannelsGroupBox")->title(), "Телефоны ПЦН");
    EXPECT_EQ(online()->text(), "Включить GPRS-online");
    EXPECT_FALSE(online()->isChecked());

    const char* sections[] = {"Порядок", "Телефон", "Тип передачи данных"};
    const int widths[] = {100, 300, 400};
    ASSERT_EQ(header()->count(), 3);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(header()->model()->headerData(s, Qt::Horizontal).toString(), sections[s]);
        EXPECT_GE(header()->sectionSize(s), widths[s]) << sections[s];
    }
    EXPECT_EQ(header()->sectionSize(1), 300);
    EXPECT_EQ(header()->defaultAlignment(), Qt::AlignCenter);

    const QStringList tableC{NotUsed, Csd, GprsIp1, GprsIp2, SmsRelvan, SmsMobile, Voice};
    for (int r = 1; r <= 8; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(label(r)->text(), "Направление 1");
        EXPECT_TRUE(label(r)->alignment() & Qt::AlignRight);
        EXPECT_EQ(phone(r)->text(), "");
        EXPECT_EQ(phone(r)->palette().color(QPalette::Base), Colour(1));
        ASSERT_EQ(combo(r)->count(), tableC.size());
        for (int i = 0; i < combo(r)->count(); ++i) {
            EXPECT_EQ(combo(r)->itemText(i), tableC[i]);
            EXPECT_FALSE(combo(r)->itemIcon(i).isNull()) << i;
        }
        EXPECT_EQ(combo(r)->currentIndex(), 0);
    }
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(andButton(k)->text(), "И");
        EXPECT_EQ(orButton(k)->text(), "ИЛИ");
        EXPECT_EQ(andButton(k)->parentWidget()->objectName(), QStringLiteral("LogicPanel%1").arg(k));
    }
    EXPECT_EQ(links(), "|||||||");
    EXPECT_EQ(control<QGroupBox>("MoveGroup")->title(), "Тип перехода по направлениям");
    EXPECT_EQ(moveItem(0)->text(),
              "Оставаться в текущем направлении до передачи всех событий и не переходить на следующее");
    EXPECT_EQ(moveItem(1)->text(),
              "Переходить на следующее направление в случае невозможности передачи события в текущем");
    EXPECT_TRUE(moveItem(0)->isChecked());
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(ChannelsPage, PageTableHasItBetweenTheCommonPageAndTheLaterOnes) {
    int previous = -1;
    bool found = false;
    for (const TPageInfo& info : PageTable()) {
        EXPECT_GT(info.Tag, previous) << "tag order";
        previous = info.Tag;
        if (info.Tag != ptChannels)
            continue;
        found = true;
        std::unique_ptr<TPageFrame> created(info.Create(host));
        EXPECT_NE(dynamic_cast<TChannelsFrame*>(created.get()), nullptr);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(PageName(ptChannels), "Каналы связи");
}

TEST_F(ChannelsPage, ColumnsFollowTheHeader) {
    const int cases[][3] = {{100, 300, 400}, {150, 220, 330}, {120, 400, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[1]);
        for (int s = 0; s < 3; ++s)
            header()->resizeSection(s, c[s]);
        const int phoneLeft = header()->sectionPosition(1) + 5;
        for (int r = 1; r <= 8; ++r) {
            EXPECT_EQ(label(r)->x(), 5);
            EXPECT_EQ(label(r)->width(), c[0] - 5);
            EXPECT_EQ(phone(r)->x(), phoneLeft);
            EXPECT_EQ(phone(r)->width(), c[1] - 5);
            EXPECT_EQ(combo(r)->x(), header()->sectionPosition(2) + 5);
            EXPECT_EQ(combo(r)->width(), c[2] - 5);
        }
        for (int k = 1; k <= 7; ++k) {
            QWidget* panel = andButton(k)->parentWidget();
            EXPECT_EQ(panel->x(), phoneLeft);
            EXPECT_EQ(panel->width(), c[1] - 5);
            const int middle = panel->width() / 2;
            EXPECT_EQ(andButton(k)->geometry().right() + 1, middle - 5);
            EXPECT_EQ(orButton(k)->x(), middle + 5);
            // Rows and links in turn, none over another.
            EXPECT_GE(panel->y(), phone(k)->geometry().bottom());
            EXPECT_LE(panel->geometry().bottom(), phone(k + 1)->y());
        }
    }
}

TEST_F(ChannelsPage, UsedRowsStayPacked) {
    // Row 1 used, the rest free: a choice in row 5 lands in row 2 with row
    // 5's phone; the phones of the free rows in between rotate.
    fillRows({Csd}, {"1", "2", "3", "4", "5", "6", "7", "8"});
    choose(5, Csd);
    EXPECT_EQ(captions(), (QStringList{Csd, Csd, NotUsed, NotUsed, NotUsed, NotUsed, NotUsed, NotUsed}));
    EXPECT_EQ(phones(), (QStringList{"1", "5", "2", "3", "4", "6", "7", "8"}));

    // Rows 1..4 used: freeing row 2 moves rows 3 and 4 up; row 4 is free
    // and holds row 2's former phone.
    page->SetDefault();
    fillRows({Csd, SmsRelvan, SmsMobile, GprsIp1}, {"1", "2", "3", "4"});
    choose(2, NotUsed);
    EXPECT_EQ(captions(),
              (QStringList{Csd, SmsMobile, GprsIp1, NotUsed, NotUsed, NotUsed, NotUsed, NotUsed}));
    EXPECT_EQ(phones(), (QStringList{"1", "3", "4", "2", "", "", "", ""}));
    EXPECT_EQ(links(), "|||||||") << "links belong to the positions";
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(ChannelsPage, LinksNumberAndColourTheDirections) {
    for (int k : {1, 4})
        andButton(k)->click();
    EXPECT_EQ(links(), "&||&|||");
    const int expected[] = {1, 2, 2, 2, 3, 3, 3, 3};
    for (int r = 1; r <= 8; ++r) {
        EXPECT_EQ(label(r)->text(), QStringLiteral("Направление %1").arg(expected[r - 1])) << r;
        EXPECT_EQ(phone(r)->palette().color(QPalette::Base), Colour(expected[r - 1])) << r;
    }
    EXPECT_NE(Colour(1), Colour(2));
    EXPECT_NE(Colour(2), Colour(3));

    // OR again joins rows 5..8 to direction 2; every AND gives eight.
    orButton(4)->click();
    EXPECT_EQ(labels(), QStringList({"Направление 1"}) + QStringList(7, "Направление 2"));
    for (int k = 1; k <= 7; ++k)
        andButton(k)->click();
    EXPECT_EQ(label(8)->text(), "Направление 8");
    EXPECT_EQ(phone(8)->palette().color(QPalette::Base), Colour(8));
}

TEST_F(ChannelsPage, ListsFollowTheReleaseAndTheSwitch) {
    // Release 40: ticking keeps each row's channel type; the GPRS-offline
    // types become "Не используется". Unticking brings the voice call back
    // to item 6 of 7.
    page->DevRelease(40);
    fillRows({SmsMobile, GprsIp2, Voice}, {"1", "2", "3"});
    EXPECT_EQ(combo(1)->currentIndex(), 5);
    online()->click();
    EXPECT_EQ(combo(1)->count(), 5);
    EXPECT_EQ(captions().mid(0, 3), (QStringList{SmsMobile, NotUsed, Voice}));
    EXPECT_EQ(combo(1)->currentIndex(), 3);
    EXPECT_EQ(combo(3)->currentIndex(), 4);
    online()->click();
    EXPECT_EQ(combo(1)->count(), 7);
    EXPECT_EQ(captions().mid(0, 3), (QStringList{SmsMobile, NotUsed, Voice}));
    EXPECT_EQ(combo(3)->currentIndex(), 6);
    EXPECT_EQ(phones().mid(0, 3), (QStringList{"1", "2", "3"})) << "the carry-over does not move rows";

    // Older panels know no voice call; the lists are rebuilt on connection
    // and keep the types they have.
    page->DevRelease(20);
    EXPECT_EQ(combo(1)->count(), 6);
    EXPECT_EQ(captions().mid(0, 3), (QStringList{SmsMobile, NotUsed, NotUsed}));
    online()->click();
    EXPECT_EQ(combo(1)->count(), 4);
    EXPECT_EQ(captions().mid(0, 1), QStringList{SmsMobile});
    online()->click();

    // A release without a table (1000 and above, or below 0) leaves the
    // lists of the last connection, also when the switch flips.
    for (int release : {1000, 4321, -1}) {
        SCOPED_TRACE(release);
        page->DevRelease(125);
        fillRows({GprsIp1, Voice}, {"1", "2"});
        page->DevRelease(release);
        EXPECT_EQ(combo(1)->count(), 7);
        EXPECT_EQ(captions().mid(0, 2), (QStringList{GprsIp1, Voice}));
        online()->click();
        EXPECT_EQ(combo(1)->count(), 7);
        EXPECT_EQ(captions().mid(0, 2), (QStringList{GprsIp1, Voice}));
        online()->click();
    }
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(ChannelsPage, ReadShowsTheEntriesAsTheyCome) {
    page->DevRelease(125);
    answerRead("FF",
               {"110002=+79031234567", "120006=+79031234567", "210003=", "220000=", "310001=555",
                "320000=", "330005=777", "340000="},
               "00");
    page->ReadPage();

    EXPECT_EQ(exchange().Commands(), (QStringList{"+gprsena", "+alphon0", "+alphon1", "+alphon2", "+alphon3",
                                                  "+alphon4", "+alphon5", "+alphon6", "+alphon7", "+JDIR"}));
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param) << s.Command.toStdString();
    EXPECT_FALSE(online()->isChecked());
    // Gaps stay as the panel holds them; they are packed only by a write.
    EXPECT_EQ(captions(),
              (QStringList{Csd, SmsMobile, GprsIp1, NotUsed, Voice, NotUsed, SmsRelvan, NotUsed}));
    EXPECT_EQ(phones(), (QStringList{"+79031234567", "+79031234567", "", "", "555", "", "777", ""}));
    EXPECT_EQ(links(), "|&|&|||");
    EXPECT_EQ(labels(), (QStringList{"Направление 1", "Направление 1", "Направление 2", "Направление 2",
                                     "Направление 3", "Направление 3", "Направление 3", "Направление 3"}));
    EXPECT_TRUE(moveItem(1)->isChecked());
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_EQ(host.began, std::vector<TOperationState>{TOperationState::Reading});
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(ChannelsPage, ReadAppliesTheSwitchBeforeTheEntries) {
    // With GPRS-online on the lists lack the GPRS-offline types: codes 5 and
    // 6 are items 2 and 3, and the voice call of an old panel has no item.
    const struct {
        int release;
        const char* entry;
        QString caption;
        int item;
    } cases[] = {
        {125, "110005=1", SmsRelvan, 2},
        {125, "110006=1", SmsMobile, 3},
        {125, "110001=1", Voice, 4},
        {20, "110001=1", None, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        page->SetDefault();
        page->DevRelease(c.release);
        answerRead("00", {QString::fromUtf8(c.entry)}, "FF");
        page->ReadPage();
        EXPECT_TRUE(online()->isChecked());
        EXPECT_EQ(captions().front(), c.caption);
        EXPECT_EQ(combo(1)->currentIndex(), c.item);
    }
    // Release 20: the voice call with no selection is written back as not
    // used.
    acceptWrites();
    exchange().sent.clear();
    page->WritePage();
    EXPECT_TRUE(exchange().Commands().contains("+alphon0110000=1"))
        << exchange().Commands().join(' ').toStdString();
}

TEST_F(ChannelsPage, FailedReadsLeaveTheirPartAlone) {
    // GPRS-online on; row 4 has no selection and a phone longer than the
    // panel keeps, as a file may leave it.
    page->DevRelease(125);
    QStringList lines;
    page->GetSettings(lines);
    lines.replaceInStrings("Online=0", "Online=1");
    lines.replaceInStrings("Move=0", "Move=1");
    lines.replaceInStrings("CCombo4=0", "CCombo4=-1");
    lines.replaceInStrings("CPhone4=", "CPhone4=" + QString(35, '4'));
    page->SetSettings(lines);
    ASSERT_EQ(combo(4)->currentIndex(), -1);

    // "ZZ" for the switch, nothing for entry 3 and for the move-on rule, and
    // an entry with five digits before "=".
    answerRead("ZZ",
               {"110002=11", "120005=22", "130006=33", "", "12345=999", "160000=", "170000=", "180000="},
               "00");
    exchange().answers.remove(QStringLiteral("+alphon3"));
    exchange().answers.remove(QStringLiteral("+JDIR"));
    page->ReadPage();

    // A switch value and an entry that are not of their forms are failed
    // reads like the missing ones, never a default.
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_TRUE(online()->isChecked()) << "the switch keeps its state";
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors,
              (QStringList{"Значение GPRS-online", "Параметр направления 4", "Параметр направления 5",
                           "Порядок перехода по направлениям"}));
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
    // Rows 4 and 5 kept what they showed.
    EXPECT_EQ(captions().mid(0, 5), (QStringList{Csd, SmsRelvan, SmsMobile, None, NotUsed}));
    EXPECT_EQ(phones().mid(0, 5), (QStringList{"11", "22", "33", QString(35, '4'), ""}));
    EXPECT_TRUE(moveItem(1)->isChecked());
    EXPECT_EQ(exchange().sent.size(), 10u) << "the read went on after each failure";
}

TEST_F(ChannelsPage, DeclinedQuestionSendsNothing) {
    // An AND above a free row, which the packing before a write would undo.
    fillRows({Csd, SmsRelvan}, {"1", "2", "3"});
    andButton(2)->click();
    const TChannelsState before = page->State();
    host.answerYes = false;
    page->WritePage();
    EXPECT_EQ(host.questions, QStringList{EraseQuestion});
    EXPECT_TRUE(exchange().sent.empty());
    EXPECT_TRUE(host.busyTexts.isEmpty());
    EXPECT_TRUE(host.wakeUp);
    EXPECT_EQ(host.began, std::vector<TOperationState>{TOperationState::Writing}) << "no erase was begun";
    EXPECT_TRUE(host.held.empty());
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->State(), before) << "nothing packed either";
    EXPECT_EQ(links(), "|&|||||");
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(ChannelsPage, WriteErasesTheJournalThenPacksAndWrites) {
    page->DevRelease(125);
    fillRows({Csd, GprsIp1, SmsMobile}, {"111", "+79001234567", "333", "", "", "666"});
    moveItem(1)->click();
    acceptWrites();
    struct Seen {
        bool wakeUp, busy;
        TOperationState state;
        TWorkMode mode;
    };
    std::vector<Seen> seen;
    const auto writes = exchange().during;
    exchange().during = [&](const QString& command) {
        seen.push_back({host.wakeUp, host.busy, host.held.back(), page->Mode()});
        writes(command);
    };

    page->WritePage();

    EXPECT_EQ(host.questions, QStringList{EraseQuestion});
    EXPECT_EQ(exchange().Commands(),
              (QStringList{"+erase", "+gprsenaFF", "+alphon0110002=111", "+alphon1120003=+79001234567",
                           "+alphon2130006=333", "+alphon3140000=", "+alphon4150000=", "+alphon5160000=666",
                           "+alphon6170000=", "+alphon7180000=", "+JDIR00"}));
    ASSERT_EQ(seen.size(), 11u);
    // The erase: its long time-out, the wake-up off, the busy indicator up,
    // in its own operation state nested in the write.
    EXPECT_EQ(exchange().sent[0].TimeOut, ExchangeTimeout::Erase);
    EXPECT_FALSE(seen[0].wakeUp);
    EXPECT_TRUE(seen[0].busy);
    EXPECT_EQ(seen[0].state, TOperationState::Erasing);
    EXPECT_EQ(seen[0].mode, wmWrite);
    EXPECT_EQ(host.busyTexts, QStringList{TChannelsFrame::EraseBusyText()});
    EXPECT_TRUE(host.busyTexts[0].contains("70 с")) << host.busyTexts[0].toStdString();
    EXPECT_EQ(host.busyCancellable, std::vector<bool>{false}) << "the panel cannot stop an erase";
    // The writes: the wake-up back on, the indicator gone.
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].wakeUp) << i;
        EXPECT_FALSE(seen[i].busy) << i;
        EXPECT_EQ(seen[i].state, TOperationState::Writing) << i;
        EXPECT_EQ(exchange().sent[i].TimeOut, ExchangeTimeout::Param) << i;
    }
    EXPECT_EQ(host.began, (std::vector<TOperationState>{TOperationState::Writing, TOperationState::Erasing}));
    EXPECT_TRUE(host.held.empty());
    EXPECT_TRUE(host.errorLists.empty());
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(ChannelsPage, GapsFromAFileArePackedByTheWrite) {
    // Rows 1 and 3 used with AND links around the gap, as a file may hold
    // them: shown as they come, packed with OR above every free row when
    // written.
    QStringList lines;
    page->GetSettings(lines);
    lines.replaceInStrings("CCombo1=0", "CCombo1=1");
    lines.replaceInStrings("CCombo3=0", "CCombo3=3");
    lines.replaceInStrings("CPhone1=", "CPhone1=11");
    lines.replaceInStrings("CPhone3=", "CPhone3=33");
    lines.replaceInStrings("logicAND1=0", "logicAND1=1");
    lines.replaceInStrings("logicAND2=0", "logicAND2=1");
    page->SetSettings(lines);
    EXPECT_EQ(captions().mid(0, 4), (QStringList{Csd, NotUsed, GprsIp2, NotUsed}));
    EXPECT_EQ(links(), "&&|||||");

    acceptWrites();
    page->WritePage();
    EXPECT_EQ(captions().mid(0, 3), (QStringList{Csd, GprsIp2, NotUsed}));
    EXPECT_EQ(phones().mid(0, 3), (QStringList{"11", "33", ""}));
    EXPECT_EQ(links(), "|||||||");
    EXPECT_EQ(exchange().Commands().mid(2, 3),
              (QStringList{"+alphon0110002=11", "+alphon1120004=33", "+alphon2130000="}));
}

TEST_F(ChannelsPage, FailedEraseIsShownAtOnceAndTheWriteGoesOn) {
    fillRows({Csd}, {"1"});
    acceptWrites();
    exchange().answers.remove(QStringLiteral("+erase"));
    // The panel refuses entry 2.
    size_t listsWhenWritesBegan = 99;
    const auto writes = exchange().during;
    exchange().during = [&](const QString& command) {
        if (command.startsWith("+gprsena"))
            listsWhenWritesBegan = host.errorLists.size();
        writes(command);
        if (command.startsWith("+alphon2"))
            exchange().answers[command] = {QStringLiteral("ERROR")};
    };

    page->WritePage();

    EXPECT_EQ(listsWhenWritesBegan, 1u) << "the failed erase was shown before the writes";
    ASSERT_EQ(host.errorLists.size(), 2u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Очистка истории"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{"Ошибка записи телефона #2"});
    EXPECT_EQ(host.errorLists[1].Mode, wmWrite);
    EXPECT_EQ(exchange().sent.size(), 11u);
    EXPECT_TRUE(host.wakeUp);
    EXPECT_FALSE(host.busy);
    EXPECT_TRUE(host.held.empty());
}

TEST_F(ChannelsPage, DefaultsNeedNoPanelAndKeepTheRelease) {
    page->DevRelease(40);
    fillRows({Csd, SmsRelvan}, {"1", "2"});
    andButton(1)->click();
    online()->click();
    moveItem(1)->click();
    page->SetDefault();
    EXPECT_FALSE(online()->isChecked());
    EXPECT_EQ(captions(), QStringList(8, NotUsed));
    EXPECT_EQ(phones(), QStringList(8, ""));
    EXPECT_EQ(links(), "|||||||");
    EXPECT_EQ(labels(), QStringList(8, "Направление 1"));
    EXPECT_TRUE(moveItem(0)->isChecked());
    EXPECT_EQ(combo(1)->count(), 7);
    EXPECT_EQ(page->State().DevRelease, 40);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(ChannelsPage, SettingsRoundTrip) {
    const struct {
        bool savedOnline;
        bool loadedOnline; // the switch on the page that loads
    } cases[] = {{true, false}, {false, true}, {false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.savedOnline);
        page->SetDefault();
        page->DevRelease(125);
        if (c.savedOnline)
            online()->click();
        fillRows(c.savedOnline ? QStringList{Voice, SmsMobile, Csd} : QStringList{Voice, GprsIp2, SmsRelvan},
                 {"+7900", "55", "", "", "", "", "", "8"});
        for (int k : {2, 6})
            andButton(k)->click();
        moveItem(1)->click();
        QStringList lines{"left over"};
        page->GetSettings(lines);
        EXPECT_EQ(lines.first(), "CPhone1=+7900");
        EXPECT_EQ(lines.filter("=").size(), 25);
        EXPECT_TRUE(lines.contains(c.savedOnline ? "Online=1" : "Online=0"));

        FakeHost otherHost;
        TChannelsFrame other(otherHost);
        other.Init();
        other.DevRelease(125);
        if (c.loadedOnline)
            other.findChild<QCheckBox*>("GPRSOnlineCheckBox")->click();
        other.SetSettings(lines);
        EXPECT_EQ(other.State(), page->State());
        for (int r = 1; r <= 8; ++r) {
            auto* otherCombo = other.findChild<QComboBox*>(QStringLiteral("ChannelCombo%1").arg(r));
            EXPECT_EQ(otherCombo->currentText(), combo(r)->currentText()) << r;
            EXPECT_EQ(otherCombo->count(), combo(r)->count()) << r;
            EXPECT_EQ(other.findChild<QLineEdit*>(QStringLiteral("PhoneEdit%1").arg(r))->text(),
                      phone(r)->text());
            EXPECT_EQ(other.findChild<QLabel*>(QStringLiteral("Label%1").arg(r))->text(), label(r)->text());
        }
        EXPECT_EQ(other.findChild<QCheckBox*>("GPRSOnlineCheckBox")->isChecked(), c.savedOnline);
        EXPECT_TRUE(other.findChild<QRadioButton*>("LogicAND6")->isChecked());
        EXPECT_TRUE(other.findChild<QRadioButton*>("MoveGroupItem1")->isChecked());
        EXPECT_TRUE(otherHost.exchange.sent.empty());
    }
}

TEST_F(ChannelsPage, SettingsTheFileLacks) {
    page->DevRelease(125);
    fillRows({Csd, SmsRelvan}, {"1", "2"});
    andButton(3)->click();
    QStringList saved;
    page->GetSettings(saved);

    // A missing phone empties its row only.
    QStringList lines = saved;
    lines.removeAll("CPhone2=2");
    page->SetSettings(lines);
    EXPECT_EQ(phones().mid(0, 2), (QStringList{"1", ""}));
    EXPECT_EQ(captions().mid(0, 2), (QStringList{Csd, SmsRelvan}));

    // A number missing or not a number puts the whole page on its defaults.
    for (const char* key : {"Online", "Move", "CCombo8", "logicAND7"}) {
        SCOPED_TRACE(key);
        page->SetSettings(saved);
        ASSERT_EQ(captions().front(), Csd);
        for (const char* value : {"", "x"}) {
            lines = saved;
            for (QString& line : lines) {
                if (line.startsWith(QLatin1String(key) + '='))
                    line = *value ? QLatin1String(key) + '=' + value : QString();
            }
            page->SetSettings(lines);
            EXPECT_EQ(captions(), QStringList(8, NotUsed));
            EXPECT_EQ(phones(), QStringList(8, ""));
            EXPECT_EQ(links(), "|||||||");
        }
    }
}

TEST_F(ChannelsPage, PhonesTakeDigitsAndPlusOnly) {
    QLineEdit* edit = phone(1);
    typeText(edit, QStringLiteral("+7 (900) a-12Ж"));
    EXPECT_EQ(edit->text(), "+790012");
    EXPECT_EQ(page->State().Rows[0].Phone, "+790012");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "+79001");
    typeText(edit, QString(40, '5'));
    EXPECT_EQ(edit->text().size(), 30);
    EXPECT_FALSE(IsDrawnInvalid(edit));

    // A longer phone from a file goes in whole but is drawn in red: the
    // panel keeps 30 characters.
    QStringList lines;
    page->GetSettings(lines);
    lines.replaceInStrings(QRegularExpression("^CPhone1=.*"), "CPhone1=" + QString(35, '7'));
    page->SetSettings(lines);
    EXPECT_EQ(edit->text(), QString(35, '7'));
    EXPECT_TRUE(IsDrawnInvalid(edit));
    EXPECT_EQ(edit->palette().color(QPalette::Base), Colour(1)) << "the direction colour stays";
}

TEST_F(ChannelsPage, ControlsAreReadWithTheirOwnNames) {
    page->show();
    for (int r = 1; r <= 8; ++r) {
        EXPECT_EQ(label(r)->buddy(), phone(r));
        EXPECT_EQ(accessibleName(phone(r)), QStringLiteral("Телефон %1").arg(r));
        // A combo box is read with its value; its own name stands beside it.
        EXPECT_EQ(combo(r)->accessibleName(), QStringLiteral("Тип передачи данных %1").arg(r));
    }
    EXPECT_EQ(accessibleName(andButton(3)), "И между строками 3 и 4");
    EXPECT_EQ(accessibleName(orButton(3)), "ИЛИ между строками 3 и 4");
    for (const char* name : {"ChannelsGroupBox", "MoveGroup"}) {
        auto* box = control<QGroupBox>(name);
        EXPECT_EQ(accessibleName(box), box->title()) << name;
    }
}

} // namespace
