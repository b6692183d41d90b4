// The popup menu, the "高级" and "关于" buttons, the web links, and the
// detail and transfer windows as the main window opens them.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "app/UnitAbout.h"
#include "app/advanced_menu.h"
#include "app/version_check_switch.h"
#include "app/web_links.h"
#include "services/user_settings.h"
#include "ui/UnitMsg.h"
#include "ui/UnitZzz.h"
#include "ui/msg_grid_model.h"
#include "ui/zzz_grid_model.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

struct TOutputCall {
  TGridKind Kind;
  int Rows;
  QStringList Trains;
};

class MenuTest : public TWindowTest {
 protected:
  void Install() {
    TWindowServices services;
    services.Opener = [this](const QUrl& url) { opened.push_back(url); };
    services.ConfirmPrint = [this](QWidget*) {
      ++confirmations;
      return confirmAnswer;
    };
    services.ExecutablePath = [this] { return executable; };
    services.Output.ExportPdf = [this](QWidget*, const TStringGrid& g, TGridKind kind, int rows, const std::string&) {
      pdfs.push_back({kind, rows, Trains(g, rows)});
    };
    services.Output.Print = [this](const TStringGrid& g, TGridKind kind, int rows, const std::string&) {
      prints.push_back({kind, rows, Trains(g, rows)});
    };
    services.Output.Export = [this](QWidget*, const TStringGrid& g, TGridKind kind, int rows) {
      exports.push_back({kind, rows, Trains(g, rows)});
    };
    services.Settings = &settings;
    services.Boxes = &boxes;
    installed = InstallWindowServices(*window, services);
  }
  void Press(QKeySequence keys) { QTest::keySequence(window.get(), keys); }
  static QStringList Trains(const TStringGrid& g, int rows) {
    QStringList out;
    for (int r = 0; r < rows; ++r) out << QString::fromStdString(GbkToUtf8(g.Cell(0, r)));
    return out;
  }
  void QueryBeijingShanghai() {
    Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
    Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  }
  // Opens the grid's popup menu as a right click does.
  void RightClickGrid() {
    QWidget* viewport = Widget<TResultGridView>(*window, "SGrid")->viewport();
    const QPoint at = viewport->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    ASSERT_TRUE(QTest::qWaitFor([this] { return installed.Menu->isVisible(); }, 5000));
  }
  // Runs `examine` on the modal window that `open` shows, then closes it.
  // Returns false when no modal window appeared.
  bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& examine) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        poll.stop();
        seen = true;
        examine(modal);
        modal->close();
      } else if (++ticks > 300) {
        poll.stop();
      }
    });
    poll.start();
    open();
    poll.stop();
    return seen;
  }
  int Row(const QString& train) const {
    for (int r = 0; r < Rows(); ++r)
      if (Cell(0, r) == train) return r;
    return -1;
  }

  TInstalledServices installed;
  std::vector<QUrl> opened;
  std::vector<TOutputCall> prints, exports, pdfs;
  int confirmations = 0;
  bool confirmAnswer = false;
  QString executable;
  QTemporaryDir settingsDir;
  QString settingsFile = settingsDir.filePath(QStringLiteral("vormek.conf"));
  TUserSettings settings{std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)};
  // What the next run reads from the same file.
  bool StoredCheckVersion() const {
    return TUserSettings(std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)).CheckVersion();
  }
};

