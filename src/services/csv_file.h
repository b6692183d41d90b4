#pragma once
// Saving an exported grid: the save dialog and a write that is whole or none.
#include <QByteArray>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "output/column_names.h"
#include "output/string_grid.h"

class QWidget;

namespace vormek {

// The typed name with ".csv" added when it has no extension.
QString WithCsvExtension(const QString& name);

// Writes the bytes to a temporary file beside the target and renames it over
// the target only once every byte is written, so a failure never leaves a
// truncated file. Throws std::runtime_error naming the file and the reason.
void WriteWholeFile(const QString& path, const QByteArray& bytes);

// Asks for the file name; empty when the user cancels.
using SaveFileAsker = std::function<QString(QWidget* parent)>;
// The program's save dialog: type "Excel文件(*.csv)", default extension csv.
QString AskCsvFileName(QWidget* parent);

// Exports rows 0 .. rows-1 of the grid (the result grid or a stop list, as
// kind says). Cancelling or a name of blanks writes nothing and gives false; a
// file that cannot be written throws (see WriteWholeFile).
bool ExportGrid(QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows,
                const SaveFileAsker& ask = AskCsvFileName);
// The same for a grid headed by the given column names (GBK).
bool ExportGrid(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                const SaveFileAsker& ask = AskCsvFileName);

}  // namespace vormek
