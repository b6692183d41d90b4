#pragma once
// The words the main window uses for a table that did not load.
#include <QString>

#include "data/table_loaders.h"

namespace vormek {

// One line for the status bar: which table, why, and that queries are off,
// e.g. "停靠站表加载失败(数据损坏)，无法查询".
QString LoadFailureText(const TLoadFailure& failure);

// The same with the error's own text, for the tooltip.
QString LoadFailureDetail(const TLoadFailure& failure);

}  // namespace vormek
