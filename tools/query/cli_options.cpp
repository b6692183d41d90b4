#include "cli_options.h"

#include "cli_option_table.h"
#include "cli_text.h"

namespace vormek::cli {

namespace {

std::optional<TSortRequest> ReadSort(std::string text) {
  TSortRequest sort;
  const std::string desc = ":desc";
  if (text.size() > desc.size() && text.compare(text.size() - desc.size(), desc.size(), desc) == 0) {
    sort.Descending = true;
    text.resize(text.size() - desc.size());
  }
  if (!ReadWholeNumber(text, sort.Column) || sort.Column < 0) return std::nullopt;
  return sort;
}

bool ValidFilter(const std::string& list) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (item != "sf" && item != "zd" && item != "jq" && item != "dc") return false;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

std::optional<TOutputFormat> FormatNamed(std::string_view name) {
  if (name == "csv") return TOutputFormat::Csv;
  if (name == "table") return TOutputFormat::Table;
  if (name == "json") return TOutputFormat::Json;
  return std::nullopt;
}

// The command words. An option names the commands it belongs to by these
// bits; a new command is one line here and its bit on the options it takes.
enum TCommandBit : TCommandMask {
  BitZz = 1,
  BitCc = 2,
  BitCz = 4,
  BitStops = 8,
  BitPlan = 16,
  BitStations = 32,
  BitJourney = 64,
  BitGraph = 128
};
// The commands that print rows under a header, in any --format.
constexpr TCommandMask kRowCommands = BitZz | BitCc | BitCz | BitStops | BitPlan | BitJourney;

struct TCommandRule {
  std::string_view Word;
  TCommandBit Bit;
  std::size_t Arguments;  // FROM TO, NUMBER or STATION
  std::size_t Optional;   // more that may follow (PREFIX)
  TCommand Command;       // zz: the direct query unless --transfer or --via
};

const TCommandRule kCommands[] = {
    {"zz", BitZz, 2, 0, TCommand::Direct},      {"cc", BitCc, 1, 0, TCommand::TrainNumber},
    {"cz", BitCz, 1, 0, TCommand::Station},     {"stops", BitStops, 1, 0, TCommand::Stops},
    {"plan", BitPlan, 2, 0, TCommand::Plan},    {"journey", BitJourney, 2, 0, TCommand::Journey},
    {"graph", BitGraph, 2, 0, TCommand::Graph}, {"stations", BitStations, 0, 1, TCommand::Stations},
};

// The options as read, before the command word says what they mean.
struct TParseState {
  TOptions Options;
  bool Transfer = false;
  bool HasVia = false;
};

using TCliOption = TOptionRule<TParseState>;

// "HH:MM" as minutes of the day; -1 when it is none.
int ReadClock(const std::string& text) {
  const std::int32_t minutes = ClockMinutes(text);
  return text.size() == 5 ? minutes : -1;
}

// --depart HH:MM (from then on) or HH:MM-HH:MM.
std::string ReadDepartWindow(TJourneyOptions& o, const std::string& value) {
  const std::size_t dash = value.find('-');
  o.DepartFrom = ReadClock(value.substr(0, dash));
  o.DepartUntil = dash == std::string::npos ? kMinutesPerDay - 1 : ReadClock(value.substr(dash + 1));
  if (o.DepartFrom < 0 || o.DepartUntil < 0) return "--depart takes HH:MM or HH:MM-HH:MM";
  if (o.DepartUntil < o.DepartFrom) return "--depart: the window ends before it starts";
  return {};
}

// Whole minutes of a change time, 0 to a day.
std::string ReadChangeMinutes(int& minutes, const std::string& value, const char* option) {
  if (!ReadWholeNumber(value, minutes) || minutes < 0 || minutes > kMinutesPerDay)
    return std::string(option) + " takes minutes from 0 to 1440";
  return {};
}

template <bool TOptions::*Field>
std::string SetFlag(TParseState& s, const std::string&) {
  s.Options.*Field = true;
  return {};
}

const TCliOption kOptions[] = {
    {"-h", false, SetFlag<&TOptions::Help>, true},
    {"--help", false, SetFlag<&TOptions::Help>, true},
    {"--version", false, SetFlag<&TOptions::Version>, true},
    {"--gbk", false, SetFlag<&TOptions::Gbk>},
    {"--pinyin", false, SetFlag<&TOptions::Pinyin>},
    {"--tables", true, [](TParseState& s, const std::string& v) { return ReadTablesFolder(s.Options.TablesDir, v); }},
    {"--no-cache", false, SetFlag<&TOptions::NoCache>},
    {"--format", true,
     [](TParseState& s, const std::string& v) -> std::string {
       const std::optional<TOutputFormat> format = FormatNamed(v);
       if (!format) return "--format takes csv, table or json";
       s.Options.Format = *format;
       return {};
     },
     false, kRowCommands},
    {"--transfer", false,
     [](TParseState& s, const std::string&) {
       s.Transfer = true;
       return std::string();
     },
     false, BitZz},
    {"--via", true,
     [](TParseState& s, const std::string& v) {
       s.Options.Via = v;
       s.HasVia = true;
       return std::string();
     },
     false, BitZz},
    {"--filter", true,
     [](TParseState& s, const std::string& v) -> std::string {
       s.Options.Filter = v;
       if (!ValidFilter(v)) return "--filter takes a comma-separated subset of sf,zd,jq,dc";
       s.Options.HasFilter = true;
       return {};
     },
     false, BitZz | BitCc | BitCz | BitPlan | BitGraph},
    {"--sort", true,
     [](TParseState& s, const std::string& v) -> std::string {
       s.Options.Sort = ReadSort(v);
       if (!s.Options.Sort) return "--sort takes COL or COL:desc";
       return {};
     },
     false, BitZz | BitCc | BitCz | BitPlan},
    {"--board", true,
     [](TParseState& s, const std::string& v) {
       s.Options.Board = v;
       s.Options.HasBoard = true;
       return std::string();
     },
     false, BitStops},
    {"--count", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (!ReadWholeNumber(v, s.Options.Count) || s.Options.Count < 1)
         return "--count takes a positive number of stops";
       s.Options.HasCount = true;
       return {};
     },
     false, BitStops},
    {"--min-change", true,
     [](TParseState& s, const std::string& v) -> std::string {
       const std::string error = ReadChangeMinutes(s.Options.Connection.MinChange, v, "--min-change");
       s.Options.Journey.MinChange = s.Options.Connection.MinChange;
       return error;
     },
     false, BitPlan | BitJourney},
    {"--city-change", true,
     [](TParseState& s, const std::string& v) {
       return ReadChangeMinutes(s.Options.Journey.CityChange, v, "--city-change");
     },
     false, BitJourney},
    {"--depart", true, [](TParseState& s, const std::string& v) { return ReadDepartWindow(s.Options.Journey, v); },
     false, BitJourney},
    {"--max-changes", true,
     [](TParseState& s, const std::string& v) -> std::string {
       int& changes = s.Options.Journey.MaxChanges;
       if (!ReadWholeNumber(v, changes) || changes < 0 || changes > kMaxJourneyChanges)
         return "--max-changes takes 0, 1 or 2";
       return {};
     },
     false, BitJourney},
    {"--rides", false, SetFlag<&TOptions::Rides>, false, BitJourney},
    {"--svg", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (v.empty()) return "--svg takes a file name";
       s.Options.GraphSvg = v;
       return {};
     },
     false, BitGraph},
    {"--png", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (v.empty()) return "--png takes a file name";
       s.Options.GraphPng = v;
       return {};
     },
     false, BitGraph},
    {"--width", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (!ReadWholeNumber(v, s.Options.GraphWidth) || s.Options.GraphWidth < 320 || s.Options.GraphWidth > 8000)
         return "--width takes pixels from 320 to 8000";
       return {};
     },
     false, BitGraph},
    {"--span", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (v == "day") {
         s.Options.GraphSpan = TGraphSpan::Day;
       } else if (v == "trains") {
         s.Options.GraphSpan = TGraphSpan::Trains;
       } else {
         return "--span takes day or trains";
       }
       return {};
     },
     false, BitGraph},
    {"--max", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (!ReadWholeNumber(v, s.Options.Connection.MaxCount) || s.Options.Connection.MaxCount < 1)
         return "--max takes a positive number of connections";
       return {};
     },
     false, BitPlan},
};

