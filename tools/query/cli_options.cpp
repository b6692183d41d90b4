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

// The options as read, before the command word says what they mean.
struct TParseState {
  TOptions Options;
  bool Transfer = false;
  bool HasVia = false;
};

using TCliOption = TOptionRule<TParseState>;

const TCliOption kOptions[] = {
    {"-h", false,
     [](TParseState& s, const std::string&) {
       s.Options.Help = true;
       return std::string();
     },
     true},
    {"--help", false,
     [](TParseState& s, const std::string&) {
       s.Options.Help = true;
       return std::string();
     },
     true},
    {"--version", false,
     [](TParseState& s, const std::string&) {
       s.Options.Version = true;
       return std::string();
     },
     true},
    {"--gbk", false,
     [](TParseState& s, const std::string&) {
       s.Options.Gbk = true;
       return std::string();
     }},
    {"--pinyin", false,
     [](TParseState& s, const std::string&) {
       s.Options.Pinyin = true;
       return std::string();
     }},
    {"--transfer", false,
     [](TParseState& s, const std::string&) {
       s.Transfer = true;
       return std::string();
     }},
    {"--tables", true, [](TParseState& s, const std::string& v) { return ReadTablesFolder(s.Options.TablesDir, v); }},
    {"--no-cache", false,
     [](TParseState& s, const std::string&) {
       s.Options.NoCache = true;
       return std::string();
     }},
    {"--via", true,
     [](TParseState& s, const std::string& v) {
       s.Options.Via = v;
       s.HasVia = true;
       return std::string();
     }},
    {"--filter", true,
     [](TParseState& s, const std::string& v) -> std::string {
       s.Options.Filter = v;
       if (!ValidFilter(v)) return "--filter takes a comma-separated subset of sf,zd,jq,dc";
       s.Options.HasFilter = true;
       return {};
     }},
    {"--sort", true,
     [](TParseState& s, const std::string& v) -> std::string {
       s.Options.Sort = ReadSort(v);
       if (!s.Options.Sort) return "--sort takes COL or COL:desc";
       return {};
     }},
    {"--board", true,
     [](TParseState& s, const std::string& v) {
       s.Options.Board = v;
       s.Options.HasBoard = true;
       return std::string();
     }},
    {"--count", true,
     [](TParseState& s, const std::string& v) -> std::string {
       if (!ReadWholeNumber(v, s.Options.Count) || s.Options.Count < 1)
         return "--count takes a positive number of stops";
       s.Options.HasCount = true;
       return {};
     }},
};

// The command word and its arguments; empty, or the usage error.
std::string ReadCommand(const std::vector<std::string>& positional, TParseState& s) {
  TOptions& o = s.Options;
  if (positional.empty()) return "no command given";
  const std::string& command = positional.front();
  o.Args.assign(positional.begin() + 1, positional.end());
  std::size_t wanted = 1;
  if (command == "zz") {
    wanted = 2;
    if (s.Transfer && s.HasVia) return "--transfer and --via exclude each other";
    o.Command = s.Transfer ? TCommand::Transfer : s.HasVia ? TCommand::Via : TCommand::Direct;
  } else if (command == "cc") {
    o.Command = TCommand::TrainNumber;
  } else if (command == "cz") {
    o.Command = TCommand::Station;
  } else if (command == "stops") {
    o.Command = TCommand::Stops;
  } else {
    return "unknown command " + Echo(command);
  }
  if (o.Args.size() != wanted)
    return command + " takes " + std::to_string(wanted) + (wanted == 1 ? " argument" : " arguments");
  if (command != "zz" && (s.Transfer || s.HasVia)) return "--transfer and --via belong to zz";
  return {};
}

