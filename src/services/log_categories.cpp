#include "services/log_categories.h"

namespace vormek {

// Warnings and worse by default; QT_LOGGING_RULES turns the rest on.
Q_LOGGING_CATEGORY(lcLoad, "vormek.load", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNet, "vormek.net", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPrint, "vormek.print", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "vormek.settings", QtWarningMsg)

}  // namespace vormek
