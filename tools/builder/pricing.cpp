#include "pricing.h"

#include <cmath>

#include "rules/UPub_Center.h"

namespace vormek::builder {
namespace {

constexpr double kD_PerKm = 0.3097222;
constexpr double kD_SoftSeat = 1.199243;

// The 2 % supplement, up to the next tenth of a yuan.
double TwoPercent(double base) {
  double s = base * 0.02;
  double t = std::trunc(s * 10);
  return s * 10 - t > 0 ? (t + 1) * 0.1 : s;
}

double HalfYuan(double amount) { return std::floor(amount * 2 + 0.5) / 2; }

}  // namespace

int RoundHalf(double x) { return RoundHalfUp(x); }

// The same tariff the section-fare rules price with, so that stored fares
// calibrate back exactly.
double TariffBase(int km, int& fareDistance) {
  static const TFareTables tables = BuildFareTables();
  return BaseFare(tables, km, fareDistance);
}

double DefaultFactor(int type, int runKm) { return (type == 4 || type == 5) && runKm >= 150 ? 1.5 : 1.0; }

bool IsAirConditioned(int type) { return type != 7 && type != 8 && type != 11; }

std::string AmountText(double amount) {
  int whole = static_cast<int>(std::floor(amount));
  if (amount - whole >= 0.25) return std::to_string(whole) + ".5";
  return std::to_string(whole);
}

FareTexts ClassicFares(int km, const ClassicTerms& t) {
  int k = 0;
  double b = TariffBase(km, k);
  double s = TwoPercent(b);
  double x = 0;
  if (t.type >= 4 && t.type <= 7) {
    x = RoundHalf(RoundHalf(k >= 100 ? b * 0.2 : 1.1722) * t.factor);
    if (t.type <= 6) x *= 2;
  }
  int unused = 0;
  double lb = k >= 400 ? b : TariffBase(400, unused);
  double a = t.airConditioned ? RoundHalf(b * 0.25) : 0;
  int p = k > 200 ? 1 : 0;
  double seat = RoundHalf(RoundHalf(b + s) * t.factor);
  double soft = RoundHalf(RoundHalf(2 * b + s) * t.factor);
  double air = RoundHalf(a * t.factor);
  double hard = seat + x + air + p;
  hard += hard > 5 ? 1 : 0.5;
  FareTexts out{AmountText(hard), "-", "-", "-"};
  if (t.sleepers) {
    auto berth = [&](double m) { return RoundHalf(RoundHalf(lb * m) * t.factor); };
    auto hardBerth = [&](double m) { return std::to_string(static_cast<int>(seat + x + air + berth(m) + 10 + p + 1)); };
    auto softBerth = [&](double m) { return std::to_string(static_cast<int>(soft + x + air + berth(m) + 10 + 1)); };
    out[2] = hardBerth(1.1) + "/" + hardBerth(1.2) + "/" + hardBerth(1.3);
    out[3] = softBerth(1.75) + "/" + softBerth(1.95);
  }
  return out;
}

FareTexts EmuFares(int km, bool perKilometreD) {
  if (perKilometreD) {
    double hard = km * kD_PerKm;
    return {std::to_string(RoundHalf(hard)), std::to_string(RoundHalf(hard * kD_SoftSeat)), "-", "-"};
  }
  return HighSpeedFares(km * kSecondClassPerKm, km * kFirstClassPerKm);
}

FareTexts HighSpeedFares(double secondClassYuan, double firstClassYuan) {
  return {AmountText(HalfYuan(secondClassYuan)), AmountText(HalfYuan(firstClassYuan)), "-", "-"};
}

}  // namespace vormek::builder
