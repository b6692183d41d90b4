// vormek-scaled-tables builtin|national FACTOR OUTDIR [DB]: writes SPY.txt,
// SLIST.txt, SM.txt and STRAIN.txt of a timetable FACTOR times the built-in
// or the national 2019 one, every train renumbered; with DB, also the SQLite
// database of those tables. For the cold-start and memory figures of
// scripts/bench-ratios.sh; the output is never kept. Exit 2 when the
// national tables are asked for and absent.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_tables.h"
#ifdef VORMEK_HAVE_SQLITE
#include "sqlite_peer.h"
#endif

int main(int argc, char** argv) {
  using namespace vormek::bench;
  if (argc < 4) {
    std::cerr << "usage: vormek-scaled-tables builtin|national FACTOR OUTDIR [DB]\n";
    return 64;
  }
  const bool wantNational = std::string(argv[1]) == "national";
  const int factor = std::atoi(argv[2]);
  const std::filesystem::path dir = argv[3];
  const std::optional<TTableTexts> national = wantNational ? NationalTexts() : std::nullopt;
  if (wantNational && !national) {
    std::cerr << "national tables not present\n";
    return 2;
  }
  const TTableTexts texts = ScaleTexts(national ? *national : BuiltinTexts(), factor < 1 ? 1 : factor);
  std::filesystem::create_directories(dir);
  auto write = [&dir](const char* name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  };
  write("SPY.txt", texts.Spy);
  write("SLIST.txt", texts.SList);
  write("SM.txt", texts.Sm);
  write("STRAIN.txt", texts.STrain);
  if (argc > 4) {
#ifdef VORMEK_HAVE_SQLITE
    std::filesystem::remove(argv[4]);
    TSqlitePeer peer(argv[4]);
    peer.Fill(*LoadTexts(texts));
#else
    std::cerr << "built without SQLite\n";
    return 1;
#endif
  }
  return 0;
}
