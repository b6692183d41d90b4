// The program: the application title, the main window, the event loop.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QSettings>
#include <QTimer>

#include "app/UnitVormek.h"
#include "app/advanced_menu.h"
#include "app/app_title.h"
#include "app/cjk_font_check.h"
#include "app/error_handler.h"
#include "app/feature_services.h"
#include "app/timetable_switch.h"
#include "app/message_boxes.h"
#include "app/qt_translations.h"
#include "app/version_check_switch.h"
#include "data/embedded_items.h"
#include "icon/app_icon.h"
#include "services/TVersionCheck.h"
#include "services/UnitSystem.h"
#include "services/user_settings.h"

namespace {

// The installed theme's icon where there is one, else the same picture drawn
// here (a program run from its build folder).
QIcon ProgramIcon() {
  QIcon drawn;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) drawn.addPixmap(QPixmap::fromImage(vormek::DrawAppIcon(size)));
  return QIcon::fromTheme(vormek::kDesktopAppId, drawn);
}

// Shortcuts start the installed program where there is one, even from a
// copy run elsewhere; otherwise the program that is running.
QString ShortcutTarget() {
  const QFileInfo installed(QStringLiteral(VORMEK_INSTALLED_PROGRAM));
  if (installed.isFile() && installed.isExecutable()) return installed.absoluteFilePath();
  return QCoreApplication::applicationFilePath();
}

}  // namespace

int main(int argc, char** argv) {
  vormek::TVormekApplication app(argc, argv);
  // The name only: a display name would be appended to every window title.
  QApplication::setApplicationName(vormek::ApplicationTitle());
  QGuiApplication::setDesktopFileName(vormek::kDesktopAppId);
  QApplication::setWindowIcon(ProgramIcon());
  vormek::InstallQtChineseTranslations(app);

  vormek::TUserSettings settings(vormek::TUserSettings::ProgramStore());
  const bool checkVersion = settings.CheckVersion();

  vormek::TModalMessageBoxes boxes;
  vormek::TFrmVormekDeps deps;
  deps.Items = &vormek::EmbeddedItems();
  deps.Boxes = &boxes;
  // The check reports to the label only; the window's network flag stays unset.
  deps.StartVersionCheck = [checkVersion](QLabel* labNew, std::atomic<bool>* /*netFlag*/) {
    if (checkVersion)
      vormek::StartVersionCheck(labNew);
    else
      labNew->setText(vormek::kVersionCheckOffText);
  };
  vormek::TFrmVormek window(std::move(deps));
  // Menu, links, about box, detail and transfer windows.
  vormek::TWindowServices services;
  services.Settings = &settings;
  services.ExecutablePath = ShortcutTarget;
  const vormek::TInstalledServices installed = vormek::InstallWindowServices(window, services);
  // Connections, remembered input, other timetables.
  vormek::TFeatureDeps features;
  features.Settings = &settings;
  features.BuiltIn = &vormek::EmbeddedItems();
  features.Boxes = &boxes;
  features.StartTables = vormek::TablesOption(QApplication::arguments());
  vormek::InstallFeatures(window, *installed.Menu, std::move(features));
  window.show();
  QTimer::singleShot(0, &window, [&window] { vormek::WarnWithoutCjkFont(&window); });
  return QApplication::exec();
}
