#include "prefs/FileUtils.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VersionStamp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, fDir.path());
    }

    static void SaveWindow(const QString& window) {
        QSettings key(kSettingsOrganization, kSettingsApplication);
        key.setValue(window + "/" + window + "_Width", 300);
    }

    static QStringList Windows() {
        QSettings key(kSettingsOrganization, kSettingsApplication);
        return key.childGroups();
    }

    QTemporaryDir fDir;
    int fResets = 0;
    std::function<void()> fReset = [this] { ++fResets; };
};

TEST_F(VersionStamp, ProgramVersionIsTheCompiledOne) {
    EXPECT_EQ(GetFileVersion(), "2.0.0.16");
}

TEST_F(VersionStamp, FirstRunStampsAndResets) {
    EXPECT_EQ(ReadStoredVersion(), "");
    EXPECT_FALSE(CheckSettingsVersion("2.0.0.16", fReset));
    EXPECT_EQ(fResets, 1);
    EXPECT_EQ(ReadStoredVersion(), "2.0.0.16");
    // The stamp is a top-level value, not a group.
    EXPECT_TRUE(Windows().isEmpty());
    QSettings stored(fDir.path() + "/Velmor/Tarvik1.conf", QSettings::IniFormat);
    EXPECT_EQ(stored.value("version").toString(), "2.0.0.16");
}

TEST_F(VersionStamp, SameVersionKeepsSavedWindows) {
    WriteStoredVersion("2.0.0.16");
    SaveWindow("MainForm");
    EXPECT_TRUE(CheckSettingsVersion("2.0.0.16", fReset));
    EXPECT_EQ(fResets, 0);
    EXPECT_EQ(Windows(), QStringList{"MainForm"});
}

TEST_F(VersionStamp, OtherVersionWipesSavedWindowsAndResets) {
    WriteStoredVersion("2.0.0.15");
    SaveWindow("MainForm");
    SaveWindow("ConnectForm");
    EXPECT_FALSE(CheckSettingsVersion("2.0.0.16", fReset));
    EXPECT_EQ(fResets, 1);
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(ReadStoredVersion(), "2.0.0.16");
    // The next start finds its own version.
    EXPECT_TRUE(CheckSettingsVersion("2.0.0.16", fReset));
    EXPECT_EQ(fResets, 1);
}

// An empty version text must not pass for the stamp that is not there:
// the built-in texts would never be applied and the page list stay empty.
TEST_F(VersionStamp, MissingStampDiffersEvenFromEmptyVersion) {
    SaveWindow("MainForm");
    EXPECT_FALSE(CheckSettingsVersion("", fReset));
    EXPECT_EQ(fResets, 1);
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_TRUE(CheckSettingsVersion("", fReset));
}

TEST_F(VersionStamp, DeleteSubKeysRemovesGroupsWithTheirContents) {
    WriteStoredVersion("2.0.0.16");
    SaveWindow("MainForm");
    {
        QSettings key(kSettingsOrganization, kSettingsApplication);
        key.setValue("ConnectForm/Nested/Deep", 1);
        DeleteSubKeys(key);
    }
    QSettings key(kSettingsOrganization, kSettingsApplication);
    EXPECT_TRUE(key.childGroups().isEmpty());
    EXPECT_EQ(key.allKeys(), QStringList{"version"});
}

TEST_F(VersionStamp, NoResetActionIsAllowed) {
    EXPECT_FALSE(CheckSettingsVersion("2.0.0.16", {}));
    EXPECT_EQ(ReadStoredVersion(), "2.0.0.16");
}

} // namespace
