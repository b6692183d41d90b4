// The train graph as the main window opens it: "运行图…" and Ctrl+G only for
// a station-to-station query's rows, from wherever the focus is; the graph
// draws the grid's rows as they pass the filters and in their sorted order,
// and a train chosen in it is its row of the grid.
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

#include "app/advanced_menu.h"
#include "app/graph_window.h"
#include "gui_text/gbk_text.h"
#include "ui/UnitGraph.h"
#include "ui/UnitMsg.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

std::vector<std::string>* ambiguousLog = nullptr;
void NoteAmbiguous(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (ambiguousLog && message.contains(QStringLiteral("Ambiguous"))) ambiguousLog->push_back(message.toStdString());
}

class GraphMenuTest : public TWindowTest {
 protected:
  void SetUp() override {
    Open(EmbeddedItems());
    TWindowServices services;
    services.Boxes = &boxes;
    services.GraphOutput.AskExportFile = [](QWidget*, const QString&) { return QString(); };
    services.GraphOutput.Print = nullptr;
    installed = InstallWindowServices(*window, services);
  }
  void Query(const QString& from, const QString& to) {
    Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(from);
    Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(to);
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  }
  TFrmGraph* Graph() const { return window->findChild<TFrmGraph*>(); }
  // As the window's close box closes it: the window goes at the next turn
  // of the event loop.
  void CloseGraph() {
    if (QPointer<TFrmGraph> graph = Graph()) {
      graph->close();
      EXPECT_TRUE(QTest::qWaitFor([&] { return graph.isNull(); }, 5000));
    }
  }
  // Every train of the graph is the train of the grid row it names, and
  // the graph holds one train per row shown.
  void ExpectTrainsAreTheirRows() {
    ASSERT_NE(Graph(), nullptr);
    const auto& trains = Graph()->Trains();
    EXPECT_EQ(static_cast<int>(trains.size()), window->Center().ResultCount);
    for (const TGraphTrain& train : trains) EXPECT_EQ(Cell(0, train.Row), FromGbk(train.ID)) << train.Row;
  }

  TInstalledServices installed;
};

TEST_F(GraphMenuTest, OpensOnlyForADirectQueryFromEveryFocusPositionWithOneBinding) {
  installed.Menu->MAdvancedPopup();
  EXPECT_FALSE(installed.Menu->MGraph->isEnabled());
  QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
  EXPECT_EQ(Graph(), nullptr);
  // A train number's rows are no section's.
  Widget<QLineEdit>(*window, "ECC")->setText(QStringLiteral("K599"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  installed.Menu->MAdvancedPopup();
  EXPECT_FALSE(installed.Menu->MGraph->isEnabled());

  Query(QStringLiteral("北京"), QStringLiteral("上海"));
  ASSERT_GT(window->Center().ResultCount, 0);
  installed.Menu->MAdvancedPopup();
  EXPECT_TRUE(installed.Menu->MGraph->isEnabled());
  EXPECT_TRUE(installed.Menu->MGraph->text().contains(QStringLiteral("(&G)")));
  installed.Menu->MGraph->trigger();
  ExpectTrainsAreTheirRows();
  EXPECT_TRUE(Graph()->windowTitle().contains(QStringLiteral("北京→上海")));
  CloseGraph();

  std::vector<std::string> ambiguous;
  ambiguousLog = &ambiguous;
  const QtMessageHandler previous = qInstallMessageHandler(NoteAmbiguous);
  std::vector<QWidget*> stops;
  for (QWidget* w : window->findChildren<QWidget*>())
    if (w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(window.get()) && w->isEnabled() &&
        w->window() == window.get())
      stops.push_back(w);
  ASSERT_GE(stops.size(), 12u);
  for (QWidget* stop : stops) {
    SCOPED_TRACE(QStringLiteral("%1 %2").arg(stop->metaObject()->className(), stop->objectName()).toStdString());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    stop->setFocus();
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_G));
    ASSERT_NE(Graph(), nullptr);
    EXPECT_TRUE(Graph()->isVisible());
    CloseGraph();
  }
  qInstallMessageHandler(previous);
  ambiguousLog = nullptr;
  EXPECT_TRUE(ambiguous.empty()) << ambiguous.front();
  int bindings = 0;
  const QKeySequence keys(Qt::CTRL | Qt::Key_G);
  for (const QAction* a : window->findChildren<QAction*>()) bindings += a->shortcuts().count(keys);
  for (const QShortcut* s : window->findChildren<QShortcut*>()) bindings += s->key() == keys;
  EXPECT_EQ(bindings, 1);
}

TEST_F(GraphMenuTest, FollowsTheFiltersAndTheSortAndChoosesTheGridRow) {
  Query(QStringLiteral("北京"), QStringLiteral("上海"));
  const int all = window->Center().ResultCount;
  ASSERT_GT(all, 3);
  QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
  ExpectTrainsAreTheirRows();
  // Only multiple units, then sorted by departure time: the graph follows.
  QTest::mouseClick(Widget<QCheckBox>(*window, "CBDC"), Qt::LeftButton);
  ASSERT_LT(window->Center().ResultCount, all);
  ExpectTrainsAreTheirRows();
  QTest::mouseClick(Widget<TClickLabel>(*window, "Lab6"), Qt::LeftButton);
  ExpectTrainsAreTheirRows();

  // A click on the last train's first stop selects its grid row.
  TFrmGraph* graph = Graph();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(graph));
  std::optional<QPoint> vertex;
  for (const TGraphOp& op : graph->Graph().Ops)
    if (const auto* path = std::get_if<TGraphPath>(&op); path && path->Role == TGraphPathRole::Train)
      vertex = QPoint(static_cast<int>(path->Points.front().X), static_cast<int>(path->Points.front().Y));
  ASSERT_TRUE(vertex);
  QTest::mouseClick(graph->Canvas, Qt::LeftButton, Qt::NoModifier, *vertex);
  const int chosen = graph->SelectedTrain();
  ASSERT_GE(chosen, 0);
  const TGraphTrain& train = graph->Trains()[static_cast<std::size_t>(chosen)];
  EXPECT_EQ(window->SelectedResultRow(), train.Row);
  // And back: a row chosen in the grid shows its train, whichever it is.
  for (int row : {0, window->Center().ResultCount - 1, train.Row}) {
    ASSERT_TRUE(window->SelectResultRow(row));
    ASSERT_GE(graph->SelectedTrain(), 0);
    EXPECT_EQ(graph->Trains()[static_cast<std::size_t>(graph->SelectedTrain())].Row, row);
  }
  // A double-click opens the stop list the row would.
  QString title;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* msg = qobject_cast<TFrmMsg*>(QApplication::activeModalWidget())) {
      title = msg->windowTitle();
      msg->close();
    }
  });
  poll.start();
  graph->OpenTrain(chosen);
  poll.stop();
  EXPECT_EQ(title, QStringLiteral("车次:") + FromGbk(train.ID));
  // Another query's rows replace the graph's; a train number's rows are
  // none of its.
  Query(QStringLiteral("上海"), QStringLiteral("杭州"));
  ExpectTrainsAreTheirRows();
  EXPECT_TRUE(graph->windowTitle().contains(QStringLiteral("上海→杭州")));
  Widget<QLineEdit>(*window, "ECC")->setText(QStringLiteral("K599"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  ASSERT_GT(window->Center().ResultCount, 0);
  EXPECT_TRUE(graph->Trains().empty());
  EXPECT_EQ(graph->windowTitle(), QStringLiteral("运行图"));
}

}  // namespace
}  // namespace vormek::test