// The command word and its arguments; empty, or the usage error.
std::string ReadCommand(const std::vector<std::string>& positional, TParseState& s, const TCommandRule*& rule) {
  TOptions& o = s.Options;
  if (positional.empty()) return "no command given";
  const std::string& word = positional.front();
  rule = nullptr;
  for (const TCommandRule& c : kCommands) {
    if (c.Word == word) rule = &c;
  }
  if (rule == nullptr) return "unknown command " + Echo(word);
  o.Args.assign(positional.begin() + 1, positional.end());
  const std::size_t wanted = rule->Arguments;
  if (rule->Optional > 0 && (o.Args.size() < wanted || o.Args.size() > wanted + rule->Optional))
    return word + " takes at most " + std::to_string(wanted + rule->Optional) + " argument";
  if (rule->Optional == 0 && o.Args.size() != wanted)
    return word + " takes " + std::to_string(wanted) + (wanted == 1 ? " argument" : " arguments");
  o.Command = rule->Command;
  if (rule->Bit == BitZz) {
    if (s.Transfer && s.HasVia) return "--transfer and --via exclude each other";
    o.Command = s.Transfer ? TCommand::Transfer : s.HasVia ? TCommand::Via : TCommand::Direct;
  }
  return {};
}

// Options that do not belong to the command given; empty, or the usage error.
std::string CheckOptionsFitCommand(const TOptions& o, const TCommandRule& command,
                                   const std::vector<const TCliOption*>& given) {
  for (const TCliOption* option : given) {
    if ((option->Commands & command.Bit) == 0)
      return std::string(option->Name) + " does not apply to " + std::string(command.Word);
  }
  if (o.HasFilter && o.Command == TCommand::Transfer) return "--filter does not apply to zz --transfer";
  if (o.HasBoard != o.HasCount) return "--board and --count go together";
  if (o.Command == TCommand::Graph && o.GraphSvg.empty() && o.GraphPng.empty())
    return "graph needs --svg FILE or --png FILE";
  return {};
}

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string>& args) {
  TParseState state;
  std::vector<std::string> positional;
  std::vector<const TCliOption*> given;
  TParseResult result;
  result.Error = ApplyOptions<TParseState>(args, kOptions, state, positional, given);
  if (result.Error.empty() && !state.Options.Help && !state.Options.Version) {
    const TCommandRule* command = nullptr;
    result.Error = ReadCommand(positional, state, command);
    if (result.Error.empty()) result.Error = CheckOptionsFitCommand(state.Options, *command, given);
  }
  result.Options = std::move(state.Options);
  return result;
}

