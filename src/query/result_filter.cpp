#include "query/result_filter.h"

#include "stations/station_text.h"

namespace vormek {

namespace {

// The transfer-station alternatives make 始发车 judge only the first leg and
// 终到车 only the second.
bool StartsHere(const TPub_GridResult& r, const TFilterContext& f) {
  switch (f.QueryMode) {
    case TQueryMode::Direct: return r.StartStation == r.FZ.Station || r.FZ.Station == f.TransferStation;
    case TQueryMode::Station: return r.StartStation == f.StationBox || r.FZ.Station == f.TransferStation;
    default: return true;
  }
}

bool EndsHere(const TPub_GridResult& r, const TFilterContext& f) {
  switch (f.QueryMode) {
    case TQueryMode::Direct: return r.EndStation == r.DZ.Station || r.DZ.Station == f.TransferStation;
    case TQueryMode::Station: return r.EndStation == f.StationBox || r.DZ.Station == f.TransferStation;
    default: return true;
  }
}

bool ExactNames(const TPub_GridResult& r, const TFilterContext& f) {
  switch (f.QueryMode) {
    case TQueryMode::Direct:
      if (f.TransferStation.empty()) return r.FZ.Station == f.EnteredFrom && r.DZ.Station == f.EnteredTo;
      return (r.FZ.Station == f.EnteredFrom || r.FZ.Station == f.TransferStation) &&
             (r.DZ.Station == f.EnteredTo || r.DZ.Station == f.TransferStation);
    case TQueryMode::Station: return r.FZ.Station == f.StationBox || r.DZ.Station == f.StationBox;
    default: return true;
  }
}

bool IsMultipleUnit(const TPub_GridResult& r) {
  return !r.ID.empty() && (r.ID[0] == 'C' || r.ID[0] == 'D' || r.ID[0] == 'G');
}

}  // namespace

bool PassesFilters(const TPub_GridResult& r, const TFilterContext& given) {
  TFilterContext f = given;
  f.StationBox = TrimBlanksAndControls(given.StationBox);
  if (f.Boxes.CBSF && !StartsHere(r, f)) return false;
  if (f.Boxes.CBZD && !EndsHere(r, f)) return false;
  if (f.Boxes.CBJQ && !ExactNames(r, f)) return false;
  if (f.Boxes.CBDC && !IsMultipleUnit(r)) return false;
  return true;
}

TFilterContext FilterContextOf(const TPub_Center& center, TQueryMode queryMode, std::string_view stationBox,
                               TFilterBoxes boxes) {
  TFilterContext filter;
  filter.QueryMode = queryMode;
  filter.EnteredFrom = center.FromSelection.Entered;
  filter.EnteredTo = center.ToSelection.Entered;
  filter.TransferStation = center.TransferStation;
  filter.StationBox = stationBox;
  filter.Boxes = boxes;
  return filter;
}

}  // namespace vormek
