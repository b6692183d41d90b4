#pragma once
// A label that reports a left click (header labels, links).
#include <QLabel>

namespace vormek {

class TClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace vormek
