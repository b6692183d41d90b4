#pragma once
// What each query is asked and what it answers. A query is a function of the
// loaded timetable, the fare tables and its request; the window (or the
// command-line tool) then keeps the answer with StoreResult.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/UPub_Center.h"

namespace vormek {

// 站站 and 中转: the two boxes' texts.
struct TStationPairRequest {
  std::string From;
  std::string To;
};

// 车站: the box's text.
struct TStationRequest {
  std::string Station;
};

// 车次: the typed number.
struct TTrainNumberRequest {
  std::string Number;
};

struct TDirectResult {
  TPub_FZStruct FromSelection;
  TPub_DZStruct ToSelection;
  std::vector<TPub_GridResult> Rows;  // one per train, in stop-table order
};

struct TStationResult {
  TPub_FZStruct Selection;            // the departure side; its Entered is also EnteredTo
  std::vector<TPub_GridResult> Rows;  // one per train, in stop-table order
};

struct TTrainNumberResult {
  std::vector<TPub_GridResult> Rows;  // in train list order
};

struct TTransferResult {
  TPub_FZStruct FromSelection;
  TPub_DZStruct ToSelection;
  std::vector<TTransferLeg> FirstLegs;   // trains in stop-table order
  std::vector<TTransferLeg> SecondLegs;  // trains in reverse order, boarding stops descending
  std::vector<TPub_ZZStruct> Rows;       // one per station a first leg reaches, in the order met
};

// A transfer station chosen from the list: its name and its two counts.
struct TTransferPick {
  std::string Station;
  std::int32_t Count1 = 0;
  std::int32_t Count2 = 0;
};

// The window's state takes a result: each replaces what its query replaces.
void StoreResult(TPub_Center& center, TDirectResult&& result);
void StoreResult(TPub_Center& center, TStationResult&& result);
// Also empties both typed names.
void StoreResult(TPub_Center& center, TTrainNumberResult&& result);
// The legs and transfer rows; GridResults is emptied.
void StoreResult(TPub_Center& center, TTransferResult&& result);
// The legs through a chosen transfer station; sets TransferStation.
void StoreResult(TPub_Center& center, const TTransferPick& pick, std::vector<TPub_GridResult>&& rows);

}  // namespace vormek
