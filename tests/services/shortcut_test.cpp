#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "services/UnitSystem.h"

using vormek::CreateShortcut;

namespace {

// A temporary HOME with a program file in it; the XDG variables are cleared so
// that only HOME decides the folders.
class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    savedHome_ = qgetenv("HOME");
    savedData_ = qgetenv("XDG_DATA_HOME");
    savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home_.path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral("my app/bin")));
    target_ = home_.path() + QStringLiteral("/my app/bin/vormek.bin");
    QFile exe(target_);
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write("#!/bin/sh\n");
  }
  void TearDown() override {
    qputenv("HOME", savedHome_);
    Restore("XDG_DATA_HOME", savedData_);
    Restore("XDG_CONFIG_HOME", savedConfig_);
  }
  static void Restore(const char* name, const QByteArray& value) {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
  // The [Desktop Entry] keys of a written file.
  static QMap<QString, QString> ReadEntry(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QMap<QString, QString> keys;
    for (const QByteArray& line : f.readAll().split('\n')) {
      const int eq = line.indexOf('=');
      if (eq > 0) keys.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return keys;
  }
  QString Home(const QString& rel) const { return home_.path() + QLatin1Char('/') + rel; }

  QTemporaryDir home_;
  QString target_;
  QByteArray savedHome_, savedData_, savedConfig_;
};

TEST_F(ShortcutTest, DesktopShortcutStartsTheProgramInItsOwnFolder) {
  ASSERT_TRUE(QDir(home_.path()).mkdir(QStringLiteral("Desktop")));
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::None));
  const QString link = Home(QStringLiteral("Desktop/维墨克时刻.desktop"));
  ASSERT_TRUE(QFileInfo::exists(link));
  const auto keys = ReadEntry(link);
  EXPECT_EQ(keys.value(QStringLiteral("Name")), QStringLiteral("维墨克时刻"));
  EXPECT_EQ(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
  // The path holds a blank, so it must be quoted to stay one argument.
  EXPECT_EQ(keys.value(QStringLiteral("Exec")), QLatin1Char('"') + target_ + QLatin1Char('"'));
  EXPECT_EQ(keys.value(QStringLiteral("Path")), Home(QStringLiteral("my app/bin")));
  EXPECT_EQ(keys.value(QStringLiteral("Icon")), vormek::kDesktopAppId);
  // Filed where the package's own entry is, and hidden once the program is gone.
  EXPECT_EQ(keys.value(QStringLiteral("Categories")), QStringLiteral("Utility;"));
  EXPECT_EQ(keys.value(QStringLiteral("TryExec")), target_);
  EXPECT_TRUE(QFileInfo(link).isExecutable());
  EXPECT_EQ(vormek::ShortcutFile(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::None), link);
  // The desktop's own checker accepts the file, where it is installed.
  const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  if (validate.isEmpty()) return;
  QProcess check;
  check.start(validate, {link});
  ASSERT_TRUE(check.waitForFinished(30000));
  EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}

TEST_F(ShortcutTest, SecondDesktopShortcutRewritesTheSameFile) {
  ASSERT_TRUE(QDir(home_.path()).mkdir(QStringLiteral("Desktop")));
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::None));
  QFile::resize(Home(QStringLiteral("Desktop/维墨克时刻.desktop")), 3);
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::None));
  const QStringList files = QDir(Home(QStringLiteral("Desktop"))).entryList(QDir::Files);
  EXPECT_EQ(files, QStringList{QStringLiteral("维墨克时刻.desktop")});
  EXPECT_EQ(ReadEntry(Home(QStringLiteral("Desktop/维墨克时刻.desktop"))).value(QStringLiteral("Name")),
            QStringLiteral("维墨克时刻"));
}

TEST_F(ShortcutTest, DesktopFolderComesFromUserDirs) {
  ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral(".config")));
  ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral("桌面")));
  QFile dirs(Home(QStringLiteral(".config/user-dirs.dirs")));
  ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
  dirs.write(
      "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/x\"\n"
      "XDG_DESKTOP_DIR=\"$HOME/\xe6\xa1\x8c\xe9\x9d\xa2\"\n");
  dirs.close();
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::Desktop));
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral("桌面/维墨克时刻.desktop"))));
}

