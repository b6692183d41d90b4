// Remembered settings: what is written comes back in a new session, and a
// damaged file reads as the defaults without stopping anything.
#include "services/user_settings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

namespace vormek {
namespace {

std::tuple<bool, bool, bool, bool> Boxes(const TFilterBoxes& b) { return {b.CBSF, b.CBZD, b.CBJQ, b.CBDC}; }

std::unique_ptr<QSettings> Store(const QString& path) {
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

TEST(UserSettings, WhatIsRememberedComesBackInTheNextSession) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("vormek.conf"));
  {
    TUserSettings s(Store(path));
    for (int i = 1; i <= 10; ++i) s.RememberFrom(QStringLiteral("站%1").arg(i));
    s.RememberFrom(QStringLiteral("站5"));  // again: moves to the front, no repeat
    s.RememberTo(QStringLiteral(" 上海 "));
    s.SetFilters({true, false, true, false});
    s.SetMinChange(45);
    s.SetCheckVersion(false);
  }
  TUserSettings s(Store(path));
  EXPECT_EQ(s.RecentFrom(), (QStringList{"站5", "站10", "站9", "站8", "站7", "站6", "站4", "站3"}));
  EXPECT_EQ(s.RecentTo(), QStringList{"上海"});
  EXPECT_EQ(Boxes(s.Filters()), std::make_tuple(true, false, true, false));
  EXPECT_EQ(s.MinChange(), 45);
  EXPECT_FALSE(s.CheckVersion());
  s.SetLastStations({QStringLiteral("北京"), QStringLiteral("上海"), QStringLiteral("天津")});
  s.SetLastFolder(QStringLiteral("/media/stick/时刻表"));
  {
    TUserSettings next(Store(path));
    EXPECT_EQ(next.LastStations().From, QStringLiteral("北京"));
    EXPECT_EQ(next.LastStations().To, QStringLiteral("上海"));
    EXPECT_EQ(next.LastStations().Station, QStringLiteral("天津"));
    EXPECT_EQ(next.LastFolder(), QStringLiteral("/media/stick/时刻表"));
  }
  s.ClearHistory();
  EXPECT_TRUE(s.RecentFrom().isEmpty());
  EXPECT_TRUE(s.RecentTo().isEmpty());
  EXPECT_TRUE(s.LastStations().From.isEmpty());
  EXPECT_EQ(s.MinChange(), 45);  // clearing the history keeps the settings
  EXPECT_FALSE(s.LastFolder().isEmpty());
  s.ForgetLastFolder();
  EXPECT_TRUE(TUserSettings(Store(path)).LastFolder().isEmpty());
}

// A FIFO (or a folder) where the settings file should be would block the
// window's first read for ever: it is passed over, and the defaults serve.
// The store is used in a child, which a hang cannot take the tests with.
TEST(UserSettings, ASettingsFileThatIsNoPlainFileIsPassedOver) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("vormek.conf"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString folder = dir.filePath(QStringLiteral("folder.conf"));
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const QString& path : {fifo, folder}) {
    SCOPED_TRACE(path.toStdString());
    const pid_t child = ::fork();
    if (child == 0) {
      TUserSettings s(TUserSettings::ProgramStore(path));
      const bool defaults = s.RecentFrom().isEmpty() && s.CheckVersion();
      s.RememberFrom(QStringLiteral("北京"));
      s.SetMinChange(45);
      ::_exit(defaults ? 0 : 1);
    }
    int status = -1;
    for (int waited = 0; waited < 300 && ::waitpid(child, &status, WNOHANG) == 0; ++waited) ::usleep(100000);
    if (::waitpid(child, &status, WNOHANG) == 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      ADD_FAILURE() << "the settings store blocked";
      continue;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(UserSettings, DamagedFileReadsAsDefaults) {
  const QByteArray damaged[] = {
      QByteArray("\xff\xfe\x00\x01[[[\x80\x81=\n=\n[", 14),
      "[plan]\nminChange=lots\n[net]\ncheckVersion=perhaps\n[filters]\nsf=2\n",
      "[plan]\nminChange=99999\n[history]\nfrom=@Invalid()\nto=@ByteArray(\n",
      "[history\nfrom=\"unterminated\n\\\\\\\n",
      QByteArray(4096, '\0'),
  };
  for (const QByteArray& bytes : damaged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vormek.conf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    TUserSettings s(Store(path));
    SCOPED_TRACE(bytes.toHex().left(40).toStdString());
    EXPECT_TRUE(s.RecentFrom().isEmpty());
    EXPECT_TRUE(s.RecentTo().isEmpty());
    EXPECT_EQ(Boxes(s.Filters()), std::make_tuple(false, false, false, false));
    EXPECT_EQ(s.MinChange(), 30);
    EXPECT_TRUE(s.CheckVersion());
    // And it still takes new values.
    s.RememberFrom(QStringLiteral("北京"));
    EXPECT_EQ(s.RecentFrom(), QStringList{"北京"});
    // A file that did not read is kept aside, whole, before it is replaced.
    s.Sync();
    if (!s.DamagedCopy().isEmpty()) {
      QFile kept(s.DamagedCopy());
      ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
      EXPECT_EQ(kept.readAll(), bytes);
    }
  }
  // One that does not read at all is always kept, and an earlier copy too.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("vormek.conf"));
  for (int run = 0; run < 2; ++run) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damaged[3]);
    file.close();
    TUserSettings s(Store(path));
    EXPECT_FALSE(s.DamagedCopy().isEmpty()) << run;
    s.RememberFrom(QStringLiteral("北京"));
    s.Sync();
  }
  EXPECT_TRUE(QFile::exists(path + QStringLiteral(".damaged")));
  EXPECT_TRUE(QFile::exists(path + QStringLiteral(".damaged.1")));
}

}  // namespace
}  // namespace vormek
