#include "gui_text/load_error_text.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

#include "data/timetable.h"
#include "gui_text/gbk_text.h"

namespace vormek {
namespace {

struct TReasonWords {
  QRegularExpression English;
  QString Chinese;  // %1.. are the English text's captures
};

// Quoted names and values (column names, cell texts) are the file's own.
#define Q "\"(.*)\""

const std::vector<TReasonWords>& Words() {
  static const std::vector<TReasonWords> words = [] {
    const std::pair<const char*, const char*> pairs[] = {
        // Reading a file.
        {"missing", "文件不存在"},
        {"not a regular file", "不是普通文件"},
        {"Permission denied", "没有读取权限"},
        {"Is a directory", "是文件夹，不是文件"},
        {"Input/output error", "读取时出现输入输出错误"},
        {"(\\d+) bytes, more than a table text may have \\((\\d+)\\)", "文件大小为%1字节，超过表文本的上限（%2字节）"},
        // The table text's lines.
        {"empty text", "文件为空"},
        {"text too large", "文件过大"},
        {"empty line", "空行"},
        {"bare CR or LF", "换行符不是CR LF"},
        {"field does not start with a quote", "字段不以引号开头"},
        {"unterminated quote", "引号没有结束"},
        {"bytes that are not a whole GBK character", "含有不完整的GBK字符"},
        {"more than (\\d+) fields", "字段多于%1个"},
        {"last line does not end in CR LF", "最后一行不以CR LF结尾"},
        {"junk after closing quote", "右引号后有多余内容"},
        {"text ends before " Q, "文件在“%1”之前结束"},
        {"text ends before the header row", "文件在表头行之前结束"},
        {"expected one quoted field", "此行应只有一个带引号的字段"},
        {"expected the version line", "缺少版本行"},
        {"expected " Q, "此处应为“%1”"},
        {"unsupported format version " Q, "不支持的格式版本“%1”"},
        {"table defines no columns", "表中没有定义列"},
        {"column definition without a name", "列定义缺少列名"},
        {"unknown type name " Q, "未知的类型名“%1”"},
        {"column definition without a size", "列定义缺少长度"},
        {"column size is not a number", "列长度不是数字"},
        {"column size above (\\d+)", "列长度超过%1"},
        {"text column of size 0", "文本列的长度为0"},
        {"more than (\\d+) columns", "列多于%1个"},
        {"column " Q " defined twice", "列“%1”定义了两次"},
        {"index definition lacks a quoted part", "索引定义缺少带引号的部分"},
        {"index definition has an unclosed quote", "索引定义的引号没有结束"},
        {"index definition without a name", "索引定义缺少名称"},
        {"index definition lacks its display name", "索引定义缺少显示名称"},
        {"junk in index definition", "索引定义中有多余内容"},
        {"unknown index option " Q, "未知的索引选项“%1”"},
        {"more than (\\d+) indexes", "索引多于%1个"},
        {"index " Q " has more than (\\d+) columns", "索引“%1”的列多于%2个"},
        {"index " Q " names unknown column " Q, "索引“%1”用到了不存在的列“%2”"},
        {"index " Q " defined twice", "索引“%1”定义了两次"},
        {"header has (\\d+) fields for (\\d+) columns", "表头行有%1个字段，而表有%2列"},
        {"header row lacks its trailing comma", "表头行末尾缺少逗号"},
        {"header names " Q " where column " Q " is defined", "表头行写的是“%1”，此处定义的列是“%2”"},
        {"row has (\\d+) fields for (\\d+) columns", "此行有%1个字段，而表有%2列"},
        {"row lacks its trailing comma", "此行末尾缺少逗号"},
        {"too many rows", "行数过多"},
        {"value of (\\S+) is longer than (\\d+) characters", "列“%1”的值长于%2个字符"},
        {"column (\\S+) holds " Q ", not an integer", "列“%1”的值“%2”不是整数"},
        // The values' ranges.
        {"(\\S+) " Q " is empty", "列“%1”的值为空"},
        {"(\\S+) " Q " outside (-?\\d+)\\.\\.(-?\\d+)", "列“%1”的值“%2”不在%3到%4之间"},
        {"(\\S+) " Q " is not a clock time", "列“%1”的值“%2”不是时刻"},
        {"(\\S+) " Q " is not a text of whole GBK characters within the column's size on one line",
         "列“%1”的值“%2”不是列宽以内、一行的完整GBK文字"},
        {"(\\S+) " Q " disagrees with its number (-?\\d+)", "列“%1”的值“%2”与其数值%3不符"},
        {"a column's name cannot be written in a table text", "有列名无法写入表文本"},
        {"an index's name cannot be written in a table text", "有索引名无法写入表文本"},
        {"(\\S+) " Q " is not an elapsed time up to 9999:59", "列“%1”的值“%2”不是9999:59以内的历时"},
        {"(\\S+) " Q " is not a fare of amounts up to 100000", "列“%1”的值“%2”不是100000以内的票价"},
        {"(\\S+) " Q " is less than the (\\d+) km of the stop before", "列“%1”的值“%2”小于前一站的%3公里"},
        // The table as a whole.
        {"no records", "表中没有记录"},
        {"no column named " Q, "缺少列“%1”"},
        {"no index named " Q, "缺少索引“%1”"},
        {"unique index " Q " has a key twice", "唯一索引“%1”中有重复的键"},
        // Built-in items.
        {"no item named " Q, "程序中没有数据项“%1”"},
        {"item shorter than its 4-byte length", "数据项短于其4字节长度"},
        {"item length .*", "数据项长度不符"},
        {"stream gives .*", "数据项解压后的长度不符"},
        {"bytes after the end of the stream", "压缩数据后有多余字节"},
        {"damaged or cut-short stream", "压缩数据损坏或不完整"},
        {"cannot start the inflater", "无法解压"},
        {"out of memory", "内存不足"},
        {"none in this program", "程序中没有内置时刻表"},
        {"not a timetable folder", "不是时刻表文件夹"},
    };
    std::vector<TReasonWords> out;
    for (const auto& [english, chinese] : pairs)
      out.push_back({QRegularExpression(QRegularExpression::anchoredPattern(QString::fromUtf8(english))),
                     QString::fromUtf8(chinese)});
    return out;
  }();
  return words;
}

#undef Q

QString Translate(const QString& reason) {
  static const QRegularExpression line(QStringLiteral("^line (\\d+): (.*)$"));
  if (const QRegularExpressionMatch m = line.match(reason); m.hasMatch())
    return QStringLiteral("第%1行：").arg(m.captured(1)) + Translate(m.captured(2));
  for (const TReasonWords& words : Words()) {
    const QRegularExpressionMatch m = words.English.match(reason);
    if (!m.hasMatch()) continue;
    // One pass, so that a quoted value holding "%2" stays as it is.
    QString text;
    const QString& chinese = words.Chinese;
    for (qsizetype i = 0; i < chinese.size(); ++i) {
      if (chinese[i] == QLatin1Char('%') && i + 1 < chinese.size() && chinese[i + 1].isDigit()) {
        text += m.captured(chinese[++i].digitValue());
      } else {
        text += chinese[i];
      }
    }
    return text;
  }
  return QStringLiteral("无法读取（%1）").arg(reason);
}

}  // namespace

QString ChineseLoadReason(std::string_view reason) { return Translate(FromGbk(reason)); }

QString ChineseFileFailures(const ETimetableSourceError& error) {
  QStringList lines;
  for (const TFileFailure& failure : error.Failures())
    lines << QFile::decodeName(failure.File.c_str()) + QStringLiteral("：") + ChineseLoadReason(failure.Reason);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace vormek
