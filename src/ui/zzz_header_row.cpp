#include "ui/zzz_header_row.h"

#include "gui_text/window_fonts.h"
#include "ui/click_label.h"
#include "ui/dialog_frame.h"
#include "ui/result_grid_view.h"

namespace vormek {

std::vector<TClickLabel*> BuildHeaderRow(QWidget* parent, const TResultGridView& grid, const QStringList& captions,
                                         int top, const QString& namePrefix) {
  std::vector<TClickLabel*> labels;
  for (int c = 0; c < captions.size(); ++c) {
    auto* label = new TClickLabel(captions[c], parent);
    label->setObjectName(namePrefix + QString::number(c + 1));
    label->setProperty("tag", kHeaderLabelTag);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(SongFont(12));
    SetFixedBackground(*label, kHeaderBoxColour);
    label->setGeometry(grid.ColumnLeftInParent(c), top, grid.ColumnWidthInParent(c), kHeaderBoxHeight);
    labels.push_back(label);
  }
  return labels;
}

}  // namespace vormek
