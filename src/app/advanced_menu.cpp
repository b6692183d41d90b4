#include "app/advanced_menu.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "app/UnitAbout.h"
#include "app/UnitVormek.h"
#include "app/graph_window.h"
#include "app/menu_keyboard.h"
#include "app/message_boxes.h"
#include "app/version_check_switch.h"
#include "gui_text/gbk_text.h"
#include "output/column_names.h"
#include "services/UnitSystem.h"
#include "ui/UnitJourney.h"
#include "ui/UnitMsg.h"
#include "ui/UnitZzz.h"

namespace vormek {
namespace {

void Run(const std::function<void()>& action) {
  if (action) action();
}

// The transfer window reaches the main window only for a station's legs.
class TWindowLegs : public ITransferLegsTarget {
 public:
  explicit TWindowLegs(TFrmVormek& window) : window_(window) {}
  void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2) override {
    window_.ShowTransferLegs(station, count1, count2);
  }

 private:
  TFrmVormek& window_;
};

const QString kShortcutCaption = QStringLiteral("创建快捷方式");

}  // namespace

QString ShortcutReport(TSpecialFolder folder, bool written, const QString& file) {
  const QString where = folder == TSpecialFolder::Programs ? QStringLiteral("开始菜单") : QStringLiteral("桌面");
  if (written) return QStringLiteral("已在%1创建快捷方式“维墨克时刻”：\n%2").arg(where, file);
  const QString dir = file.isEmpty() ? QString() : QFileInfo(file).path();
  if (dir.isEmpty()) return QStringLiteral("找不到%1文件夹，未创建快捷方式。").arg(where);
  if (!QFileInfo(dir).isDir()) return QStringLiteral("找不到%1文件夹（%2），未创建快捷方式。").arg(where, dir);
  return QStringLiteral("无法在%1创建快捷方式“维墨克时刻”：\n%2").arg(where, file);
}

QString PackagedEntryReport(const QString& entry) {
  return QStringLiteral("开始菜单中已有本程序（安装时创建），无需再创建快捷方式：\n%1").arg(entry);
}

TAdvancedMenu::TAdvancedMenu(TAdvancedActions actions, QWidget* parent) : QMenu(parent), actions_(std::move(actions)) {
  setObjectName(QStringLiteral("MAdvanced"));
  MPrint = addAction(QStringLiteral("打印查询结果"));
  MExportPdf = addAction(QStringLiteral("导出PDF…"));
  MExportPdf->setObjectName(QStringLiteral("MExportPdf"));
  MExport = addAction(QStringLiteral("导出查询结果"));
  addSeparator();
  MJourney = addAction(QStringLiteral("行程规划…"));
  MJourney->setObjectName(QStringLiteral("MJourney"));
  MGraph = addAction(QStringLiteral("运行图…"));
  MGraph->setObjectName(QStringLiteral("MGraph"));
  addSeparator();
  MShortcuts = addMenu(QStringLiteral("创建快捷方式"));
  MDesktop = MShortcuts->addAction(QStringLiteral("桌面快捷方式"));
  NStart = MShortcuts->addAction(QStringLiteral("开始菜单快捷方式"));
  addSeparator();
  MAbout = addAction(QStringLiteral("关于"));

  connect(MPrint, &QAction::triggered, this, [this] { Run(actions_.Print); });
  connect(MExport, &QAction::triggered, this, [this] { Run(actions_.Export); });
  connect(MExportPdf, &QAction::triggered, this, [this] { Run(actions_.ExportPdf); });
  connect(MJourney, &QAction::triggered, this, [this] { Run(actions_.Journeys); });
  connect(MGraph, &QAction::triggered, this, [this] { Run(actions_.Graph); });
  connect(MDesktop, &QAction::triggered, this, [this] { Run(actions_.Desktop); });
  connect(NStart, &QAction::triggered, this, [this] { Run(actions_.Start); });
  connect(MAbout, &QAction::triggered, this, [this] { Run(actions_.About); });
  connect(this, &QMenu::aboutToShow, this, &TAdvancedMenu::MAdvancedPopup);
}

void TAdvancedMenu::MAdvancedPopup() {
  const bool any = actions_.ResultCount && actions_.ResultCount() > 0;
  MPrint->setEnabled(any);
  MExportPdf->setEnabled(any);
  MExport->setEnabled(any);
  MJourney->setEnabled(actions_.CanPlan && actions_.CanPlan());
  MGraph->setEnabled(actions_.CanGraph && actions_.CanGraph());
}

