#pragma once
// The trains of a result as the train graph draws them: each row's train
// from its boarding stop to its alighting stop, with clock minutes that keep
// rising past midnight and kilometres from the boarding stop.
#include <vector>

#include "data/timetable.h"
#include "output/train_graph.h"
#include "rules/UPub_Center.h"

namespace vormek {

// One train per row, in the rows' order. A row whose train the stop table
// does not hold, or whose boarding or alighting stop it cannot find, gives a
// train without stops.
std::vector<TGraphTrain> GraphTrainsOf(const TTimetable& timetable, const std::vector<TPub_GridResult>& rows);

}  // namespace vormek
