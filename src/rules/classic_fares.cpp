// Section fares of conventional trains (types 4 and above): the distance
// tariff with its supplements, scaled by the price factor that makes the same
// tariff reproduce the stored whole-run fare.
#include <cmath>
#include <cstdint>
#include <string>

#include "rules/UPub_Center.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

constexpr double kMinExpressSupplement = 1.1722;  // tariff of 20 km
constexpr std::int32_t kBerthBaseKm = 400;        // shorter berths pay as 400 km

bool PaysExpressSupplement(std::int32_t type) { return type >= 4 && type <= 7; }

// The 2 % supplement, rounded up to the next tenth of a yuan.
double TwoPercent(double base) {
  double s = base * 0.02;
  const double t = std::trunc(s * 10);
  if (s * 10 - t > 0) s = (t + 1) * 0.1;
  return s;
}

double ExpressBase(double base, std::int32_t fareDistance) {
  return fareDistance >= 100 ? base * 0.2 : kMinExpressSupplement;
}

double BerthBase(const TFareTables& tables, double base, std::int32_t fareDistance) {
  if (fareDistance >= kBerthBaseKm) return base;
  std::int32_t ignored = 0;
  return BaseFare(tables, kBerthBaseKm, ignored);
}

// The whole-run fare the factor is measured against, and its class 1..4.
struct Reference {
  double fare = 0;
  int seatClass = 0;
};

Reference FindReference(const TPub_GridResult& r) {
  Reference ref;
  if (r.QC_P1 != "-") ref = {DecimalOrZero(r.QC_P1), 1};
  if (ref.fare <= 0 && r.QC_P2 != "-") ref = {DecimalOrZero(r.QC_P2), 2};
  if (ref.fare <= 0) ref = {ParseFare(r.QC_P3, 1), 3};
  if (ref.fare <= 0) ref = {ParseFare(r.QC_P4, 1), 4};
  return ref;
}

struct Calibration {
  double factor = 1;
  bool quarterSupplement = true;
};

Calibration Calibrate(const TFareTables& tables, const TPub_GridResult& r, Reference ref) {
  double q = ref.fare;
  const int c = ref.seatClass;
  // Take the fixed charges out of the stored fare.
  q -= q > 5.5 ? 1 : 0.5;
  if ((c == 1 || c == 3) && r.QC_Distance > 200) q -= 1;
  if (c == 3 || c == 4) q -= 10;

  std::int32_t K = 0;
  const double B = BaseFare(tables, r.QC_Distance, K);
  const double S = TwoPercent(B);
  double X = 0;
  if (PaysExpressSupplement(r.NType)) X = RoundHalfUp(ExpressBase(B, K)) * 2.0;
  double L = 0;
  if (c == 3) L = 1.1 * BerthBase(tables, B, K);
  if (c == 4) L = 1.75 * BerthBase(tables, B, K);
  double A = B * 0.25;

  const double E1 = RoundHalfUp(B + S) + RoundHalfUp(X) + RoundHalfUp(L);
  if (q / E1 < 1.1) A = 0;  // the train charges no quarter supplement
  const double E2 = E1 + RoundHalfUp(A);
  const double ratio = q / E2;

  Calibration cal;
  cal.quarterSupplement = A > 0;
  // The windows overlap; the first that holds wins (1.35 -> 1.4, 1.45 -> 1.5).
  if (ratio < 1.1)
    cal.factor = 1;
  else if (std::fabs(ratio - 1.75) < 0.07)
    cal.factor = 1.75;
  else if (std::fabs(ratio - 1.5) < 0.07)
    cal.factor = 1.5;
  else if (std::fabs(ratio - 1.4) < 0.07)
    cal.factor = 1.4;
  else if (std::fabs(ratio - 1.3) < 0.07)
    cal.factor = 1.3;
  else
    cal.factor = ratio;
  return cal;
}

std::int32_t Scaled(double value, double factor) { return RoundHalfUp(RoundHalfUp(value) * factor); }

}  // namespace

void ClassicSectionFares(const TFareTables& tables, TPub_GridResult& r) {
  const Reference ref = FindReference(r);
  if (ref.fare <= 0) return;
  const Calibration cal = Calibrate(tables, r, ref);
  const double F = cal.factor;

  std::int32_t k = 0;
  const double b = BaseFare(tables, r.QJ_Distance, k);
  const double s = TwoPercent(b);
  std::int32_t x = 0;
  if (PaysExpressSupplement(r.NType)) {
    x = Scaled(ExpressBase(b, k), F);
    // Type 7 pays it once on the section, though its whole run paid it twice.
    if (r.NType <= 6) x *= 2;
  }
  const double lb = BerthBase(tables, b, k);
  const std::int32_t a = cal.quarterSupplement ? RoundHalfUp(b * 0.25) : 0;
  const std::int32_t p = k > 200 ? 1 : 0;
  const std::int32_t seat = Scaled(b + s, F);
  const std::int32_t soft = Scaled(2 * b + s, F);
  const std::int32_t air = RoundHalfUp(a * F);

  // Short hard and soft seat tickets are rounded to the half yuan.
  double H = seat + x + air + p;
  H += H > 5 ? 1 : 0.5;
  double W = soft + x + air;
  W += W > 5 ? 1 : 0.5;
  auto hardBerth = [&](double m) { return seat + x + air + Scaled(lb * m, F) + 10 + p + 1; };
  auto softBerth = [&](double m) { return soft + x + air + Scaled(lb * m, F) + 10 + 1; };

  if (r.QC_P1 != "-") r.QJ_P1 = FormatAmount(H);
  if (r.QC_P2 != "-") r.QJ_P2 = FormatAmount(W);
  if (r.QC_P3 != "-")
    r.QJ_P3 =
        std::to_string(hardBerth(1.1)) + "/" + std::to_string(hardBerth(1.2)) + "/" + std::to_string(hardBerth(1.3));
  if (r.QC_P4 != "-") r.QJ_P4 = std::to_string(softBerth(1.75)) + "/" + std::to_string(softBerth(1.95));
}

}  // namespace vormek
