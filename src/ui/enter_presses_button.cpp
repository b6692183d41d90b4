#include "ui/enter_presses_button.h"

#include <QKeyEvent>
#include <QPushButton>

namespace vormek {
namespace {

class TEnterPressesButton : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr || !button->isEnabled() || !button->hasFocus()) return false;
    // A menu button drops its menu, as a click does.
    button->click();
    return true;
  }
};

}  // namespace

void PressOnEnter(QPushButton* button) { button->installEventFilter(new TEnterPressesButton(button)); }

}  // namespace vormek
