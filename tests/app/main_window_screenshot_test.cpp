// Renders the window after a 北京 to 上海 query into a PNG beside the test
// output, for a look by eye, and checks the picture holds what it should.
#include <QAbstractItemView>
#include <QDir>
#include <QImage>
#include <QPixmap>

#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowScreenshot : public TWindowTest {};

TEST_F(MainWindowScreenshot, AfterBeijingToShanghai) {
  if (!OpenShared()) OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ASSERT_GT(window->Center().ResultCount, 0);
  QTest::mouseClick(Widget<TClickLabel>(*window, "Lab6"), Qt::LeftButton);
  Widget<TResultGridView>(*window, "SGrid")->SelectRow(1);

  const QImage image = window->grab().toImage();
  ASSERT_EQ(image.size(), QSize(985, 519));
  const QString path = QDir(QStringLiteral(VORMEK_TEST_OUTPUT_DIR)).filePath("main_window.png");
  ASSERT_TRUE(image.save(path)) << path.toStdString();

  // The panel colour under the filters, the white top, the green line.
  EXPECT_EQ(image.pixelColor(5, 490), QColor(227, 239, 243));
  EXPECT_EQ(image.pixelColor(600, 5), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(500, 69), QColor(0, 0x80, 0));
  // The selected row is drawn in the highlight colour.
  const QRect row1 = Widget<TResultGridView>(*window, "SGrid")->visualRect(GridModel()->index(1, 0));
  const QPoint inWindow =
      Widget<TResultGridView>(*window, "SGrid")->viewport()->mapTo(window.get(), row1.topLeft() + QPoint(2, 2));
  EXPECT_EQ(image.pixelColor(inWindow), TResultGridDelegate::SelectedBackground);
}

TEST_F(MainWindowScreenshot, StationListWhileTyping) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->setFocus();
  QTest::keyClicks(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  ASSERT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  QAbstractItemView* list = Widget<TStationComboBox>(*window, "ComboFZ")->ListView();
  const QImage image = list->grab().toImage();
  const QString path = QDir(QStringLiteral(VORMEK_TEST_OUTPUT_DIR)).filePath("station_list.png");
  ASSERT_TRUE(image.save(path)) << path.toStdString();
  // Opens under the box, at least as wide as it, and leaves the keyboard with it.
  EXPECT_GE(list->width(), Widget<TStationComboBox>(*window, "ComboFZ")->width())
      << "the list is at least as wide as the whole box";
  QLineEdit* edit = Widget<TStationComboBox>(*window, "ComboFZ")->lineEdit();
  // Below the typed text, not over it.
  EXPECT_GT(list->mapToGlobal(QPoint(0, 0)).y(), edit->mapToGlobal(QPoint(0, edit->height() / 2)).y());
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->lineEdit()->hasFocus());
}

}  // namespace
}  // namespace vormek::test
