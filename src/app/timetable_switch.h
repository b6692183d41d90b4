#pragma once
// Switching the main window to another timetable while it runs: a folder of
// the four table texts, or back to the built-in one. The status bar names
// the timetable in use.
#include <QString>
#include <QStringList>
#include <filesystem>

class QLabel;

namespace vormek {

class ETimetableSourceError;
class IMessageBoxes;
class TFrmVormek;
class TItemSet;
class TUserSettings;

// What the window says of a folder that did not load: the file and why, or
// each file that failed, one a line.
QString FolderLoadFailure(const ETimetableSourceError& error);

class TTimetableSwitch {
 public:
  // builtIn and boxes outlive this object; the label goes into the window's
  // status bar. Folders' tables are kept as images in cacheDir (none when
  // empty), so that a folder opened again is in place at once.
  TTimetableSwitch(TFrmVormek& window, const TItemSet& builtIn, IMessageBoxes& boxes,
                   std::filesystem::path cacheDir = {}, TUserSettings* settings = nullptr);

  // Loads the folder; on failure says which file failed and why, and keeps
  // the timetable in use. True when the folder's timetable is now in use;
  // it is remembered then, to be opened again at the next start.
  bool OpenFolder(const QString& dir);
  // Back to the built-in timetable; the remembered folder is forgotten.
  bool RestoreBuiltIn();
  // At start: the folder last opened, if any, again. It tells only the
  // status bar how that went: a folder missing or broken leaves the built-in
  // timetable in use (and stays remembered, for when it is back).
  bool ReopenLastFolder();

  QLabel* LabTimetable = nullptr;

 private:
  TFrmVormek& window_;
  const TItemSet& builtIn_;
  IMessageBoxes& boxes_;
  std::filesystem::path cacheDir_;
  TUserSettings* settings_;
};

}  // namespace vormek
