// The window as it opens: size, border, captions, header labels, grid
// geometry, which controls start enabled, the status bar.
#include <QFontInfo>
#include <QGroupBox>
#include <QStatusBar>

#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowLayout : public TWindowTest {};

TEST_F(MainWindowLayout, FixedClientAreaMinimiseOnlyAndCaption) {
  tiny = TinyItems();
  Open(tiny.Items(), false);
  EXPECT_EQ(window->size(), QSize(985, 519));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("维墨克时刻表，准确及时的列车时刻表提供者，免费预订打折机票、特价酒店，使您出行无忧！"));
  // 宋体 where installed, otherwise a Song-style CJK face; 12-pixel height.
  EXPECT_EQ(window->font().pixelSize(), 12);
  const QString family = QFontInfo(window->font()).family();
  EXPECT_TRUE(family.contains(QStringLiteral("宋体")) || family.contains("SimSun") || family.contains("UMing"))
      << family.toStdString();
}

TEST_F(MainWindowLayout, PanelsLineAndStatusBar) {
  tiny = TinyItems();
  Open(tiny.Items(), false);
  EXPECT_EQ(Widget<QWidget>(*window, "PTop")->geometry(), QRect(0, 0, 985, 68));
  EXPECT_EQ(Widget<QFrame>(*window, "Shape1")->geometry(), QRect(0, 68, 985, 2));
  EXPECT_EQ(Widget<QWidget>(*window, "P1")->palette().color(QPalette::Window), QColor(227, 239, 243));
  EXPECT_EQ(Widget<QWidget>(*window, "P1")->geometry().bottom() + 1, 519 - 25);
  EXPECT_EQ(Widget<QStatusBar>(*window, "StatusBar1")->height(), 25);
  const std::array<int, 4> widths = {150, 300, 150, 100};
  for (std::size_t i = 0; i < widths.size(); ++i)
    EXPECT_EQ(Widget<QLabel>(*window, QStringLiteral("StatusPanel%1").arg(i + 1))->width(), widths[i]) << i;
  // The last panel is 50 wide at least and takes the rest of the bar.
  EXPECT_GE(Widget<QLabel>(*window, "StatusPanel5")->width(), 50);
  EXPECT_EQ(Widget<QLabel>(*window, "StatusPanel1")->text(), QStringLiteral("当前版本:2012.05.05"));
  EXPECT_EQ(Widget<QLabel>(*window, "StatusPanel2")->text(), QStringLiteral("维墨克时刻在手，出差旅行无忧！"));
  EXPECT_EQ(Widget<QLabel>(*window, "LabNew")->text(), QStringLiteral("版本检测中..."));
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
}

TEST_F(MainWindowLayout, HeaderLabelsFollowTheirColumns) {
  tiny = TinyItems();
  Open(tiny.Items(), false);
  const QStringList captions = {"车 次", "始发站", "终到站", "车型", "发站", "发时",         "到站",     "到时",
                                "停站",  "里程",   "历时",   "硬座", "软座", "硬卧上/中/下", "软卧上/下"};
  for (int c = 0; c < 15; ++c) {
    TClickLabel* label = Widget<TClickLabel>(*window, QStringLiteral("Lab%1").arg(c + 1));
    EXPECT_EQ(label->objectName(), QStringLiteral("Lab%1").arg(c + 1));
    EXPECT_EQ(label->property("tag").toInt(), 33);
    EXPECT_EQ(label->text(), captions[c]);
    EXPECT_FALSE(label->font().bold());
    // The label's box starts where its column starts.
    EXPECT_EQ(label->parentWidget()->x(), Widget<TResultGridView>(*window, "SGrid")->ColumnLeftInParent(c)) << c;
  }
}

