#include "journey_command.h"

#include "cli_commands.h"
#include "query/input_checks.h"
#include "query/journey_rows.h"
#include "query/journeys.h"

namespace vormek::cli {

int RunJourney(const TOptions& o, TTimetable& tt, const TTextCodec& codec, TRowWriter& writer, std::ostream& err) {
  const std::string from = codec.Argument(o.Args[0]);
  const std::string to = codec.Argument(o.Args[1]);
  if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) return Refuse(*refusal, codec, err);
  const TConnectionIndex index(tt);
  const TJourneyPlanner planner(index, tt);
  const TJourneySides sides = JourneySides(index, tt, from, to);
  const std::vector<TJourney> journeys = planner.Plan(sides.From, sides.To, o.Journey);
  const TFareTables fares = BuildFareTables();
  writer.Header(o.Rides ? JourneyRideHeader() : JourneyHeader());
  int number = 0;
  for (const TJourney& journey : journeys) {
    const std::vector<TPub_GridResult> rides = JourneyRideRecords(tt, fares, journey);
    if (!o.Rides) {
      writer.Row(JourneyRow(journey, rides));
      continue;
    }
    for (const std::vector<std::string>& line : JourneyRideRows(++number, journey, rides)) writer.Row(line);
  }
  return ExitOk;
}

}  // namespace vormek::cli
