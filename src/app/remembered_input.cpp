#include "app/remembered_input.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/UnitVormek.h"
#include "app/table_loaders.h"
#include "gui_text/gbk_text.h"
#include "services/user_settings.h"
#include "ui/station_combo_box.h"

namespace vormek {

namespace {

constexpr int kListItems = 9;

bool OpensList(const QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) return true;
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier));
}

}  // namespace

TRememberedInput::TRememberedInput(TFrmVormek& window, TUserSettings& settings)
    : QObject(&window), window_(window), settings_(settings) {
  const TFilterBoxes filters = settings_.Filters();
  const std::pair<QCheckBox*, bool> boxes[] = {
      {window.CBSF, filters.CBSF}, {window.CBZD, filters.CBZD}, {window.CBJQ, filters.CBJQ}, {window.CBDC, filters.CBDC}};
  for (const auto& [box, checked] : boxes) {
    {
      const QSignalBlocker quiet(box);
      box->setChecked(checked);
    }
    connect(box, &QCheckBox::toggled, this, [this] {
      settings_.SetFilters({window_.CBSF->isChecked(), window_.CBZD->isChecked(), window_.CBJQ->isChecked(),
                            window_.CBDC->isChecked()});
    });
  }
  for (TStationComboBox* box : {window.ComboFZ, window.ComboDZ, window.ComboCZ}) box->installEventFilter(this);
  // Connected after the window's own handlers: runs once the query is done.
  for (QPushButton* button : {window.BTNZZCX, window.BTNZZZZ, window.BTNCZCX})
    connect(button, &QPushButton::clicked, this, &TRememberedInput::RememberStations);
}

QStringList TRememberedInput::EmptyBoxList(const TStationComboBox* box) const {
  QStringList items;
  if (box == window_.ComboDZ) {
    items = settings_.RecentTo();
  } else {
    items = settings_.RecentFrom();
    if (box == window_.ComboCZ) {
      for (const QString& name : settings_.RecentTo())
        if (!items.contains(name) && items.size() < kRecentStations) items << name;
    }
  }
  // Only stations of the timetable in use: another one may have been opened.
  if (window_.Loaders().PinyinLoaded()) {
    TMemTable& pinyin = window_.Loaders().Tables().KMPy;
    items.removeIf([&](const QString& name) { return !pinyin.Locate("Station", ToGbkForLookup(name)); });
  }
  while (items.size() < kListItems) items << QString();
  return items;
}

bool TRememberedInput::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<TStationComboBox*>(watched);
  if (box && box->isEnabled() && OpensList(event) && box->currentText().trimmed().isEmpty()) {
    // With nothing remembered the list stays as the box left it.
    const QStringList items = EmptyBoxList(box);
    if (!items.front().isEmpty()) box->SetStationList(items, false);
  }
  return QObject::eventFilter(watched, event);
}

void TRememberedInput::RememberStations() {
  if (!window_.Loaders().PinyinLoaded()) return;
  TMemTable& pinyin = window_.Loaders().Tables().KMPy;
  auto known = [&](const TStationComboBox* box) {
    const QString text = box->currentText().trimmed();
    return !text.isEmpty() && pinyin.Locate("Station", ToGbkForLookup(text)) ? text : QString();
  };
  if (sender() == window_.BTNCZCX) {
    settings_.RememberFrom(known(window_.ComboCZ));
    return;
  }
  const QString from = known(window_.ComboFZ);
  const QString to = known(window_.ComboDZ);
  if (from.isEmpty() || to.isEmpty() || from == to) return;
  settings_.RememberFrom(from);
  settings_.RememberTo(to);
}

}  // namespace vormek
