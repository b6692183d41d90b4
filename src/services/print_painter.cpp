#include "services/print_painter.h"

#include <QDate>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <type_traits>

#include "data/gbk_codec.h"

namespace vormek {
namespace {

QString FromGbk(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

void Draw(QPainter& painter, const TPrintText& op) {
  painter.setFont(ReportFont(op.Face, op.PointSize));
  const QFontMetrics metrics(painter.font(), painter.device());
  // The layout places the top-left corner; Qt draws from the baseline.
  painter.drawText(QPointF(op.X, op.Y + metrics.ascent()), FromGbk(op.Text));
}

void Draw(QPainter& painter, const TPrintLine& op) {
  painter.setPen(QPen(Qt::black, op.PenWidth, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(op.X1, op.Y1, op.X2, op.Y2);
}

}  // namespace

QFont ReportFont(const std::string& gbkFace, int pointSize) {
  QFont font;
  font.setFamilies({FromGbk(gbkFace), QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN"),
                    QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UMing CN")});
  font.setPointSize(pointSize > 0 ? pointSize : 10);
  return font;
}

TPrintSetup SetupFor(const QPagedPaintDevice& device) {
  TPrintSetup setup;
  setup.DpiX = device.logicalDpiX();
  setup.DpiY = device.logicalDpiY();
  setup.PageWidth = device.width();
  setup.PageHeight = device.height();
  const QDate today = QDate::currentDate();
  setup.DateText = PrintDateText(today.year(), today.month(), today.day());
  // The face at the pixel size it has on the device, so that the setup needs
  // nothing of the device once made.
  const int dpi = setup.DpiY;
  setup.TextWidth = [dpi](const std::string& text, int pointSize) {
    QFont font = ReportFont(PrintFace(), pointSize);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0))));
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(FromGbk(text))));
  };
  return setup;
}

TPrintSetup FitPageTo(QPagedPaintDevice& device, const TStringGrid& grid, const std::vector<std::string>& header,
                      int rows, const std::string& caption) {
  TPrintSetup setup = SetupFor(device);
  if (!FitsAtBodySize(grid, header, rows, setup)) {
    device.setPageOrientation(QPageLayout::Landscape);
    setup = SetupFor(device);
  }
  setup.Caption = caption;
  return setup;
}

void PaintPages(const std::vector<TPrintPage>& pages, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) throw std::runtime_error("打印机无法开始打印。");
  painter.setPen(QPen(Qt::black));
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !device.newPage()) {
      painter.end();
      throw std::runtime_error("打印机无法开始新的一页。");
    }
    for (const TPrintOp& op : pages[i].Ops) {
      std::visit([&painter](const auto& o) { Draw(painter, o); }, op);
    }
  }
  if (!painter.end()) throw std::runtime_error("打印文档无法完成。");
}

}  // namespace vormek
