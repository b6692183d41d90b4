#include "app/version_check_switch.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace vormek {

bool VersionCheckEnabled(const QSettings& settings) { return settings.value(kVersionCheckKey, true).toBool(); }

void SetVersionCheckEnabled(QSettings& settings, bool on) {
  settings.setValue(kVersionCheckKey, on);
  settings.sync();
}

QAction* AddVersionCheckSwitch(QMenu& menu, QSettings& settings) {
  QAction* item = menu.addAction(QStringLiteral("启动时检测新版本(&V)"));
  item->setObjectName(QStringLiteral("MCheckVersion"));
  item->setCheckable(true);
  item->setChecked(VersionCheckEnabled(settings));
  QObject::connect(item, &QAction::toggled, &menu, [&settings](bool on) { SetVersionCheckEnabled(settings, on); });
  return item;
}

}  // namespace vormek
