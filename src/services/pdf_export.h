#pragma once
// The report as a PDF file, chosen in the save dialog; and printing that
// offers the PDF where there is no printer.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "output/string_grid.h"

class QWidget;

namespace vormek {

// The typed name with ".pdf" added when it has no extension.
QString WithPdfExtension(const QString& name);

// The program's save dialog for a PDF file; empty when the user cancels.
QString AskPdfFileName(QWidget* parent);

// Writes rows 0 .. rows-1 of the grid as a PDF report into the file the user
// names. Cancelling writes nothing and gives false; a file that cannot be
// written throws std::runtime_error naming it.
bool ExportGridPdf(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                   const std::string& caption = {}, const std::function<QString(QWidget*)>& ask = AskPdfFileName);

// Prints on the default printer; without one, asks whether to write the
// report as a PDF file instead, and does so on Yes.
void PrintOrOfferPdf(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                     const std::string& caption = {});

}  // namespace vormek
