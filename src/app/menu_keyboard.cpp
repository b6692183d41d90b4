#include "app/menu_keyboard.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <vector>

#include "app/advanced_menu.h"

namespace vormek {
namespace {

void Mnemonic(QAction* item, QChar key) { item->setText(item->text() + QStringLiteral("(&") + key + QLatin1Char(')')); }

// An edit box claims some of the window's keys for itself (Ctrl+E is "end of
// line" in X11 key bindings); in this window the menu's keys win wherever the
// focus is.
class TMenuKeysFirst : public QObject {
 public:
  TMenuKeysFirst(QWidget& window) : QObject(&window), window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  std::vector<QKeySequence> Keys;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != &window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QKeySequence& keys : Keys)
      if (keys == pressed) return true;  // not accepted: the shortcut runs
    return false;
  }

 private:
  QWidget& window_;
};

// Each key is bound once, by a window-wide shortcut that runs the item only
// where the menu, opened now, would enable it. The item itself only shows
// the key: a shortcut of its own would reach the window through the "高级"
// button that carries the menu, and the two would be ambiguous there.
void Shortcut(TAdvancedMenu& menu, QWidget& window, TMenuKeysFirst& first, QAction* item, const QKeySequence& keys) {
  item->setText(item->text() + QLatin1Char('\t') + keys.toString(QKeySequence::NativeText));
  first.Keys.push_back(keys);
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
  menu.MJourney->setText(QStringLiteral("行程规划(&J)…"));
  menu.MGraph->setText(QStringLiteral("运行图(&G)…"));
  menu.MExportPdf->setText(QStringLiteral("导出PDF(&F)…"));
  Mnemonic(menu.MShortcuts->menuAction(), QLatin1Char('S'));
  Mnemonic(menu.MDesktop, QLatin1Char('D'));
  Mnemonic(menu.NStart, QLatin1Char('M'));
  Mnemonic(menu.MAbout, QLatin1Char('A'));
  menu.addSeparator();
  QAction* quit = menu.addAction(QStringLiteral("退出(&X)"));
  quit->setObjectName(QStringLiteral("MQuit"));
  QObject::connect(quit, &QAction::triggered, &window, &QWidget::close);

  auto* first = new TMenuKeysFirst(window);
  Shortcut(menu, window, *first, menu.MPrint, QKeySequence(Qt::CTRL | Qt::Key_P));
  Shortcut(menu, window, *first, menu.MExport, QKeySequence(Qt::CTRL | Qt::Key_E));
  Shortcut(menu, window, *first, menu.MJourney, QKeySequence(Qt::CTRL | Qt::Key_J));
  Shortcut(menu, window, *first, menu.MGraph, QKeySequence(Qt::CTRL | Qt::Key_G));
  Shortcut(menu, window, *first, menu.MAbout, QKeySequence(Qt::Key_F1));
  Shortcut(menu, window, *first, quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
  return quit;
}

}  // namespace vormek
