#pragma once
// The program's own save dialog for every export: not the desktop's, so that
// nothing it lists is opened and read to choose an icon.
#include <QString>
#include <QStringList>

class QWidget;

namespace vormek {

struct TSaveDialogOptions {
  QString Title;         // empty: Qt's own
  QStringList Filters;   // "PNG图片(*.png)", one per kind of file
  QStringList Suffixes;  // the suffix added for each filter when none is typed
  QString Suggested;     // the name first offered; empty: none
  bool ConfirmOverwrite = true;
};

// The chosen file's path, or empty when the dialog was cancelled.
QString AskSaveFileName(QWidget* parent, const TSaveDialogOptions& options);

}  // namespace vormek
