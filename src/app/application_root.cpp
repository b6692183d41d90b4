#include "app/application_root.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "app/cjk_font_check.h"
#include "app/version_check_switch.h"
#include "services/TVersionCheck.h"
#include "services/user_settings.h"

namespace vormek {

namespace {

// ---- the version check: started here, once, as the window is created ----
std::function<void(QLabel*, std::atomic<bool>*)> VersionCheckStarter(bool checkVersion) {
  return [checkVersion](QLabel* labNew, std::atomic<bool>* netFlag) {
    if (!checkVersion) {
      labNew->setText(kVersionCheckOffText);
      return;
    }
    // The check only reports; the window's record of whether the network was
    // reachable is kept here, from its outcome.
    TVersionCheck* check = StartVersionCheck(labNew);
    QObject::connect(check, &TVersionCheck::Finished, labNew, [netFlag](TVersionOutcome outcome, const QString&) {
      if (netFlag) netFlag->store(outcome != TVersionOutcome::Unreachable);
    });
  };
}

}  // namespace

TApplicationRoot::TApplicationRoot(TApplicationDeps deps) {
  TFrmVormekDeps window;
  window.Items = deps.Items;
  window.Boxes = deps.Boxes;
  window.StartVersionCheck = VersionCheckStarter(deps.Settings ? deps.Settings->CheckVersion() : false);
  window_ = std::make_unique<TFrmVormek>(std::move(window));

  // Menu, links, about box, detail and transfer windows.
  deps.Services.Settings = deps.Settings;
  if (!deps.Services.Boxes) deps.Services.Boxes = deps.Boxes;
  services_ = InstallWindowServices(*window_, std::move(deps.Services));

  // Connections, remembered input, other timetables.
  TFeatureDeps features;
  features.Settings = deps.Settings;
  features.BuiltIn = deps.Items;
  features.Boxes = deps.Boxes;
  features.StartTables = std::move(deps.StartTables);
  features.TablesCache = std::move(deps.TablesCache);
  features_ = InstallFeatures(*window_, *services_.Menu, std::move(features));
}

TApplicationRoot::~TApplicationRoot() = default;

void TApplicationRoot::Show() {
  // At the specified size where the screen has room, scaled down to fit
  // where it has not (a high scale factor on a small screen).
  if (const QScreen* screen = QGuiApplication::primaryScreen()) window_->FitInto(screen->availableGeometry());
  window_->show();
  TFrmVormek* window = window_.get();
  QTimer::singleShot(0, window, [window] { WarnWithoutCjkFont(window); });
}

}  // namespace vormek
