#pragma once
// What the train graph's window asks of the program around it; tests
// replace them. Apart from the window, so that the menus that carry them
// need not see the graph's layout.
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace vormek {

struct TGraphTrain;
struct TGraphSetup;

struct TGraphActions {
  // A train was selected; row is its TGraphTrain::Row.
  std::function<void(int row)> SelectRow;
  // A train was double-clicked: its stop list.
  std::function<void(int row)> OpenStops;
  // The file to export to, its suffix choosing the format; empty: cancelled.
  std::function<QString(QWidget* parent, const QString& suggested)> AskExportFile;
  // Prints the trains laid out with the setup.
  std::function<void(QWidget* parent, const std::vector<TGraphTrain>& trains, const TGraphSetup& setup)> Print;
};
// The program's save dialog, and the print dialog (a PDF file offered where
// there is no printer).
TGraphActions DefaultGraphActions();

}  // namespace vormek
