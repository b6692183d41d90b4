#include "app/menu_keyboard.h"

#include <QAction>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "app/advanced_menu.h"

namespace vormek {
namespace {

void Mnemonic(QAction* item, QChar key) { item->setText(item->text() + QStringLiteral("(&") + key + QLatin1Char(')')); }

// The key is shown beside the item; pressing it in the window runs the item
// only where the menu, opened now, would enable it.
void Shortcut(TAdvancedMenu& menu, QWidget& window, QAction* item, const QKeySequence& keys) {
  item->setShortcut(keys);
  item->setShortcutVisibleInContextMenu(true);
  // The item's own key works only inside the open menu; in the window the
  // shortcut below answers, so the two never compete.
  item->setShortcutContext(Qt::WidgetShortcut);
  auto* shortcut = new QShortcut(keys, &window);
  QObject::connect(shortcut, &QShortcut::activated, item, [&menu, item] {
    menu.MAdvancedPopup();
    if (item->isEnabled()) item->trigger();
  });
}

}  // namespace

QAction* AddMenuKeyboardAccess(TAdvancedMenu& menu, QWidget& window) {
  Mnemonic(menu.MPrint, QLatin1Char('P'));
  Mnemonic(menu.MExport, QLatin1Char('E'));
  Mnemonic(menu.MShortcuts->menuAction(), QLatin1Char('S'));
  Mnemonic(menu.MDesktop, QLatin1Char('D'));
  Mnemonic(menu.NStart, QLatin1Char('M'));
  Mnemonic(menu.MAbout, QLatin1Char('A'));
  menu.addSeparator();
  QAction* quit = menu.addAction(QStringLiteral("退出(&X)"));
  quit->setObjectName(QStringLiteral("MQuit"));
  QObject::connect(quit, &QAction::triggered, &window, &QWidget::close);

  Shortcut(menu, window, menu.MPrint, QKeySequence(Qt::CTRL | Qt::Key_P));
  Shortcut(menu, window, menu.MExport, QKeySequence(Qt::CTRL | Qt::Key_E));
  Shortcut(menu, window, menu.MAbout, QKeySequence(Qt::Key_F1));
  Shortcut(menu, window, quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
  return quit;
}

}  // namespace vormek