bool AskPrintConfirmation(QWidget* parent) {
  return QMessageBox::question(parent, QStringLiteral(" 打印提示"), QStringLiteral("确实要打印吗？"),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

TAdvancedActions ProgramAdvancedActions(TFrmVormek& window, const TWindowServices& services) {
  TAdvancedActions actions;
  TFrmVormek* mainWindow = &window;
  actions.ResultCount = [mainWindow] { return mainWindow->Center().ResultCount; };
  actions.Print = [mainWindow, confirm = services.ConfirmPrint, print = services.Output.Print] {
    if (confirm && !confirm(mainWindow)) return;
    if (print) print(mainWindow->ResultGrid(), TGridKind::Result, mainWindow->Center().ResultCount, std::string());
  };
  actions.ExportPdf = [mainWindow, pdf = services.Output.ExportPdf] {
    if (pdf)
      pdf(mainWindow, mainWindow->ResultGrid(), TGridKind::Result, mainWindow->Center().ResultCount, std::string());
  };
  actions.Export = [mainWindow, exportGrid = services.Output.Export] {
    if (exportGrid)
      exportGrid(mainWindow, mainWindow->ResultGrid(), TGridKind::Result, mainWindow->Center().ResultCount);
  };
  actions.CanPlan = [mainWindow] { return mainWindow->LoadedTables() != nullptr; };
  actions.Journeys = [mainWindow, output = services.Output] {
    TTimetable* tables = mainWindow->LoadedTables();
    if (tables == nullptr) return;
    TJourneyDeps deps;
    deps.Tables = tables;
    deps.Fares = &mainWindow->Center().Fares;
    deps.StationList = [mainWindow](const std::string& typed) { return mainWindow->StationListFor(typed); };
    deps.DetailActions = output;
    const auto typed = [mainWindow](TStationBox box) {
      return ToGbk(TrimBlanksAndControls(mainWindow->StationText(box))).value_or(std::string());
    };
    TFrmJourney planner(typed(TStationBox::From), typed(TStationBox::To), std::move(deps), mainWindow);
    planner.exec();
  };
  actions.CanGraph = [mainWindow] { return CanShowGraph(*mainWindow); };
  actions.Graph = [mainWindow, graph = services.GraphOutput, output = services.Output] {
    if (CanShowGraph(*mainWindow)) ShowGraphWindow(*mainWindow, graph, output);
  };
  const auto target =
      services.ExecutablePath ? services.ExecutablePath : [] { return QCoreApplication::applicationFilePath(); };
  // Each shortcut item says what it did: the file written, why none was,
  // or that the package's own menu entry is already there.
  IMessageBoxes* boxes = services.Boxes;
  const auto make = [mainWindow, target, boxes](TSpecialFolder folder) {
    const QString name = QStringLiteral("维墨克时刻");
    const QString program = target();
    const QString file = ShortcutFile(program, name, QString(), folder);
    const bool written = CreateShortcut(program, name, QString(), folder);
    if (!boxes) return;
    if (written) {
      boxes->Inform(mainWindow, ShortcutReport(folder, written, file), kShortcutCaption);
    } else {
      boxes->Warn(mainWindow, ShortcutReport(folder, written, file), kShortcutCaption);
    }
  };
  actions.Desktop = [make] { make(TSpecialFolder::None); };
  actions.Start = [make, mainWindow, boxes, packaged = services.PackagedMenuEntry] {
    const QString entry = packaged ? packaged() : QString();
    if (entry.isEmpty()) return make(TSpecialFolder::Programs);
    if (boxes) boxes->Inform(mainWindow, PackagedEntryReport(entry), kShortcutCaption);
  };
  actions.About = [mainWindow, opener = services.Opener] {
    TFrmAbout::MAboutClick(mainWindow, mainWindow->LogoPixmap(), opener);
  };
  return actions;
}

TInstalledServices InstallWindowServices(TFrmVormek& window, TWindowServices services) {
  TInstalledServices installed;
  const TAdvancedActions actions = ProgramAdvancedActions(window, services);
  installed.Menu = new TAdvancedMenu(actions, &window);
  if (services.Settings) {
    installed.Menu->addSeparator();
    installed.MCheckVersion = AddVersionCheckSwitch(*installed.Menu, *services.Settings);
  }
  installed.MQuit = AddMenuKeyboardAccess(*installed.Menu, window);

  // The grid's popup menu and the "高级" drop-down are the same menu.
  window.UseAdvancedMenu(installed.Menu);
  QObject::connect(&window, &TFrmVormek::AboutClicked, installed.Menu, actions.About);

  installed.Links = window.AddWebLinks(services.Opener);

  TFrmVormek* mainWindow = &window;
  QObject::connect(&window, &TFrmVormek::SGridDblClick, &window,
                   [mainWindow, output = services.Output](int row) { OpenRowStops(*mainWindow, row, output); });
  window.SetShowTransferWindow([](TFrmVormek& win) {
    TWindowLegs legs(win);
    TFrmZzz::ShowTransferStations(win.Center(), legs, &win);
  });
  return installed;
}

}  // namespace vormek
