// The SMS page against a scripted panel dialogue and a recording host: the
// grid, reading and writing the six texts (an empty one the panel did not
// take), transliteration, the SMS text file and the settings-file lines.
#include "page_fakes.h"
#include "pages/PageTable.h"
#include "pages/SMSCodec.h"
#include "pages/SMSFrameUnit.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList Purposes{
    "Внимание! Была нажата Тревожная кнопка 1",
    "Внимание! Была нажата Тревожная кнопка 2",
    "Разряд АКБ",
    "Произошла перезагрузка панели",
    "Автотест",
    "Восстановление заряда АКБ",
};
const QString FormatError = QStringLiteral("Файл имеет неверный формат или поврежден");

QStringList Ok(const QString& value) {
    return {value, QStringLiteral("OK")};
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SMSPage : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TSMSFrame>(host);
        page->Init();
    }

    QTableWidget* grid() const { return page->findChild<QTableWidget*>(QStringLiteral("SMSGrid")); }
    QPushButton* button(const char* name) const { return page->findChild<QPushButton*>(QLatin1String(name)); }
    FakeExchange& exchange() { return host.exchange; }

    QStringList texts() const {
        QStringList out;
        for (int r = 1; r <= 6; ++r)
            out.append(page->Text(r));
        return out;
    }
    // As the user types them into the grid.
    void setTexts(const QStringList& t) {
        for (int r = 1; r <= 6; ++r)
            grid()->item(r - 1, 2)->setText(t.value(r - 1));
    }
    void answerReads(const QStringList& t) {
        for (int r = 1; r <= 6; ++r)
            exchange().answers[QStringLiteral("+smstext%1").arg(r - 1)] = Ok(t.value(r - 1));
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    FakeHost host;
    std::unique_ptr<TSMSFrame> page;
    QTemporaryDir dir;
};

