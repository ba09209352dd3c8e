// The settings file over the seven settings pages, with no panel: what the
// pages hold goes into a file and comes back into fresh pages unchanged,
// whatever the order and letter case of the file's lines; every setting is
// named by its control's caption.
#include "page_fakes.h"
#include "pages/PageFrame.h"
#include "pages/PageModel.h"
#include "pages/PageModelTable.h"
#include "pages/PageTable.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsPages.h"
#include "pages/WriteComparison.h"
#include "panel/PairText.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Every key of every settings page, in page order, each away from its
// default (texts with "=", Russian letters, an empty value among them).
const QStringList kSettings{
    "Object=1A2B",
    "Disp=1",
    "Time=7",
    "Hour=5",
    "Min=30",
    "Reboot=1",
    "GPRSPause=7",
    "Password=pass1234",
    "IP1=010.001.002.003",
    "Port1=4000",
    "IP2=010.001.002.004",
    "Port2=4001",
    "Opsos=4",
    "Phone=*99#",
    "Point=internet.example",
    "UserName=user",
    "UserPWD=secret",
    "CPhone1=+79001234567",
    "CCombo1=1",
    "CPhone2=89007654321",
    "CCombo2=2",
    "CPhone3=",
    "CCombo3=0",
    "CPhone4=",
    "CCombo4=0",
    "CPhone5=",
    "CCombo5=0",
    "CPhone6=",
    "CCombo6=0",
    "CPhone7=",
    "CCombo7=0",
    "CPhone8=",
    "CCombo8=0",
    "logicAND1=1",
    "logicAND2=0",
    "logicAND3=0",
    "logicAND4=0",
    "logicAND5=0",
    "logicAND6=0",
    "logicAND7=0",
    "Online=0",
    "Move=1",
    "Enable1=1",
    "Alarm1=3",
    "Section1=12",
    "Loop1=345",
    "Enable2=0",
    "Alarm2=5",
    "Section2=99",
    "Loop2=999",
    "HoldTime=4",
    "AKBmessage=0",
    "EnableEng=1",
    "EPhone1=+79001112233",
    "EPhone2=",
    "EPhone3=123",
    "EPhone4=",
    "EPhone5=555",
    "SMS1=Тревога=1",
    "SMS2=",
    "SMS3=Alarm 3",
    "SMS4=Пропала сеть",
    "SMS5=Ёлка",
    "SMS6=Текст 6",
};

class AllSettingsPages : public ::testing::Test {
protected:
    // The settings pages as the window makes them, without a panel.
    struct Pages {
        explicit Pages(IPageHost& host) {
            for (const TPageInfo& info : PageTable()) {
                frames.emplace_back(info.Create(host));
                frames.back()->Init();
            }
        }
        std::vector<TPageModel*> settings() const {
            std::vector<TPageFrame*> all;
            for (const auto& f : frames)
                all.push_back(f.get());
            return SettingsPages(all);
        }
        QStringList lines() const { return SettingsLines(CollectPageSettings(settings())); }
        std::vector<std::unique_ptr<TPageFrame>> frames;
    };

    FakeHost host;
};

TEST_F(AllSettingsPages, SavedAndLoadedIntoFreshPagesUnchanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Pages first(host);
    std::vector<int> tags;
    for (TPageModel* p : first.settings())
        tags.push_back(p->Tag());
    EXPECT_EQ(tags, (std::vector<int>{ptCommon, ptSystemEvents, ptGPRS, ptChannels, ptAlarmButtons,
                                      ptEngineerNumbers, ptSMS}));

    // Every key is taken and given back as the file had it; every page
    // takes values away from its defaults.
    const std::vector<TPageSettings> before = CollectPageSettings(first.settings());
    LoadPageSettings(first.settings(), kSettings);
    ASSERT_EQ(first.lines(), kSettings);
    const std::vector<TPageSettings> after = CollectPageSettings(first.settings());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_NE(after[i].Lines, before[i].Lines) << after[i].PageName.toStdString();

    const QString path = dir.filePath("panel.ini");
    ASSERT_TRUE(TSettingsFile(first.lines()).Write(path));
    TSettingsFile file;
    ASSERT_TRUE(file.Read(path));

    Pages second(host);
    LoadPageSettings(second.settings(), file.Lines());
    EXPECT_EQ(second.lines(), kSettings);

    // The same lines in reverse order with their keys in other letter case
    // load the same.
    QStringList shuffled;
    for (const QString& line : kSettings)
        shuffled.prepend(GetPairName(line).toLower() + '=' + GetPairValue(line));
    Pages third(host);
    LoadPageSettings(third.settings(), shuffled);
    EXPECT_EQ(third.lines(), kSettings);
}

