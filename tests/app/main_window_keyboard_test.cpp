// The keyboard and the wheel as a person uses them: the Enter chain from
// 发站 to a pressed 查询, buttons pressed by Enter, the wheel over a box not
// being worked in, a header sort under a selected row, the names screen
// readers read and the first tab stop.
#include <QAccessible>
#include <QApplication>
#include <QWheelEvent>

#include <set>

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
  PickFirst(window->ComboFZ, "BJ");
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("北京"));
  EXPECT_TRUE(window->ComboDZ->hasFocus()) << "one Enter in the open list picks and moves on";
  PickFirst(window->ComboDZ, "SH");
  EXPECT_EQ(window->ComboDZ->currentText(), QStringLiteral("上海"));
  ASSERT_TRUE(window->BTNZZCX->hasFocus());
  EXPECT_TRUE(window->testAttribute(Qt::WA_KeyboardFocusChange)) << "the focus frame is drawn";
  EXPECT_EQ(window->Center().ResultCount, 0) << "Enter never starts a query by itself";
  Enter(window->BTNZZCX);
  EXPECT_GT(window->Center().ResultCount, 0);
}

TEST_F(MainWindowKeyboard, EnterOnAFocusedQueryButtonPressesItInEveryGroup) {
  OpenTiny();
  window->ComboFZ->SetTextQuietly(QStringLiteral("北京"));
  window->ComboDZ->SetTextQuietly(QStringLiteral("上海"));
  window->ECC->setText(QStringLiteral("1461"));
  window->ComboCZ->SetTextQuietly(QStringLiteral("天津"));
  for (QPushButton* button : {window->BTNZZCX, window->BTNCCCX, window->BTNCZCX}) {
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
  TStationComboBox* box = window->ComboFZ;
  box->setFocus();
  QTest::keyClicks(box->lineEdit(), "BJ");
  QTest::keyClick(box->ListView(), Qt::Key_Down);
  Enter(box->ListView());
  ASSERT_EQ(box->currentText(), QStringLiteral("北京"));
  window->ECC->setFocus();
  const QPointF at(box->rect().center());
  for (int delta : {-120, 120, -120}) {
    QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
  }
  EXPECT_EQ(box->currentText(), QStringLiteral("北京"));
  EXPECT_TRUE(window->ECC->hasFocus()) << "the wheel does not take the focus either";
}

TEST_F(MainWindowKeyboard, HeaderSortKeepsTheSelectedRowNumber) {
  OpenTiny();
  window->ComboFZ->SetTextQuietly(QStringLiteral("北京"));
  window->ComboDZ->SetTextQuietly(QStringLiteral("上海"));
  QTest::mouseClick(window->BTNZZCX, Qt::LeftButton);
  ASSERT_GE(window->Center().ResultCount, 2);
  ASSERT_TRUE(window->SGrid->SelectRow(1));
  for (int label : {9, 9, 5}) {
    QTest::mouseClick(window->Labs[static_cast<std::size_t>(label)], Qt::LeftButton);
    EXPECT_EQ(window->SGrid->SelectedRow(), 1);
  }
  // Bold is the same face made bold, not another family.
  EXPECT_EQ(QFontInfo(window->Labs[5]->font()).family(), QFontInfo(window->Labs[4]->font()).family());
  window->ClearResults();
  EXPECT_EQ(window->SGrid->SelectedRow(), -1);
}

TEST_F(MainWindowKeyboard, ControlsHaveDistinctNamesAndTheGridIsNotTheFirstStop) {
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
  EXPECT_EQ(first, window->ComboFZ);
  EXPECT_GE(names.size(), 14u);
  const auto* model = window->SGridModel;
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("车 次"));
  EXPECT_EQ(model->headerData(14, Qt::Horizontal).toString(), QStringLiteral("软卧上/下"));
  EXPECT_EQ(model->headerData(0, Qt::Vertical).toInt(), 1);
}

}  // namespace
}  // namespace vormek::test
