// The keyboard and the wheel as a person uses them: the Enter chain from
// 发站 to a pressed 查询, buttons pressed by Enter, the wheel over a box not
// being worked in, a header sort under a selected row, the names screen
// readers read and the first tab stop.
#include <QAccessible>
#include <QApplication>
#include <QWheelEvent>
#include <set>

#include "support/reading_order.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowKeyboard : public TWindowTest {
 protected:
  void Enter(QWidget* target) { QTest::keyClick(target, Qt::Key_Return); }
  // Types pinyin initials, takes the first listed station and presses Enter
  // in the open list, once.
  void PickFirst(TStationComboBox* box, const char* letters) {
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), letters);
    ASSERT_TRUE(box->ListOpen());
    QTest::keyClick(box->ListView(), Qt::Key_Down);
    Enter(box->ListView());
    EXPECT_FALSE(box->ListOpen());
  }
};

TEST_F(MainWindowKeyboard, EnterChainPicksMovesOnAndPressesTheButton) {
  OpenTiny();
  PickFirst(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("北京"));
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboDZ")->hasFocus())
      << "one Enter in the open list picks and moves on";
  PickFirst(Widget<TStationComboBox>(*window, "ComboDZ"), "SH");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboDZ")->currentText(), QStringLiteral("上海"));
  ASSERT_TRUE(Widget<QPushButton>(*window, "BTNZZCX")->hasFocus());
  EXPECT_TRUE(window->testAttribute(Qt::WA_KeyboardFocusChange)) << "the focus frame is drawn";
  EXPECT_EQ(window->Center().ResultCount, 0) << "Enter never starts a query by itself";
  Enter(Widget<QPushButton>(*window, "BTNZZCX"));
  EXPECT_GT(window->Center().ResultCount, 0);
}

TEST_F(MainWindowKeyboard, EnterOnAFocusedQueryButtonPressesItInEveryGroup) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  Widget<QLineEdit>(*window, "ECC")->setText(QStringLiteral("1461"));
  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("天津"));
  for (QPushButton* button : {Widget<QPushButton>(*window, "BTNZZCX"), Widget<QPushButton>(*window, "BTNCCCX"),
                              Widget<QPushButton>(*window, "BTNCZCX")}) {
    SCOPED_TRACE(button->objectName().toStdString());
    window->ClearResults();
    button->setFocus();
    Enter(button);
    EXPECT_GT(window->Center().ResultCount, 0);
    EXPECT_TRUE(boxes.Shown.empty());
  }
}

TEST_F(MainWindowKeyboard, WheelOverAStationBoxChangesItOnlyWhileItHasTheFocus) {
  OpenTiny();
  TStationComboBox* box = Widget<TStationComboBox>(*window, "ComboFZ");
  box->setFocus();
  QTest::keyClicks(box->lineEdit(), "BJ");
  QTest::keyClick(box->ListView(), Qt::Key_Down);
  Enter(box->ListView());
  ASSERT_EQ(box->currentText(), QStringLiteral("北京"));
  Widget<QLineEdit>(*window, "ECC")->setFocus();
  const QPointF at(box->rect().center());
  for (int delta : {-120, 120, -120}) {
    QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
  }
  EXPECT_EQ(box->currentText(), QStringLiteral("北京"));
  EXPECT_TRUE(Widget<QLineEdit>(*window, "ECC")->hasFocus()) << "the wheel does not take the focus either";
}

TEST_F(MainWindowKeyboard, HeaderSortKeepsTheSelectedRowNumber) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ASSERT_GE(window->Center().ResultCount, 2);
  ASSERT_TRUE(Widget<TResultGridView>(*window, "SGrid")->SelectRow(1));
  for (int label : {9, 9, 5}) {
    QTest::mouseClick(Widget<TClickLabel>(*window, QStringLiteral("Lab%1").arg(label + 1)), Qt::LeftButton);
    EXPECT_EQ(Widget<TResultGridView>(*window, "SGrid")->SelectedRow(), 1);
  }
  // Bold is the same face made bold, not another family.
  EXPECT_EQ(QFontInfo(Widget<TClickLabel>(*window, "Lab6")->font()).family(),
            QFontInfo(Widget<TClickLabel>(*window, "Lab5")->font()).family());
  window->ClearResults();
  EXPECT_EQ(Widget<TResultGridView>(*window, "SGrid")->SelectedRow(), -1);
}

TEST_F(MainWindowKeyboard, ControlsHaveDistinctNamesAndTheFocusStartsInTheStationBox) {
  OpenTiny();
  std::set<QString> names;
  QWidget* first = nullptr;
  for (QWidget* w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window.get()) || w->window() != window.get()) continue;
    // A station box's editor is read as part of its box.
    if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
    if (!first) first = w;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    const QString name = a->text(QAccessible::Name);
    EXPECT_FALSE(name.isEmpty()) << w->metaObject()->className() << " " << w->objectName().toStdString();
    EXPECT_TRUE(names.insert(name).second) << "two controls read " << name.toStdString();
  }
  // The chain reads from the top, the grid first; the focus starts in 发站.
  EXPECT_EQ(first, Widget<TResultGridView>(*window, "SGrid")) << (first ? first->objectName().toStdString() : "");
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->hasFocus());
  EXPECT_GE(names.size(), 14u);
  const auto* model = GridModel();
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("车 次"));
  EXPECT_EQ(model->headerData(14, Qt::Horizontal).toString(), QStringLiteral("软卧上/下"));
  EXPECT_EQ(model->headerData(0, Qt::Vertical).toInt(), 1);
}

TEST_F(MainWindowKeyboard, TabFollowsTheReadingOrderFromTheStationBox) {
  OpenTiny();
  auto* from = Widget<TStationComboBox>(*window, "ComboFZ");
  const auto [tab, reading] = vormek::testing::TabAndReading(*window, from);
  EXPECT_EQ(tab, reading);
  EXPECT_GE(tab.size(), 17);
  // The chain is what Tab does.
  from->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboDZ")->hasFocus());
}

TEST_F(MainWindowKeyboard, EnterInTheTrainBoxAsksForTheTrain) {
  OpenTiny();
  auto* train = Widget<QLineEdit>(*window, "ECC");
  train->setFocus();
  QTest::keyClicks(train, "1461");
  Enter(train);
  EXPECT_GT(window->Center().ResultCount, 0);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("1461"));
  // An empty box is refused as the button refuses it, once.
  window->ClearResults();
  train->clear();
  Enter(train);
  EXPECT_EQ(window->Center().ResultCount, 0);
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(boxes.Shown[0].Caption, QStringLiteral("信息不完整"));
}

TEST_F(MainWindowKeyboard, EnterOnAResultRowOpensItsStopsAsADoubleClickDoes) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ASSERT_GE(window->Center().ResultCount, 2);
  auto* grid = Widget<TResultGridView>(*window, "SGrid");
  QSignalSpy opened(window.get(), &TFrmVormek::SGridDblClick);
  grid->setFocus();
  Enter(grid);
  EXPECT_EQ(opened.count(), 0) << "no row chosen yet";
  ASSERT_TRUE(grid->SelectRow(1));
  Enter(grid);
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened.at(0).at(0).toInt(), 1);
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Enter);
  ASSERT_EQ(opened.count(), 2);
  EXPECT_EQ(opened.at(1).at(0).toInt(), 2);
}

}  // namespace
}  // namespace vormek::test
