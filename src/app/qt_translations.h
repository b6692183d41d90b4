#pragma once
// Qt's own texts (the OK and Yes buttons, the file dialog, the line-edit
// context menu) in Simplified Chinese, from the catalogues Qt ships.
#include <QString>

class QCoreApplication;

namespace vormek {

// Installs Qt's zh_CN catalogue found in `folder` (empty: where Qt keeps its
// translations) on the application. False when it is not there; the texts
// then stay English.
bool InstallQtChineseTranslations(QCoreApplication& app, const QString& folder = QString());

}  // namespace vormek
