// Reading and writing single values of the settings file, with its trimming and size rules.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

class SettingsTest : public testing::Test {
protected:
    QTemporaryDir folder;
    std::string ini = QDir(folder.path()).filePath("Tarvex.ini").toStdString();
};

TEST_F(SettingsTest, FirstStartGivesTheDefaults) {
    EXPECT_EQ(GETINI(ini, "Options", "Recall", "0"), "0");
    EXPECT_EQ(GETINI(ini, "Options", "AutoUpdate", "1"), "1");
    EXPECT_EQ(GETINI(ini, "Stations", "Calls", ""), "");
    EXPECT_EQ(GETINI(ini, "Info", "1", ""), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(ini)));
}

TEST_F(SettingsTest, SpacesAroundNamesAndValuesNeverSurvive) {
    WRITEINI(ini, " Info ", " 1 ", "  Main Street Motors  ");
    EXPECT_EQ(GETINI(ini, "Info", "1"), "Main Street Motors");
    EXPECT_EQ(GETINI(ini, "INFO", "1"), "Main Street Motors");
}

TEST_F(SettingsTest, LongValuesAreCutAndClearedKeysStay) {
    std::string comment(1200, 'c');
    comment.replace(998, 2, "\xC3\xA9");  // a two-byte character across the cut is never split
    WRITEINI(ini, "Info", "16", comment);
    std::string stored = GETINI(ini, "Info", "16");
    EXPECT_EQ(stored, comment.substr(0, 998));
    WRITEINI(ini, "Info", "16", std::string(1200, 'd'));
    EXPECT_EQ(GETINI(ini, "Info", "16"), std::string(999, 'd'));

    WRITEINI(ini, "Update", "Install", "/tmp/setup.exe");
    WRITEINI(ini, "Update", "Install", "");
    EXPECT_EQ(GETINI(ini, "Update", "Install", "none"), "");
    QFile file(QString::fromStdString(ini));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Install="));
}

TEST_F(SettingsTest, ReadOnlyFileLosesTheWriteSilently) {
    WRITEINI(ini, "Options", "Recall", "1");
    QFile::setPermissions(QString::fromStdString(ini), QFile::ReadOwner | QFile::ReadGroup);
    WRITEINI(ini, "Options", "Recall", "0");
    EXPECT_EQ(GETINI(ini, "Options", "Recall"), "1");
}

}  // namespace

namespace {

// An option toggled in a program folder that takes no new file still reaches a writable
// settings file; with the file read-only too, nothing changes.
TEST_F(SettingsTest, AReadOnlyFolderStillTakesValuesIntoAWritableFile) {
    WRITEINI(ini, "Options", "Recall", "0");
    WRITEINI(ini, "Stations", "Calls", "WAAA,,,,,,,");
    const QString path = QString::fromStdString(ini);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    WRITEINI(ini, "Options", "Recall", "1");
    WRITEINI(ini, "Update", "LastCheck", "2461391");
    EXPECT_EQ(GETINI(ini, "Options", "Recall", "0"), "1");
    EXPECT_EQ(GETINI(ini, "Update", "LastCheck", "0"), "2461391");
    EXPECT_EQ(GETINI(ini, "Stations", "Calls", ""), "WAAA,,,,,,,");
    QFile::setPermissions(path, QFile::ReadOwner);
    WRITEINI(ini, "Options", "Recall", "0");
    EXPECT_EQ(GETINI(ini, "Options", "Recall", "0"), "1");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Tarvex.ini"});
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
