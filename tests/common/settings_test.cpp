// Reading and writing single values of the settings file, with its trimming and size rules.
#include "common/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/files.h"

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

namespace {

// Where the settings file is kept, for a program folder the user may write, one the user may
// not, and one that holds an old settings file the user may still write.
TEST(SettingsLocation, BesideTheProgramOrInTheUsersOwnFolder) {
    QTemporaryDir program, config;
    const std::string folder = program.path().toStdString() + "/";
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    EXPECT_EQ(SETTINGSFILE(folder), folder + "Tarvex.ini");

    QFile::setPermissions(program.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const std::string own = config.path().toStdString() + "/Tarvex/Tarvex.ini";
    EXPECT_EQ(SETTINGSFILE(folder), own);
    // The user's settings folder is made for the user alone; the first value written makes the file.
    WRITEINI(SETTINGSFILE(folder), "Options", "Recall", "1");
    EXPECT_EQ(GETINI(own, "Options", "Recall", "0"), "1");
    EXPECT_EQ(QFile::permissions(config.path() + "/Tarvex") & (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "Tarvex.ini")));

    // An old settings file beside the program that the user may still write stays in use.
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WRITEINI(folder + "Tarvex.ini", "Stations", "Calls", "WAAA,,,,,,,");
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(SETTINGSFILE(folder), folder + "Tarvex.ini");
    // Made read-only too, it is left alone for the user's folder.
    QFile::setPermissions(QString::fromStdString(folder + "Tarvex.ini"), QFile::ReadOwner);
    EXPECT_EQ(SETTINGSFILE(folder), own);

    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Without XDG_CONFIG_HOME the folder is under the home folder's .config, made as needed.
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", "");
    qputenv("HOME", home.path().toUtf8());
    EXPECT_EQ(OS_USERCONFIGFOLDER("Tarvex"), home.path().toStdString() + "/.config/Tarvex");
    EXPECT_TRUE(QDir(home.path() + "/.config/Tarvex").exists());
    qputenv("HOME", previousHome);
    if (previous.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous);
}

}  // namespace
