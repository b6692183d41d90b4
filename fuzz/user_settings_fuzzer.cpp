// Any bytes as the settings file: reading them never fails, every value comes
// out within its range (the stations remembered at most eight, none empty
// or repeated, the change time 0 to 1440 minutes), and the store written
// back reads as what was read.
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "services/user_settings.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckStations(const QStringList& stations) {
  Check(stations.size() <= vormek::kRecentStations);
  for (qsizetype i = 0; i < stations.size(); ++i) {
    Check(!stations[i].trimmed().isEmpty());
    Check(stations.indexOf(stations[i]) == i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QString path = QStringLiteral("/tmp/vormek-settings-fuzz-%1.conf").arg(::getpid());
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  QStringList from;
  QStringList to;
  int minutes = 0;
  bool check = false;
  {
    vormek::TUserSettings settings(vormek::TUserSettings::ProgramStore(path));
    from = settings.RecentFrom();
    to = settings.RecentTo();
    minutes = settings.MinChange();
    check = settings.CheckVersion();
    CheckStations(from);
    CheckStations(to);
    Check(minutes >= 0 && minutes <= 1440);
    settings.SetMinChange(minutes);
    settings.SetCheckVersion(check);
    settings.Sync();
  }
  vormek::TUserSettings again(vormek::TUserSettings::ProgramStore(path));
  Check(again.MinChange() == minutes && again.CheckVersion() == check);
  return 0;
}