std::string UsageText() {
  return "usage: vormek-query [OPTIONS] zz [--transfer | --via STATION] FROM TO\n"
         "       vormek-query [OPTIONS] cc NUMBER | cz STATION\n"
         "       vormek-query [OPTIONS] stops NUMBER [--board STATION --count N]\n"
         "       vormek-query [OPTIONS] plan FROM TO [--min-change MIN] [--max N]\n"
         "       vormek-query [OPTIONS] journey FROM TO [--depart HH:MM[-HH:MM]] [--max-changes N]\n"
         "                    [--min-change MIN] [--city-change MIN] [--rides]\n"
         "       vormek-query [OPTIONS] graph FROM TO --svg FILE | --png FILE [--width PX]\n"
         "                    [--span day|trains]\n"
         "       vormek-query [--gbk] [--tables DIR] stations [PREFIX]\n"
         "       vormek-query --help | -h | --version\n";
}

std::string HelpText() {
  return UsageText() +
         "\n"
         "Queries the timetable as the program's windows do and prints comma-separated\n"
         "lines: a header line, then one line per row as the grid shows it.\n"
         "\n"
         "Commands:\n"
         "  zz FROM TO               station-to-station trains (15 columns of the result\n"
         "                           grid); no train: only the header line\n"
         "  zz --transfer FROM TO    the transfer stations as the transfer window lists\n"
         "                           them, sorted by station name (9 columns)\n"
         "  zz --via STATION FROM TO the result grid after choosing STATION in that list;\n"
         "                           exit 3 when the list does not show STATION\n"
         "  cc NUMBER                the train number query (whole runs)\n"
         "  cz STATION               every train calling at the station\n"
         "  stops NUMBER             the stop list of one train (8 columns); the two\n"
         "                           summary lines (whole run, section) go to standard\n"
         "                           error. The section is the whole run, or with\n"
         "                           --board STATION --count N the N stops ridden from\n"
         "                           STATION. Exit 1 when the train is unknown.\n"
         "  plan FROM TO             connections with one change, as the 换乘方案 window\n"
         "                           lists them (13 columns), by total time; with\n"
         "                           --min-change MIN the second train leaves at least\n"
         "                           MIN minutes (default 30, at most 1440) after the\n"
         "                           first arrives, with --max N at most N lines\n"
         "                           (default 200); --filter and --sort as for zz, on\n"
         "                           both trains and on these 13 columns\n"
         "  journey FROM TO          journeys of up to three trains, each city group\n"
         "                           standing for its stations: every one that no\n"
         "                           other beats on a later departure, an earlier\n"
         "                           arrival and fewer changes, by departure (8\n"
         "                           columns: 出发, 到达 with +N on a later day, 历时,\n"
         "                           换乘次数, 车次, 换乘站, 里程, 参考票价, the sum of\n"
         "                           each train's lowest class). --depart HH:MM[-HH:MM]\n"
         "                           the departure window (default the whole day),\n"
         "                           --max-changes N (0-2, default 2), --min-change MIN\n"
         "                           at one station (default 30), --city-change MIN\n"
         "                           between two stations of a city (default 90);\n"
         "                           --rides one line per train instead: 序号, 车次,\n"
         "                           发站, 发时, 到站, 到时, 等候\n"
         "  graph FROM TO            the train graph (运行图) of the trains zz FROM TO\n"
         "                           lists (--filter as for zz): time across, km from\n"
         "                           the section's start down, one line per train,\n"
         "                           coloured by type. --svg FILE (- for standard\n"
         "                           output) and/or --png FILE; --width PX (320-8000,\n"
         "                           default 1600); --span day (00:00-24:00, trains\n"
         "                           past midnight go on from the left edge; the\n"
         "                           default) or trains (the hours the trains cover)\n"
         "  stations [PREFIX]        the station names, one per line; with PREFIX the\n"
         "                           ones the station box lists for it (what shell\n"
         "                           completion offers)\n"
         "\n"
         "Stations are read as the window's station box reads them: a whole name as\n"
         "it stands; letters as initials (bjx) or full pinyin (beijingxi), the\n"
         "stations they spell in full, else every station the box lists for them; the\n"
         "beginning of a name (北) as the names the box lists. The first station is\n"
         "taken; when there were several, they go to standard error. Letters naming\n"
         "no station are refused as a station that does not exist.\n"
         "\n"
         "Options:\n"
         "  --tables DIR       read SLIST.txt, STRAIN.txt, SM.txt and SPY.txt from DIR\n"
         "                     instead of the embedded timetable; the tables, once\n"
         "                     read and checked, are kept ready in\n"
         "                     $XDG_CACHE_HOME/vormek (else ~/.cache/vormek) and\n"
         "                     used from there while the four files are unchanged\n"
         "  --no-cache         with --tables: read the four files, keep nothing\n"
         "  --gbk              arguments and output are GBK bytes (default UTF-8;\n"
         "                     JSON is UTF-8 always)\n"
         "  --format FORM      csv (the default), table (columns aligned for a\n"
         "                     terminal, CJK characters two columns wide) or json\n"
         "                     (one object per row, keyed by the header's names,\n"
         "                     a repeated name as NAME_2; values are strings)\n"
         "  --pinyin           kept for old scripts; stations are always read as above\n"
         "  --filter LIST      check filter boxes first: any of sf (始发车), zd (终到车),\n"
         "                     jq (精确站名), dc (仅动车), comma-separated; for zz,\n"
         "                     zz --via, cc, cz and plan (始发车 judges the first\n"
         "                     train, 终到车 the second, 精确站名 and 仅动车 both)\n"
         "  --sort COL[:desc]  then click the header of 0-based column COL once\n"
         "                     (ascending) or twice (descending); the sort is not\n"
         "                     stable, so the order of these steps matters. With\n"
         "                     zz --transfer the list is already sorted by column 0\n"
         "                     ascending, so 0:desc is one more click\n"
         "  --board STATION --count N\n"
         "                     for stops: the section of N stops ridden from STATION\n"
         "  --help, -h         this text\n"
         "  --version          the program's version\n"
         "Every option that takes a value also takes it as --NAME=VALUE.\n"
         "\n"
         "Exit status: 0 done, 1 timetable not readable or unknown train (stops),\n"
         "2 input refused (\"vormek-query: \" and the message the window would show go\n"
         "to standard error),\n"
         "3 --via station not listed, 64 usage error, 66 --tables folder missing,\n"
         "74 output not written (disk full, standard output closed).\n"
         "Lines end in LF; fields are joined by \",\" without spaces; one holding a\n"
         "comma, a quote or a line break is quoted as RFC 4180 says.\n";
}

}  // namespace vormek::cli
