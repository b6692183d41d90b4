#include "services/UnitSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

namespace vormek {
namespace {

QString HomeDir() {
  const QByteArray home = qgetenv("HOME");
  return home.isEmpty() ? QDir::homePath() : QString::fromLocal8Bit(home);
}

// XDG_DESKTOP_DIR from user-dirs.dirs: a quoted path, "$HOME" expanded.
QString DesktopFromUserDirs() {
  QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
  if (config.isEmpty()) config = HomeDir() + QStringLiteral("/.config");
  QFile file(config + QStringLiteral("/user-dirs.dirs"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  static const QRegularExpression line(QStringLiteral("^\\s*XDG_DESKTOP_DIR\\s*=\\s*\"([^\"]*)\""));
  QTextStream in(&file);
  in.setEncoding(QStringConverter::Utf8);
  while (!in.atEnd()) {
    const auto match = line.match(in.readLine());
    if (!match.hasMatch()) continue;
    QString path = match.captured(1);
    if (path.startsWith(QStringLiteral("$HOME"))) path = HomeDir() + path.mid(5);
    // Only absolute paths are valid in that file.
    return path.startsWith(QLatin1Char('/')) ? path : QString();
  }
  return {};
}

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
    case TSpecialFolder::Desktop: {
      const QString fromDirs = DesktopFromUserDirs();
      return fromDirs.isEmpty() ? HomeDir() + QStringLiteral("/Desktop") : fromDirs;
    }
    case TSpecialFolder::Programs: {
      QString data = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
      if (data.isEmpty()) data = HomeDir() + QStringLiteral("/.local/share");
      return data + QStringLiteral("/applications");
    }
    case TSpecialFolder::None: break;
  }
  return {};
}

QString DesktopEntryText(const QString& target, const QString& name) {
  const QFileInfo info(target);
  QString text;
  text += QStringLiteral("[Desktop Entry]\n");
  text += QStringLiteral("Type=Application\n");
  text += QStringLiteral("Version=1.0\n");
  text += QStringLiteral("Name=") + EscapeValue(name) + QLatin1Char('\n');
  text += QStringLiteral("Exec=") + EscapeValue(QuoteExec(info.absoluteFilePath())) + QLatin1Char('\n');
  text += QStringLiteral("Path=") + EscapeValue(info.absolutePath()) + QLatin1Char('\n');
  // The installed icon theme's picture of the program.
  text += QStringLiteral("Icon=") + kDesktopAppId + QLatin1Char('\n');
  text += QStringLiteral("Terminal=false\n");
  return text;
}

bool CreateShortcut(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder) {
  const QFileInfo targetInfo(target);
  if (target.isEmpty() || !targetInfo.isFile()) return false;
  const QString linkName = name.isEmpty() ? targetInfo.completeBaseName() : name;
  if (linkName.contains(QLatin1Char('/'))) return false;

  if (folder.isEmpty() && specialFolder == TSpecialFolder::None) specialFolder = TSpecialFolder::Desktop;
  QString dir;
  if (specialFolder != TSpecialFolder::None) {
    dir = SpecialFolderPath(specialFolder);
    if (dir.isEmpty()) return false;
    // The applications menu folder is the user's own and may simply not exist yet;
    // a missing desktop means there is no desktop to put a shortcut on.
    if (specialFolder == TSpecialFolder::Programs && !QDir().mkpath(dir)) return false;
  } else {
    dir = folder;
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  }
  if (!QFileInfo(dir).isDir()) return false;

  QSaveFile file(dir + QLatin1Char('/') + linkName + QStringLiteral(".desktop"));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = DesktopEntryText(targetInfo.absoluteFilePath(), linkName).toUtf8();
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
