#include "query/journey_rows.h"

#include "query/connection_rows.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

// The lowest class the ride sells: the first of its fares that is a price.
double LowestFare(const TPub_GridResult& ride) {
  for (const std::string* fare : {&ride.QJ_P1, &ride.QJ_P2, &ride.QJ_P3, &ride.QJ_P4}) {
    const double amount = ParseFare(*fare, 0);
    if (amount > 0) return amount;
  }
  return 0;
}

}  // namespace

std::vector<std::string> JourneyHeader() {
  return {"出发", "到达", "历时", "换乘次数", "车次", "换乘站", "里程", "参考票价"};
}

std::vector<std::string> JourneyRideHeader() { return {"序号", "车次", "发站", "发时", "到站", "到时", "等候"}; }

std::string DayClock(std::int32_t minutes) {
  const std::int32_t day = minutes / kMinutesPerDay;
  std::string text = HoursMinutes(minutes % kMinutesPerDay);
  if (day > 0) text += "+" + std::to_string(day);
  return text;
}

std::vector<TPub_GridResult> JourneyRideRecords(TTimetable& tt, const TFareTables& fares, const TJourney& journey) {
  const TStopColumns sc(tt.KMTrain);
  const TTrainColumns tc(tt.KMList);
  std::vector<TPub_GridResult> rides;
  for (const TJourneyRide& ride : journey.Rides)
    rides.push_back(RideRecord(tt, sc, tc, fares, ride.Boarding, ride.Alighting));
  return rides;
}

std::vector<std::string> JourneyRow(const TJourney& journey, const std::vector<TPub_GridResult>& rides) {
  std::string trains;
  std::string changes;
  double fare = 0;
  bool priced = true;
  for (std::size_t r = 0; r < rides.size(); ++r) {
    trains += (r == 0 ? "" : "→") + rides[r].ID;
    if (r > 0) {
      const std::string& off = rides[r - 1].DZ.Station;
      const std::string& on = rides[r].FZ.Station;
      changes += (r == 1 ? "" : "、") + off + (on == off ? "" : "→" + on);
    }
    const double amount = LowestFare(rides[r]);
    priced = priced && amount > 0;
    fare += amount;
  }
  return {HoursMinutes(journey.Depart()),
          DayClock(journey.Arrive()),
          HoursMinutes(journey.Arrive() - journey.Depart()),
          std::to_string(journey.Changes()),
          trains,
          changes,
          std::to_string(journey.Distance),
          priced ? FormatAmount(fare) : "-"};
}

std::vector<std::vector<std::string>> JourneyRideRows(int number, const TJourney& journey,
                                                      const std::vector<TPub_GridResult>& rides) {
  std::vector<std::vector<std::string>> lines;
  for (std::size_t r = 0; r < rides.size(); ++r) {
    const TJourneyRide& ride = journey.Rides[r];
    lines.push_back({std::to_string(number), rides[r].ID, rides[r].FZ.Station, DayClock(ride.Depart),
                     rides[r].DZ.Station, DayClock(ride.Arrive), r == 0 ? "" : HoursMinutes(ride.Wait)});
  }
  return lines;
}

}  // namespace vormek
