#include "services/print_grid.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

#include "output/column_names.h"
#include "output/print_layout.h"
#include "services/log_categories.h"
#include "services/print_painter.h"

namespace vormek {

void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                 const std::string& caption) {
  const TPrintSetup setup = FitPageTo(device, grid, header, rows, caption);
  PaintPages(LayoutGridPages(grid, header, rows, setup), device);
}

void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, TGridKind kind, int rows,
                 const std::string& caption) {
  PrintGridOn(device, grid, ReportHeader(kind, grid.ColCount()), rows, caption);
}

bool HasDefaultPrinter() { return !QPrinterInfo::defaultPrinter().isNull(); }

void PrintGrid(const TStringGrid& grid, TGridKind kind, int rows, const std::string& caption) {
  PrintGrid(grid, ReportHeader(kind, grid.ColCount()), rows, caption);
}

void PrintGrid(const TStringGrid& grid, const std::vector<std::string>& header, int rows, const std::string& caption) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    qCWarning(lcPrint) << "no default printer";
    throw std::runtime_error("没有默认打印机，无法打印。");
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("维墨克列车时刻表"));
  PrintGridOn(printer, grid, header, rows, caption);
  if (printer.printerState() == QPrinter::Error) {
    qCWarning(lcPrint) << "printing on" << info.printerName() << "failed";
    throw std::runtime_error("打印失败。");
  }
}

void WriteGridPdf(const QString& path, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                  const std::string& caption) {
  // QPdfWriter says nothing of a file it cannot open; it is tried first.
  {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
      throw std::runtime_error(
          QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), probe.errorString()).toStdString());
    }
  }
  QPdfWriter writer(path);
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setTitle(QStringLiteral("维墨克列车时刻表"));
  writer.setCreator(QStringLiteral("维墨克时刻表"));
  PrintGridOn(writer, grid, header, rows, caption);
  qCInfo(lcPrint) << "report written to" << path;
}

}  // namespace vormek
