// The program: the application title, the main window, the event loop.
#include <QApplication>

#include "app/UnitVormek.h"
#include "app/advanced_menu.h"
#include "app/app_title.h"
#include "app/error_handler.h"
#include "app/feature_services.h"
#include "app/timetable_switch.h"
#include "app/message_boxes.h"
#include "data/embedded_items.h"
#include "services/TThreadNet.h"
#include "services/user_settings.h"

int main(int argc, char** argv) {
  vormek::TVormekApplication app(argc, argv);
  // The name only: a display name would be appended to every window title.
  QApplication::setApplicationName(vormek::ApplicationTitle());

  vormek::TModalMessageBoxes boxes;
  vormek::TUserSettings settings(vormek::TUserSettings::ProgramStore());
  vormek::TFrmVormekDeps deps;
  deps.Items = &vormek::EmbeddedItems();
  deps.Boxes = &boxes;
  deps.StartVersionCheck = [](QLabel* labNew, std::atomic<bool>* netFlag) {
    vormek::TThreadNet::Start(labNew, netFlag);
  };
  vormek::TFrmVormek window(std::move(deps));
  // Menu, links, about box, detail and transfer windows.
  const vormek::TInstalledServices installed = vormek::InstallWindowServices(window);
  // Connections, remembered input, other timetables.
  vormek::TFeatureDeps features;
  features.Settings = &settings;
  features.BuiltIn = &vormek::EmbeddedItems();
  features.Boxes = &boxes;
  features.StartTables = vormek::TablesOption(QApplication::arguments());
  vormek::InstallFeatures(window, *installed.Menu, std::move(features));
  window.show();
  return QApplication::exec();
}
