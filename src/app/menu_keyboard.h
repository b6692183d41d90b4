#pragma once
// Keyboard access to the popup menu: mnemonics on its items, a quit item,
// and window-wide shortcuts Ctrl+P print, Ctrl+E export, Ctrl+J journeys,
// Ctrl+G train graph, F1 about and Ctrl+Q quit that obey the menu's enabling.
class QAction;
class QWidget;

namespace vormek {

class TAdvancedMenu;

// Returns the quit item it appends; quitting closes `window`.
QAction* AddMenuKeyboardAccess(TAdvancedMenu& menu, QWidget& window);

}  // namespace vormek
