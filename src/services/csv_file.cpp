#include "services/csv_file.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "output/column_names.h"
#include "output/csv_export.h"
#include "services/save_dialog.h"

namespace vormek {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw std::runtime_error(
      (QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), reason)).toStdString());
}

}  // namespace

QString WithCsvExtension(const QString& name) {
  if (QFileInfo(name).suffix().isEmpty()) {
    return name.endsWith(QLatin1Char('.')) ? name + QStringLiteral("csv") : name + QStringLiteral(".csv");
  }
  return name;
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
  // Only a plain file is replaced: a device, pipe or folder under that name
  // is no place for an export, and reading or renaming over it could hang.
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) Fail(path, QStringLiteral("不是普通文件"));
  // Unbuffered, so that every write says at once whether the disk took it;
  // the old file is replaced only after the last byte is on the disk.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) Fail(path, file.errorString());
  auto abandon = [&file, &path](const QString& reason) {
    file.cancelWriting();
    Fail(path, reason);
  };
  qint64 done = 0;
  while (done < bytes.size()) {
    const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
    if (wrote <= 0) abandon(file.errorString());
    done += wrote;
  }
  if (!file.flush()) abandon(file.errorString());
  if (::fsync(file.handle()) != 0) abandon(QString::fromLocal8Bit(std::strerror(errno)));
  if (!file.commit()) Fail(path, file.errorString());
}

QString AskCsvFileName(QWidget* parent) {
  // An existing file is replaced without a question.
  return AskSaveFileName(parent,
                         {QString(), {QStringLiteral("Excel文件(*.csv)")}, {QStringLiteral("csv")}, QString(), false});
}

bool ExportGrid(QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows, const SaveFileAsker& ask) {
  return ExportGrid(parent, grid, ReportHeader(kind, grid.ColCount()), rows, ask);
}

bool ExportGrid(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                const SaveFileAsker& ask) {
  // Built before the dialog, so the file holds the grid as it was when asked.
  const std::string text = ExportGridText(grid, header, rows);
  const QString name = ask(parent);
  if (name.trimmed().isEmpty()) return false;
  WriteWholeFile(WithCsvExtension(name), QByteArray::fromStdString(text));
  return true;
}

}  // namespace vormek
