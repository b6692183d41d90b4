// Section fares of multiple-unit trains (types 1 to 3): a per-kilometre rate
// for "D" trains, the difference of the stops' fares for "C" and "G" trains.
#include <cmath>
#include <string>

#include "rules/UPub_Center.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

constexpr double kDRate = 0.3097222;  // yuan per km, second class of a D train
constexpr double kSoftSeatShare = 1.199243;
constexpr double kUpperSleeperShare = 1.91651809;
constexpr double kLowerSleeperShare = 2.155609769;

std::string WholeOrEmpty(double value) { return value > 0 ? std::to_string(RoundHalfUp(value)) : std::string(); }

char UpperFirst(const std::string& id) {
  if (id.empty()) return '\0';
  const char c = id.front();
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

void EmuSectionFares(const TFareTables& /*tables*/, TPub_GridResult& r) {
  const double fP1 = ParseFare(r.FZ.P1, 0), fP2 = ParseFare(r.FZ.P2, 0);
  const double fP4a = ParseFare(r.FZ.P4, 1), fP4b = ParseFare(r.FZ.P4, 2);
  const double tP1 = ParseFare(r.DZ.P1, 0), tP2 = ParseFare(r.DZ.P2, 0);
  const double tP4a = ParseFare(r.DZ.P4, 1), tP4b = ParseFare(r.DZ.P4, 2);
  double r1 = 0, r2 = 0, r4a = 0, r4b = 0;

  if (r.QC_P1 != "-" && !r.QC_P1.empty()) {
    const double whole = DecimalOrZero(r.QC_P1);
    double rate = r.QC_Distance > 0 ? whole / r.QC_Distance : 0;
    const char letter = UpperFirst(r.ID);
    if (letter == 'D' && rate > 0) {
      double factor = 1;
      if (std::fabs(rate - kDRate) <= 0.02) {
        rate = kDRate;
      } else if (rate < 0.3) {
        // A cheaper run is a discounted one: keep its discount, snapping a
        // near-quarter discount to exactly 75 %.
        factor = rate / kDRate;
        rate = kDRate;
        if (std::fabs(factor - 0.75) < 0.03) factor = 0.75;
      }
      r1 = r.QJ_Distance * rate;
      if (r.QJ_Distance > 700) r1 *= factor;
      if (fP2 > 0) r2 = r1 * kSoftSeatShare;
      if (fP4a > 0) r4a = r1 * kUpperSleeperShare;
      if (fP4b > 0) r4b = r1 * kLowerSleeperShare;
    } else if (letter == 'C' || letter == 'G') {
      r1 = tP1 - fP1;
      r2 = tP2 - fP2;
      r4a = tP4a - fP4a;
      r4b = tP4b - fP4b;
      // The G100 run is sold at one price for every section.
      if (r.ID.compare(0, 4, "G100") == 0) {
        r1 = 333;
        r2 = 532;
      }
    }
  }

  if (r1 < 0) r1 = 0;
  if (r2 < 0) r2 = 0;
  if (r4a < 0) r4a = 0;
  if (r4b < 0) r4b = 0;
  r.QJ_P1 = WholeOrEmpty(r1);
  r.QJ_P2 = WholeOrEmpty(r2);
  r.QJ_P4 = r4a > 0 ? std::to_string(RoundHalfUp(r4a)) + "/" + std::to_string(RoundHalfUp(r4b)) : std::string();
}

}  // namespace vormek