TEST_F(ShortcutTest, ProgramsFolderIsCreatedUnderTheDataHome) {
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::Programs));
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral(".local/share/applications/维墨克时刻.desktop"))));

  qputenv("XDG_DATA_HOME", Home(QStringLiteral("data")).toLocal8Bit());
  ASSERT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::Programs));
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral("data/applications/维墨克时刻.desktop"))));
}

// Only an installed program has its package's entry beside it, whatever the
// prefix; a copy run from elsewhere has none.
TEST_F(ShortcutTest, InstalledMenuEntryOnlyForTheInstalledProgram) {
  for (const QString& prefix : {QStringLiteral("usr"), QStringLiteral("usr/local")}) {
    const QString installed = Home(prefix + QStringLiteral("/bin/vormek"));
    ASSERT_TRUE(QDir().mkpath(Home(prefix + QStringLiteral("/bin"))));
    ASSERT_TRUE(QDir().mkpath(Home(prefix + QStringLiteral("/share/applications"))));
    QFile(installed).open(QIODevice::WriteOnly);
    const QString entry =
        Home(prefix + QStringLiteral("/share/applications/") + vormek::kDesktopAppId + QStringLiteral(".desktop"));
    EXPECT_TRUE(vormek::InstalledMenuEntry(installed).isEmpty()) << "no entry in place";
    QFile(entry).open(QIODevice::WriteOnly);
    EXPECT_EQ(vormek::InstalledMenuEntry(installed), entry);
    // The installed program reached through a link elsewhere is still the installed one.
    const QString link = Home(QStringLiteral("link-") + QString(prefix).replace('/', '-'));
    ASSERT_TRUE(QFile::link(installed, link));
    EXPECT_EQ(vormek::InstalledMenuEntry(link), entry);
  }
  EXPECT_TRUE(vormek::InstalledMenuEntry(target_).isEmpty()) << "a copy run from elsewhere";
  EXPECT_TRUE(vormek::InstalledMenuEntry(Home(QStringLiteral("nowhere/vormek"))).isEmpty());
}

TEST_F(ShortcutTest, EmptyNameTakesTheTargetNameWithoutExtension) {
  const QString folder = Home(QStringLiteral("links/"));
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(CreateShortcut(target_, QString(), folder, vormek::TSpecialFolder::None));
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral("links/vormek.desktop"))));
}

TEST_F(ShortcutTest, MissingTargetOrFolderWritesNothing) {
  ASSERT_TRUE(QDir(home_.path()).mkdir(QStringLiteral("Desktop")));
  EXPECT_FALSE(CreateShortcut(Home(QStringLiteral("nothing-here")), QStringLiteral("x"), QString(),
                              vormek::TSpecialFolder::None));
  EXPECT_FALSE(
      CreateShortcut(Home(QStringLiteral("my app")), QStringLiteral("x"), QString(), vormek::TSpecialFolder::None))
      << "a folder is not a program";
  EXPECT_FALSE(
      CreateShortcut(target_, QStringLiteral("x"), Home(QStringLiteral("no/such/dir")), vormek::TSpecialFolder::None));
  EXPECT_FALSE(QDir(Home(QStringLiteral("no"))).exists());
  EXPECT_TRUE(QDir(Home(QStringLiteral("Desktop"))).isEmpty());
}

TEST_F(ShortcutTest, AMissingDesktopFolderIsMadeForTheShortcut) {
  EXPECT_TRUE(CreateShortcut(target_, QStringLiteral("维墨克时刻"), QString(), vormek::TSpecialFolder::None));
  EXPECT_TRUE(QFileInfo(Home(QStringLiteral("Desktop/维墨克时刻.desktop"))).isFile());
}

TEST_F(ShortcutTest, FailedSaveGivesFalse) {
  // A folder in the way of the link file: the save cannot replace it.
  const QString folder = Home(QStringLiteral("links"));
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/x.desktop")));
  EXPECT_FALSE(CreateShortcut(target_, QStringLiteral("x"), folder, vormek::TSpecialFolder::None));
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/x.desktop")).isDir());
}

}  // namespace
