// The national distance tariff: distance bands and per-kilometre brackets.
#include <cstdint>

#include "rules/UPub_Center.h"

namespace vormek {

void BuildFareBands(TFareTables& tables) {
  struct Group {
    std::int32_t min, max, step, count;
  };
  // Bands widen with distance; together they cover 1..6000 km without gaps.
  static constexpr Group kGroups[] = {
      {1, 200, 10, 20},     {201, 400, 20, 10},   {401, 700, 30, 10},   {701, 1100, 40, 10},  {1101, 1600, 50, 10},
      {1601, 2200, 60, 10}, {2201, 2900, 70, 10}, {2901, 3700, 80, 10}, {3701, 4600, 90, 10}, {4601, 6000, 100, 14},
  };
  tables.FareBands.clear();
  for (const Group& g : kGroups) {
    TPub_CPQDSJ group;
    group.Min = g.min;
    group.Max = g.max;
    group.Step = g.step;
    group.Count = g.count;
    for (std::int32_t j = 0; j < g.count; ++j)
      group.Bands.push_back({g.min + j * g.step, g.min + (j + 1) * g.step - 1});
    tables.FareBands.push_back(std::move(group));
  }
}

void BuildFareRates(TFareTables& tables) {
  // The first rate tapers by tenths: 0.9, 0.8, ... 0.5 of it further out.
  tables.FareRates = {
      {1, 200, 0.05861},      {201, 500, 0.052749},   {501, 1000, 0.046888},
      {1001, 1500, 0.041027}, {1501, 2500, 0.035166}, {2501, 6000, 0.029305},
  };
}

TFareTables BuildFareTables() {
  TFareTables tables;
  BuildFareBands(tables);
  BuildFareRates(tables);
  return tables;
}

double BaseFare(const TFareTables& tables, std::int32_t km, std::int32_t& fareDistance) {
  std::int32_t f = km;
  // Only the first group that holds km is searched.
  for (const TPub_CPQDSJ& group : tables.FareBands) {
    if (km < group.Min || km > group.Max) continue;
    for (const TPub_DistanceBand& band : group.Bands) {
      if (band.Min <= km && km <= band.Max) {
        // Midpoint of the band, truncated.
        f = (band.Min - 1 + band.Max) / 2;
        break;
      }
    }
    break;
  }
  if (f < 20) f = 20;

  double fare = 0;
  for (const TPub_FareRate& bracket : tables.FareRates) {
    if (bracket.Max < f) {
      fare += (bracket.Max - bracket.Min + 1) * bracket.Rate;
    } else {
      fare += (f - bracket.Min + 1) * bracket.Rate;
      break;
    }
  }
  fareDistance = f;
  return fare;
}

}  // namespace vormek
