#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "gui_text/gbk_text.h"
#include "support/reading_order.h"
#include "ui/UnitMsg.h"
#include "ui/click_label.h"
#include "ui/msg_grid_model.h"
#include "ui/result_grid_delegate.h"
#include "ui/result_grid_view.h"

using namespace vormek;

namespace {

std::string G(const QString& s) { return *ToGbk(s); }

// A six-stop train, boarded at stop 2 and left at stop 5; rows past the
// last stop stay empty.
TStopList SixStops(int rows = 6) {
  TStopList list;
  const QStringList stations{QStringLiteral("北京南"), QStringLiteral("天津南"), QStringLiteral("济南西"),
                             QStringLiteral("南京南"), QStringLiteral("苏州北"), QStringLiteral("上海虹桥")};
  list.Grid.SetRowCount(std::max(rows, kStopGridRows));
  for (int r = 0; r < rows; ++r) {
    list.Grid.Cell(0, r) = std::to_string(r + 1);
    list.Grid.Cell(1, r) = G(stations[r % stations.size()]);
    list.Grid.Cell(2, r) = std::to_string(r * 120);
    list.Grid.Cell(5, r) = G(QStringLiteral("当天"));
  }
  list.FilledRows = rows;
  list.SectionFirst = 2;
  list.SectionLast = 5;
  list.LabQC = G(QStringLiteral("全程：703km/历时4:55/速度143km/h"));
  list.LabQJ = G(QStringLiteral("区间：360km/历时2:0/速度180km/h"));
  return list;
}

struct TRecordedOutput {
  struct Call {
    TGridKind Kind;
    int Rows;
    std::string FirstStation;
    std::string Caption;
  };
  std::vector<Call> Prints, Exports, Pdfs;
  TMsgActions Actions() {
    TMsgActions a;
    a.Print = [this](const TStringGrid& g, TGridKind kind, int rows, const std::string& caption) {
      Prints.push_back({kind, rows, g.Cell(1, 0), caption});
    };
    a.Export = [this](QWidget*, const TStringGrid& g, TGridKind kind, int rows) {
      Exports.push_back({kind, rows, g.Cell(1, 0), {}});
    };
    a.ExportPdf = [this](QWidget*, const TStringGrid& g, TGridKind kind, int rows, const std::string& caption) {
      Pdfs.push_back({kind, rows, g.Cell(1, 0), caption});
    };
    return a;
  }
};

QColor TextColourOf(const TFrmMsg& w, int row) {
  return TResultGridDelegate::TextColour(w.MGridModel->index(row, 1), false);
}

TEST(FrmMsg, ShowsTheStopsWithCaptionSummariesAndHeader) {
  TRecordedOutput out;
  TFrmMsg w(SixStops(), QStringLiteral("G11"), out.Actions());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("车次:G11"));
  EXPECT_EQ(w.size(), QSize(426, 403));
  EXPECT_EQ(w.LabQC->text(), QStringLiteral("全程：703km/历时4:55/速度143km/h"));
  EXPECT_EQ(w.LabQJ->text(), QStringLiteral("区间：360km/历时2:0/速度180km/h"));
  EXPECT_EQ(w.LabQC->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(w.LabQJ->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(w.MGridModel->rowCount(), 20);
  EXPECT_EQ(w.MGridModel->data(w.MGridModel->index(5, 1)).toString(), QStringLiteral("上海虹桥"));
  QStringList header;
  for (int c = 1; c <= 8; ++c) header << w.findChild<TClickLabel*>(QStringLiteral("MLab%1").arg(c))->text();
  EXPECT_EQ(header, (QStringList{"站序", "车站", "里程", "到时", "发时", "天数", "历时", "时速"}));
  EXPECT_EQ(w.MGrid->SelectionRect().Right, TResultGridView::NoSelectionEdge);
}

TEST(FrmMsg, SectionRowsAreBlueOthersPlain) {
  TFrmMsg w(SixStops(), QStringLiteral("G11"), TMsgActions());
  EXPECT_EQ(w.SectionFirst, 2);
  EXPECT_EQ(w.SectionLast, 5);
  const QColor blue(0, 0, 255);
  EXPECT_NE(TextColourOf(w, 0), blue);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(TextColourOf(w, r), blue) << r;
  EXPECT_NE(TextColourOf(w, 5), blue);
  EXPECT_NE(TextColourOf(w, 12), blue) << "an empty row";
}

TEST(FrmMsg, EmptyRowsCannotBeSelectedAndLongListsGrow) {
  TFrmMsg shortList(SixStops(), QStringLiteral("G11"), TMsgActions());
  EXPECT_FALSE(shortList.MGrid->SelectRow(10));
  EXPECT_EQ(shortList.MGrid->SelectedRow(), -1);
  EXPECT_TRUE(shortList.MGrid->SelectRow(3));

  TFrmMsg longList(SixStops(27), QStringLiteral("K1"), TMsgActions());
  EXPECT_EQ(longList.MGridModel->rowCount(), 27);
  EXPECT_EQ(longList.FilledRows, 27);
}

TEST(FrmMsg, WheelScrollsWithoutSelectingUntilARowIsChosen) {
  TFrmMsg w(SixStops(40), QStringLiteral("K1"), TMsgActions());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.MGrid->verticalScrollBar()->setValue(5);
  const QPointF at(w.MGrid->viewport()->rect().center());
  QWheelEvent up(at, w.MGrid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(w.MGrid->viewport(), &up);
  EXPECT_EQ(w.MGrid->verticalScrollBar()->value(), 4);
  EXPECT_EQ(w.MGrid->SelectedRow(), -1);
}

TEST(FrmMsg, PrintAndExportHandTheStopListOnWithoutAsking) {
  TRecordedOutput out;
  TFrmMsg w(SixStops(), QStringLiteral("G11"), out.Actions());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::mouseClick(w.BTNPrint, Qt::LeftButton);
  QTest::mouseClick(w.BTNExport, Qt::LeftButton);
  ASSERT_EQ(out.Prints.size(), 1u);
  ASSERT_EQ(out.Exports.size(), 1u);
  EXPECT_EQ(out.Prints[0].Kind, TGridKind::Detail);
  EXPECT_EQ(out.Prints[0].Rows, 6);
  EXPECT_EQ(out.Exports[0].Kind, TGridKind::Detail);
  EXPECT_EQ(out.Exports[0].Rows, 6);
  EXPECT_EQ(FromGbk(out.Prints[0].FirstStation), QStringLiteral("北京南"));
  // The printout says which train and which section (stops 2 to 5).
  EXPECT_EQ(FromGbk(out.Prints[0].Caption), QStringLiteral("车次:G11  区间:天津南—苏州北"));
  QTest::mouseClick(w.BTNPdf, Qt::LeftButton);
  ASSERT_EQ(out.Pdfs.size(), 1u);
  EXPECT_EQ(out.Pdfs[0].Rows, 6);
  EXPECT_EQ(out.Pdfs[0].Caption, out.Prints[0].Caption);
  QTest::mouseClick(w.BTNClose, Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
}

TEST(FrmMsg, TabFollowsTheReadingOrder) {
  TRecordedOutput out;
  TFrmMsg w(SixStops(), QStringLiteral("G11"), out.Actions());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const auto [tab, reading] = vormek::testing::TabAndReading(w, w.MGrid);
  EXPECT_EQ(tab, reading);
  EXPECT_EQ(tab, (QStringList{"MGrid", "BTNPrint", "BTNExport", "BTNPdf", "BTNClose"}));
}

TEST(FrmMsg, Screenshot) {
  TFrmMsg w(SixStops(), QStringLiteral("G11"), TMsgActions());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.MGrid->SelectRow(2);
  EXPECT_TRUE(w.grab().save(QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/frm_msg.png")));
}

}  // namespace
