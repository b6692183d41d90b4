#include "services/pdf_export.h"

#include <QFileInfo>
#include <QMessageBox>

#include "services/print_grid.h"
#include "services/save_dialog.h"

namespace vormek {

QString WithPdfExtension(const QString& name) {
  if (!QFileInfo(name).suffix().isEmpty()) return name;
  return name.endsWith(QLatin1Char('.')) ? name + QStringLiteral("pdf") : name + QStringLiteral(".pdf");
}

QString AskPdfFileName(QWidget* parent) {
  return AskSaveFileName(parent, {QStringLiteral("导出PDF"),
                                  {QStringLiteral("PDF文件(*.pdf)")},
                                  {QStringLiteral("pdf")},
                                  QStringLiteral("维墨克列车时刻表.pdf")});
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
