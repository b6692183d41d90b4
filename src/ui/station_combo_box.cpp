#include "ui/station_combo_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>

#include "gui_text/gbk_text.h"

namespace vormek {

TStationComboBox::TStationComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(9);
  // No inline completion: the list is filled from the pinyin table only.
  setCompleter(nullptr);
  // The list works beside the line edit rather than inside it, so that
  // moving through it does not write half names into the box.
  list_ = new QCompleter(model(), this);
  list_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  list_->setMaxVisibleItems(9);
  list_->setCaseSensitivity(Qt::CaseSensitive);
  list_->setWidget(lineEdit());
  lineEdit()->installEventFilter(this);
  // Filters run last-installed first: this one sees Enter in the open list
  // before the completer does.
  list_->popup()->installEventFilter(this);
  // The wheel must not give the box the focus (and then change its station).
  setFocusPolicy(Qt::StrongFocus);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    if (!quiet_) emit UserChangedText();
  });
  // A pick from the completion list or from the box's own drop-down.
  connect(list_, qOverload<const QString&>(&QCompleter::activated), this, [this](const QString& text) {
    if (quiet_) return;
    SetTextQuietly(text);
    emit UserChangedText();
  });
  connect(this, &QComboBox::textActivated, this, [this](const QString& text) {
    if (quiet_) return;
    SetTextQuietly(text);
    emit UserChangedText();
  });
}

void TStationComboBox::SetStationList(const QStringList& items, bool open) {
  const QString text = currentText();
  const int caret = lineEdit()->cursorPosition();
  quiet_ = true;
  clear();
  addItems(items);
  setCurrentIndex(-1);
  setEditText(text);
  lineEdit()->setCursorPosition(caret);
  quiet_ = false;
  if (open) {
    list_->setCompletionPrefix(QString());
    // At least as wide as the whole box, arrow button included.
    QRect under = rect();
    under.moveTopLeft(lineEdit()->mapFrom(this, QPoint(0, 0)));
    under.setWidth(std::max(width(), list_->popup()->sizeHintForColumn(0) + 24));
    list_->complete(under);
    list_->popup()->scrollToTop();
    // Nothing current until the user moves into the list: ↓ then takes the
    // first station, and no row looks chosen before that.
    list_->popup()->setCurrentIndex(QModelIndex());
  } else {
    list_->popup()->hide();
  }
}

QStringList TStationComboBox::Items() const {
  QStringList out;
  for (int i = 0; i < count(); ++i) out << itemText(i);
  return out;
}

bool TStationComboBox::ListOpen() const { return list_->popup()->isVisible(); }

QAbstractItemView* TStationComboBox::ListView() const { return list_->popup(); }

void TStationComboBox::SetTextQuietly(const QString& text) {
  quiet_ = true;
  setEditText(text);
  lineEdit()->setCursorPosition(static_cast<int>(text.size()));
  quiet_ = false;
}

void TStationComboBox::ReplaceText(const QString& text) {
  if (currentText() != text) SetTextQuietly(text);
  lineEdit()->setCursorPosition(static_cast<int>(text.size()));
}

bool TStationComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->popup() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter picks the highlighted station and moves on, in one press.
      const QModelIndex current = list_->popup()->currentIndex();
      list_->popup()->hide();
      if (current.isValid()) {
        const QString picked = current.data().toString();
        if (!quiet_ && !picked.isEmpty()) {
          SetTextQuietly(picked);
          emit UserChangedText();
        }
      }
      emit EnterPressed();
      return true;
    }
  }
  if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !ListOpen()) {
      emit EnterPressed();
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}

void TStationComboBox::wheelEvent(QWheelEvent* event) {
  // A box the user is not working in ignores the wheel: it belongs to
  // whatever is being scrolled behind it.
  if (!hasFocus()) {
    event->ignore();
    return;
  }
  QComboBox::wheelEvent(event);
}

void TStationComboBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit EnterPressed();
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

void TStationComboBox::ShowListUpdate(const TStationListUpdate& update) {
  switch (update.Action) {
    case TListAction::Fill: {
      QStringList items;
      for (const std::string& station : update.Items) items << FromGbk(station);
      SetStationList(items, true);
      unsetCursor();
      break;
    }
    case TListAction::ClearToEmpty: SetStationList(QStringList(9, QString()), false); break;
    case TListAction::Keep:
      // A whole name: a list opened for its first characters no longer fits.
      if (ListOpen()) SetStationList(Items(), false);
      break;
  }
}

}  // namespace vormek
