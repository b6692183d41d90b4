#pragma once
// Icons and type names for the save dialog's file list, decided from the name
// and kind of a file alone. The usual provider reads a file's first bytes to
// guess its type, and reading some files (/proc/kmsg) never returns.
#include <QAbstractFileIconProvider>

namespace vormek {

class TPlainFileIconProvider : public QAbstractFileIconProvider {
 public:
  using QAbstractFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;
};

}  // namespace vormek
