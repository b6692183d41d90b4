#pragma once
// The application title: the task-bar caption and the caption of questions.
#include <QString>

namespace vormek {

inline QString ApplicationTitle() { return QStringLiteral("维墨克时刻表"); }

}  // namespace vormek
