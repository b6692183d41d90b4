#include "app/version_check_switch.h"

#include <QAction>
#include <QMenu>

#include "services/user_settings.h"

namespace vormek {

QAction* AddVersionCheckSwitch(QMenu& menu, TUserSettings& settings) {
  QAction* item = menu.addAction(QStringLiteral("启动时检测新版本(&V)"));
  item->setObjectName(QStringLiteral("MCheckVersion"));
  item->setCheckable(true);
  item->setChecked(settings.CheckVersion());
  QObject::connect(item, &QAction::toggled, &menu, [&settings](bool on) {
    settings.SetCheckVersion(on);
    settings.Sync();
  });
  return item;
}

}  // namespace vormek
