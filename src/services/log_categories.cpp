#include "services/log_categories.h"

namespace vormek {

Q_LOGGING_CATEGORY(lcLoad, "vormek.load")
Q_LOGGING_CATEGORY(lcNet, "vormek.net")
Q_LOGGING_CATEGORY(lcPrint, "vormek.print")

}  // namespace vormek
