#pragma once
// Without a Chinese font every caption is a row of boxes: say so once at
// start-up, in words that need no Chinese font to read.
#include <QString>
#include <QStringList>

class QWidget;

namespace vormek {

// The Debian package that brings the face the window prefers.
inline const QString kCjkFontPackage = QStringLiteral("fonts-arphic-uming");

// The warning for the given installed families able to show Simplified
// Chinese; empty when there is one.
QString MissingCjkFontWarning(const QStringList& chineseFamilies);

// Checks the installed fonts; warns on standard error and in a message box.
void WarnWithoutCjkFont(QWidget* parent);

}  // namespace vormek
