#pragma once
// The program put together: the main window over the built-in timetable, the
// version check, the popup menu with its services, and the features added to
// them. The one place where the parts are connected.
#include <QString>
#include <filesystem>
#include <memory>

#include "app/UnitVormek.h"
#include "app/advanced_menu.h"
#include "app/feature_services.h"

namespace vormek {

class IMessageBoxes;
class TItemSet;
class TUserSettings;

struct TApplicationDeps {
  const TItemSet* Items = nullptr;    // the built-in timetable and pictures; outlives the root
  IMessageBoxes* Boxes = nullptr;     // outlives the root
  TUserSettings* Settings = nullptr;  // outlives the root
  TWindowServices Services;           // Settings is taken from above
  // "--tables DIR": opened once the built-in timetable is in.
  QString StartTables;
  // Where images of opened timetable folders are kept; empty keeps none.
  std::filesystem::path TablesCache;
};

class TApplicationRoot {
 public:
  explicit TApplicationRoot(TApplicationDeps deps);
  ~TApplicationRoot();
  TApplicationRoot(const TApplicationRoot&) = delete;
  TApplicationRoot& operator=(const TApplicationRoot&) = delete;

  TFrmVormek& Window() { return *window_; }
  const TInstalledServices& Services() const { return services_; }
  const TInstalledFeatures& Features() const { return features_; }

  // Shows the window; the warning about a missing Chinese font follows once
  // the event loop runs.
  void Show();

 private:
  std::unique_ptr<TFrmVormek> window_;
  TInstalledServices services_;
  TInstalledFeatures features_;
};

}  // namespace vormek
