#include "mainwindow/MainCaptions.h"
#include "pages/StringConsts.h"
#include "prefs/ComponentKind.h"
#include "prefs/FileUtils.h"
#include "prefs/SaveLoadSettings.h"
#include "test_wait.h"
#include "test_windows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kBase = {"Width", "Height", "Left", "Top", "Align", "Enabled", "Visible"};

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

class WindowState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, fDir.path());
    }

    QString StoreFile() const { return fDir.path() + "/Velmor/Tarvik1.conf"; }

    // The stored state as another program would see it.
    QSettings Stored() const { return QSettings(StoreFile(), QSettings::IniFormat); }

    QString StoredText() const {
        QFile file(StoreFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir fDir;
};

// ---- What is stored, under which names ----------------------------------

TEST_F(WindowState, ValueNamesPerKind) {
    {
        TTestMainForm main;
        main.PageList->addItems({"one", "two"});
        SaveForm(&main);
        TTestConnectForm dialog;
        dialog.PhoneCombo->addItem("+79001112233");
        SaveForm(&dialog);
    }
    const QStringList caption{"Caption"};
    const QStringList menuItem{"Caption", "Enabled", "Visible"};
    const QStringList action{"ImageIndex", "Caption", "Hint"};
    const std::map<QString, std::map<QString, QStringList>> expected{
        {"MainForm",
         {
             {"MainForm", kBase + QStringList{"WindowState"}},
             {"Panel5", kBase},
             {"Panel2", kBase},
             {"Panel3", kBase},
             {"PageList", kBase + QStringList{"ItemsCount", "Item0", "Item1"}},
             {"Panel4", kBase},
             {"Panel1", kBase},
             {"LogMemo", kBase},
             {"AutoscrollCheckBox", kBase + QStringList{"Caption", "Checked", "Alignment"}},
             {"ClearLogButton", kBase + caption},
             {"SaveLogButton", kBase + caption},
             {"MConnect", menuItem},
             {"MSettings", menuItem},
             {"MSSeparator1", menuItem},
             {"MAbout", menuItem},
             {"ConnectAction", action},
             {"DisconnectAction", action},
             {"ReadAction", action},
         }},
        {"ConnectForm",
         {
             {"ConnectForm", kBase + QStringList{"WindowState"}},
             {"PortLabel", kBase + caption},
             {"PortCombo", kBase + QStringList{"ItemsCount", "ItemIndex", "Item0"}},
             {"CableRadio", kBase + QStringList{"Caption", "Checked"}},
             {"GSMRadio", kBase + QStringList{"Caption", "Checked"}},
             {"PhoneLabel", kBase + caption},
             {"PhoneCombo", kBase + QStringList{"ItemsCount", "ItemIndex", "Item0"}},
             {"ConnectButton", kBase + caption},
             {"CancelButton", kBase + caption},
         }},
    };

    QSettings stored = Stored();
    const QStringList windows = stored.childGroups();
    EXPECT_EQ(QSet<QString>(windows.begin(), windows.end()), (QSet<QString>{"MainForm", "ConnectForm"}));
    for (const auto& [window, components] : expected) {
        SCOPED_TRACE(window.toStdString());
        stored.beginGroup(window);
        std::map<QString, QSet<QString>> found;
        for (const QString& name : stored.allKeys()) {
            const qsizetype cut = name.indexOf('_');
            ASSERT_GT(cut, 0) << name.toStdString();
            found[name.left(cut)].insert(name.mid(cut + 1));
        }
        stored.endGroup();
        // Exactly these components: no tool bar, splitter, group box, status
        // bar, tool button, page, owned dialog, unnamed or Qt-internal object.
        std::map<QString, QSet<QString>> want;
        for (const auto& [component, properties] : components)
            want[component] = QSet<QString>(properties.begin(), properties.end());
        EXPECT_EQ(found, want);
    }
}

TEST_F(WindowState, ValuesAreNumbersBooleansAndTexts) {
    {
        TTestMainForm main;
        main.resize(640, 400);
        main.AutoscrollCheckBox->setChecked(true);
        main.ClearLogButton->setEnabled(false);
        main.ConnectAction->setToolTip("Подключиться к панели");
        SaveForm(&main);
        TTestConnectForm dialog;
        dialog.GSMRadio->setChecked(true);
        SaveForm(&dialog);
    }
    const QString text = StoredText();
    for (const char* line :
         {"MainForm_Width=640", "MainForm_Height=400", "MainForm_WindowState=0",
          "AutoscrollCheckBox_Checked=1", "AutoscrollCheckBox_Alignment=1", "ClearLogButton_Enabled=0",
          "SaveLogButton_Enabled=1", "ConnectAction_ImageIndex=0", "ReadAction_ImageIndex=2",
          "CableRadio_Checked=0", "GSMRadio_Checked=1"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;

    QSettings stored = Stored();
    EXPECT_EQ(stored.value("MainForm/ConnectAction_Caption").toString(), "Подключиться");
    EXPECT_EQ(stored.value("MainForm/ConnectAction_Hint").toString(), "Подключиться к панели");
    EXPECT_EQ(stored.value("MainForm/MConnect_Caption").toString(), "Соединение");
    EXPECT_EQ(stored.value("ConnectForm/GSMRadio_Caption").toString(), "GSM-модем");
    EXPECT_EQ(stored.value("ConnectForm/PhoneCombo_ItemsCount").toInt(), 1);
}

// ---- Version stamp, built-in texts, next start ----------------------------

struct TStartCase {
    const char* Name;
    std::function<void()> Before;
};

TEST_F(WindowState, FirstStartOfAVersionAppliesBuiltInTexts) {
    const QStringList pages{PageName(ptCommon)};
    const std::vector<TStartCase> cases{
        {"nothing stored", [] {}},
        {"saved by an older version",
         [] {
             WriteStoredVersion("2.0.0.15");
             TTestMainForm main;
             main.ConnectAction->setText("Старый текст");
             main.PageList->addItems({"a", "b", "c"});
             SaveForm(&main);
             TTestConnectForm dialog;
             SaveForm(&dialog);
         }},
    };
    for (const TStartCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Stored().clear();
        c.Before();

        TTestMainForm main;
        const bool restore =
            CheckSettingsVersion(GetFileVersion(), [&] { ResetCaptions(&main, BuiltInCaptions(), pages); });
        EXPECT_FALSE(restore);
        EXPECT_EQ(ReadStoredVersion(), "2.0.0.16");
        EXPECT_TRUE(Stored().childGroups().isEmpty());

        EXPECT_EQ(main.ConnectAction->text(), "Подключиться");
        EXPECT_EQ(main.ConnectAction->toolTip(), "Подключиться к панели");
        EXPECT_EQ(main.ConnectAction->statusTip(), "Подключиться к панели");
        EXPECT_EQ(main.DisconnectAction->toolTip(), "Отключиться от панели");
        EXPECT_EQ(main.ReadAction->toolTip(), "Прочитать текущую страницу");
        EXPECT_EQ(main.MConnect->title(), "Соединение");
        EXPECT_EQ(main.MSettings->title(), "Настройки");
        EXPECT_EQ(main.MSSeparator1->text(), "-");
        EXPECT_EQ(main.AutoscrollCheckBox->text(), "Прокрутка");
        EXPECT_EQ(main.SaveLogButton->text(), "Сохранить");
        EXPECT_EQ(Items(main.PageList), pages);
        // Texts inside a page are the page's own business.
        EXPECT_EQ(main.PageCheck->text(), "page");
    }
}

TEST_F(WindowState, NextStartRestoresWhatTheLastRunSaved) {
    const QStringList pages{PageName(ptCommon)};
    {
        TTestMainForm main;
        ASSERT_FALSE(
            CheckSettingsVersion(GetFileVersion(), [&] { ResetCaptions(&main, BuiltInCaptions(), pages); }));
        main.AutoscrollCheckBox->setChecked(true);
        main.ConnectAction->setProperty("ImageIndex", 7);
        SaveForm(&main);
    }
    EXPECT_TRUE(Stored().contains("MainForm/MainForm_Width"));

    TTestMainForm main;
    bool reset = false;
    ASSERT_TRUE(CheckSettingsVersion(GetFileVersion(), [&] { reset = true; }));
    EXPECT_FALSE(reset);
    RestoreForm(&main);
    EXPECT_EQ(Items(main.PageList), pages);
    EXPECT_TRUE(main.AutoscrollCheckBox->isChecked());
    EXPECT_EQ(main.ReadAction->toolTip(), "Прочитать текущую страницу");
    EXPECT_EQ(main.ReadAction->statusTip(), "Прочитать текущую страницу");
    EXPECT_EQ(main.MSSeparator1->text(), "-");
    EXPECT_EQ(main.ConnectAction->property("ImageIndex").toInt(), 7);
}

TEST_F(WindowState, ResetCaptionsPassesOverMissingComponents) {
    QWidget bare;
    bare.setObjectName("MainForm");
    ResetCaptions(&bare, BuiltInCaptions(), {"x"});
    ResetCaptions(nullptr, BuiltInCaptions(), {"x"});
    SaveForm(nullptr);
    RestoreForm(nullptr);
    QWidget unnamed;
    SaveForm(&unnamed);
    EXPECT_TRUE(Stored().allKeys().isEmpty());
}

// ---- The connection dialog ------------------------------------------------

TEST_F(WindowState, ConnectionDialogKeepsPortTypeAndTypedNumbers) {
    {
        TTestConnectForm dialog;
        RestoreForm(&dialog); // first open: nothing saved, the design stays
        EXPECT_TRUE(dialog.CableRadio->isChecked());
        dialog.PortCombo->addItems({"/dev/ttyS0", "/dev/ttyUSB0"});
        dialog.PortCombo->setCurrentIndex(1);
        dialog.GSMRadio->setChecked(true);
        dialog.PhoneCombo->setEditText("+79001112233");
        SaveForm(&dialog);
    }
    {
        TTestConnectForm dialog;
        RestoreForm(&dialog);
        EXPECT_EQ(Items(dialog.PortCombo), (QStringList{"/dev/ttyS0", "/dev/ttyUSB0"}));
        EXPECT_EQ(dialog.PortCombo->currentText(), "/dev/ttyUSB0");
        EXPECT_TRUE(dialog.GSMRadio->isChecked());
        EXPECT_FALSE(dialog.CableRadio->isChecked());
        EXPECT_EQ(Items(dialog.PhoneCombo), QStringList{"+79001112233"});
        EXPECT_EQ(dialog.PhoneCombo->currentText(), "+79001112233");
        dialog.PhoneCombo->setEditText("+79004445566"); // a new number
        SaveForm(&dialog);
    }
    {
        TTestConnectForm dialog;
        RestoreForm(&dialog);
        EXPECT_EQ(Items(dialog.PhoneCombo), (QStringList{"+79001112233", "+79004445566"}));
        EXPECT_EQ(dialog.PhoneCombo->currentText(), "+79004445566");
        dialog.PhoneCombo->setCurrentIndex(0); // an earlier number picked again
        dialog.CableRadio->setChecked(true);
        SaveForm(&dialog);
    }
    TTestConnectForm dialog;
    RestoreForm(&dialog);
    EXPECT_EQ(Items(dialog.PhoneCombo), (QStringList{"+79001112233", "+79004445566"}));
    EXPECT_EQ(dialog.PhoneCombo->currentText(), "+79001112233");
    EXPECT_TRUE(dialog.CableRadio->isChecked());
    EXPECT_FALSE(dialog.GSMRadio->isChecked());
}

struct TComboSaveCase {
    const char* Name;
    bool Editable;
    QStringList Items;
    int Index;
    const char* Typed; // nullptr: nothing typed
    QStringList StoredItems;
    int StoredIndex;
};

TEST_F(WindowState, ComboBoxSavesItsTextAsAnItem) {
    const std::vector<TComboSaveCase> cases{
        {"item picked", true, {"a", "b"}, 1, nullptr, {"a", "b"}, 1},
        {"new text typed", true, {"a", "b"}, 0, "c", {"a", "b", "c"}, 2},
        {"typed text equal to an item", true, {"a", "b"}, 0, "b", {"a", "b"}, 1},
        {"case differs", true, {"a"}, 0, "A", {"a", "A"}, 1},
        {"editable, empty", true, {}, -1, nullptr, {""}, 0},
        {"list, empty", false, {}, -1, nullptr, {""}, -1},
        {"list, nothing selected", false, {"a", "b"}, -1, nullptr, {"a", "b", ""}, -1},
        {"list, item picked", false, {"a", "b"}, 1, nullptr, {"a", "b"}, 1},
    };
    for (const TComboSaveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QComboBox combo;
        combo.setObjectName("Combo");
        combo.setEditable(c.Editable);
        combo.addItems(c.Items);
        combo.setCurrentIndex(c.Index);
        if (c.Typed)
            combo.setEditText(c.Typed);
        {
            QSettings key(kSettingsOrganization, kSettingsApplication);
            key.remove("T");
            key.beginGroup("T");
            SaveComponent(&combo, key);
        }
        // The box on screen is left as it was.
        EXPECT_EQ(Items(&combo), c.Items);

        QSettings stored = Stored();
        stored.beginGroup("T");
        ASSERT_EQ(stored.value("Combo_ItemsCount").toInt(), c.StoredItems.size());
        EXPECT_EQ(stored.value("Combo_ItemIndex").toInt(), c.StoredIndex);
        for (int i = 0; i < c.StoredItems.size(); ++i)
            EXPECT_EQ(stored.value(QString("Combo_Item%1").arg(i)).toString(), c.StoredItems[i]);
    }
}

struct TComboRestoreCase {
    const char* Name;
    bool Editable;
    QStringList Items;
    int Index;
    int CurrentIndex;
    const char* CurrentText;
};

TEST_F(WindowState, ComboBoxSelectsItsStoredIndex) {
    const std::vector<TComboRestoreCase> cases{
        {"index in range", false, {"a", "b"}, 1, 1, "b"},
        {"nothing selected takes the first", false, {"a", "b"}, -1, 0, "a"},
        {"beyond the items selects nothing", false, {"a", "b"}, 2, -1, ""},
        {"no items", false, {}, 0, -1, ""},
        {"editable: the text follows", true, {"+7900", "+7911"}, 1, 1, "+7911"},
        {"editable, no items", true, {}, 0, -1, ""},
    };
    for (const TComboRestoreCase& c : cases) {
        SCOPED_TRACE(c.Name);
        {
            QSettings key = Stored();
            key.remove("T");
            key.beginGroup("T");
            key.setValue("Combo_ItemsCount", int(c.Items.size()));
            key.setValue("Combo_ItemIndex", c.Index);
            for (int i = 0; i < c.Items.size(); ++i)
                key.setValue(QString("Combo_Item%1").arg(i), c.Items[i]);
        }
        QComboBox combo;
        combo.setObjectName("Combo");
        combo.setEditable(c.Editable);
        combo.addItems({"old1", "old2"});
        combo.setCurrentIndex(1);
        QSettings key(kSettingsOrganization, kSettingsApplication);
        key.beginGroup("T");
        EXPECT_TRUE(RestoreComponent(&combo, key));
        EXPECT_EQ(Items(&combo), c.Items);
        EXPECT_EQ(combo.currentIndex(), c.CurrentIndex);
        EXPECT_EQ(combo.currentText(), c.CurrentText);
    }
}

// ---- Failures end the restore ----------------------------------------------

struct TFailureCase {
    const char* Name;
    std::function<void(QSettings& group)> Spoil;
    bool Ports;  // PortCombo restored
    bool Radios; // both radio buttons restored
    bool Phones; // PhoneCombo restored
    bool Button; // ConnectButton restored
};

TEST_F(WindowState, AFaultyValueEndsTheRestoreSilently) {
    const std::vector<TFailureCase> cases{
        {"intact", [](QSettings&) {}, true, true, true, true},
        {"window width not a number", [](QSettings& g) { g.setValue("ConnectForm_Width", "wide"); }, false,
         false, false, false},
        {"window state missing", [](QSettings& g) { g.remove("ConnectForm_WindowState"); }, false, false,
         false, false},
        {"combo index not a number", [](QSettings& g) { g.setValue("PortCombo_ItemIndex", "x"); }, false,
         false, false, false},
        {"Boolean not a number", [](QSettings& g) { g.setValue("GSMRadio_Checked", "yes"); }, true, false,
         false, false},
        {"height missing after the width", [](QSettings& g) { g.remove("GSMRadio_Height"); }, true, false,
         false, false},
        {"item count missing", [](QSettings& g) { g.remove("PhoneCombo_ItemsCount"); }, true, true, false,
         false},
        {"more items counted than saved", [](QSettings& g) { g.setValue("PhoneCombo_ItemsCount", 5); }, true,
         true, false, false},
        {"item stored as a list",
         [](QSettings& g) {
             g.setValue("PhoneCombo_Item0", QStringList{"a", "b"});
         },
         true, true, false, false},
        {"caption missing", [](QSettings& g) { g.remove("ConnectButton_Caption"); }, true, true, true, false},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Stored().clear();
        {
            TTestConnectForm dialog;
            dialog.PortCombo->addItems({"/dev/ttyS0", "/dev/ttyUSB0"});
            dialog.PortCombo->setCurrentIndex(1);
            dialog.GSMRadio->setChecked(true);
            dialog.PhoneCombo->addItems({"+79001112233", "+79004445566"});
            dialog.PhoneCombo->setCurrentIndex(1);
            dialog.ConnectButton->setText("Соединить");
            SaveForm(&dialog);
        }
        {
            QSettings group = Stored();
            group.beginGroup("ConnectForm");
            c.Spoil(group);
        }

        TTestConnectForm dialog;
        dialog.PhoneCombo->addItem("+70000000000");
        RestoreForm(&dialog);
        EXPECT_EQ(Items(dialog.PortCombo),
                  c.Ports ? QStringList({"/dev/ttyS0", "/dev/ttyUSB0"}) : QStringList());
        EXPECT_EQ(dialog.GSMRadio->isChecked(), c.Radios);
        EXPECT_EQ(dialog.CableRadio->isChecked(), !c.Radios);
        // A box reached by the failure keeps what it had.
        EXPECT_EQ(Items(dialog.PhoneCombo),
                  c.Phones ? QStringList({"+79001112233", "+79004445566"}) : QStringList{"+70000000000"});
        EXPECT_EQ(dialog.ConnectButton->text(), c.Button ? "Соединить" : "Подключить");
    }
}

TEST_F(WindowState, BooleansReadAnyNumberButZeroAsTrue) {
    {
        TTestConnectForm dialog;
        SaveForm(&dialog);
    }
    {
        QSettings group = Stored();
        group.beginGroup("ConnectForm");
        group.setValue("CableRadio_Checked", 0);
        group.setValue("GSMRadio_Checked", -7);
    }
    TTestConnectForm dialog;
    RestoreForm(&dialog);
    EXPECT_TRUE(dialog.GSMRadio->isChecked());
    EXPECT_FALSE(dialog.CableRadio->isChecked());
}

// ---- The window's geometry and the splitters ------------------------------

TEST_F(WindowState, NormalWindowComesBackWhereItWas) {
    QRect saved;
    {
        TTestMainForm main;
        main.setGeometry(120, 90, 600, 420);
        main.show();
        ASSERT_TRUE(waitUntil([&] { return main.isVisible(); }));
        saved = main.geometry();
        SaveForm(&main);
    }
    TTestMainForm main;
    RestoreForm(&main);
    EXPECT_EQ(main.geometry(), saved);
    EXPECT_FALSE(main.windowState() & Qt::WindowMaximized);
}

TEST_F(WindowState, StoredWidthBelowThreeComesBackAsThree) {
    {
        QSettings group = Stored();
        group.beginGroup("TinyForm");
        for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{{"Width", 1},
                                                                                  {"Height", 1},
                                                                                  {"Left", 10},
                                                                                  {"Top", 20},
                                                                                  {"Align", 0},
                                                                                  {"Enabled", 1},
                                                                                  {"Visible", 1},
                                                                                  {"WindowState", 0}})
            group.setValue(QString("TinyForm_") + name, value);
    }
    QWidget tiny;
    tiny.setObjectName("TinyForm");
    RestoreForm(&tiny);
    EXPECT_EQ(tiny.geometry(), QRect(10, 20, 3, 1));
}

TEST_F(WindowState, WindowSavedOffEveryScreenKeepsOnlyItsSize) {
    {
        TTestMainForm main;
        main.setGeometry(-5000, -4000, 500, 300);
        SaveForm(&main);
    }
    TTestMainForm main;
    main.move(30, 40);
    RestoreForm(&main);
    EXPECT_EQ(main.geometry(), QRect(30, 40, 500, 300));
}

TEST_F(WindowState, MaximizedWindowReopensMaximized) {
    {
        TTestMainForm main;
        main.showMaximized();
        ASSERT_TRUE(waitUntil([&] { return main.isMaximized(); }));
        SaveForm(&main);
    }
    EXPECT_EQ(Stored().value("MainForm/MainForm_WindowState").toInt(), 2);

    TTestMainForm main;
    RestoreForm(&main);
    EXPECT_TRUE(main.windowState() & Qt::WindowMaximized);
    const QRect screen = main.screen()->geometry();
    const QRect twoThirds(screen.x() + screen.width() / 3 / 2, screen.y() + screen.height() / 3 / 2,
                          screen.width() / 3 * 2, screen.height() / 3 * 2);
    EXPECT_EQ(main.normalGeometry(), twoThirds);

    main.show();
    ASSERT_TRUE(waitUntil([&] { return main.isVisible() && main.isMaximized(); }));
    main.showNormal();
    ASSERT_TRUE(waitUntil([&] { return !main.isMaximized(); }));
    EXPECT_TRUE(waitUntil([&] { return main.geometry() == twoThirds; }))
        << main.geometry().x() << "," << main.geometry().y() << " " << main.geometry().width() << "x"
        << main.geometry().height();
}

TEST_F(WindowState, SplittersKeepPageListWidthAndLogHeight) {
    int pageListWidth = 0;
    int logHeight = 0;
    {
        TTestMainForm main;
        main.setGeometry(40, 40, 760, 520);
        main.show();
        ASSERT_TRUE(waitUntil([&] { return main.Panel3->width() > 0; }));
        main.Splitter2->setSizes({240, 500});
        main.Splitter1->setSizes({240, 200});
        pageListWidth = main.Panel3->width();
        logHeight = main.Panel1->height();
        ASSERT_EQ(pageListWidth, 240);
        ASSERT_EQ(logHeight, 200);
        SaveForm(&main);
    }
    QSettings stored = Stored();
    EXPECT_EQ(stored.value("MainForm/Panel3_Width").toInt(), pageListWidth);
    EXPECT_EQ(stored.value("MainForm/Panel1_Height").toInt(), logHeight);

    // Restored before the window is first shown, as at start-up.
    TTestMainForm main;
    RestoreForm(&main);
    main.show();
    ASSERT_TRUE(waitUntil([&] { return main.Panel3->width() > 0; }));
    EXPECT_EQ(main.Panel3->width(), pageListWidth);
    EXPECT_EQ(main.Panel1->height(), logHeight);
    // The page area takes the window's growth, the page list keeps its width.
    main.showMaximized();
    ASSERT_TRUE(waitUntil([&] { return main.isMaximized(); }));
    EXPECT_TRUE(waitUntil([&] { return main.Panel4->width() > 500; }));
    EXPECT_EQ(main.Panel3->width(), pageListWidth);
    EXPECT_EQ(main.Panel1->height(), logHeight);

    // Restored into a window already on screen.
    TTestMainForm shown;
    shown.setGeometry(40, 40, 760, 520);
    shown.show();
    ASSERT_TRUE(waitUntil([&] { return shown.Panel3->width() > 0; }));
    RestoreForm(&shown);
    EXPECT_TRUE(waitUntil([&] { return shown.Panel3->width() == pageListWidth; })) << shown.Panel3->width();
    EXPECT_EQ(shown.Panel1->height(), logHeight);
}

} // namespace
