#include "plan_command.h"

#include <ostream>

#include "asked_timetable.h"
#include "cli_commands.h"
#include "cli_option_table.h"
#include "cli_text.h"
#include "query/connection_rows.h"
#include "query/connections.h"
#include "query/input_checks.h"
#include "row_writer.h"
#include "rules/UPub_Center.h"

namespace vormek::cli {

namespace {

const char* const kPlanUsage =
    "usage: vormek-query [--gbk] [--tables DIR] plan FROM TO [--min-change MIN] [--max N]\n"
    "  connections with one change, as the 换乘方案 window lists them: the second\n"
    "  train leaves the transfer station at least MIN minutes (default 30, at most\n"
    "  1440) after the first arrives; at most N lines (default 200), by total time\n";

struct TPlanOptions {
  bool Gbk = false;
  std::string TablesDir;
  bool NoCache = false;
  std::vector<std::string> Args;  // "plan", FROM, TO
  TConnectionOptions Connection;
};

using TPlanOption = TOptionRule<TPlanOptions>;

const TPlanOption kPlanOptions[] = {
    {"--gbk", false,
     [](TPlanOptions& o, const std::string&) {
       o.Gbk = true;
       return std::string();
     }},
    {"--tables", true, [](TPlanOptions& o, const std::string& v) { return ReadTablesFolder(o.TablesDir, v); }},
    {"--no-cache", false,
     [](TPlanOptions& o, const std::string&) {
       o.NoCache = true;
       return std::string();
     }},
    {"--min-change", true,
     [](TPlanOptions& o, const std::string& v) -> std::string {
       int& minutes = o.Connection.MinChange;
       if (!ReadWholeNumber(v, minutes) || minutes < 0 || minutes > kMinutesPerDay)
         return "--min-change takes minutes from 0 to 1440";
       return {};
     }},
    {"--max", true,
     [](TPlanOptions& o, const std::string& v) -> std::string {
       if (!ReadWholeNumber(v, o.Connection.MaxCount) || o.Connection.MaxCount < 1)
         return "--max takes a positive number of connections";
       return {};
     }},
};

// Empty on success, else the usage error.
std::string Parse(const std::vector<std::string>& args, TPlanOptions& o) {
  if (std::string error = ApplyOptions<TPlanOptions>(args, kPlanOptions, o, o.Args); !error.empty()) return error;
  if (o.Args.size() != 3) return "plan takes 2 arguments";
  return {};
}

}  // namespace

bool IsPlanCommand(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() < 2 || a.compare(0, 2, "--") != 0) return a == "plan";
    // The value of an option is no command word, whichever command has it.
    const bool valueFollows =
        a.find('=') == std::string::npos &&
        (OptionTakesValue(a) || OptionTakesValue<TPlanOptions>(std::span<const TPlanOption>(kPlanOptions), a));
    if (valueFollows) ++i;
  }
  return false;
}

int RunPlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TPlanOptions o;
  const std::string error = Parse(args, o);
  const TTextCodec codec(o.Gbk);
  if (!error.empty()) {
    // The usage names the window in Chinese, so it goes out in the terminal's code.
    err << "vormek-query: " << error << '\n' << codec.Output(kPlanUsage);
    return ExitUsage;
  }
  TTimetable tt;
  if (const int status = LoadAskedTimetable(o.TablesDir, o.NoCache, codec, err, tt); status != ExitOk) return status;
  const std::string from = codec.Argument(o.Args[1]);
  const std::string to = codec.Argument(o.Args[2]);
  if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) {
    err << codec.Output(refusal->Message) << '\n';
    return ExitRefused;
  }
  const TConnectionIndex index(tt);
  const auto connections = FindConnections(index, tt, from, to, o.Connection, BuildFareTables());
  TRowWriter writer(codec, out);
  writer.Header(ConnectionHeader());
  for (const TConnection& c : connections) writer.Row(ConnectionRow(c));
  out.flush();
  return ExitOk;
}

}  // namespace vormek::cli
