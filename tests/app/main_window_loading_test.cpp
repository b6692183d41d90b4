// The loaders seen from the window: what becomes enabled when, what a failed
// table leaves disabled, and closing the window while they still run.
#include <QBuffer>
#include <QImage>
#include <iterator>
#include <string_view>
#include <utility>

#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowLoading : public TWindowTest {
 protected:
  // Both loaders done and every hand-over they queued delivered: what is
  // off now stays off.
  void LoadersSettled() {
    window->Loaders().Wait();
    QCoreApplication::sendPostedEvents();
  }
};

TEST_F(MainWindowLoading, StationBoxesBeforeQueryButtons) {
  tiny = TinyItems();
  TFrmVormekDeps deps;
  deps.Items = &tiny.Items();
  deps.Boxes = &boxes;
  window = std::make_unique<TFrmVormek>(std::move(deps));
  QStringList order;
  QObject::connect(window.get(), &TFrmVormek::StationBoxesEnabled, [&] { order << "boxes"; });
  QObject::connect(window.get(), &TFrmVormek::QueryButtonsEnabled, [&] { order << "buttons"; });
  // Nothing changes before the window's own thread runs the hand-over.
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZCX")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 10000));
  EXPECT_EQ(order, (QStringList{"boxes", "buttons"}));
  for (QWidget* w : std::initializer_list<QWidget*>{
           Widget<TStationComboBox>(*window, "ComboFZ"), Widget<TStationComboBox>(*window, "ComboDZ"),
           Widget<TStationComboBox>(*window, "ComboCZ"), Widget<QPushButton>(*window, "BTNZZCX"),
           Widget<QPushButton>(*window, "BTNZZZZ"), Widget<QPushButton>(*window, "BTNCCCX"),
           Widget<QPushButton>(*window, "BTNCZCX")})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(window->Loaders().AllLoaded());
}

TEST_F(MainWindowLoading, FailedStopTableLeavesQueriesOffForGood) {
  tiny = TinyItems({"STrain"});
  Open(tiny.Items(), false);
  LoadersSettled();
  ASSERT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZCX")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZZZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNCCCX")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNCZCX")->isEnabled());
  // The boxes work, and a query that still arrives stops without a word.
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "SH");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->Items().at(0), QStringLiteral("上海"));
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  window->BTNZZCXClick(TDirectQuery::Direct);
  Widget<QLineEdit>(*window, "ECC")->setText("G1");
  window->BTNCCCXClick();
  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("天津"));
  window->BTNCZCXClick();
  EXPECT_TRUE(boxes.Shown.empty());
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
  EXPECT_TRUE(window->Center().GridResults.empty());
}

TEST_F(MainWindowLoading, QueryButtonsWaitForEveryTableNotJustTheStops) {
  // The small tables fail: the stop table alone must not enable queries
  // that would read the others.
  tiny = TinyItems({"SM"});
  Open(tiny.Items(), false);
  LoadersSettled();
  ASSERT_TRUE(window->Loaders().StopTableLoaded());
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZCX")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNCCCX")->isEnabled());
}

TEST_F(MainWindowLoading, DamagedPinyinTableLeavesTheStationBoxesOff) {
  tiny = TinyTimetableItems(ToTableBytes, {}, {"SPY"});
  Open(tiny.Items(), false);
  LoadersSettled();
  ASSERT_TRUE(window->Loaders().StopTableLoaded());
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled());
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboCZ")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>(*window, "BTNZZCX")->isEnabled());
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindowLoading, TablesThatFailAreNamedOnTheStatusBar) {
  // Each loader fails at one table: the stop table is damaged, the group
  // table missing. The window says so instead of waiting in silence.
  tiny = TinyTimetableItems(ToTableBytes, {"SM"}, {"STrain"});
  Open(tiny.Items(), false);
  const QLabel* panel = Widget<QLabel>(*window, "StatusPanel2");
  ASSERT_TRUE(QTest::qWaitFor([panel] { return panel->text().count(QStringLiteral("加载失败")) == 2; }, 10000))
      << panel->text().toStdString();
  const QStringList parts = panel->text().split(QStringLiteral("；"));
  EXPECT_TRUE(parts.contains(QStringLiteral("停靠站表加载失败(数据损坏)，无法查询"))) << panel->text().toStdString();
  EXPECT_TRUE(parts.contains(QStringLiteral("同城车站表加载失败(数据缺失)，无法查询"))) << panel->text().toStdString();
  EXPECT_TRUE(panel->toolTip().contains(QStringLiteral("STrain："))) << panel->toolTip().toStdString();
  EXPECT_FALSE(panel->toolTip().contains(QStringLiteral("stream"))) << "said in Chinese";
  EXPECT_EQ(Widget<QLabel>(*window, "StatusPanel1")->text(), QStringLiteral("当前版本:2012.05.05"));
  for (QWidget* w : std::initializer_list<QWidget*>{
           Widget<QPushButton>(*window, "BTNZZCX"), Widget<QPushButton>(*window, "BTNZZZZ"),
           Widget<QPushButton>(*window, "BTNCCCX"), Widget<QPushButton>(*window, "BTNCZCX")})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled());
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindowLoading, PicturesThatFailKeepTheirReason) {
  // B1 is a picture, B2 a damaged item, LOGO not a picture; the rest are
  // missing. Only the good one shows, and each other one says why.
  tiny = TinyItems();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImage(4, 3, QImage::Format_RGB32).save(&buffer, "PNG");
  tiny.Add("B1", std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
  tiny.AddDamaged("B2");
  tiny.Add("LOGO", "not a bitmap");
  Open(tiny.Items(), false);
  EXPECT_EQ(Widget<QLabel>(*window, "Image1")->pixmap().size(), QSize(4, 3));
  const QStringList failures = window->PictureFailures();
  const std::pair<const char*, const char*> expected[] = {{"LOGO", "不是图片"}, {"UPDATE", ""}, {"B2", ""}, {"B3", ""},
                                                          {"B4", ""},           {"B5", ""},     {"B7", ""}};
  ASSERT_EQ(failures.size(), std::ssize(expected)) << failures.join('\n').toStdString();
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const QString prefix = QStringLiteral("图片") + QString::fromLatin1(expected[i].first) + QStringLiteral("：");
    EXPECT_TRUE(failures[static_cast<qsizetype>(i)].startsWith(prefix))
        << failures[static_cast<qsizetype>(i)].toStdString();
    EXPECT_GT(failures[static_cast<qsizetype>(i)].size(), prefix.size()) << "no reason for " << expected[i].first;
    EXPECT_TRUE(failures[static_cast<qsizetype>(i)].endsWith(QString::fromUtf8(expected[i].second)));
    EXPECT_TRUE(Widget<QLabel>(*window, "StatusPanel2")->toolTip().contains(failures[static_cast<qsizetype>(i)]));
  }
  EXPECT_NE(failures[2], failures[3]) << "a damaged item and a missing one give the same reason";
}

TEST_F(MainWindowLoading, ClosingWhileTheLoadersRunIsSafe) {
  shared = SharedTimetableItems();
  tiny = TinyItems();
  const TItemSet& items = shared ? shared->Items() : tiny.Items();
  for (int run = 0; run < 3; ++run) {
    TFrmVormekDeps deps;
    deps.Items = &items;
    deps.Boxes = &boxes;
    auto early = std::make_unique<TFrmVormek>(std::move(deps));
    early->show();
    early.reset();
    // Hand-overs still queued for the closed window must go nowhere.
    QTest::qWait(10);
  }
  EXPECT_TRUE(boxes.Shown.empty());
}

}  // namespace
}  // namespace vormek::test
