#pragma once
// The railway rules shared by every query: clock and elapsed times, train
// type names, the distance tariff and section fares, and the records that
// carry a query from the tables to the screen. All text is GBK bytes.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vormek {

// ---- times and speeds -----------------------------------------------------

inline constexpr int kMinutesPerDay = 24 * 60;

// Truncate toward zero, then add one when the dropped part is at least 0.5
// (2.5 -> 3, 2.49 -> 2, -2.7 -> -2).
std::int32_t RoundHalfUp(double x);
// "37:43" -> 2263, "33" -> 33, "" -> 0; parts that do not read count as 0.
std::int32_t DurationToMinutes(std::string_view text);
// 125 -> "2:5", 0 -> "0:0".
std::string MinutesToDuration(std::int32_t minutes);
// Journey time between two stops of one train: "HH:MM", or "0" when both
// texts are identical. Throws EConvertError for a part that is not decimal.
std::string ElapsedDifference(std::string_view earlier, std::string_view later);
// Whole km/h, or the empty text when it cannot be computed.
std::string AverageSpeed(std::string_view kmText, std::string_view durationText);
std::string LegSpeed(std::string_view prevKmText, std::string_view kmText, std::string_view prevElapsedText,
                     std::string_view elapsedText);

// ---- train types ----------------------------------------------------------

// Name of a type code 1..14, the empty text for any other code.
std::string TrainTypeName(int code);

// ---- records ----------------------------------------------------------------

// The fields of one stop of a result row, read from the stop table.
struct TStopFields {
  std::string Station;
  std::int32_t S_No = 0;
  std::int32_t Distance = 0;
  std::string P1, P2, P3, P4;  // fares of the whole run up to this stop
  std::string Time;            // departure where boarding, arrival where alighting
  std::string R_Date;          // elapsed time since the origin's departure
};

// The origin as the boarding stop of a train ridden from its start: stop 1,
// no distance or fares yet, elapsed time 0.
inline TStopFields OriginStop(std::string station, std::string departure) {
  TStopFields s;
  s.Station = std::move(station);
  s.S_No = 1;
  s.Time = std::move(departure);
  s.R_Date = "0";
  return s;
}

// One result row. QC whole run, FZ boarding stop, DZ alighting stop, QJ section.
struct TPub_GridResult {
  std::string ID;
  std::int32_t NType = 0;
  std::string TypeName;
  std::string StartStation;
  std::string EndStation;
  std::string QC_R_Date;
  std::int32_t QC_Distance = 0;
  std::string QC_P1, QC_P2, QC_P3, QC_P4;
  TStopFields FZ;  // 发站: the stop where the traveller boards
  TStopFields DZ;  // 到站: the stop where the traveller alights
  std::int32_t Stops = 0;
  std::int32_t QJ_Distance = 0;
  std::string QJ_R_Date;
  std::string QJ_P1, QJ_P2, QJ_P3, QJ_P4;
};

// One train ridden from a boarding stop to a later alighting stop, as
// positions of the stop table; the transfer query completes a leg into a
// result record only when its station is chosen.
struct TTransferLeg {
  std::uint32_t Train = 0;  // run of stops in the timetable's index
  std::uint32_t Boarding = 0;
  std::uint32_t Alighting = 0;
  bool operator==(const TTransferLeg&) const = default;
};

// A station selection: the typed name and its city group.
struct TPub_FZStruct {
  std::string Entered;
  std::vector<std::string> Group;
  std::int32_t Gp = 0;
};
using TPub_DZStruct = TPub_FZStruct;

// One transfer station of the transfer query.
struct TPub_ZZStruct {
  std::string Station;
  std::int32_t Distance1 = 0;
  std::int32_t Distance2 = 0;
  std::int32_t Distance = 0;
  std::string R_Date1;
  std::string R_Date2;
  std::string R_Date;
  std::int32_t Count1 = 0;
  std::int32_t Count2 = 0;
};

// ---- fares ----------------------------------------------------------------

struct TPub_DistanceBand {
  std::int32_t Min = 0;
  std::int32_t Max = 0;
};

// One group of distance bands of equal width.
struct TPub_CPQDSJ {
  std::int32_t Min = 0;
  std::int32_t Max = 0;
  std::int32_t Step = 0;
  std::int32_t Count = 0;
  std::vector<TPub_DistanceBand> Bands;
};

struct TPub_FareRate {
  std::int32_t Min = 0;
  std::int32_t Max = 0;
  double Rate = 0;
};

struct TFareTables {
  std::vector<TPub_CPQDSJ> FareBands;
  std::vector<TPub_FareRate> FareRates;
};

void BuildFareBands(TFareTables& tables);
void BuildFareRates(TFareTables& tables);
// Both of the above.
TFareTables BuildFareTables();

// The tariff fare of a distance (unrounded) and its fare distance.
double BaseFare(const TFareTables& tables, std::int32_t km, std::int32_t& fareDistance);
// The number in one part (0..3) of a fare text; 0 where it does not read.
double ParseFare(std::string_view text, int part);

// Fill QJ_P1..QJ_P4 of a finished record.
void SectionFares(const TFareTables& tables, TPub_GridResult& r);
void EmuSectionFares(const TFareTables& tables, TPub_GridResult& r);
void ClassicSectionFares(const TFareTables& tables, TPub_GridResult& r);

// ---- process-wide records -------------------------------------------------

// The records and arrays that live from start-up to the end of the process.
// The program owns one instance and hands it to whatever needs it.
struct TPub_Center {
  std::vector<TPub_GridResult> GridResults;
  std::vector<TTransferLeg> LegOneResults;
  std::vector<TTransferLeg> LegTwoResults;
  TFareTables Fares;
  TPub_FZStruct FromSelection;
  TPub_DZStruct ToSelection;
  std::vector<TPub_ZZStruct> TransferRows;
  std::string TransferStation;
  int ResultCount = 0;
  std::atomic<bool> NetFlag{false};
};

}  // namespace vormek
