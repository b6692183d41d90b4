#pragma once
// Runs the real vormek-query program and collects what it printed.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vormek::testing {

struct TQueryRun {
  std::string out;
  std::string err;
  int status = -1;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The images the program keeps of --tables folders go to a folder of this
// test program's own, gone when it ends, never to the user's cache.
class TTestCacheHome {
 public:
  TTestCacheHome()
      : dir_(std::filesystem::temp_directory_path() / ("vormek-query-cache-" + std::to_string(::getpid()))) {}
  ~TTestCacheHome() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::filesystem::path& Dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

inline std::vector<std::string> QueryToolEnvironment() {
  static const TTestCacheHome cache;
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string_view(*e).substr(0, 15) != "XDG_CACHE_HOME=") env.emplace_back(*e);
  env.push_back("XDG_CACHE_HOME=" + cache.Dir().string());
  return env;
}

// Where the program's standard output goes: a file read back afterwards, a
// device that is always full, or nowhere (the descriptor closed).
enum class TStdout { File, Full, Closed };

inline TQueryRun RunQueryTool(const std::vector<std::string>& args, TStdout stdoutTo = TStdout::File) {
  namespace fs = std::filesystem;
  static int serial = 0;
  const fs::path dir = fs::temp_directory_path();
  const std::string stem = "vormek-query-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
  const fs::path outPath = dir / (stem + ".out");
  const fs::path errPath = dir / (stem + ".err");

  std::vector<std::string> argv{VORMEK_QUERY_BIN};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargs;
  for (std::string& a : argv) cargs.push_back(a.data());
  cargs.push_back(nullptr);

  std::vector<std::string> env = QueryToolEnvironment();
  std::vector<char*> cenv;
  for (std::string& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutTo == TStdout::File)
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  else if (stdoutTo == TStdout::Full)
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
  else
    posix_spawn_file_actions_addclose(&actions, 1);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  TQueryRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, cargs[0], &actions, nullptr, cargs.data(), cenv.data()) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdoutTo == TStdout::File) run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return run;
}

// "diff -u" of the expected file against the text, for failure messages.
inline std::string UnifiedDiff(const std::filesystem::path& expected, const std::string& actual) {
  namespace fs = std::filesystem;
  const fs::path tmp = fs::temp_directory_path() / ("vormek-actual-" + std::to_string(::getpid()) + ".txt");
  std::ofstream(tmp, std::ios::binary) << actual;
  const fs::path diffPath = tmp.string() + ".diff";
  const std::string command =
      "diff -u '" + expected.string() + "' '" + tmp.string() + "' > '" + diffPath.string() + "'";
  [[maybe_unused]] const int rc = std::system(command.c_str());
  std::string diff = ReadWholeFile(diffPath);
  fs::remove(tmp);
  fs::remove(diffPath);
  return diff;
}

}  // namespace vormek::testing
