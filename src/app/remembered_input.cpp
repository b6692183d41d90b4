#include "app/remembered_input.h"

#include <vector>

#include "gui_text/gbk_text.h"
#include "services/user_settings.h"

namespace vormek {

namespace {

constexpr int kListItems = 9;

}  // namespace

TRememberedInput::TRememberedInput(TFrmVormek& window, TUserSettings& settings)
    : QObject(&window), window_(window), settings_(settings) {
  window.SetFiltersQuietly(settings_.Filters());
  connect(&window, &TFrmVormek::FiltersToggled, this, [this] { settings_.SetFilters(window_.Filters()); });
  window.SetEmptyBoxList([this](TStationBox box) { return EmptyBoxList(box); });
  // Connected after the window's own handlers: runs once the query is done.
  connect(&window, &TFrmVormek::QueryAsked, this, &TRememberedInput::RememberStations);
  // The boxes as the last query left them.
  const TUserSettings::TLastStations last = settings_.LastStations();
  window.SetStationText(TStationBox::From, last.From);
  window.SetStationText(TStationBox::To, last.To);
  window.SetStationText(TStationBox::Station, last.Station);
  if (!last.From.isEmpty() || !last.To.isEmpty() || !last.Station.isEmpty())
    window.ShowStatusNote(QStringLiteral("已填入上次查询的车站"));
}

QStringList TRememberedInput::EmptyBoxList(TStationBox box) const {
  QStringList items;
  if (box == TStationBox::To) {
    items = settings_.RecentTo();
  } else {
    items = settings_.RecentFrom();
    if (box == TStationBox::Station) {
      for (const QString& name : settings_.RecentTo())
        if (!items.contains(name) && items.size() < kRecentStations) items << name;
    }
  }
  // Only stations of the timetable in use: another one may have been opened.
  if (TMemTable* pinyin = window_.StationNames()) {
    items.removeIf([&](const QString& name) { return !pinyin->Locate("Station", ToGbkForLookup(name)); });
  }
  while (items.size() < kListItems) items << QString();
  return items;
}

void TRememberedInput::RememberStations(TQueryMode mode) {
  TMemTable* pinyin = window_.StationNames();
  if (mode == TQueryMode::TrainNumber || !pinyin) return;
  auto known = [&](TStationBox box) {
    const QString text = window_.StationText(box).trimmed();
    return !text.isEmpty() && pinyin->Locate("Station", ToGbkForLookup(text)) ? text : QString();
  };
  TUserSettings::TLastStations last = settings_.LastStations();
  if (mode == TQueryMode::Station) {
    const QString station = known(TStationBox::Station);
    settings_.RememberFrom(station);
    if (!station.isEmpty()) last.Station = station;
    settings_.SetLastStations(last);
    return;
  }
  const QString from = known(TStationBox::From);
  const QString to = known(TStationBox::To);
  if (from.isEmpty() || to.isEmpty() || from == to) return;
  settings_.RememberFrom(from);
  settings_.RememberTo(to);
  last.From = from;
  last.To = to;
  settings_.SetLastStations(last);
}

void TRememberedInput::ClearHistory() {
  constexpr TStationBox kBoxes[] = {TStationBox::From, TStationBox::To, TStationBox::Station};
  std::vector<TStationBox> showing;
  for (const TStationBox box : kBoxes) {
    const QStringList history = EmptyBoxList(box);
    if (!history.front().isEmpty() && window_.StationList(box) == history) showing.push_back(box);
  }
  settings_.ClearHistory();
  for (const TStationBox box : showing) window_.EmptyStationList(box);
}

}  // namespace vormek
