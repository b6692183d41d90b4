#include "services/pdf_export.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "services/plain_file_icons.h"
#include "services/print_grid.h"

namespace vormek {

QString WithPdfExtension(const QString& name) {
  if (!QFileInfo(name).suffix().isEmpty()) return name;
  return name.endsWith(QLatin1Char('.')) ? name + QStringLiteral("pdf") : name + QStringLiteral(".pdf");
}

QString AskPdfFileName(QWidget* parent) {
  // Declared first, so that it outlives the dialog that uses it.
  TPlainFileIconProvider icons;
  QFileDialog dialog(parent, QStringLiteral("导出PDF"));
  // As the CSV export: the program's own dialog, which opens nothing it lists.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&icons);
  dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("PDF文件(*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.selectFile(QStringLiteral("维墨克列车时刻表.pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

bool ExportGridPdf(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                   const std::string& caption, const std::function<QString(QWidget*)>& ask) {
  const QString name = ask(parent);
  if (name.trimmed().isEmpty()) return false;
  WriteGridPdf(WithPdfExtension(name), grid, header, rows, caption);
  return true;
}

void PrintOrOfferPdf(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                     const std::string& caption) {
  if (HasDefaultPrinter()) return PrintGrid(grid, header, rows, caption);
  const auto answer = QMessageBox::question(parent, QStringLiteral(" 打印提示"),
                                            QStringLiteral("没有默认打印机，无法打印。\n是否导出为PDF文件？"),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) ExportGridPdf(parent, grid, header, rows, caption);
}

}  // namespace vormek
