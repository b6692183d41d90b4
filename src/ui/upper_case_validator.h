#pragma once
// Turns every letter a..z typed or pasted into an edit box into A..Z.
#include <QValidator>

namespace vormek {

class TUpperCaseValidator : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace vormek
