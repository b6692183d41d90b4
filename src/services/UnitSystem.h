#pragma once
// Shortcuts to the program: freedesktop desktop entries on the user's desktop
// and in the user's applications menu.
#include <QString>

namespace vormek {

// The folders a shortcut may go to by name rather than by path; the values
// are the shell's folder numbers.
enum class TSpecialFolder : int {
  None = -1,     // the folder given by path
  Desktop = 0,   // the desktop folder QStandardPaths names (XDG_DESKTOP_DIR, else ~/Desktop)
  Programs = 2,  // the user's applications folder (~/.local/share/applications)
};

// The program's name among the desktop's applications and icons.
inline const QString kDesktopAppId = QStringLiteral("org.example.vormek");

// Writes "<folder>/<name>.desktop" starting `target` with its own directory as
// working directory, in the applications menu's Utility category; a menu
// hides it once the target is gone. An empty name takes the target's file name without its
// extension; an empty folder with TSpecialFolder::None means the desktop. Returns
// false, writing nothing, when the target or the folder does not exist, or
// when the file cannot be written.
bool CreateShortcut(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder);

// The file CreateShortcut writes for these arguments; empty when there is no
// folder to write it to or the name cannot be a file name.
QString ShortcutFile(const QString& target, const QString& name, const QString& folder, TSpecialFolder specialFolder);

// The directory a special folder stands for, as QStandardPaths names it;
// empty for None.
QString SpecialFolderPath(TSpecialFolder specialFolder);

// The applications menu entry installed with `program`, in the share folder
// beside its bin folder (the package's own entry); empty when there is
// none, as for a copy run from a build folder.
QString InstalledMenuEntry(const QString& program);

// The text of a desktop entry for `target` (exposed for tests).
QString DesktopEntryText(const QString& target, const QString& name);

}  // namespace vormek
