// The user's guide and the window's Справка menu: the pictures the guide
// shows exist, F1 opens the guide, "О программе" names the version, the
// licence and Qt, and the usual keys and menu letters are in place.
#include "emulated_panel_fixture.h"
#include "mainwindow/GuideForm.h"
#include "mainwindow/HelpTexts.h"
#include "mainwindow/Main.h"
#include "mainwindow/MessageBoxes.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString GuideText() {
    QFile f(QStringLiteral(GUIDE_DIR "/guide.ru.md"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    return QString::fromUtf8(f.readAll());
}

TEST(Guide, EveryPictureItShowsIsThereAndIsAPicture) {
    const QString text = GuideText();
    QStringList shown;
    const QRegularExpression picture(QStringLiteral(R"(!\[[^\]]*\]\((images/[^)]+)\))"));
    for (auto it = picture.globalMatch(text); it.hasNext();)
        shown << it.next().captured(1);
    // The pictures the screenshot tool takes: the dialog, the window, each page.
    for (const char* name : {"connect", "main", "common", "system-events", "gprs", "channels", "alarm-buttons",
                             "engineer-numbers", "sms", "history"})
        EXPECT_TRUE(shown.contains(QStringLiteral("images/%1.png").arg(QLatin1String(name)))) << name;
    for (const QString& path : shown) {
        QImage image(QStringLiteral(GUIDE_DIR "/") + path);
        EXPECT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_GT(image.width(), 100) << path.toStdString();
    }
    // Every chapter an installer needs.
    for (const char* heading : {"Подключение к панели", "Файл настроек и сравнение", "Журнал событий",
                                "Обновление прошивки", "Командная строка", "Частые ошибки"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
}

class HelpMenu : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, state.path());
        SetMessagePresenter([this](QWidget*, const TMessage& m) -> TBoxAnswer {
            boxes << m.Text;
            return TBoxAnswer{true};
        });
    }
    void TearDown() override {
        SetMessagePresenter({});
        qunsetenv("TARVIK1_GUIDE");
    }
    QTemporaryDir state;
    QStringList boxes;
};

TEST_F(HelpMenu, F1OpensTheGuideAndAboutNamesVersionLicenceAndQt) {
    qputenv("TARVIK1_GUIDE", GUIDE_DIR "/guide.ru.md");
    TMainForm w;
    w.show();
    auto* menu = w.findChild<QMenu*>(QStringLiteral("MHelp"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Спр&авка");
    auto* guide = w.findChild<QAction*>(QStringLiteral("GuideAction"));
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(menu->actions().contains(guide));
    EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
    guide->trigger();
    auto* form = w.findChild<TGuideForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Text().contains("руководство монтажника")) << form->Text().left(200).toStdString();

    w.findChild<QAction*>(QStringLiteral("AboutAction"))->trigger();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(TARVIK_VERSION));
    EXPECT_TRUE(boxes[0].contains("MIT"));
    EXPECT_TRUE(boxes[0].contains(QString::fromLatin1(qVersion())));
}

TEST_F(HelpMenu, AGuideThatIsNotThereIsSaidSoInItsWindow) {
    TGuideForm form;
    EXPECT_FALSE(form.Open("/nonexistent/guide.ru.md"));
    EXPECT_TRUE(form.Text().startsWith("Руководство пользователя не найдено (/nonexistent/guide.ru.md)"));
    EXPECT_FALSE(form.Open(QString()));
}

TEST_F(HelpMenu, TheUsualKeysAndMenuLetters) {
    TMainForm w;
    w.show();
    const struct {
        const char* Action;
        QKeySequence Keys;
    } keys[] = {
        {"ReadAction", QKeySequence(Qt::Key_F5)},
        {"SaveSettingsAction", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"LoadSettingsAction", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"QuitAction", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"GuideAction", QKeySequence(Qt::Key_F1)},
    };
    for (const auto& k : keys) {
        auto* action = w.findChild<QAction*>(QString::fromLatin1(k.Action));
        ASSERT_NE(action, nullptr) << k.Action;
        EXPECT_EQ(action->shortcut(), k.Keys) << k.Action;
    }
    // Each menu of the bar has its own letter.
    QSet<QChar> letters;
    for (QAction* top : w.menuBar()->actions()) {
        const QString title = top->text();
        const qsizetype amp = title.indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << title.toStdString();
        ASSERT_LT(amp + 1, title.size());
        const QChar letter = title.at(amp + 1).toLower();
        EXPECT_FALSE(letters.contains(letter)) << title.toStdString();
        letters.insert(letter);
    }
    EXPECT_EQ(letters.size(), 4);

    // Ctrl+Q closes the window (nothing runs, nothing to ask).
    w.findChild<QAction*>(QStringLiteral("QuitAction"))->trigger();
    EXPECT_FALSE(w.isVisible());
}

} // namespace
