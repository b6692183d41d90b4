#pragma once
// The user's choice whether the version check runs at start-up, kept
// between runs. It runs unless the user turned it off.
#include <QString>

class QAction;
class QMenu;

namespace vormek {

class TUserSettings;

// The label's text for a run that skips the check.
inline const QString kVersionCheckOffText = QStringLiteral("版本检测已关闭");

// A checkable item "启动时检测新版本" at the end of `menu` that shows and
// changes the choice in `settings` (which must outlive the menu).
QAction* AddVersionCheckSwitch(QMenu& menu, TUserSettings& settings);

}  // namespace vormek
