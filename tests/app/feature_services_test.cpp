// The main window's additions: another timetable opened from a folder (and a
// damaged one refused), the built-in one restored, "--tables DIR" at start,
// and the stations it remembers.
#include "app/feature_services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/advanced_menu.h"
#include "app/application_root.h"
#include "app/command_line.h"
#include "app/remembered_input.h"
#include "app/timetable_switch.h"
#include "app/version_check_switch.h"
#include "gui_text/gbk_text.h"
#include "query/query_direct.h"
#include "services/user_settings.h"
#include "ui/UnitPlan.h"
#include "ui/UnitZzz.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

constexpr int kTinyStops = 13;

std::string Crlf(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch == '\n') out += '\r';
    out += ch;
  }
  return out;
}

// The tiny timetable as a folder of table texts, each passed through an edit.
struct TFolderEdit {
  const char* File;
  std::function<std::string(std::string)> Edit;  // returns the new text; "<none>" removes the file
};

void WriteFolder(const std::filesystem::path& dir, const std::vector<TFolderEdit>& edits = {}) {
  const std::pair<const char*, const char*> files[] = {{"SPY.txt", TinyPinyinTable()},
                                                       {"SLIST.txt", TinyTrainList()},
                                                       {"SM.txt", TinyGroupTable()},
                                                       {"STRAIN.txt", TinyStopTable()}};
  for (const auto& [name, text] : files) {
    std::string bytes = Crlf(ToTableBytes(text));
    for (const TFolderEdit& e : edits)
      if (std::string(e.File) == name) bytes = e.Edit(bytes);
    std::filesystem::remove(dir / name);
    if (bytes == "<none>") continue;
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class FeatureServicesTest : public TWindowTest {
 protected:
  QString Label() const { return switcher->LabTimetable->text(); }
  int Stops() { return window->LoadedTables()->KMTrain.RecordCount(); }
  void OpenWithSwitch() {
    OpenTiny();
    switcher = std::make_unique<TTimetableSwitch>(*window, tiny.Items(), boxes);
  }
  std::unique_ptr<TTimetableSwitch> switcher;
  QTemporaryDir temp;
};

TEST_F(FeatureServicesTest, DamagedFolderNamesTheFileAndKeepsTheTimetableInUse) {
  OpenWithSwitch();
  const std::vector<TFolderEdit> damaged[] = {
      {{"STRAIN.txt", [](std::string) { return std::string("<none>"); }}},
      {{"SM.txt", [](std::string) { return std::string("not a table\r\n"); }}},
      // A train listed twice under the unique index.
      {{"SLIST.txt",
        [](std::string t) {
          return t + Crlf(ToTableBytes(R"("G1","2","x","y","","","","0","","","","",
)"));
        }}},
      {{"SPY.txt", [](std::string t) { return Replace(t, "Shortcode=", "Code="); }}},
      {{"STRAIN.txt", [](std::string t) { return t.substr(0, t.find("\"1461\"")); }}},  // no stops
  };
  for (const auto& edits : damaged) {
    const std::string file = edits.front().File;
    SCOPED_TRACE(file);
    const std::filesystem::path dir = temp.filePath(QString::fromStdString("bad_" + file)).toStdString();
    std::filesystem::create_directories(dir);
    WriteFolder(dir, edits);
    boxes.Shown.clear();
    EXPECT_FALSE(switcher->OpenFolder(QString::fromStdString(dir.string())));
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_TRUE(boxes.Shown[0].Text.contains(QString::fromStdString(file))) << boxes.Shown[0].Text.toStdString();
    EXPECT_TRUE(boxes.Shown[0].Text.contains(QStringLiteral("仍使用当前时刻表")));
    EXPECT_EQ(Label(), QStringLiteral("时刻表:内置"));
    EXPECT_EQ(Stops(), kTinyStops);
  }
  // A folder that is not there is named as missing, not by its first file.
  boxes.Shown.clear();
  EXPECT_FALSE(switcher->OpenFolder(temp.filePath(QStringLiteral("gone"))));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_TRUE(boxes.Shown[0].Text.contains(QStringLiteral("不存在"))) << boxes.Shown[0].Text.toStdString();
  EXPECT_FALSE(boxes.Shown[0].Text.contains(QStringLiteral(".txt"))) << boxes.Shown[0].Text.toStdString();
}

TEST_F(FeatureServicesTest, FolderTakesOverAndTheBuiltInComesBack) {
  OpenWithSwitch();
  const QString name = QStringLiteral("smaller-timetable-of-spring-2012-for-the-north");
  const std::filesystem::path dir = temp.filePath(name).toStdString();
  std::filesystem::create_directories(dir);
  // Without train T7: two stops fewer.
  WriteFolder(dir, {{"STRAIN.txt", [](std::string t) { return t.substr(0, t.find("\"T7\"")); }}});
  ASSERT_TRUE(switcher->OpenFolder(QString::fromStdString(dir.string())));
  EXPECT_TRUE(boxes.Shown.empty());
  EXPECT_TRUE(Label().startsWith(QStringLiteral("时刻表:"))) << Label().toStdString();
  EXPECT_TRUE(switcher->LabTimetable->toolTip().endsWith(name));
  EXPECT_EQ(Stops(), kTinyStops - 2);
  // A long name leaves the maker's panel its whole text.
  Widget<QStatusBar>(*window, "StatusBar1")->layout()->activate();
  QLabel* last = Widget<QLabel>(*window, "StatusPanel5");
  EXPECT_GE(last->contentsRect().width(), last->fontMetrics().horizontalAdvance(last->text()));

  ASSERT_TRUE(switcher->RestoreBuiltIn());
  EXPECT_EQ(Label(), QStringLiteral("时刻表:内置"));
  EXPECT_EQ(Stops(), kTinyStops);
}

TEST_F(FeatureServicesTest, NationalTablesAnswerQueriesOnceOpened) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  OpenWithSwitch();
  ASSERT_TRUE(switcher->OpenFolder(QString::fromStdString(dir.string())));
  EXPECT_EQ(Label(), QStringLiteral("时刻表:cn2019"));
  EXPECT_EQ(Stops(), 66958);
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("广州"));
  Widget<QPushButton>(*window, "BTNZZCX")->click();
  EXPECT_TRUE(boxes.Shown.empty());
  // The same answer as the query itself gives on those tables.
  TPub_Center direct;
  direct.Fares = BuildFareTables();
  QueryDirect(*window->LoadedTables(), direct, ToTableBytes("北京"), ToTableBytes("广州"));
  EXPECT_GT(direct.GridResults.size(), 0u);
  EXPECT_EQ(window->Center().ResultCount, static_cast<int>(direct.GridResults.size()));
  ASSERT_TRUE(switcher->RestoreBuiltIn());
  EXPECT_EQ(window->Center().ResultCount, 0);  // the old results went with their timetable
  EXPECT_EQ(Stops(), kTinyStops);
}

// The next start as the user left the last: the folder and the stations.
TEST_F(FeatureServicesTest, TheNextStartReopensTheFolderAndRefillsTheStations) {
  const QString dir = temp.filePath(QStringLiteral("spring"));
  std::filesystem::create_directories(dir.toStdString());
  WriteFolder(dir.toStdString(), {{"STRAIN.txt", [](std::string t) { return t.substr(0, t.find("\"T7\"")); }}});
  const QString conf = temp.filePath(QStringLiteral("next.conf"));
  tiny = TinyItems();
  const auto start = [&](TUserSettings& settings) {
    TApplicationDeps deps;
    deps.Items = &tiny.Items();
    deps.Boxes = &boxes;
    deps.Settings = &settings;
    deps.Services.Opener = [](const QUrl&) {};
    settings.SetCheckVersion(false);
    return std::make_unique<TApplicationRoot>(std::move(deps));
  };
  const auto panel = [](TApplicationRoot& root) { return Widget<QLabel>(root.Window(), "StatusPanel2")->text(); };
  {
    // A first run: a folder opened from the menu, a query asked.
    TUserSettings settings(std::make_unique<QSettings>(conf, QSettings::IniFormat));
    auto root = start(settings);
    ASSERT_TRUE(root->Features().Timetables->OpenFolder(dir));
    root->Window().SetStationText(TStationBox::From, QStringLiteral("北京"));
    root->Window().SetStationText(TStationBox::To, QStringLiteral("上海"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Widget<QPushButton>(root->Window(), "BTNZZCX")->isEnabled(); }, 30000));
    Widget<QPushButton>(root->Window(), "BTNZZCX")->click();
    settings.Sync();
  }
  {
    TUserSettings settings(std::make_unique<QSettings>(conf, QSettings::IniFormat));
    auto root = start(settings);
    EXPECT_EQ(root->Features().Timetables->LabTimetable->text(), QStringLiteral("时刻表:spring"));
    EXPECT_EQ(root->Window().LoadedTables()->KMTrain.RecordCount(), kTinyStops - 2);
    EXPECT_EQ(root->Window().StationText(TStationBox::From), QStringLiteral("北京"));
    EXPECT_EQ(root->Window().StationText(TStationBox::To), QStringLiteral("上海"));
    EXPECT_TRUE(panel(*root).contains(QStringLiteral("已打开上次的时刻表：spring"))) << panel(*root).toStdString();
    EXPECT_TRUE(panel(*root).contains(QStringLiteral("已填入上次查询的车站"))) << panel(*root).toStdString();
    EXPECT_TRUE(boxes.Shown.empty());
  }
  // The folder gone (a stick taken out): the built-in timetable, no box, and
  // the folder still remembered for when it is back.
  QDir(dir).removeRecursively();
  {
    TUserSettings settings(std::make_unique<QSettings>(conf, QSettings::IniFormat));
    auto root = start(settings);
    EXPECT_EQ(root->Features().Timetables->LabTimetable->text(), QStringLiteral("时刻表:内置"));
    EXPECT_TRUE(panel(*root).contains(QStringLiteral("上次的时刻表 spring 无法打开，现用内置时刻表")))
        << panel(*root).toStdString();
    EXPECT_TRUE(boxes.Shown.empty());
    EXPECT_EQ(settings.LastFolder(), QFileInfo(dir).absoluteFilePath());
    // 恢复内置时刻表 forgets it.
    root->Features().MBuiltInTables->trigger();
    EXPECT_TRUE(settings.LastFolder().isEmpty());
  }
}

