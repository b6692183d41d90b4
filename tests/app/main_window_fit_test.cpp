// The main window on screens and in faces it was not drawn for: scaled down
// into a screen too small for it, and columns and captions as wide as the
// installed face's texts need. Run once per Chinese face (fontconfig
// configurations that leave one face each, see CMakeLists.txt).
#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStatusBar>

#include "window_fixture.h"

namespace vormek::test {
namespace {

const std::array<int, 15> kSpecified = {97, 77, 77, 70, 77, 45, 77, 45, 32, 45, 37, 42, 43, 91, 70};

class MainWindowFit : public TWindowTest {
 protected:
  void SetUp() override {
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) GTEST_SKIP() << "no Chinese face";
    // The run for one face says which; it must be the only Chinese face of
    // the ones the package accepts.
    const QString face = qEnvironmentVariable("VORMEK_TEST_FACE");
    if (face.isEmpty()) return;
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(face)) GTEST_SKIP() << face.toStdString() << " is not installed";
    for (const char* other : {"AR PL UMing CN", "AR PL UKai CN", "Noto Serif CJK SC", "WenQuanYi Zen Hei"}) {
      if (face != QLatin1String(other)) {
        ASSERT_FALSE(installed.contains(QLatin1String(other))) << other;
      }
    }
  }
  void OpenWindow() {
    tiny = TinyItems();
    Open(tiny.Items(), false);
  }
  TClickLabel* Labs(int c) const { return Widget<TClickLabel>(*window, QStringLiteral("Lab%1").arg(c + 1)); }
  TResultGridView* Grid() const { return Widget<TResultGridView>(*window, "SGrid"); }

  // Every caption, box and cell text has the room its face needs, and every
  // control lies inside its parent.
  void ExpectNothingCut() {
    TResultGridView* grid = Grid();
    const QFontMetrics caption(Labs(0)->font());
    const QFontMetrics cells(grid->font());
    const QStringList widest = {"K1234/K1235", "乌鲁木齐南站", "空调普快",  "23:59",  "4999",
                                "99:59",       "812/842/871",  "1234/1299", "276/290"};
    for (int c = 0; c < 15; ++c) {
      TClickLabel* label = Labs(c);
      SCOPED_TRACE(label->text().toStdString());
      EXPECT_LE(caption.horizontalAdvance(label->text()), label->width());
      EXPECT_LE(caption.height(), label->height() + 2);
      EXPECT_EQ(label->parentWidget()->x(), grid->ColumnLeftInParent(c));
      EXPECT_GE(grid->columnWidth(c),
                static_cast<int>(kSpecified[static_cast<std::size_t>(c)] * window->LayoutScale()));
    }
    // The fares column holds the widest fares; the stations' the longest name.
    EXPECT_LE(cells.horizontalAdvance(QStringLiteral("1234/1299")) + 2, grid->columnWidth(14));
    EXPECT_LE(cells.horizontalAdvance(QStringLiteral("812/842/871")) + 2, grid->columnWidth(13));
    EXPECT_LE(cells.horizontalAdvance(QStringLiteral("乌鲁木齐南站")) + 2, grid->columnWidth(1));
    EXPECT_LE(cells.horizontalAdvance(QStringLiteral("K1234/K1235")) + 2, grid->columnWidth(0));
    // The last column ends inside the grid's frame, beside the scroll bar.
    EXPECT_LE(grid->columnViewportPosition(14) + grid->columnWidth(14), grid->CellAreaWidth());

    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (w->isWindow() || !w->isVisibleTo(window.get())) continue;
      const QRect inParent = w->parentWidget()->rect();
      EXPECT_TRUE(inParent.contains(w->geometry()))
          << w->objectName().toStdString() << " " << w->metaObject()->className();
      if (auto* box = qobject_cast<QAbstractButton*>(w)) {
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), box->width()) << box->text().toStdString();
      }
    }
  }
};

TEST_F(MainWindowFit, SpecifiedSizeWhereTheScreenHasRoom) {
  OpenWindow();
  const QSize before = window->size();
  std::vector<QRect> geometry;
  for (QWidget* w : window->findChildren<QWidget*>()) geometry.push_back(w->geometry());
  window->FitInto(QRect(0, 0, 1280, 800));  // the screen at scale 1
  EXPECT_EQ(window->size(), before);
  EXPECT_EQ(window->LayoutScale(), 1.0);
  std::size_t i = 0;
  for (QWidget* w : window->findChildren<QWidget*>()) EXPECT_EQ(w->geometry(), geometry[i++]);
  // The face that the widths were chosen for needs no more.
  if (QFontInfo(Labs(0)->font()).family().contains(QStringLiteral("UMing"))) {
    EXPECT_EQ(window->size(), QSize(985, 519));
    for (int c = 0; c < 15; ++c) EXPECT_EQ(Grid()->columnWidth(c), kSpecified[static_cast<std::size_t>(c)] + 1);
  }
  ExpectNothingCut();
}

// 1280x800 at Qt scale factors 1.5 and 2: the window fits the available area
// with its frame, scaled as a whole, and nothing in it is cut.
TEST_F(MainWindowFit, ScaledDownIntoASmallScreen) {
  for (const QSize area : {QSize(853, 533), QSize(640, 400)}) {
    SCOPED_TRACE(area.width());
    OpenWindow();
    const int fontBefore = Labs(0)->font().pixelSize();
    window->FitInto(QRect(QPoint(0, 0), area));
    EXPECT_LT(window->LayoutScale(), 1.0);
    EXPECT_LE(window->width() + 8, area.width());
    EXPECT_LE(window->height() + 32, area.height());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_LT(Labs(0)->font().pixelSize(), fontBefore);
    EXPECT_LT(Grid()->rowHeight(0), 19);
    // The status bar still spans the window's foot.
    auto* status = Widget<QStatusBar>(*window, "StatusBar1");
    EXPECT_EQ(status->geometry().bottom(), window->height() - 1);
    EXPECT_EQ(status->width(), window->width());
    ExpectNothingCut();
    window.reset();
  }
}

}  // namespace
}  // namespace vormek::test
