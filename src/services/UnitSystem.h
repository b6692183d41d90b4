#pragma once
// Shortcuts to the program: freedesktop desktop entries on the user's desktop
// and in the user's applications menu.
#include <QString>

namespace vormek {

// The folders a shortcut may go to by name rather than by path; the values
// are the shell's folder numbers.
enum class TSpecialFolder : int {
  None = -1,     // the folder given by path
  Desktop = 0,   // XDG_DESKTOP_DIR, else ~/Desktop
  Programs = 2,  // $XDG_DATA_HOME/applications, else ~/.local/share/applications
};

// The program's name among the desktop's applications and icons.
inline const QString kDesktopAppId = QStringLiteral("org.example.vormek");

// Writes "<folder>/<name>.desktop" starting `target` with its own directory as
// working directory. An empty name takes the target's file name without its
// extension; an empty folder with TSpecialFolder::None means the desktop. Returns
// false, writing nothing, when the target or the folder does not exist, or
// when the file cannot be written.
bool CreateShortcut(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder);

// The directory a special folder stands for; empty for None.
QString SpecialFolderPath(TSpecialFolder specialFolder);

// The text of a desktop entry for `target` (exposed for tests).
QString DesktopEntryText(const QString& target, const QString& name);

}  // namespace vormek