TEST_F(FeatureServicesTest, InstalledMenuItemsTablesOptionAndRememberedStations) {
  const std::filesystem::path dir = temp.filePath(QStringLiteral("start")).toStdString();
  std::filesystem::create_directories(dir);
  WriteFolder(dir, {{"STRAIN.txt", [](std::string t) { return t.substr(0, t.find("\"T7\"")); }}});
  // The folder as the command line gives it, in either spelling.
  const QString given = QString::fromStdString(dir.string());
  const TCommandLine line = ParseCommandLine({"vormek", "--tables", given});
  ASSERT_EQ(line.Action, TCommandLine::TAction::Run);
  EXPECT_EQ(ParseCommandLine({"vormek", "--tables=" + given}).Tables, line.Tables);
  EXPECT_TRUE(ParseCommandLine({"vormek"}).Tables.isEmpty());

  tiny = TinyItems();
  TUserSettings settings(std::make_unique<QSettings>(temp.filePath(QStringLiteral("v.conf")), QSettings::IniFormat));
  settings.RememberFrom(QStringLiteral("不在时刻表"));  // a station this timetable lacks is not offered
  settings.SetFilters({false, false, false, true});
  settings.SetCheckVersion(false);  // no network here
  TApplicationDeps deps;
  deps.Items = &tiny.Items();
  deps.Boxes = &boxes;
  deps.Settings = &settings;
  deps.Services.Opener = [](const QUrl&) {};
  deps.StartTables = line.Tables;
  TApplicationRoot root(std::move(deps));
  TFrmVormek& mainWindow = root.Window();
  const TInstalledFeatures& installed = root.Features();
  EXPECT_EQ(Widget<QLabel>(mainWindow, "LabNew")->text(), kVersionCheckOffText);

  // 打开时刻表..., 恢复内置时刻表, 清除历史 between the shortcuts and 关于.
  QStringList captions;
  for (QAction* a : root.Services().Menu->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(captions, (QStringList{"打印查询结果(&P)\tCtrl+P", "导出PDF(&F)…", "导出查询结果(&E)\tCtrl+E", "-",
                                   "行程规划(&J)…\tCtrl+J", "运行图(&G)…\tCtrl+G", "-", "创建快捷方式(&S)", "-",
                                   "打开时刻表(&O)...", "恢复内置时刻表(&B)", "清除历史(&H)", "-", "关于(&A)\tF1", "-",
                                   "启动时检测新版本(&V)", "-", "退出(&X)\tCtrl+Q"}));

  EXPECT_TRUE(Widget<QCheckBox>(mainWindow, "CBDC")->isChecked());  // the filter boxes as last left
  auto* startsHere = Widget<QCheckBox>(mainWindow, "CBSF");
  EXPECT_FALSE(startsHere->isChecked());
  startsHere->setChecked(true);
  EXPECT_TRUE(settings.Filters().CBSF);

  mainWindow.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return installed.Timetables->LabTimetable->text() == "时刻表:start"; }, 30000));
  EXPECT_EQ(mainWindow.LoadedTables()->KMTrain.RecordCount(), kTinyStops - 2);

  auto* from = Widget<TStationComboBox>(mainWindow, "ComboFZ");
  auto* to = Widget<TStationComboBox>(mainWindow, "ComboDZ");
  auto* query = Widget<QPushButton>(mainWindow, "BTNZZCX");
  from->SetTextQuietly(QStringLiteral("北京"));
  to->SetTextQuietly(QStringLiteral("上海"));
  query->click();
  from->SetTextQuietly(QStringLiteral("天津"));
  query->click();
  EXPECT_EQ(settings.RecentFrom(), (QStringList{"天津", "北京", "不在时刻表"}));
  EXPECT_EQ(settings.RecentTo(), QStringList{"上海"});
  from->SetTextQuietly(QString());
  const QStringList offered = installed.Remembered->EmptyBoxList(TStationBox::From);
  EXPECT_EQ(offered.mid(0, 3), (QStringList{"天津", "北京", ""}));
  EXPECT_EQ(offered.size(), 9);
  // Pressing the arrow of the empty box opens that list, as the pinyin list
  // opens: nothing highlighted, so ↓⏎ takes the first station; its rows are
  // as high as their face needs.
  QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(from->width() - 4, from->height() / 2));
  EXPECT_EQ(from->Items(), offered);
  ASSERT_TRUE(from->ListOpen());
  EXPECT_FALSE(from->ListView()->selectionModel()->hasSelection()) << "a row highlighted before any key";
  EXPECT_FALSE(from->ListView()->currentIndex().isValid()) << "a row current before any key";
  EXPECT_GE(from->ListView()->visualRect(from->ListView()->model()->index(0, 0)).height(),
            QFontMetrics(from->ListView()->font()).height());
  QTest::keyClick(from->ListView(), Qt::Key_Down);
  QTest::keyClick(from->ListView(), Qt::Key_Return);
  EXPECT_EQ(from->currentText(), QStringLiteral("天津"));
  EXPECT_FALSE(from->ListOpen());
  from->SetTextQuietly(QString());
  QTest::keyClick(from, Qt::Key_F4);
  ASSERT_TRUE(from->ListOpen());
  QTest::keyClick(from->ListView(), Qt::Key_Escape);

  // Clearing empties the list that shows the history, and says so.
  ASSERT_EQ(from->Items(), offered);
  boxes.Shown.clear();
  installed.MClearHistory->trigger();
  EXPECT_TRUE(settings.RecentFrom().isEmpty());
  EXPECT_EQ(installed.Remembered->EmptyBoxList(TStationBox::To), QStringList(9, QString()));
  EXPECT_EQ(from->Items(), QStringList(9, QString()));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(boxes.Shown[0].Caption, QStringLiteral("清除历史"));
  EXPECT_TRUE(boxes.Shown[0].Text.startsWith(QStringLiteral("已清除历史")));
  // Nothing remembered: the arrow leaves the box's list alone.
  to->SetStationList({QStringLiteral("宝鸡")}, false);
  to->SetTextQuietly(QString());
  QTest::mouseClick(to, Qt::LeftButton, {}, QPoint(to->width() - 4, to->height() / 2));
  EXPECT_EQ(to->Items(), QStringList{"宝鸡"});
  to->hidePopup();
}

}  // namespace
}  // namespace vormek::test

