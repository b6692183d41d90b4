#pragma once
// Replays laid-out report pages on a Qt paged device (a printer, a PDF writer).
#include <QFont>
#include <QPagedPaintDevice>
#include <string>
#include <vector>

#include "output/print_layout.h"

namespace vormek {

// The face asked for by the report, followed by the Kai faces a Linux desktop
// has when the Windows one is missing (fonts-arphic-ukai).
QFont ReportFont(const std::string& gbkFace, int pointSize);

// The measures of the device as the layout wants them: resolution, the
// printable area in device dots, and text widths as the device draws them.
TPrintSetup SetupFor(const QPagedPaintDevice& device);

// Draws every page on the device, starting a new device page for each page
// after the first. The device must not be painted on yet. Throws
// std::runtime_error when the device refuses to start or to add a page.
void PaintPages(const std::vector<TPrintPage>& pages, QPagedPaintDevice& device);

// Turns the device's page to landscape when the grid's texts do not fit its
// width at the body size, then gives its setup; the caption goes beside the
// title.
TPrintSetup FitPageTo(QPagedPaintDevice& device, const TStringGrid& grid, const std::vector<std::string>& header,
                      int rows, const std::string& caption);

}  // namespace vormek
