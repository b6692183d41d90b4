#pragma once
// The window's fonts: 宋体 by pixel height, falling back to an installed
// Song-style CJK face where 宋体 itself is missing.
#include <QFont>

namespace vormek {

QFont SongFont(int pixelHeight, bool bold = false);

}  // namespace vormek
