#pragma once
// The command line of vormek-query, parsed but not yet converted: station
// names and numbers are still the bytes the shell gave.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/train_graph.h"
#include "query/connections.h"
#include "query/journeys.h"
#include "row_writer.h"

namespace vormek::cli {

enum class TCommand { Direct, Transfer, Via, TrainNumber, Station, Stops, Plan, Journey, Graph, Stations };

// A header clicked once (ascending) or twice (descending).
struct TSortRequest {
  int Column = 0;
  bool Descending = false;
};

struct TOptions {
  bool Help = false;
  bool Version = false;
  bool Gbk = false;
  bool Pinyin = false;    // letters-only station arguments name their station
  std::string TablesDir;  // empty: the embedded timetable
  bool NoCache = false;   // read TablesDir's texts, keep no image of them
  TCommand Command = TCommand::Direct;
  std::vector<std::string> Args;  // FROM TO, NUMBER, STATION or PREFIX
  std::string Via;
  std::string Filter;  // "sf,zd,jq,dc", any subset
  bool HasFilter = false;
  std::optional<TSortRequest> Sort;
  std::string Board;
  bool HasBoard = false;
  int Count = 0;
  bool HasCount = false;
  TConnectionOptions Connection;  // plan: --min-change, --max
  TJourneyOptions Journey;        // journey: --depart, --max-changes, --min-change, --city-change
  bool Rides = false;             // journey --rides: one line per ride
  TOutputFormat Format = TOutputFormat::Csv;
  std::string GraphSvg;                    // graph: --svg FILE ("-": standard output)
  std::string GraphPng;                    // graph: --png FILE
  int GraphWidth = 1600;                   // graph: --width PX
  TGraphSpan GraphSpan = TGraphSpan::Day;  // graph: --span day|trains
};

struct TParseResult {
  TOptions Options;
  std::string Error;  // not empty: a usage error
};

TParseResult ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string HelpText();

}  // namespace vormek::cli