namespace vormek::test {
namespace {

template <class T>
T* TopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<T*>(w); found && found->isVisible()) return found;
  return nullptr;
}

TEST_F(FeatureServicesTest, TransferWindowOpensTheConnectionsWithTheRememberedChangeTime) {
  tiny = TinyItems();
  TUserSettings settings(std::make_unique<QSettings>(temp.filePath(QStringLiteral("v.conf")), QSettings::IniFormat));
  settings.SetMinChange(45);
  TFrmVormekDeps deps;
  deps.Items = &tiny.Items();
  deps.Boxes = &boxes;
  window = std::make_unique<TFrmVormek>(std::move(deps));
  const TInstalledServices services = InstallWindowServices(*window);
  TFeatureDeps features;
  features.Settings = &settings;
  features.BuiltIn = &tiny.Items();
  features.Boxes = &boxes;
  InstallFeatures(*window, *services.Menu, std::move(features));
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Widget<QPushButton>(*window, "BTNZZZZ")->isEnabled(); }, 30000));

  // 西安 to 上海: T7 reaches 天津 at 18:00, where three trains leave for the 上海
  // group: K99 at 20:00 (24:00 in all), G1 at 09:32 (31:28), 1461 at 13:36 (50:08).
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("西安"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QStringList seen;
  QTimer::singleShot(0, [&] {
    TFrmZzz* zzz = TopLevel<TFrmZzz>();
    ASSERT_NE(zzz, nullptr);
    QTimer::singleShot(0, [&, zzz] {
      if (TFrmPlan* plan = TopLevel<TFrmPlan>()) {
        seen << QString::number(plan->SpinMinChange->value());
        for (const TConnection& c : plan->Connections()) seen << FromGbk(c.First.ID + "-" + c.Second.ID);
        plan->SpinMinChange->setValue(150);
        plan->accept();
      }
      zzz->accept();
    });
    zzz->BTNPlan->click();
  });
  Widget<QPushButton>(*window, "BTNZZZZ")->click();
  EXPECT_EQ(seen, (QStringList{"45", "T7-K99", "T7-G1", "T7-1461"}));
  EXPECT_EQ(settings.MinChange(), 150);
}

}  // namespace
}  // namespace vormek::test
