// The program: the application title, the main window, the event loop.
#include <QApplication>
#include <QIcon>

#include "app/app_title.h"
#include "app/application_root.h"
#include "app/command_line.h"
#include "app/error_handler.h"
#include "app/message_boxes.h"
#include "app/qt_translations.h"
#include "app/timetable_switch.h"
#include "data/embedded_items.h"
#include "data/timetable_cache.h"
#include "icon/app_icon.h"
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

// The installed program's package put its entry in the applications menu; a
// copy run from elsewhere has none, and its shortcuts start that copy.
QString PackagedMenuEntry() { return vormek::InstalledMenuEntry(QCoreApplication::applicationFilePath()); }

}  // namespace

int main(int argc, char** argv) {
  // Help and version need no display: they are answered before the window's
  // application connects to one.
  if (vormek::AsksForTextOnly(argc, argv)) {
    const QCoreApplication text(argc, argv);
    return vormek::PrintCommandLineText(vormek::ParseCommandLine(QCoreApplication::arguments()));
  }
  vormek::TVormekApplication app(argc, argv);
  // Qt's own options are gone from the arguments by now.
  const vormek::TCommandLine line = vormek::ParseCommandLine(QApplication::arguments());
  if (line.Action != vormek::TCommandLine::TAction::Run) return vormek::PrintCommandLineText(line);
  // The name only: a display name would be appended to every window title.
  QApplication::setApplicationName(vormek::ApplicationTitle());
  QGuiApplication::setDesktopFileName(vormek::kDesktopAppId);
  QApplication::setWindowIcon(ProgramIcon());
  vormek::InstallQtChineseTranslations(app);

  vormek::TUserSettings settings(vormek::TUserSettings::ProgramStore());
  vormek::TModalMessageBoxes boxes;
  vormek::TApplicationDeps deps;
  deps.Items = &vormek::EmbeddedItems();
  deps.Boxes = &boxes;
  deps.Settings = &settings;
  deps.Services.ExecutablePath = [] { return QCoreApplication::applicationFilePath(); };
  deps.Services.PackagedMenuEntry = PackagedMenuEntry;
  deps.StartTables = line.Tables;
  deps.TablesCache = vormek::DefaultTimetableCacheDir();
  vormek::TApplicationRoot root(std::move(deps));
  root.Show();
  return QApplication::exec();
}