TEST_F(MenuTest, ItemsInOrderAndNoPrintOrExportWithoutResults) {
  OpenTiny();
  Install();
  QStringList captions;
  for (QAction* a : installed.Menu->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  // The captions with their mnemonics, then the version check switch (with
  // settings) and quitting; after a tab, the key the window answers.
  EXPECT_EQ(captions, (QStringList{"打印查询结果(&P)\tCtrl+P", "导出PDF(&F)…", "导出查询结果(&E)\tCtrl+E", "-",
                                   "行程规划(&J)…\tCtrl+J", "运行图(&G)…\tCtrl+G", "-", "创建快捷方式(&S)", "-",
                                   "关于(&A)\tF1", "-", "启动时检测新版本(&V)", "-", "退出(&X)\tCtrl+Q"}));
  QStringList sub;
  for (QAction* a : installed.Menu->MShortcuts->actions()) sub << a->text();
  EXPECT_EQ(sub, (QStringList{"桌面快捷方式(&D)", "开始菜单快捷方式(&M)"}));

  RightClickGrid();
  EXPECT_FALSE(installed.Menu->MPrint->isEnabled());
  EXPECT_FALSE(installed.Menu->MExportPdf->isEnabled());
  EXPECT_FALSE(installed.Menu->MExport->isEnabled());
  EXPECT_TRUE(installed.Menu->MAbout->isEnabled());
  EXPECT_TRUE(installed.Menu->MDesktop->isEnabled());
  installed.Menu->close();
  // "高级" drops down the same menu.
  EXPECT_EQ(Widget<QPushButton>(*window, "BTNAdvanced")->menu(), installed.Menu);
}

TEST_F(MenuTest, PrintAsksFirstAndExportDoesNotBothInShownOrder) {
  OpenTiny();
  Install();
  QueryBeijingShanghai();
  ASSERT_GT(window->Center().ResultCount, 1);
  QTest::mouseClick(Widget<TClickLabel>(*window, "Lab10"), Qt::LeftButton);  // 里程 ascending
  QTest::mouseClick(Widget<TClickLabel>(*window, "Lab10"), Qt::LeftButton);  // descending
  QStringList shown;
  for (int r = 0; r < window->Center().ResultCount; ++r) shown << Cell(0, r);

  RightClickGrid();
  EXPECT_TRUE(installed.Menu->MPrint->isEnabled());
  EXPECT_TRUE(installed.Menu->MExport->isEnabled());
  installed.Menu->close();

  confirmAnswer = false;
  installed.Menu->MPrint->trigger();
  EXPECT_EQ(confirmations, 1);
  EXPECT_TRUE(prints.empty());
  confirmAnswer = true;
  installed.Menu->MPrint->trigger();
  ASSERT_EQ(prints.size(), 1u);
  EXPECT_EQ(prints[0].Kind, TGridKind::Result);
  EXPECT_EQ(prints[0].Trains, shown);

  // The PDF report asks nothing first and takes the rows as shown.
  installed.Menu->MExportPdf->trigger();
  EXPECT_EQ(confirmations, 2);
  ASSERT_EQ(pdfs.size(), 1u);
  EXPECT_EQ(pdfs[0].Trains, shown);

  installed.Menu->MExport->trigger();
  EXPECT_EQ(confirmations, 2);
  ASSERT_EQ(exports.size(), 1u);
  EXPECT_EQ(exports[0].Kind, TGridKind::Result);
  EXPECT_EQ(exports[0].Trains, shown);
}

TEST_F(MenuTest, KeysRunTheItemsOnlyWhereTheMenuWouldEnableThem) {
  OpenTiny();
  Install();
  Press(QKeySequence(Qt::CTRL | Qt::Key_E));
  Press(QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_TRUE(exports.empty());
  EXPECT_EQ(confirmations, 0) << "nothing to print yet";
  QueryBeijingShanghai();
  ASSERT_GT(window->Center().ResultCount, 0);
  Press(QKeySequence(Qt::CTRL | Qt::Key_E));
  ASSERT_EQ(exports.size(), 1u);
  EXPECT_EQ(exports[0].Rows, window->Center().ResultCount);
  confirmAnswer = true;
  Press(QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_EQ(prints.size(), 1u);
  bool about = false;
  EXPECT_TRUE(WithModal([this] { Press(QKeySequence(Qt::Key_F1)); },
                        [&](QWidget* modal) { about = qobject_cast<TFrmAbout*>(modal) != nullptr; }));
  EXPECT_TRUE(about);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Press(QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_FALSE(window->isVisible());
}

// Qt reports two bindings of one key in its log only.
std::vector<std::string>* ambiguousLog = nullptr;
void NoteAmbiguous(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (ambiguousLog && message.contains(QStringLiteral("Ambiguous"))) ambiguousLog->push_back(message.toStdString());
}

TEST_F(MenuTest, KeysWorkFromEveryFocusPositionAndAreBoundOnce) {
  OpenTiny();
  Install();
  QueryBeijingShanghai();
  ASSERT_GT(window->Center().ResultCount, 0);
  std::vector<std::string> ambiguous;
  ambiguousLog = &ambiguous;
  const QtMessageHandler previous = qInstallMessageHandler(NoteAmbiguous);
  // As a person reaches it: "高级" clicked, its menu closed by Esc.
  auto* advanced = Widget<QPushButton>(*window, "BTNAdvanced");
  QTimer::singleShot(100, installed.Menu, [this] { QTest::keyClick(installed.Menu, Qt::Key_Escape); });
  QTest::mouseClick(advanced, Qt::LeftButton);
  ASSERT_FALSE(installed.Menu->isVisible());
  std::vector<QWidget*> stops;
  for (QWidget* w : window->findChildren<QWidget*>())
    if (w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(window.get()) && w->isEnabled() &&
        w->window() == window.get())
      stops.push_back(w);
  ASSERT_GE(stops.size(), 12u);
  const auto focus = [this](QWidget* w) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    w->setFocus();
    return QApplication::focusWidget();
  };
  for (QWidget* stop : stops) {
    SCOPED_TRACE(QStringLiteral("%1 %2").arg(stop->metaObject()->className(), stop->objectName()).toStdString());
    QWidget* at = focus(stop);
    ASSERT_NE(at, nullptr);
    const std::size_t exported = exports.size();
    QTest::keySequence(at, QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(exports.size(), exported + 1) << "Ctrl+E";
    const int asked = confirmations;
    QTest::keySequence(focus(stop), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(confirmations, asked + 1) << "Ctrl+P";
    bool about = false;
    at = focus(stop);
    EXPECT_TRUE(WithModal([at] { QTest::keySequence(at, QKeySequence(Qt::Key_F1)); },
                          [&](QWidget* modal) { about = qobject_cast<TFrmAbout*>(modal) != nullptr; }))
        << "F1";
    EXPECT_TRUE(about);
    QTest::keySequence(focus(stop), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(window->isVisible()) << "Ctrl+Q";
    window->show();
  }
  qInstallMessageHandler(previous);
  ambiguousLog = nullptr;
  EXPECT_TRUE(ambiguous.empty()) << ambiguous.front();
  // Each key has one binding in the window: a menu item that carried the key
  // as well would reach the window through "高级" and compete with it.
  for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::CTRL | Qt::Key_E),
                                   QKeySequence(Qt::Key_F1), QKeySequence(Qt::CTRL | Qt::Key_Q)}) {
    int bindings = 0;
    for (const QAction* a : window->findChildren<QAction*>()) bindings += a->shortcuts().count(keys);
    for (const QShortcut* s : window->findChildren<QShortcut*>()) bindings += s->key() == keys;
    EXPECT_EQ(bindings, 1) << keys.toString().toStdString();
  }
}

TEST_F(MenuTest, VersionCheckSwitchIsOnUntilTurnedOffAndRemembersIt) {
  OpenTiny();
  Install();
  ASSERT_NE(installed.MCheckVersion, nullptr);
  EXPECT_TRUE(installed.MCheckVersion->isChecked());
  EXPECT_TRUE(settings.CheckVersion());
  installed.MCheckVersion->trigger();
  EXPECT_FALSE(StoredCheckVersion());
  // The next run reads the choice back.
  window.reset();
  OpenTiny();
  Install();
  EXPECT_FALSE(installed.MCheckVersion->isChecked());
  installed.MCheckVersion->trigger();
  EXPECT_TRUE(StoredCheckVersion());
}

TEST_F(MenuTest, ShortcutItemsWriteTheDesktopEntriesAndSaySo) {
  QTemporaryDir home;
  const QByteArray savedHome = qgetenv("HOME");
  const QByteArray savedData = qgetenv("XDG_DATA_HOME");
  const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home.path().toLocal8Bit());
  qunsetenv("XDG_DATA_HOME");
  qunsetenv("XDG_CONFIG_HOME");
  executable = home.filePath(QStringLiteral("vormek"));
  QFile exe(executable);
  ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
  exe.close();
  const QString desktopLink = home.filePath(QStringLiteral("Desktop/维墨克时刻.desktop"));
  const QString menuLink = home.filePath(QStringLiteral(".local/share/applications/维墨克时刻.desktop"));

  OpenTiny();
  Install();
  // A file where the desktop folder belongs: nothing written, and the user
  // is warned.
  QFile inTheWay(home.filePath(QStringLiteral("Desktop")));
  ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
  inTheWay.close();
  installed.Menu->MDesktop->trigger();
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(boxes.Shown[0].Text,
            QStringLiteral("找不到桌面文件夹（%1），未创建快捷方式。").arg(home.filePath(QStringLiteral("Desktop"))));
  EXPECT_EQ(boxes.Shown[0].Caption, QStringLiteral("创建快捷方式"));
  EXPECT_TRUE(boxes.Shown[0].Warning);
  // No desktop folder at all: the one the user's directories name is made.
  ASSERT_TRUE(inTheWay.remove());
  boxes.Shown.clear();
  installed.Menu->MDesktop->trigger();
  EXPECT_TRUE(QFileInfo::exists(desktopLink));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_FALSE(boxes.Shown[0].Warning);
  ASSERT_TRUE(QFile::remove(desktopLink));
  boxes.Shown.clear();
  installed.Menu->MDesktop->trigger();
  installed.Menu->NStart->trigger();
  EXPECT_TRUE(QFileInfo::exists(desktopLink));
  EXPECT_TRUE(QFileInfo::exists(menuLink));
  ASSERT_EQ(boxes.Shown.size(), 2u);
  EXPECT_EQ(boxes.Shown[0].Text, QStringLiteral("已在桌面创建快捷方式“维墨克时刻”：\n") + desktopLink);
  EXPECT_EQ(boxes.Shown[1].Text, QStringLiteral("已在开始菜单创建快捷方式“维墨克时刻”：\n") + menuLink);

  // The installed program: its package's entry is already in the menu, so
  // none is written beside it; the desktop still gets its shortcut.
  ASSERT_TRUE(QFile::remove(menuLink));
  ASSERT_TRUE(QFile::remove(desktopLink));
  window.reset();
  OpenTiny();
  const QString packaged = QStringLiteral("/usr/share/applications/org.example.vormek.desktop");
  TWindowServices services;
  services.ExecutablePath = [this] { return executable; };
  services.PackagedMenuEntry = [packaged] { return packaged; };
  services.Boxes = &boxes;
  installed = InstallWindowServices(*window, services);
  boxes.Shown.clear();
  installed.Menu->NStart->trigger();
  installed.Menu->MDesktop->trigger();
  EXPECT_FALSE(QFileInfo::exists(menuLink));
  EXPECT_TRUE(QFileInfo::exists(desktopLink));
  ASSERT_EQ(boxes.Shown.size(), 2u);
  EXPECT_TRUE(boxes.Shown[0].Text.startsWith(QStringLiteral("开始菜单中已有本程序")))
      << boxes.Shown[0].Text.toStdString();
  EXPECT_TRUE(boxes.Shown[0].Text.endsWith(packaged));

  qputenv("HOME", savedHome);
  if (!savedData.isNull()) qputenv("XDG_DATA_HOME", savedData);
  if (!savedConfig.isNull()) qputenv("XDG_CONFIG_HOME", savedConfig);
}

TEST_F(MenuTest, AboutFromMenuAndButtonShowsVersionAndLogo) {
  OpenTiny();
  Install();
  const QSize logo = window->LogoPixmap().size();
  QPushButton* about = Widget<QPushButton>(*window, "BTNAbout");
  for (const std::function<void()>& open :
       {std::function<void()>([this] { installed.Menu->MAbout->trigger(); }),
        std::function<void()>([about] { QTest::mouseClick(about, Qt::LeftButton); })}) {
    QString version;
    QSize shownLogo;
    EXPECT_TRUE(WithModal(open, [&](QWidget* modal) {
      auto* box = qobject_cast<TFrmAbout*>(modal);
      ASSERT_NE(box, nullptr);
      version = box->LabVer->text();
      shownLogo = box->ImageLogo->pixmap().size();
    }));
    EXPECT_EQ(version, QStringLiteral("版本:2012.05.05"));
    EXPECT_EQ(shownLogo, logo);
  }
}

TEST_F(MenuTest, LinksOpenTheirPagesAndSmallPicturesDoNothing) {
  OpenTiny();
  Install();
  auto click = [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); };
  click(Widget<QLabel>(*window, "Image1"));
  click(Widget<QLabel>(*window, "Image5"));
  EXPECT_TRUE(opened.empty());
  click(installed.Links->Label32);
  click(Widget<QLabel>(*window, "Image7"));  // Image7
  click(Widget<QLabel>(*window, "ImageLogo"));
  click(installed.Links->Label31);
  click(installed.Links->Label30);
  click(installed.Links->Label33);
  click(installed.Links->LabSell);
  click(Widget<QPushButton>(*window, "BtnUpdate"));
  const std::vector<QUrl> expected{MakerHomeUrl(),  MakerHomeUrl(),   MakerHomeUrl(),      FlightDealsUrl(),
                                   TrainTimesUrl(), LeftTicketsUrl(), RailwayTicketsUrl(), SoftwareDownloadUrl()};
  EXPECT_EQ(opened, expected);
  // Each click says on the status bar what it opens.
  EXPECT_EQ(Widget<QStatusBar>(*window, "StatusBar1")->currentMessage(),
            QStringLiteral("正在用浏览器打开 %1 …").arg(SoftwareDownloadUrl().toDisplayString()));
  EXPECT_TRUE(FlightDealsUrl().path().contains(QRegularExpression(QStringLiteral("^/r/flight/\\d{19}$"))));
  EXPECT_EQ(LeftTicketsUrl().path(), QStringLiteral("/TrainQuery/leftTicketByStation.jsp"));
  EXPECT_EQ(RailwayTicketsUrl().path(), QStringLiteral("/mormhweb/kyfw/"));
  EXPECT_EQ(installed.Links->Label32->text(), QStringLiteral("酒店预订"));
  EXPECT_EQ(installed.Links->Label32->pos(), QPoint(290, 18));
  EXPECT_EQ(installed.Links->Label32->palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0x00));
}

