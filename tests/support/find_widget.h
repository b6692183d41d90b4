#pragma once
// A window's control found by its object name, the way a test reaches the
// controls of a window that keeps them to itself. A missing control fails
// the test at once.
#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <stdexcept>

namespace vormek::testing {

template <class T>
T* Widget(const QObject& window, const QString& name) {
  T* found = window.findChild<T*>(name);
  if (found == nullptr) {
    ADD_FAILURE() << "no " << T::staticMetaObject.className() << " named " << name.toStdString() << " in "
                  << window.objectName().toStdString();
    throw std::runtime_error("missing control " + name.toStdString());
  }
  return found;
}

}  // namespace vormek::testing
