#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vormek {

bool InstallQtChineseTranslations(QCoreApplication& app, const QString& folder) {
  const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* translator = new QTranslator(&app);
  // qtbase holds the dialogs' and standard buttons' texts.
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), dir)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace vormek