TEST_F(MenuTest, DoubleClickOpensTheTrainsStopList) {
  OpenTiny();
  Install();
  QueryBeijingShanghai();
  const int row = Row(QStringLiteral("1461"));
  ASSERT_GE(row, 0);
  TResultGridView* grid = Widget<TResultGridView>(*window, "SGrid");
  const QRect cell = grid->visualRect(GridModel()->index(row, 0));
  QString caption, qc;
  int filled = 0, first = 0, last = 0;
  EXPECT_TRUE(WithModal([&] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center()); },
                        [&](QWidget* modal) {
                          auto* msg = qobject_cast<TFrmMsg*>(modal);
                          ASSERT_NE(msg, nullptr);
                          caption = msg->windowTitle();
                          qc = msg->LabQC->text();
                          filled = msg->FilledRows;
                          first = msg->SectionFirst;
                          last = msg->SectionLast;
                        }));
  EXPECT_EQ(caption, QStringLiteral("车次:1461"));
  EXPECT_EQ(filled, 3);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 3);
  EXPECT_TRUE(qc.startsWith(QStringLiteral("全程：1463km/历时20:14/速度"))) << qc.toStdString();
}

TEST_F(MenuTest, DoubleClickBelowTheResultsOpensNothing) {
  OpenTiny();
  Install();
  QueryBeijingShanghai();
  TResultGridView* grid = Widget<TResultGridView>(*window, "SGrid");
  const QRect cell = grid->visualRect(GridModel()->index(15, 0));
  EXPECT_FALSE(
      WithModal([&] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center()); }, [](QWidget*) {}));
}

