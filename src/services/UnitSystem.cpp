#include "services/UnitSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vormek {
namespace {

// Desktop entry values: backslash, newline, tab and return are escaped.
QString EscapeValue(QString v) {
  v.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  v.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  v.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
  v.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  return v;
}

// Exec arguments are quoted, with the characters special inside quotes escaped.
QString QuoteExec(const QString& path) {
  QString q;
  for (QChar c : path) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
      q += QLatin1Char('\\');
    if (c == QLatin1Char('%')) q += QLatin1Char('%');
    q += c;
  }
  return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

QString SpecialFolderPath(TSpecialFolder specialFolder) {
  switch (specialFolder) {
    case TSpecialFolder::Desktop: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case TSpecialFolder::Programs: return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    case TSpecialFolder::None: break;
  }
  return {};
}

QString InstalledMenuEntry(const QString& program) {
  // <prefix>/bin/vormek beside <prefix>/share/applications/<id>.desktop,
  // whatever the prefix (/usr for the package, /usr/local for an install).
  const QString real = QFileInfo(program).canonicalFilePath();
  if (real.isEmpty()) return {};
  const QFileInfo entry(QFileInfo(real).absolutePath() + QStringLiteral("/../share/applications/") + kDesktopAppId +
                        QStringLiteral(".desktop"));
  return entry.isFile() ? entry.canonicalFilePath() : QString();
}

QString DesktopEntryText(const QString& target, const QString& name) {
  const QFileInfo info(target);
  QString text;
  text += QStringLiteral("[Desktop Entry]\n");
  text += QStringLiteral("Type=Application\n");
  text += QStringLiteral("Version=1.0\n");
  text += QStringLiteral("Name=") + EscapeValue(name) + QLatin1Char('\n');
  text += QStringLiteral("Exec=") + EscapeValue(QuoteExec(info.absoluteFilePath())) + QLatin1Char('\n');
  // A menu leaves the entry out once its program is gone.
  text += QStringLiteral("TryExec=") + EscapeValue(info.absoluteFilePath()) + QLatin1Char('\n');
  text += QStringLiteral("Path=") + EscapeValue(info.absolutePath()) + QLatin1Char('\n');
  // The installed icon theme's picture of the program.
  text += QStringLiteral("Icon=") + kDesktopAppId + QLatin1Char('\n');
  text += QStringLiteral("Terminal=false\n");
  // Where the package's own entry stands in the applications menu.
  text += QStringLiteral("Categories=Utility;\n");
  text += QStringLiteral("StartupWMClass=vormek\n");
  return text;
}

QString ShortcutFile(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder) {
  const QString linkName = name.isEmpty() ? QFileInfo(target).completeBaseName() : name;
  if (linkName.isEmpty() || linkName.contains(QLatin1Char('/'))) return {};
  if (folder.isEmpty() && specialFolder == TSpecialFolder::None) specialFolder = TSpecialFolder::Desktop;
  QString dir;
  if (specialFolder != TSpecialFolder::None) {
    dir = SpecialFolderPath(specialFolder);
  } else {
    dir = folder;
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  }
  if (dir.isEmpty()) return {};
  return dir + QLatin1Char('/') + linkName + QStringLiteral(".desktop");
}

bool CreateShortcut(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder) {
  const QFileInfo targetInfo(target);
  if (target.isEmpty() || !targetInfo.isFile()) return false;
  const QString path = ShortcutFile(target, name, folder, specialFolder);
  if (path.isEmpty()) return false;
  const QString dir = QFileInfo(path).path();
  // The applications menu folder and the desktop folder the user's XDG
  // directories name are the user's own and may simply not exist yet (a
  // desktop folder is made on first use); a folder given by the caller must
  // be there.
  const bool own = specialFolder != TSpecialFolder::None || folder.isEmpty();
  if (own && !QDir().mkpath(dir)) return false;
  if (!QFileInfo(dir).isDir()) return false;

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = DesktopEntryText(targetInfo.absoluteFilePath(), QFileInfo(path).completeBaseName()).toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  // Desktops only launch entries on the desktop that are marked executable.
  QFile::setPermissions(file.fileName(),
                        QFile::permissions(file.fileName()) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
  return true;
}

}  // namespace vormek
