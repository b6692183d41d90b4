// The menu's export and the detail window on a timetable of real size: the
// national tables where they are, else the program's own.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "app/advanced_menu.h"
#include "gui_text/gbk_text.h"
#include "services/csv_file.h"
#include "ui/UnitMsg.h"
#include "ui/msg_grid_model.h"
#include "ui/result_grid_view.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

class SharedMenuTest : public TWindowTest {
 protected:
  void SetUp() override {
    OpenRealSize();
    ASSERT_TRUE(dir.isValid());
    TWindowServices services;
    services.Opener = [](const QUrl&) {};
    services.Output.Export = [this](QWidget* parent, const TStringGrid& g, TGridKind kind, int rows) {
      ExportGrid(parent, g, kind, rows, [this](QWidget*) { return dir.filePath(QStringLiteral("typed")); });
    };
    installed = InstallWindowServices(*window, services);
  }
  void TrainQuery(const QString& train) {
    Type(Widget<QLineEdit>(*window, "ECC"), train);
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  }

  QTemporaryDir dir;
  TInstalledServices installed;
};

TEST_F(SharedMenuTest, ExportOfOneTrainIsEightLines) {
  TrainQuery(QStringLiteral("1461"));
  ASSERT_EQ(window->Center().ResultCount, 1);
  installed.Menu->MExport->trigger();
  QFile file(dir.filePath(QStringLiteral("typed.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_TRUE(bytes.endsWith("\r\n"));
  // Every line ends in CR LF.
  ASSERT_EQ(bytes.count("\r\n"), bytes.count('\n'));
  const QList<QByteArray> lines = bytes.chopped(2).split('\n');
  ASSERT_EQ(lines.size(), 8);
  const QList<QByteArray> fields = lines[7].split(',');
  ASSERT_EQ(fields.size(), 15);
  // GBK fields exactly as the grid shows them, fares included.
  for (int c = 0; c < 15; ++c) EXPECT_EQ(FromGbk(fields[c].toStdString()), Cell(c, 0)) << c;
  EXPECT_EQ(fields[0], "1461");
  EXPECT_TRUE(fields[13].contains('/'));
}

TEST_F(SharedMenuTest, DetailWindowOfAnOvernightTrain) {
  TrainQuery(QStringLiteral("1461"));
  ASSERT_EQ(window->Center().ResultCount, 1);
  const QRect cell = Widget<TResultGridView>(*window, "SGrid")->visualRect(GridModel()->index(0, 0));
  bool seen = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* msg = qobject_cast<TFrmMsg*>(QApplication::activeModalWidget());
    if (!msg) return;
    poll.stop();
    seen = true;
    const TMsgGridModel& m = *msg->MGridModel;
    EXPECT_EQ(msg->windowTitle(), QStringLiteral("车次:1461"));
    EXPECT_EQ(m.data(m.index(0, 5)).toString(), QStringLiteral("当天"));
    EXPECT_EQ(m.data(m.index(0, 7)).toString(), QString());
    // It leaves before noon and arrives the next morning.
    EXPECT_EQ(m.data(m.index(msg->FilledRows - 1, 5)).toString().left(1), QStringLiteral("第"));
    // Whole run queried: every stop is in the section.
    for (int r = 0; r < msg->FilledRows; ++r) EXPECT_TRUE(m.InSection(r)) << r;
    EXPECT_TRUE(msg->grab().save(QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/frm_msg_1461.png")));
    msg->close();
  });
  poll.start();
  QTest::mouseDClick(Widget<TResultGridView>(*window, "SGrid")->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace vormek::test
