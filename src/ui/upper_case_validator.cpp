#include "ui/upper_case_validator.h"

namespace vormek {

QValidator::State TUpperCaseValidator::validate(QString& input, int& /*pos*/) const {
  for (QChar& ch : input) {
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = QChar(ch.unicode() - 'a' + 'A');
  }
  return Acceptable;
}

}  // namespace vormek