TEST_F(AllSettingsPages, EverySettingIsNamedByItsControl) {
    Pages pages(host);
    QMap<QString, QString> caption;
    for (const TPageSettings& page : CollectPageSettings(pages.settings())) {
        ASSERT_EQ(page.Captions.size(), page.Lines.size());
        for (qsizetype i = 0; i < page.Lines.size(); ++i) {
            const QString key = GetPairName(page.Lines[i]);
            EXPECT_FALSE(page.Captions[i].isEmpty()) << key.toStdString();
            EXPECT_NE(page.Captions[i], key) << "a caption, not the key";
            caption[key] = page.Captions[i];
        }
    }
    EXPECT_EQ(caption.size(), kSettings.size()) << "no two pages share a key";
    // No two settings of the file read alike.
    QStringList all = caption.values();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end())
        << "a caption used twice: " << std::adjacent_find(all.begin(), all.end())->toStdString();

    const std::vector<std::pair<QString, QString>> expected{
        {"Object", "Номер объекта"},
        {"Disp", "Включить диспетчерскую связь"},
        {"Time", "Время соединения при входящем голосовом звонке с инженерного номера"},
        {"Hour", "Период автотеста: Часов"},
        {"IP2", "Резервные (IP2): IP адрес сервера"},
        {"Port1", "Основные (IP1): Порт сервера"},
        {"CPhone3", "Телефон 3"},
        {"CCombo3", "Тип передачи данных 3"},
        {"logicAND2", "И/ИЛИ между строками 2 и 3"},
        {"Move", "Тип перехода по направлениям"},
        {"Section2", "Тревожная кнопка 2: Номер раздела"},
        {"AKBmessage", "Генерировать сообщение \"Разряд АКБ\"."},
        {"EPhone4", "Инженерный номер 4"},
        {"SMS2", "Текст СМС 2 (" + QString(GetPairValue(pages.lines().filter("SMS2=").value(0))) + ")"},
    };
    for (const auto& [key, text] : expected)
        EXPECT_EQ(caption.value(key), text) << key.toStdString();
    // A key is named whatever its letter case in a file.
    EXPECT_EQ(pages.settings()[2]->SettingsCaption("ip2"), caption["IP2"]);
    EXPECT_EQ(pages.settings()[3]->SettingsCaption("ccombo3"), caption["CCombo3"]);
    EXPECT_EQ(pages.settings()[0]->SettingsCaption("NoSuchKey"), "NoSuchKey");
}

// The models without frames, as the command line makes them: the same
// pages in the same order, the same lines and captions as the window's.
TEST_F(AllSettingsPages, TheModelsAloneHoldWhatTheWindowsPagesHold) {
    Pages window(host);
    const std::vector<std::unique_ptr<TPageModel>> models = CreatePageModels(host);
    std::vector<TPageModel*> pages;
    for (const auto& m : models)
        pages.push_back(m.get());

    const auto same = [&](const char* when) {
        const std::vector<TPageSettings> a = CollectPageSettings(window.settings());
        const std::vector<TPageSettings> b = CollectPageSettings(pages);
        ASSERT_EQ(a.size(), b.size()) << when;
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(b[i].Tag, a[i].Tag) << when;
            EXPECT_EQ(b[i].Lines, a[i].Lines) << when << ": " << a[i].PageName.toStdString();
            EXPECT_EQ(b[i].Captions, a[i].Captions) << when << ": " << a[i].PageName.toStdString();
        }
    };
    same("made");
    LoadPageSettings(window.settings(), kSettings);
    LoadPageSettings(pages, kSettings);
    same("loaded");
    EXPECT_EQ(SettingsLines(CollectPageSettings(pages)), kSettings);
}

// The pages compared with a file by what a write would send: the zeros a
// write puts before a short object number, the main server a write gives an
// empty reserve one, numbers spelt with zeros are no difference; the pages
// keep what they show.
TEST_F(AllSettingsPages, ComparedWithAFileByWhatTheirWriteWouldSend) {
    Pages window(host);
    QStringList shown = kSettings;
    shown.replaceInStrings(QRegularExpression("^Object=.*"), "Object=1A");
    shown.replaceInStrings(QRegularExpression("^IP2=.*"), "IP2=");
    shown.replaceInStrings(QRegularExpression("^Port2=.*"), "Port2=");
    LoadPageSettings(window.settings(), shown);
    ASSERT_EQ(window.lines(), shown);

    const auto with = [&shown](std::initializer_list<std::pair<const char*, const char*>> changes) {
        QStringList file = shown;
        for (const auto& [key, value] : changes)
            file.replaceInStrings(QRegularExpression(QString("^%1=.*").arg(key)),
                                  QString("%1=%2").arg(key, value));
        return file;
    };
    struct Case {
        const char* what;
        QStringList file;
        QStringList differences; // "key: page value / file value"
    } const cases[] = {
        {"the same lines", shown, {}},
        {"what the write sends",
         with({{"Object", "001A"}, {"IP2", "010.001.002.003"}, {"Port2", "4000"}}),
         {}},
        {"numbers with zeros in front", with({{"Disp", "01"}, {"Hour", "005"}, {"CCombo1", "0001"}}), {}},
        {"another object number", with({{"Object", "001B"}}), {"Object: 1A / 001B"}},
        {"another reserve port", with({{"Port2", "4002"}}), {"Port2:  / 4002"}},
    };
    for (const Case& c : cases) {
        QStringList found;
        for (const TSettingsDifference& d :
             CompareWithFile(host, window.settings(), TComparedSide::Written, c.file))
            found << QString("%1: %2 / %3").arg(d.Key, d.PageValue, d.FileValue);
        EXPECT_EQ(found, c.differences) << c.what;
    }
    EXPECT_EQ(window.lines(), shown) << "the pages show what they showed";
}

} // namespace
