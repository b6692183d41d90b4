#pragma once
// The program's logging categories: what failed and why, for anyone running
// it with QT_LOGGING_RULES (e.g. "vormek.*=true").
#include <QLoggingCategory>

namespace vormek {

Q_DECLARE_LOGGING_CATEGORY(lcLoad)      // vormek.load: tables and pictures
Q_DECLARE_LOGGING_CATEGORY(lcNet)       // vormek.net: the version check
Q_DECLARE_LOGGING_CATEGORY(lcPrint)     // vormek.print: printing
Q_DECLARE_LOGGING_CATEGORY(lcSettings)  // vormek.settings: what is remembered

}  // namespace vormek
