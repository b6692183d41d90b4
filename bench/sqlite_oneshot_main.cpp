// vormek-sqlite-oneshot DB FROM TO: one station-to-station query against a
// database written by vormek-scaled-tables, printed one line per row; the
// SQLite side of the cold-start comparison with vormek-query. Arguments and
// output are UTF-8, as vormek-query's by default.
#include <iostream>
#include <string>
#include <vector>

#include "data/gbk_codec.h"
#include "sqlite_peer.h"

int main(int argc, char** argv) {
  using namespace vormek;
  if (argc != 4) {
    std::cerr << "usage: vormek-sqlite-oneshot DB FROM TO\n";
    return 64;
  }
  std::ios::sync_with_stdio(false);
  bench::TSqlitePeer peer(argv[1]);
  peer.Prepare();
  std::vector<TPub_GridResult> rows;
  peer.Direct(BuildFareTables(), Utf8ToGbk(argv[2]).value_or(""), Utf8ToGbk(argv[3]).value_or(""), rows);
  for (const TPub_GridResult& r : rows) {
    const std::string line = r.ID + ',' + r.FZ.Station + ',' + r.FZ.Time + ',' + r.DZ.Station + ',' + r.DZ.Time + ',' +
                             std::to_string(r.QJ_Distance) + ',' + r.QJ_R_Date + ',' + r.QJ_P1 + ',' + r.QJ_P2 + ',' +
                             r.QJ_P3 + ',' + r.QJ_P4 + '\n';
    std::cout << GbkToUtf8(line);
  }
  std::cout.flush();
  return 0;
}
