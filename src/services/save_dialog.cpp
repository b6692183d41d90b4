#include "services/save_dialog.h"

#include <QFileDialog>

#include "services/plain_file_icons.h"

namespace vormek {

QString AskSaveFileName(QWidget* parent, const TSaveDialogOptions& o) {
  // Declared first, so that it outlives the dialog that uses it.
  TPlainFileIconProvider icons;
  QFileDialog dialog(parent, o.Title);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&icons);
  dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(o.Filters);
  if (!o.Suffixes.isEmpty()) dialog.setDefaultSuffix(o.Suffixes.front());
  // The typed name takes the suffix of the kind of file chosen.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &o](const QString& filter) {
    const auto at = o.Filters.indexOf(filter);
    if (at >= 0 && at < o.Suffixes.size()) dialog.setDefaultSuffix(o.Suffixes[at]);
  });
  if (!o.ConfirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!o.Suggested.isEmpty()) dialog.selectFile(o.Suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

}  // namespace vormek
