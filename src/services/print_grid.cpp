#include "services/print_grid.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

#include "output/column_names.h"
#include "output/print_layout.h"
#include "services/log_categories.h"
#include "services/print_painter.h"

namespace vormek {

void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, TGridKind kind, int rows) {
  PaintPages(LayoutGridPages(grid, kind, rows, SetupFor(device)), device);
}

void PrintGrid(const TStringGrid& grid, TGridKind kind, int rows) {
  PrintGrid(grid, ReportHeader(kind, grid.ColCount()), rows);
}

void PrintGrid(const TStringGrid& grid, const std::vector<std::string>& header, int rows) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    qCWarning(lcPrint) << "no default printer";
    throw std::runtime_error("没有默认打印机，无法打印。");
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("维墨克列车时刻表"));
  PaintPages(LayoutGridPages(grid, header, rows, SetupFor(printer)), printer);
  if (printer.printerState() == QPrinter::Error) {
    qCWarning(lcPrint) << "printing on" << info.printerName() << "failed";
    throw std::runtime_error("打印失败。");
  }
}

}  // namespace vormek
