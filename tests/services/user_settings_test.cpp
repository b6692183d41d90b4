// Remembered settings: what is written comes back in a new session, and a
// damaged file reads as the defaults without stopping anything.
#include "services/user_settings.h"

#include <gtest/gtest.h>

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
  s.ClearHistory();
  EXPECT_TRUE(s.RecentFrom().isEmpty());
  EXPECT_TRUE(s.RecentTo().isEmpty());
  EXPECT_EQ(s.MinChange(), 45);  // clearing the history keeps the settings
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
  }
}

}  // namespace
}  // namespace vormek
