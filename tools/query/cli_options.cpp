#include "cli_options.h"

#include <charconv>

#include "cli_text.h"

namespace vormek::cli {

namespace {

bool ReadNumber(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

std::optional<TSortRequest> ReadSort(std::string text) {
  TSortRequest sort;
  const std::string desc = ":desc";
  if (text.size() > desc.size() && text.compare(text.size() - desc.size(), desc.size(), desc) == 0) {
    sort.Descending = true;
    text.resize(text.size() - desc.size());
  }
  if (!ReadNumber(text, sort.Column) || sort.Column < 0) return std::nullopt;
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

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string>& args) {
  TParseResult result;
  TOptions& o = result.Options;
  std::vector<std::string> positional;
  bool transfer = false;
  bool hasVia = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!optionsEnded && args[i] == "-h") {
      o.Help = true;
      return result;
    }
    if (optionsEnded || args[i].size() < 2 || args[i].compare(0, 2, "--") != 0) {
      positional.push_back(args[i]);
      continue;
    }
    // "--option=value" stands for "--option value".
    const std::size_t equals = args[i].find('=');
    const std::string a = args[i].substr(0, equals);
    const bool inlineValue = equals != std::string::npos;
    auto value = [&](std::string& into) {
      if (inlineValue) {
        into = args[i].substr(equals + 1);
        return true;
      }
      if (i + 1 >= args.size()) {
        result.Error = Echo(a) + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    const bool takesValue = a == "--tables" || a == "--via" || a == "--filter" || a == "--sort" ||
                            a == "--board" || a == "--count";
    if (inlineValue && !takesValue) {
      result.Error = Echo(a) + " takes no value";
      return result;
    }
    std::string v;
    if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help") {
      o.Help = true;
      return result;
    } else if (a == "--version") {
      o.Version = true;
      return result;
    } else if (a == "--gbk") {
      o.Gbk = true;
    } else if (a == "--pinyin") {
      o.Pinyin = true;
    } else if (a == "--transfer") {
      transfer = true;
    } else if (a == "--tables") {
      if (!value(o.TablesDir)) return result;
      // An empty folder name would quietly mean the built-in timetable.
      if (o.TablesDir.empty()) {
        result.Error = "--tables needs a folder";
        return result;
      }
    } else if (a == "--via") {
      if (!value(o.Via)) return result;
      hasVia = true;
    } else if (a == "--filter") {
      if (!value(o.Filter)) return result;
      if (!ValidFilter(o.Filter)) {
        result.Error = "--filter takes a comma-separated subset of sf,zd,jq,dc";
        return result;
      }
      o.HasFilter = true;
    } else if (a == "--sort") {
      if (!value(v)) return result;
      o.Sort = ReadSort(v);
      if (!o.Sort) {
        result.Error = "--sort takes COL or COL:desc";
        return result;
      }
    } else if (a == "--board") {
      if (!value(o.Board)) return result;
      o.HasBoard = true;
    } else if (a == "--count") {
      if (!value(v)) return result;
      if (!ReadNumber(v, o.Count) || o.Count < 1) {
        result.Error = "--count takes a positive number of stops";
        return result;
      }
      o.HasCount = true;
    } else {
      result.Error = "unknown option " + Echo(a);
      return result;
    }
  }
  if (positional.empty()) {
    result.Error = "no command given";
    return result;
  }
  const std::string command = positional.front();
  o.Args.assign(positional.begin() + 1, positional.end());
  std::size_t wanted = 1;
  if (command == "zz") {
    wanted = 2;
    if (transfer && hasVia) {
      result.Error = "--transfer and --via exclude each other";
      return result;
    }
    o.Command = transfer ? TCommand::Transfer : hasVia ? TCommand::Via : TCommand::Direct;
  } else if (command == "cc") {
    o.Command = TCommand::TrainNumber;
  } else if (command == "cz") {
    o.Command = TCommand::Station;
  } else if (command == "stops") {
    o.Command = TCommand::Stops;
  } else {
    result.Error = "unknown command " + Echo(command);
    return result;
  }
  if (o.Args.size() != wanted) {
    result.Error = command + " takes " + std::to_string(wanted) + (wanted == 1 ? " argument" : " arguments");
    return result;
  }
  if (command != "zz" && (transfer || hasVia)) {
    result.Error = "--transfer and --via belong to zz";
    return result;
  }
  const bool grid = o.Command == TCommand::Direct || o.Command == TCommand::Via ||
                    o.Command == TCommand::TrainNumber || o.Command == TCommand::Station;
  if (o.HasFilter && !grid) {
    result.Error = "--filter applies to zz, zz --via, cc and cz";
    return result;
  }
  if (o.Sort && o.Command == TCommand::Stops) {
    result.Error = "--sort does not apply to stops";
    return result;
  }
  if ((o.HasBoard || o.HasCount) && o.Command != TCommand::Stops) {
    result.Error = "--board and --count belong to stops";
    return result;
  }
  if (o.HasBoard != o.HasCount) {
    result.Error = "--board and --count go together";
    return result;
  }
  return result;
}

std::string UsageText() {
  return "usage: vormek-query [--gbk] [--tables DIR] zz [--transfer | --via STATION] FROM TO\n"
         "       vormek-query [--gbk] [--tables DIR] cc NUMBER | cz STATION\n"
         "       vormek-query [--gbk] [--tables DIR] stops NUMBER [--board STATION --count N]\n"
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
         "\n"
         "Options:\n"
         "  --tables DIR       read SLIST.txt, STRAIN.txt, SM.txt and SPY.txt from DIR\n"
         "                     instead of the embedded timetable\n"
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
         "  --help, -h         this text\n"
         "  --version          the program's version\n"
         "Every option that takes a value also takes it as --option=value.\n"
         "\n"
         "Exit status: 0 done, 1 timetable not readable or unknown train (stops),\n"
         "2 input refused (the message the window would show goes to standard error),\n"
         "3 --via station not listed, 64 usage error, 66 --tables folder missing.\n"
         "Lines end in LF; fields are joined by \",\" without spaces or quotes.\n";
}

}  // namespace vormek::cli
