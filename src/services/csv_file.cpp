#include "services/csv_file.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

#include "output/column_names.h"
#include "output/csv_export.h"

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
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) Fail(path, file.errorString());
  if (file.write(bytes) != bytes.size()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    Fail(path, reason);
  }
  if (!file.commit()) Fail(path, file.errorString());
}

QString AskCsvFileName(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Excel文件(*.csv)"));
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  // An existing file is replaced without a question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

bool ExportGrid(QWidget* parent, const TStringGrid& grid, int kind, int rows, const SaveFileAsker& ask) {
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
