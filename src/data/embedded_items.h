#pragma once
// The twelve items built into this executable (four tables, eight pictures).
// Defined by a source file that the build generates.
#include "data/item_set.h"

namespace vormek {

const TItemSet& EmbeddedItems();

}  // namespace vormek
