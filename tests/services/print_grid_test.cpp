#include "services/print_grid.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <stdexcept>

#include "data/gbk_codec.h"
#include "output/print_layout.h"
#include "services/pdf_export.h"
#include "services/print_painter.h"

using namespace vormek;

namespace {

std::string Gbk(const QString& s) { return *Utf8ToGbk(s.toStdString()); }

// A result grid whose rows carry train numbers in a known order.
TStringGrid ResultGrid(int rows) {
  TStringGrid grid(15, std::max(rows, 20));
  for (int r = 0; r < rows; ++r) {
    grid.Cell(0, r) = "K" + std::to_string(9000 - r);
    grid.Cell(1, r) = Gbk(QStringLiteral("北京西"));
    grid.Cell(2, r) = Gbk(QStringLiteral("广州"));
    grid.Cell(9, r) = std::to_string(100 + r);
    grid.Cell(13, r) = "301/312/322";
  }
  return grid;
}

class PdfPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
      GTEST_SKIP() << "poppler-utils is not installed";
    ASSERT_TRUE(dir_.isValid());
  }

  // Prints to a 600 dpi A4 PDF and gives the file name.
  QString Print(const TStringGrid& grid, TGridKind kind, int rows, const QString& name) {
    const QString path = dir_.filePath(name);
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    PrintGridOn(writer, grid, kind, rows);
    setup_ = SetupFor(writer);
    return path;
  }

  static QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  static int PageCount(const QString& pdf) {
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
  }
  // The text of one page with every blank removed.
  static QString PageText(const QString& pdf, int page) {
    QString text =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                          QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
  }

  QTemporaryDir dir_;
  TPrintSetup setup_;
};

TEST_F(PdfPrintTest, EveryPageRepeatsTheHeadAndIsNumbered) {
  const int rows = 120;
  const TStringGrid grid = ResultGrid(rows);
  const QString pdf = Print(grid, TGridKind::Result, rows, QStringLiteral("result.pdf"));
  const int pages = PageCount(pdf);
  EXPECT_EQ(static_cast<std::size_t>(pages), LayoutGridPages(grid, TGridKind::Result, rows, setup_).size());
  ASSERT_GE(pages, 3);

  const QString date = QString::fromStdString(GbkToUtf8(setup_.DateText));
  QString all;
  for (int p = 1; p <= pages; ++p) {
    const QString text = PageText(pdf, p);
    EXPECT_TRUE(text.contains(QStringLiteral("维墨克列车时刻表"))) << p;
    EXPECT_TRUE(text.contains(date)) << p;
    EXPECT_TRUE(text.contains(QStringLiteral("维墨克软件工作室"))) << p;
    EXPECT_TRUE(text.contains(QStringLiteral("车次始发终到车型发站"))) << p;
    EXPECT_TRUE(text.contains(QStringLiteral("第%1页").arg(p))) << p;
    all += text;
  }
  // Rows come out once each, in the grid's order.
  qsizetype at = 0;
  for (int r = 0; r < rows; ++r) {
    const QString train = QString::fromStdString(grid.Cell(0, r));
    const qsizetype found = all.indexOf(train, at);
    ASSERT_GE(found, at) << "row " << r;
    at = found + train.size();
    EXPECT_EQ(all.count(train), 1);
  }
  const QString kept = QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/printed_result_grid.pdf");
  QFile::remove(kept);
  QFile::copy(pdf, kept);
}

TEST_F(PdfPrintTest, StopListPrintsItsOwnHeader) {
  TStringGrid grid(8, 20);
  grid.Cell(0, 0) = "1";
  grid.Cell(1, 0) = Gbk(QStringLiteral("上海虹桥"));
  grid.Cell(5, 0) = Gbk(QStringLiteral("当天"));
  const QString pdf = Print(grid, TGridKind::Detail, 1, QStringLiteral("stops.pdf"));
  EXPECT_EQ(PageCount(pdf), 1);
  const QString text = PageText(pdf, 1);
  EXPECT_TRUE(text.contains(QStringLiteral("站序车站里程到时发时天数历时时速")));
  EXPECT_TRUE(text.contains(QStringLiteral("上海虹桥")));
  EXPECT_FALSE(text.contains(QStringLiteral("车次")));
}

// The widest texts of a national result between Beijing and Shanghai, as
// the issue saw them run together.
TStringGrid WidestResult(int rows) {
  const QStringList row{QStringLiteral("G1234"),    QStringLiteral("北京南"),      QStringLiteral("上海虹桥"),
                        QStringLiteral("高速动车"), QStringLiteral("北京南"),      QStringLiteral("12:46"),
                        QStringLiteral("上海虹桥"), QStringLiteral("22:46"),       QStringLiteral("12"),
                        QStringLiteral("1463"),     QStringLiteral("24:13"),       QStringLiteral("1748.5"),
                        QStringLiteral("2788.5"),   QStringLiteral("306/317/328"), QStringLiteral("1008/1052")};
  TStringGrid grid(15, std::max(rows, 20));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < 15; ++c) grid.Cell(c, r) = Gbk(row[c]);
  return grid;
}

