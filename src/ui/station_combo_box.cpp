#include "ui/station_combo_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

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
    list_->complete();
    list_->popup()->scrollToTop();
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
  if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !ListOpen()) {
      emit EnterPressed();
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}

void TStationComboBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit EnterPressed();
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

}  // namespace vormek