TEST_F(SMSPage, GridShowsNumbersPurposesAndDefaultTexts) {
    EXPECT_EQ(page->Tag(), ptSMS);
    EXPECT_EQ(page->findChild<QGroupBox*>(QStringLiteral("SMSSetGroup"))->title(),
              QStringLiteral("Настройки СМС"));
    EXPECT_EQ(button("TranslateButton")->text(), QStringLiteral("Перевести СМС на латиницу"));
    EXPECT_EQ(button("LoadButton")->text(), QStringLiteral("Загрузить СМС"));
    EXPECT_EQ(button("SaveButton")->text(), QStringLiteral("Сохранить СМС"));

    QTableWidget* g = grid();
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->columnCount(), 3);
    ASSERT_EQ(g->rowCount(), 6);
    const QStringList heading{"№", "Назначение", "Текст СМС"};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(g->horizontalHeaderItem(c)->text(), heading[c]);
    for (int r = 1; r <= 6; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(g->item(r - 1, 0)->text(), QString::number(r));
        EXPECT_EQ(g->item(r - 1, 1)->text(), Purposes[r - 1]);
        EXPECT_EQ(g->item(r - 1, 2)->text(), Purposes[r - 1]);
        // Only the texts are edited.
        EXPECT_FALSE(g->item(r - 1, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_FALSE(g->item(r - 1, 1)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(g->item(r - 1, 2)->flags() & Qt::ItemIsEditable);
    }
    EXPECT_EQ(g->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(g->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // SetDefault brings the texts back; the panel is not asked.
    setTexts({"a", "b", "c", "d", "e", "f"});
    page->SetDefault();
    EXPECT_EQ(texts(), Purposes);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(SMSPage, TextColumnsTakeHalfTheGridEachAsItResizes) {
    page->show();
    for (int width : {500, 801, 640}) {
        page->resize(width, 400);
        QApplication::processEvents();
        const int client = grid()->viewport()->width();
        SCOPED_TRACE(client);
        EXPECT_EQ(grid()->columnWidth(0), 30);
        EXPECT_EQ(grid()->columnWidth(1), client / 2 - 17);
        EXPECT_EQ(grid()->columnWidth(2), client / 2 - 17);
    }
    // Every row is in sight.
    const QRect last = grid()->visualItemRect(grid()->item(5, 2));
    EXPECT_LE(last.bottom(), grid()->viewport()->height());
}

TEST_F(SMSPage, ReadPutsEachTextIntoItsRow) {
    const QStringList panel{"Trevoga 1", "Trevoga 2", "Разряд", " ", "Avtotest", "Заряд АКБ восстановлен"};
    answerReads(panel);
    page->ReadPage();
    EXPECT_EQ(exchange().Commands(),
              (QStringList{"+smstext0", "+smstext1", "+smstext2", "+smstext3", "+smstext4", "+smstext5"}));
    EXPECT_EQ(texts(), panel);
    EXPECT_TRUE(host.errorLists.empty());
    for (const FakeExchange::Sent& s : exchange().sent)
        EXPECT_EQ(s.TimeOut, ExchangeTimeout::Param);

    // A failed text keeps its row and is listed by its read name.
    setTexts({"1", "2", "3", "4", "5", "6"});
    exchange().answers.remove(QStringLiteral("+smstext1"));
    // "OK" alone: the panel holds an empty text, read as such.
    exchange().answers[QStringLiteral("+smstext5")] = {QStringLiteral("OK")};
    page->ReadPage();
    EXPECT_EQ(texts(), (QStringList{"Trevoga 1", "2", "Разряд", " ", "Avtotest", ""}));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, (QStringList{"Текст СМС #2"}));
    EXPECT_EQ(host.errorLists[0].Mode, wmRead);
}

TEST_F(SMSPage, WriteSendsTheTextsAsTheyStand) {
    setTexts({"Trevoga 1", "Внимание!", "a=b", "  spaces  ", "№5", "x"});
    const QStringList wire{"+smstext0Trevoga 1",  "+smstext1Внимание!", "+smstext2a=b",
                           "+smstext3  spaces  ", "+smstext4№5",        "+smstext5x"};
    for (const QString& c : wire)
        exchange().answers[c] = {QStringLiteral("OK")};
    exchange().answers[wire[5]] = {QStringLiteral("ERROR")};

    page->WritePage();

    EXPECT_EQ(exchange().Commands(), wire);
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors, QStringList{"Тест СМС #6"});
    EXPECT_EQ(host.errorLists[0].Mode, wmWrite);
    EXPECT_EQ(page->Mode(), wmNull);
}

TEST_F(SMSPage, AnEmptyTextThePanelDidNotTakeIsListedWithTheTextItKept) {
    setTexts({"", "b", "", "d", "e", "f"});
    for (const char* c : {"+smstext1b", "+smstext3d", "+smstext4e", "+smstext5f"})
        exchange().answers[QString::fromLatin1(c)] = {QStringLiteral("OK")};
    // The write of an empty text is the read command: the panel answers with
    // what it keeps. A panel that answers a bare "OK" has taken it.
    exchange().answers[QStringLiteral("+smstext0")] = Ok(QStringLiteral("Trevoga"));
    exchange().answers[QStringLiteral("+smstext2")] = {QStringLiteral("OK")};

    page->WritePage();

    EXPECT_EQ(exchange().Commands(), (QStringList{"+smstext0", "+smstext1b", "+smstext2", "+smstext3d",
                                                  "+smstext4e", "+smstext5f"}));
    ASSERT_EQ(host.errorLists.size(), 1u);
    EXPECT_EQ(host.errorLists[0].Errors,
              QStringList{"Тест СМС #1: пустое значение не записано, в панели осталось «Trevoga»"});
    EXPECT_EQ(texts().at(0), QString()) << "the grid keeps what the user left";

    // Unanswered, it is listed by its write name alone.
    exchange().answers.remove(QStringLiteral("+smstext0"));
    page->WritePage();
    ASSERT_EQ(host.errorLists.size(), 2u);
    EXPECT_EQ(host.errorLists[1].Errors, QStringList{"Тест СМС #1"});
}

TEST_F(SMSPage, TranslationToLatinTouchesOnlyTheTexts) {
    setTexts({"Разряд АКБ", "Ёлка", "щи", "подъезд", "Test 5!", "Внимание! Была нажата Тревожная кнопка 1"});
    const QStringList latin{"Razrjad AKB", "yolka",   "shi",
                            "pod'ezd",     "Test 5!", "Vnimanie! Byla nazhata Trevozhnaja knopka 1"};
    button("TranslateButton")->click();
    EXPECT_EQ(texts(), latin);
    button("TranslateButton")->click();
    EXPECT_EQ(texts(), latin) << "a second time changes nothing";
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(grid()->item(r - 1, 1)->text(), Purposes[r - 1]);
    EXPECT_TRUE(exchange().sent.empty());
}

TEST_F(SMSPage, WhatIsBeingTypedIsWhatThePageTakes) {
    page->show();
    QTableWidget* g = grid();
    g->setCurrentCell(2, 2);
    g->editItem(g->item(2, 2));
    auto* editor = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Typed"));

    // Write pressed on the tool bar while the cell is still being edited.
    page->WritePage();
    ASSERT_GE(exchange().sent.size(), 3u);
    EXPECT_EQ(exchange().sent[2].Command, QStringLiteral("+smstext2Typed"));

    // A read while a cell is being edited: the read text stays.
    g->editItem(g->item(0, 2));
    QApplication::processEvents(); // the closed editor goes
    editor = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("xx"));
    answerReads({"r1", "r2", "r3", "r4", "r5", "r6"});
    page->ReadPage();
    QApplication::processEvents();
    g->setCurrentCell(4, 2); // leaving the cell would commit an open editor
    QApplication::processEvents();
    EXPECT_EQ(texts(), (QStringList{"r1", "r2", "r3", "r4", "r5", "r6"}));
}

TEST_F(SMSPage, TextFileRoundTrip) {
    const QStringList mine{"Тревога 1", "Alarm 2", "", "a=b", "Перезагрузка", "Заряд"};
    setTexts(mine);
    host.chosenFile = path("texts.txt");
    button("SaveButton")->click();
    ASSERT_EQ(host.fileChoices.size(), 1u);
    EXPECT_TRUE(host.fileChoices[0].Save);
    EXPECT_EQ(host.fileChoices[0].Caption, QStringLiteral("Сохранить СМС"));
    EXPECT_TRUE(host.fileChoices[0].Filter.isEmpty()) << "no filter";
    EXPECT_TRUE(host.fileChoices[0].DefaultSuffix.isEmpty()) << "no default extension";
    EXPECT_EQ(FileBytes(host.chosenFile), QByteArray("\xD2\xF0\xE5\xE2\xEE\xE3\xE0 1\r\n"
                                                     "Alarm 2\r\n"
                                                     "\r\n"
                                                     "a=b\r\n"
                                                     "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xEA\xE0\r\n"
                                                     "\xC7\xE0\xF0\xFF\xE4\r\n"));

    FakeHost otherHost;
    TSMSFrame other(otherHost);
    other.Init();
    otherHost.chosenFile = host.chosenFile;
    other.LoadButtonClick();
    ASSERT_EQ(otherHost.fileChoices.size(), 1u);
    EXPECT_FALSE(otherHost.fileChoices[0].Save);
    EXPECT_EQ(otherHost.fileChoices[0].Caption, QStringLiteral("Загрузить СМС"));
    QStringList loaded;
    for (int r = 1; r <= 6; ++r)
        loaded.append(other.Text(r));
    EXPECT_EQ(loaded, mine);
    EXPECT_TRUE(otherHost.errors.isEmpty());

    // Seven lines: the first six.
    WriteBytes(path("seven.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
    host.chosenFile = path("seven.txt");
    page->LoadButtonClick();
    EXPECT_EQ(texts(), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_TRUE(host.errors.isEmpty());
}

TEST_F(SMSPage, TextFileThatCannotBeUsedChangesNothing) {
    setTexts({"a", "b", "c", "d", "e", "f"});
    WriteBytes(path("five.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n");
    host.chosenFile = path("five.txt");
    page->LoadButtonClick();
    EXPECT_EQ(host.errors, QStringList{FormatError});
    EXPECT_EQ(texts(), (QStringList{"a", "b", "c", "d", "e", "f"}));

    // A file that is not there, and a cancelled dialog.
    host.errors.clear();
    host.chosenFile = path("missing.txt");
    page->LoadButtonClick();
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].contains(host.chosenFile)) << host.errors[0].toStdString();
    host.chosenFile.clear();
    page->LoadButtonClick();
    page->SaveButtonClick();
    EXPECT_EQ(host.errors.size(), 1);
    EXPECT_EQ(texts(), (QStringList{"a", "b", "c", "d", "e", "f"}));

    // A file that cannot be written says so.
    host.chosenFile = path("no/such/folder/texts.txt");
    page->SaveButtonClick();
    ASSERT_EQ(host.errors.size(), 2);
    EXPECT_TRUE(host.errors[1].contains(host.chosenFile)) << host.errors[1].toStdString();
}

TEST_F(SMSPage, SettingsRoundTrip) {
    const QStringList mine{"Тревога 1", "", "a=b", " x ", "Автотест", "6"};
    setTexts(mine);
    QStringList lines{QStringLiteral("left over")};
    page->GetSettings(lines);
    EXPECT_EQ(lines,
              (QStringList{"SMS1=Тревога 1", "SMS2=", "SMS3=a=b", "SMS4= x ", "SMS5=Автотест", "SMS6=6"}));

    FakeHost otherHost;
    TSMSFrame other(otherHost);
    other.Init();
    other.SetSettings(lines);
    QStringList again;
    other.GetSettings(again);
    EXPECT_EQ(again, lines);

    // A missing key empties its text only; the page never resets itself.
    page->SetSettings({"sms1=a", "SMS2=b", "SMS4=d", "SMS5=e=f", "SMS6=f", "SMS1=second"});
    EXPECT_EQ(texts(), (QStringList{"a", "b", "", "d", "e=f", "f"}));
    page->SetSettings({});
    EXPECT_EQ(texts(), (QStringList{"", "", "", "", "", ""}));
}

TEST_F(SMSPage, ButtonsWaitWhileThePageTalksToThePanel) {
    host.chosenFile = path("during.txt");
    exchange().during = [&](const QString&) {
        button("TranslateButton")->click();
        button("SaveButton")->click();
        button("LoadButton")->click();
    };
    setTexts({"Ж", "b", "c", "d", "e", "f"});
    page->WritePage();
    EXPECT_TRUE(host.fileChoices.empty());
    EXPECT_EQ(texts().at(0), QStringLiteral("Ж"));
    EXPECT_FALSE(QFile::exists(host.chosenFile));
}

} // namespace
