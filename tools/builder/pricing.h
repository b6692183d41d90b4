#pragma once
// Fares the builder stores from a train's start to each of its stops. They
// are priced so that the section-fare rules give them back.
#include <array>
#include <string>

namespace vormek::builder {

using FareTexts = std::array<std::string, 4>;  // P1 hard seat .. P4 soft sleeper

// Truncate toward zero, then add one when the dropped part is at least 0.5.
int RoundHalf(double x);

// The national distance tariff: fare (unrounded) for km, with the fare
// distance (midpoint of the km band, at least 20) in fareDistance.
double TariffBase(int km, int& fareDistance);

struct ClassicTerms {
  int type = 8;                // 4..11; 4-7 pay the express supplement
  double factor = 1;           // price factor of the train
  bool airConditioned = true;  // pays the quarter supplement
  bool sleepers = false;
};

// Hard seat, "-", hard sleeper upper/middle/lower, soft sleeper upper/lower
// for a journey of km from the start station (sleepers "-" when not offered).
FareTexts ClassicFares(int km, const ClassicTerms& terms);

// D trains: per kilometre, hard and soft seat. Other multiple units (G, C):
// per kilometre to the half yuan, first and second class.
FareTexts EmuFares(int km, bool perKilometreD);

// G and C trains by the yuan of second and first class summed over the
// lines ridden (each at its own rate), to the half yuan.
FareTexts HighSpeedFares(double secondClassYuan, double firstClassYuan);
inline constexpr double kSecondClassPerKm = 0.46;
inline constexpr double kFirstClassPerKm = 0.74;

// Price factor of a train by type and whole-run length: 1.5 for Z and T
// trains, 1 otherwise. Below 150 km the tariff cannot tell 1.5 from other
// factors when the fare is calibrated back, so short runs keep 1.
double DefaultFactor(int type, int runKm);

// Air-conditioned types pay the quarter supplement; 7, 8 and 11 do not.
bool IsAirConditioned(int type);

// Shortest text of an amount that is whole or a half ("37", "5.5").
std::string AmountText(double amount);

}  // namespace vormek::builder
