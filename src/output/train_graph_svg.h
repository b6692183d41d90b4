#pragma once
// A train graph as an SVG document (UTF-8). Each train is a <g> carrying
// data-train and data-row, with a <title> and its runs as <polyline>s; the
// strokes that carry a train over midnight are <line class="wrap">. The root
// carries the scales, so that a script can read positions back:
//   minute = (x - data-x0) / data-px-per-min  (modulo 1440 for the clock)
//   km     = (y - data-y0) / data-px-per-km
#include <string>

#include "output/train_graph.h"

namespace vormek {

std::string TrainGraphSvg(const TTrainGraph& graph);

}  // namespace vormek
