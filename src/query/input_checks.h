#pragma once
// The input checks of the three query handlers. Each gives the refusal the
// handler shows (message, caption, the box that gets the focus), or nothing
// when the query may run. Texts are GBK.
#include <optional>
#include <string>
#include <string_view>

#include "data/mem_table.h"

namespace vormek {

enum class TInputBox { ComboFZ, ComboDZ, ComboCZ, ECC };

struct TInputRefusal {
  std::string Message;
  std::string Caption;
  TInputBox Box;
};

// 站站 and 中转: both boxes filled with names (not short codes), different,
// and known to KMPy. KMPy's cursor is moved.
std::optional<TInputRefusal> CheckDirectInput(TMemTable& KMPy, std::string_view comboFZ, std::string_view comboDZ);
// 车次: anything but blanks.
std::optional<TInputRefusal> CheckTrainNumberInput(std::string_view ecc);
// 车站: a name known to KMPy.
std::optional<TInputRefusal> CheckStationInput(TMemTable& KMPy, std::string_view comboCZ);

// Whether KMPy lists the station (exact match).
bool IsKnownStation(TMemTable& KMPy, std::string_view name);

}  // namespace vormek
