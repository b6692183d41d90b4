#pragma once
// The core's load errors in the words the window shows. The core and the
// command line say them in English; this is the one place that turns them
// into Chinese, so that every box and status line a user sees is Chinese.
#include <QString>
#include <string_view>

namespace vormek {

class ETimetableSourceError;

// One reason as the core words it, "line 29354: unterminated quote", in
// Chinese: "第29354行：引号未闭合". Names of columns and values quoted from
// the file stay as they are. A reason not known here is kept, after a
// Chinese word that says it could not be read.
QString ChineseLoadReason(std::string_view reason);

// Every file of the error with its reason, one a line:
// "SPY.txt：文件不存在".
QString ChineseFileFailures(const ETimetableSourceError& error);

}  // namespace vormek