TEST_F(MainWindowLayout, ResultGridGeometry) {
  tiny = TinyItems();
  Open(tiny.Items(), false);
  TResultGridView* grid = Widget<TResultGridView>(*window, "SGrid");
  EXPECT_EQ(grid->geometry(), QRect(14, 43, 959, 305));
  EXPECT_EQ(GridModel()->rowCount(), 20);
  EXPECT_EQ(GridModel()->columnCount(), 15);
  const std::array<int, 15> widths = {97, 77, 77, 70, 77, 45, 77, 45, 32, 45, 37, 42, 43, 91, 70};
  // Each width holds the cell and its grid line.
  for (int c = 0; c < 15; ++c) EXPECT_EQ(grid->columnWidth(c), widths[static_cast<std::size_t>(c)] + 1);
  EXPECT_EQ(grid->rowHeight(0), 18 + 1);
  EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(grid->toolTip().split('\n').size(), 3);
  EXPECT_EQ(grid->SelectionRect(), (TGridRect{24, 24, 24, 24}));
}

TEST_F(MainWindowLayout, QueryControlsStartDisabledExceptSwapAndTrainNumber) {
  // No items at all: nothing ever loads, so the starting state stays.
  const TItemSet none;
  Open(none, false);
  QTest::qWait(50);
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled());
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboDZ")->isEnabled());
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboCZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZCX")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZZZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNCCCX")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNCZCX")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>(*window, "BTNZZFX")->isEnabled());
  EXPECT_TRUE(Widget<QLineEdit>(*window, "ECC")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>(*window, "BTNAdvanced")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>(*window, "BTNAbout")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>(*window, "BtnUpdate")->isEnabled());
  EXPECT_EQ(Widget<QPushButton>(*window, "BTNZZZZ")->property("tag").toInt(), 1);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->count(), 12);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboCZ")->count(), 12);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->toolTip(),
            QStringLiteral("支持拼音首字母输入，如[北京]->BJ"));
  EXPECT_EQ(Widget<QGroupBox>(*window, "GBZZ")->title(), QStringLiteral("站站查询"));
  EXPECT_EQ(Widget<QGroupBox>(*window, "GBCC")->title(), QStringLiteral("车次查询"));
  EXPECT_EQ(Widget<QGroupBox>(*window, "GBCZ")->title(), QStringLiteral("车站全部车次查询"));
  for (auto [box, caption] : {std::pair{Widget<QCheckBox>(*window, "CBSF"), "始发车"},
                              {Widget<QCheckBox>(*window, "CBZD"), "终到车"},
                              {Widget<QCheckBox>(*window, "CBJQ"), "精确站名"},
                              {Widget<QCheckBox>(*window, "CBDC"), "仅动车"}}) {
    EXPECT_EQ(box->text(), QString::fromUtf8(caption));
    EXPECT_FALSE(box->isChecked());
  }
  // ECC upper-cases what is typed; the swap works with the buttons disabled.
  QTest::keyClicks(Widget<QLineEdit>(*window, "ECC"), "k1008");
  EXPECT_EQ(Widget<QLineEdit>(*window, "ECC")->text(), QStringLiteral("K1008"));
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZFX"), Qt::LeftButton);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("上海"));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboDZ")->currentText(), QStringLiteral("北京"));
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindowLayout, TabOrderInsideTheGroups) {
  tiny = TinyItems();
  Open(tiny.Items());
  Widget<TStationComboBox>(*window, "ComboFZ")->setFocus();
  const QList<QWidget*> expected = {Widget<TStationComboBox>(*window, "ComboDZ"),
                                    Widget<QPushButton>(*window, "BTNZZCX"),
                                    Widget<QPushButton>(*window, "BTNZZFX"),
                                    Widget<QPushButton>(*window, "BTNZZZZ"),
                                    Widget<QLineEdit>(*window, "ECC"),
                                    Widget<QPushButton>(*window, "BTNCCCX"),
                                    Widget<TStationComboBox>(*window, "ComboCZ"),
                                    Widget<QPushButton>(*window, "BTNCZCX")};
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == next || focus->parentWidget() == next) << next->objectName().toStdString();
  }
}

}  // namespace
}  // namespace vormek::test