TEST_F(MenuTest, TransferWindowFillsTheMainGridWithAStationsLegs) {
  OpenTiny();
  Install();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("西安"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  QString caption;
  int count1 = 0, count2 = 0;
  QString result;
  EXPECT_TRUE(WithModal([&] { QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZZZ"), Qt::LeftButton); },
                        [&](QWidget* modal) {
                          auto* zzz = qobject_cast<TFrmZzz*>(modal);
                          ASSERT_NE(zzz, nullptr);
                          caption = zzz->windowTitle();
                          ASSERT_GE(zzz->StationCount, 1);
                          EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
                          count1 = zzz->ZGridModel->data(zzz->ZGridModel->index(0, 7)).toInt();
                          count2 = zzz->ZGridModel->data(zzz->ZGridModel->index(0, 8)).toInt();
                          const QRect row = zzz->ZGrid->visualRect(zzz->ZGridModel->index(0, 0));
                          QTest::mouseClick(zzz->ZGrid->viewport(), Qt::LeftButton, {}, row.center());
                          EXPECT_TRUE(zzz->isVisible());
                          result = Widget<QLabel>(*window, "LabResult")->text();
                        }));
  EXPECT_EQ(caption, QStringLiteral("两地共有<1>个中转站供选择:"));
  EXPECT_EQ(window->Center().ResultCount, count1 + count2);
  EXPECT_EQ(result, QStringLiteral("结果:%1").arg(count1 + count2));
  EXPECT_EQ(GbkToUtf8(window->Center().TransferStation), "天津");
}

}  // namespace
}  // namespace vormek::test
