#pragma once
// The window's fonts: 宋体 by pixel height, falling back to an installed
// Song-style CJK face where 宋体 itself is missing.
#include <QFont>

namespace vormek {

QFont SongFont(int pixelHeight, bool bold = false);

// The font made bold or regular in the face it shows now: a face without a
// bold weight is emboldened rather than swapped for another family.
QFont InSameFace(const QFont& font, bool bold);

}  // namespace vormek
