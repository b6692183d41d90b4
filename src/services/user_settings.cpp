#include "services/user_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "query/connections.h"
#include "services/log_categories.h"

namespace vormek {

namespace {

const QString kFromKey = QStringLiteral("history/from");
const QString kToKey = QStringLiteral("history/to");
const QString kMinChangeKey = QStringLiteral("plan/minChange");
const QString kFolderKey = QStringLiteral("timetable/folder");
const QString kLastFromKey = QStringLiteral("last/from");
const QString kLastToKey = QStringLiteral("last/to");
const QString kLastStationKey = QStringLiteral("last/station");
const char* const kFilterKeys[4] = {"filters/sf", "filters/zd", "filters/jq", "filters/dc"};

// A copy of the file beside it that no earlier copy is lost to; empty when
// none could be made.
QString KeepAside(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return {};
  for (int n = 0; n < 100; ++n) {
    const QString copy = path + QStringLiteral(".damaged") + (n == 0 ? QString() : QStringLiteral(".%1").arg(n));
    if (QFileInfo::exists(copy)) continue;
    return QFile::copy(path, copy) ? copy : QString();
  }
  return {};
}

}  // namespace

TUserSettings::TUserSettings(std::unique_ptr<QSettings> store) : store_(std::move(store)) {
  // Whatever a malformed or unreadable file let through is dropped: defaults
  // from here on, and the next write replaces the file. What the user had is
  // kept aside first, so that nothing of it is lost.
  if (store_->status() != QSettings::NoError) {
    damagedCopy_ = KeepAside(store_->fileName());
    store_->clear();
  }
}

QString TUserSettings::LastFolder() const { return store_->value(kFolderKey).toString(); }
void TUserSettings::SetLastFolder(const QString& dir) { store_->setValue(kFolderKey, dir); }
void TUserSettings::ForgetLastFolder() { store_->remove(kFolderKey); }

TUserSettings::TLastStations TUserSettings::LastStations() const {
  const auto read = [this](const QString& key) {
    const QString text = store_->value(key).toString().trimmed();
    return text.startsWith(QLatin1Char('@')) ? QString() : text;
  };
  return {read(kLastFromKey), read(kLastToKey), read(kLastStationKey)};
}

void TUserSettings::SetLastStations(const TLastStations& stations) {
  store_->setValue(kLastFromKey, stations.From.trimmed());
  store_->setValue(kLastToKey, stations.To.trimmed());
  store_->setValue(kLastStationKey, stations.Station.trimmed());
}

QString TUserSettings::ProgramFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Vormek/vormek.conf");
}

std::unique_ptr<QSettings> TUserSettings::ProgramStore(const QString& file) {
  // A FIFO, a device or a folder in the file's place would block the window
  // in its first read, or take what it writes: the defaults are used, and
  // nothing is read or written.
  const QFileInfo info(file);
  if (info.exists() && !info.isFile()) {
    qCWarning(lcSettings).noquote() << "settings" << file << "is not a plain file; the defaults are used";
    return std::make_unique<QSettings>(QString(), QSettings::IniFormat);
  }
  return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

QStringList TUserSettings::Recent(const QString& key) const {
  const QVariant value = store_->value(key);
  QStringList out;
  if (!value.canConvert<QStringList>()) return out;
  for (const QString& name : value.toStringList()) {
    const QString trimmed = name.trimmed();
    // "@..." is how the file marks values that are not plain text.
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('@')) || out.contains(trimmed)) continue;
    out << trimmed;
    if (out.size() == kRecentStations) break;
  }
  return out;
}

void TUserSettings::Remember(const QString& key, const QString& station) {
  const QString name = station.trimmed();
  if (name.isEmpty()) return;
  QStringList list = Recent(key);
  list.removeAll(name);
  list.prepend(name);
  while (list.size() > kRecentStations) list.removeLast();
  store_->setValue(key, list);
}

QStringList TUserSettings::RecentFrom() const { return Recent(kFromKey); }
QStringList TUserSettings::RecentTo() const { return Recent(kToKey); }
void TUserSettings::RememberFrom(const QString& station) { Remember(kFromKey, station); }
void TUserSettings::RememberTo(const QString& station) { Remember(kToKey, station); }

void TUserSettings::ClearHistory() {
  for (const QString& key : {kFromKey, kToKey, kLastFromKey, kLastToKey, kLastStationKey}) store_->remove(key);
}

bool TUserSettings::ReadBool(const QString& key, bool fallback) const {
  const QVariant value = store_->value(key);
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  // An INI file gives text back; only the two words count.
  const QString text = value.toString().trimmed().toLower();
  if (text == QStringLiteral("true")) return true;
  if (text == QStringLiteral("false")) return false;
  return fallback;
}

TFilterBoxes TUserSettings::Filters() const {
  return {ReadBool(QString::fromLatin1(kFilterKeys[0]), false), ReadBool(QString::fromLatin1(kFilterKeys[1]), false),
          ReadBool(QString::fromLatin1(kFilterKeys[2]), false), ReadBool(QString::fromLatin1(kFilterKeys[3]), false)};
}

void TUserSettings::SetFilters(const TFilterBoxes& boxes) {
  const bool values[4] = {boxes.CBSF, boxes.CBZD, boxes.CBJQ, boxes.CBDC};
  for (int i = 0; i < 4; ++i) store_->setValue(QString::fromLatin1(kFilterKeys[i]), values[i]);
}

int TUserSettings::MinChange() const {
  bool ok = false;
  const int minutes = store_->value(kMinChangeKey).toString().trimmed().toInt(&ok);
  return ok && minutes >= 0 && minutes <= kMinutesPerDay ? minutes : kDefaultMinChange;
}

void TUserSettings::SetMinChange(int minutes) {
  if (minutes >= 0 && minutes <= kMinutesPerDay) store_->setValue(kMinChangeKey, minutes);
}

bool TUserSettings::CheckVersion() const { return ReadBool(QString::fromLatin1(CheckVersionKey), true); }
void TUserSettings::SetCheckVersion(bool check) { store_->setValue(QString::fromLatin1(CheckVersionKey), check); }

void TUserSettings::Sync() { store_->sync(); }

}  // namespace vormek
