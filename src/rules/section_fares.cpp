// Which of the three fare rules prices a result record.
#include "rules/UPub_Center.h"

namespace vormek {

void SectionFares(const TFareTables& tables, TPub_GridResult& r) {
  // Boarding at the start of the run: the alighting stop's stored fares are
  // already the section fares, unless that stop offers no class at all.
  if (r.StartStation == r.FZ.Station && (r.DZ.P1 != "-" || r.DZ.P2 != "-" || r.DZ.P3 != "-" || r.DZ.P4 != "-")) {
    r.QJ_P1 = r.DZ.P1;
    r.QJ_P2 = r.DZ.P2;
    r.QJ_P3 = r.DZ.P3;
    r.QJ_P4 = r.DZ.P4;
    return;
  }
  if (r.NType < 4)
    EmuSectionFares(tables, r);
  else
    ClassicSectionFares(tables, r);
}

}  // namespace vormek