TEST_F(PdfPrintTest, WidestTextsStayInTheirColumnsAsTheDeviceDrawsThem) {
  const int rows = 40;
  const TStringGrid grid = WidestResult(rows);
  const std::vector<std::string> header = ReportHeader(TGridKind::Result, 15);
  const QString pdf = dir_.filePath(QStringLiteral("widest.pdf"));
  QPdfWriter writer(pdf);
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  const TPrintSetup setup = FitPageTo(writer, grid, header, rows, {});
  EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Landscape) << "15 wide columns turn the page";
  const std::vector<TPrintPage> pages = LayoutGridPages(grid, header, rows, setup);
  ASSERT_FALSE(pages.empty());
  // The column rules of the header row, left to right.
  const int tableTop = setup.DpiY / 3 + 2 * (setup.DpiX / 3);
  std::vector<int> rules;
  for (const TPrintOp& op : pages[0].Ops)
    if (const auto* l = std::get_if<TPrintLine>(&op); l && l->X1 == l->X2 && l->Y1 == tableTop) rules.push_back(l->X1);
  ASSERT_EQ(rules.size(), 16u);
  int cells = 0;
  for (const TPrintOp& op : pages[0].Ops) {
    const auto* t = std::get_if<TPrintText>(&op);
    if (!t || t->Y < tableTop || t->Y > setup.PageHeight - setup.DpiX / 2) continue;
    const auto right = std::upper_bound(rules.begin(), rules.end(), t->X);
    ASSERT_NE(right, rules.end());
    const QFontMetricsF metrics(ReportFont(t->Face, t->PointSize), &writer);
    const double width = metrics.horizontalAdvance(QString::fromStdString(GbkToUtf8(t->Text)));
    EXPECT_LE(t->X + width, *right) << GbkToUtf8(t->Text) << " runs into the next column";
    ++cells;
  }
  EXPECT_GE(cells, 15 * 2);
  PaintPages(pages, writer);
  // The printed text keeps the two apart.
  const QString text =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                        QStringLiteral("1"), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("上海虹桥\\s+22:46")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("306/317/328\\s+1008/1052")))) << text.toStdString();
  const QString kept = QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/printed_widest_result.pdf");
  QFile::remove(kept);
  QFile::copy(pdf, kept);
}

TEST_F(PdfPrintTest, WrittenPdfHoldsTheReportAndAnUnwritableOneSaysWhere) {
  const TStringGrid grid = WidestResult(3);
  const QString pdf = dir_.filePath(QStringLiteral("written.pdf"));
  WriteGridPdf(pdf, grid, ReportHeader(TGridKind::Result, 15), 3, Gbk(QStringLiteral("北京—上海")));
  EXPECT_EQ(PageCount(pdf), 1);
  EXPECT_TRUE(PageText(pdf, 1).contains(QStringLiteral("维墨克列车时刻表北京—上海")));
  const QString nowhere = dir_.filePath(QStringLiteral("no/such/folder/x.pdf"));
  try {
    WriteGridPdf(nowhere, grid, ReportHeader(TGridKind::Result, 15), 3);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QDir::toNativeSeparators(nowhere))) << e.what();
  }
}

TEST_F(PdfPrintTest, PdfExportTakesTheNameGivenAndAddsItsExtension) {
  const TStringGrid grid = WidestResult(2);
  const std::vector<std::string> header = ReportHeader(TGridKind::Result, 15);
  EXPECT_FALSE(ExportGridPdf(nullptr, grid, header, 2, {}, [](QWidget*) { return QString(); }));
  const QString typed = dir_.filePath(QStringLiteral("北京上海"));
  EXPECT_TRUE(ExportGridPdf(nullptr, grid, header, 2, {}, [&typed](QWidget*) { return typed; }));
  EXPECT_EQ(PageCount(typed + QStringLiteral(".pdf")), 1);
  EXPECT_FALSE(QFile::exists(typed));
}

TEST(ReportFont, FallsBackToAnInstalledKaiFace) {
  const QFontInfo info(ReportFont(PrintFace(), 15));
  const QString family = info.family();
  EXPECT_TRUE(family == QStringLiteral("楷体_GB2312") || family.contains(QStringLiteral("Kai"), Qt::CaseInsensitive))
      << family.toStdString();
}

TEST(PaintPages, DeviceThatCannotStartThrows) {
  QTemporaryDir dir;
  QPdfWriter writer(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
  const TStringGrid grid = ResultGrid(3);
  EXPECT_THROW(PrintGridOn(writer, grid, TGridKind::Result, 3), std::runtime_error);
}

}  // namespace
