#include "services/plain_file_icons.h"

#include <QFileInfo>

namespace vormek {

QIcon TPlainFileIconProvider::icon(const QFileInfo& info) const {
  return icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
}

QString TPlainFileIconProvider::type(const QFileInfo& info) const {
  if (info.isDir()) return QStringLiteral("文件夹");
  const QString suffix = info.suffix();
  return suffix.isEmpty() ? QStringLiteral("文件") : suffix.toUpper() + QStringLiteral(" 文件");
}

}  // namespace vormek
