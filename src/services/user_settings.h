#pragma once
// What the program remembers between runs, kept with QSettings under the
// organisation "Vormek" and the application "vormek": the last stations
// asked for, the filter boxes, the minimum change time of the connections
// window and the version-check switch. A value that is missing, of the wrong
// kind or out of range reads as its default, so a damaged file never stops
// the program; a file that does not read at all is kept aside, as
// "<file>.damaged", before anything replaces it.
#include <QSettings>
#include <QStringList>
#include <memory>

#include "query/result_filter.h"

namespace vormek {

inline constexpr int kRecentStations = 8;

class TUserSettings {
 public:
  // The store to use; tests hand in one on a file of their own.
  explicit TUserSettings(std::unique_ptr<QSettings> store);
  // The program's own file, under the user's configuration folder, and its
  // store (ProgramStore()).
  static QString ProgramFile();
  static std::unique_ptr<QSettings> ProgramStore(const QString& file = ProgramFile());

  // Most recent first, at most kRecentStations, no repeats.
  QStringList RecentFrom() const;
  QStringList RecentTo() const;
  void RememberFrom(const QString& station);
  void RememberTo(const QString& station);
  // "清除历史": forgets the stations, keeps the settings.
  void ClearHistory();

  // The stations of the last query, put back into the boxes at start.
  struct TLastStations {
    QString From, To, Station;
  };
  TLastStations LastStations() const;
  void SetLastStations(const TLastStations& stations);

  // The timetable folder last opened; empty: the built-in timetable.
  QString LastFolder() const;
  void SetLastFolder(const QString& dir);
  void ForgetLastFolder();

  // Where the damaged file was kept aside; empty when none was.
  QString DamagedCopy() const { return damagedCopy_; }

  TFilterBoxes Filters() const;
  void SetFilters(const TFilterBoxes& boxes);

  // Minutes, 0 .. 1440; 30 by default.
  int MinChange() const;
  void SetMinChange(int minutes);

  // Key "net/checkVersion", true by default.
  static constexpr const char* CheckVersionKey = "net/checkVersion";
  bool CheckVersion() const;
  void SetCheckVersion(bool check);

  void Sync();

 private:
  QStringList Recent(const QString& key) const;
  void Remember(const QString& key, const QString& station);
  bool ReadBool(const QString& key, bool fallback) const;

  std::unique_ptr<QSettings> store_;
  QString damagedCopy_;
};

}  // namespace vormek