// Options that do not belong to the command given; empty, or the usage error.
std::string CheckOptionsFitCommand(const TOptions& o) {
  const bool grid = o.Command == TCommand::Direct || o.Command == TCommand::Via || o.Command == TCommand::TrainNumber ||
                    o.Command == TCommand::Station;
  if (o.HasFilter && !grid) return "--filter applies to zz, zz --via, cc and cz";
  if (o.Sort && o.Command == TCommand::Stops) return "--sort does not apply to stops";
  if ((o.HasBoard || o.HasCount) && o.Command != TCommand::Stops) return "--board and --count belong to stops";
  if (o.HasBoard != o.HasCount) return "--board and --count go together";
  return {};
}

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string>& args) {
  TParseState state;
  std::vector<std::string> positional;
  TParseResult result;
  result.Error = ApplyOptions<TParseState>(args, kOptions, state, positional);
  if (result.Error.empty() && !state.Options.Help && !state.Options.Version) {
    result.Error = ReadCommand(positional, state);
    if (result.Error.empty()) result.Error = CheckOptionsFitCommand(state.Options);
  }
  result.Options = std::move(state.Options);
  return result;
}

bool OptionTakesValue(std::string_view name) {
  return OptionTakesValue<TParseState>(std::span<const TCliOption>(kOptions), name);
}

std::string UsageText() {
  return "usage: vormek-query [--gbk] [--pinyin] [--tables DIR] zz [--transfer | --via STATION] FROM TO\n"
         "       vormek-query [--gbk] [--pinyin] [--tables DIR] cc NUMBER | cz STATION\n"
         "       vormek-query [--gbk] [--pinyin] [--tables DIR] stops NUMBER [--board STATION --count N]\n"
         "       vormek-query [--gbk] [--tables DIR] plan FROM TO [--min-change MIN] [--max N]\n"
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
         "                           (default 200)\n"
         "\n"
         "Options:\n"
         "  --tables DIR       read SLIST.txt, STRAIN.txt, SM.txt and SPY.txt from DIR\n"
         "                     instead of the embedded timetable; the tables, once\n"
         "                     read and checked, are kept ready in\n"
         "                     $XDG_CACHE_HOME/vormek (else ~/.cache/vormek) and\n"
         "                     used from there while the four files are unchanged\n"
         "  --no-cache         with --tables: read the four files, keep nothing\n"
         "  --gbk              arguments and output are GBK bytes (default UTF-8)\n"
         "  --pinyin           a station given in letters only (full pinyin such as\n"
         "                     beijingxi, or a short code such as bjx) stands for the\n"
         "                     station whose full pinyin or short code it is, else for\n"
         "                     the stations whose pinyin begins with it, if they are\n"
         "                     all of one city; letters naming several cities are\n"
         "                     refused (exit 2) with the stations on standard error\n"
         "  --filter LIST      check filter boxes first: any of sf (始发车), zd (终到车),\n"
         "                     jq (精确站名), dc (仅动车), comma-separated; for zz,\n"
         "                     zz --via, cc and cz\n"
         "  --sort COL[:desc]  then click the header of 0-based column COL once\n"
         "                     (ascending) or twice (descending); the sort is not\n"
         "                     stable, so the order of these steps matters. With\n"
         "                     zz --transfer the list is already sorted by column 0\n"
         "                     ascending, so 0:desc is one more click\n"
         "  --board STATION --count N\n"
         "                     for stops: the section of N stops ridden from STATION\n"
         "  --help, -h         this text\n"
         "  --version          the program's version\n"
         "Every option that takes a value also takes it as --option=value.\n"
         "\n"
         "Exit status: 0 done, 1 timetable not readable or unknown train (stops),\n"
         "2 input refused (the message the window would show goes to standard error),\n"
         "3 --via station not listed, 64 usage error, 66 --tables folder missing,\n"
         "74 output not written (disk full, standard output closed).\n"
         "Lines end in LF; fields are joined by \",\" without spaces; one holding a\n"
         "comma, a quote or a line break is quoted as RFC 4180 says.\n";
}

}  // namespace vormek::cli
