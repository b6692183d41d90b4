#include "query/input_checks.h"

#include "stations/station_text.h"

namespace vormek {

namespace {

const char* const kIncomplete = "信息不完整";
const char* const kWrong = "输入错误";

bool HoldsNoName(std::string_view text) { return text.empty() || IsAllLetters(text); }

}  // namespace

bool IsKnownStation(TMemTable& KMPy, std::string_view name) {
  if (KMPy.ColumnCount() == 0 || name.empty()) return false;
  return KMPy.Locate("Station", name);
}

std::optional<TInputRefusal> CheckDirectInput(TMemTable& KMPy, std::string_view comboFZ, std::string_view comboDZ) {
  // The boxes' change handling trims them; the same here for text set by code.
  const std::string_view from = TrimBlanksAndControls(comboFZ);
  const std::string_view to = TrimBlanksAndControls(comboDZ);
  if (HoldsNoName(from)) return TInputRefusal{"请输入发站。", kIncomplete, TInputBox::ComboFZ};
  if (HoldsNoName(to)) return TInputRefusal{"请输入到站。", kIncomplete, TInputBox::ComboDZ};
  if (from == to) return TInputRefusal{"发站与到站相同。", kWrong, TInputBox::ComboDZ};
  if (!IsKnownStation(KMPy, from)) return TInputRefusal{"发站不存在。", kWrong, TInputBox::ComboFZ};
  if (!IsKnownStation(KMPy, to)) return TInputRefusal{"到站不存在。", kWrong, TInputBox::ComboDZ};
  return std::nullopt;
}

std::optional<TInputRefusal> CheckTrainNumberInput(std::string_view ecc) {
  if (TrimBlanksAndControls(ecc).empty()) return TInputRefusal{"请输入车次。", kIncomplete, TInputBox::ECC};
  return std::nullopt;
}

std::optional<TInputRefusal> CheckStationInput(TMemTable& KMPy, std::string_view comboCZ) {
  const std::string_view station = TrimBlanksAndControls(comboCZ);
  if (HoldsNoName(station)) return TInputRefusal{"请输入车站。", kIncomplete, TInputBox::ComboCZ};
  if (!IsKnownStation(KMPy, station)) return TInputRefusal{"车站不存在。", kWrong, TInputBox::ComboCZ};
  return std::nullopt;
}

}  // namespace vormek
