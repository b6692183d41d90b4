#pragma once
// The hourglass for the length of a scope: set on construction, restored on
// destruction, also when the work in between throws.
#include <QGuiApplication>

namespace vormek {

class TWaitCursor {
 public:
  TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace vormek
