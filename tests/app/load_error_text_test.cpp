// The window's words for a timetable that does not load: every reason the
// core gives comes out in Chinese, every failing file is named, and the boxes
// carry their icons.
#include "gui_text/load_error_text.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "app/timetable_switch.h"
#include "data/timetable.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

const char* const kFiles[] = {"SPY.txt", "SLIST.txt", "SM.txt", "STRAIN.txt"};

std::string TableText(const char* utf8) {
  std::string out;
  for (char ch : ToTableBytes(utf8)) {
    if (ch == '\n') out += '\r';
    out += ch;
  }
  return out;
}

// The Latin words left once the file's own names and values (in “”), the
// file names and the names of bytes the Chinese keeps are taken out.
QString Untranslated(QString text) {
  static const QRegularExpression quoted(QStringLiteral("“[^”]*”"));
  text.remove(quoted);
  for (const char* kept : {"SPY.txt", "SLIST.txt", "SM.txt", "STRAIN.txt", "CR LF", "GBK"})
    text.remove(QString::fromLatin1(kept));
  static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
  QStringList words;
  for (auto it = latin.globalMatch(text); it.hasNext();) words << it.next().captured();
  return words.join(QLatin1Char(' '));
}

// Checks one reason's Chinese; returns the reason with its numbers taken
// out, to count the kinds seen.
std::string CheckChinese(const ETimetableSourceError& e) {
  const QString chinese = ChineseLoadReason(e.Reason());
  EXPECT_FALSE(chinese.startsWith(QStringLiteral("无法读取"))) << e.what();
  EXPECT_EQ(Untranslated(chinese), QString()) << e.what() << " -> " << chinese.toStdString();
  static const QRegularExpression digits(QStringLiteral("\\d+|\"[^\"]*\""));
  return QString::fromLatin1(e.Reason()).remove(digits).toStdString();
}

TEST(LoadErrorText, EveryReasonTheCoreGivesForABrokenTableIsChinese) {
  const std::string sound[4] = {TableText(TinyPinyinTable()), TableText(TinyTrainList()), TableText(TinyGroupTable()),
                                TableText(TinyStopTable())};
  std::set<std::string> kinds;
  const auto load = [&kinds](std::string texts[4]) {
    TTimetable timetable;
    try {
      LoadTimetableFromTexts({texts[0], texts[1], texts[2], texts[3]}, timetable);
    } catch (const ETimetableSourceError& e) {
      kinds.insert(CheckChinese(e));
      return false;
    }
    return true;
  };
  // Values out of range, keys twice and columns missing: the checks after
  // the text has read.
  const struct {
    int table;
    const char* from;
    const char* to;
  } edits[] = {
      {1, "\"1463\"", "\"-35\""},
      {3, "\"1461\",\"天津\",\"2\"", "\"1461\",\"天津\",\"1000\""},
      {3, "\"1461\",\"天津\",\"2\"", "\"1461\",\"天津\",\"\""},
      {3, "\"1:36\"", "\"ab:cd\""},
      {3, "\"60/62/64\"", "\"-9\""},
      {3, "\"137\",\"20\"", "\"1500\",\"20\""},
      {1, "\"K99\",", "\"G1\","},
      {0, "Station=", "Name="},
      {2, "\"北京南\",\"1\"", "\"北京\",\"1\""},
      {3, "SIDNo=", "Stops="},
  };
  for (const auto& edit : edits) {
    std::string texts[4] = {sound[0], sound[1], sound[2], sound[3]};
    const std::string from = ToTableBytes(edit.from);
    const std::size_t at = texts[edit.table].find(from);
    ASSERT_NE(at, std::string::npos) << edit.from;
    texts[edit.table].replace(at, from.size(), ToTableBytes(edit.to));
    EXPECT_FALSE(load(texts)) << edit.from << " -> " << edit.to;
  }
  // Bytes cut, dropped, added or changed anywhere.
  std::mt19937 random(23);
  const char bytes[] = {'"', ',', '\r', '\n', 'x', '9', '-', '=', '\xb1', ' ', '@'};
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string texts[4] = {sound[0], sound[1], sound[2], sound[3]};
    std::string& text = texts[round % 4];
    const std::size_t at = random() % text.size();
    const char byte = bytes[random() % sizeof bytes];
    switch (random() % 4) {
      case 0: text.resize(at); break;
      case 1: text.erase(at, 1); break;
      case 2: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), byte); break;
      default: text[at] = byte; break;
    }
    refused += !load(texts);
  }
  EXPECT_GT(refused, 1500);
  EXPECT_GE(kinds.size(), 25u) << "the changes reach few of the checks";
}

class LoadErrorWindow : public TWindowTest {
 protected:
  void Write(const QString& path, const std::string& bytes) {
    std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary) << bytes;
  }
};

TEST_F(LoadErrorWindow, AFolderThatCannotBeReadNamesEveryFileInChinese) {
  OpenTiny();
  TTimetableSwitch timetables(*window, tiny.Items(), boxes);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Empty: all four are missing.
  EXPECT_FALSE(timetables.OpenFolder(dir.path()));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_TRUE(boxes.Shown[0].Warning);
  for (const char* file : kFiles)
    EXPECT_TRUE(boxes.Shown[0].Text.contains(QString::fromLatin1(file) + QStringLiteral("：文件不存在")))
        << boxes.Shown[0].Text.toStdString();
  EXPECT_EQ(Untranslated(boxes.Shown[0].Text), QString()) << boxes.Shown[0].Text.toStdString();

  // One a folder, one missing, two sound: the two that fail, each with its
  // reason, and only they.
  QDir(dir.path()).mkdir(QStringLiteral("SPY.txt"));
  Write(dir.filePath(QStringLiteral("SLIST.txt")), TableText(TinyTrainList()));
  Write(dir.filePath(QStringLiteral("STRAIN.txt")), TableText(TinyStopTable()));
  boxes.Shown.clear();
  EXPECT_FALSE(timetables.OpenFolder(dir.path()));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  QString text = boxes.Shown[0].Text;
  EXPECT_TRUE(text.contains(QStringLiteral("SPY.txt：不是普通文件"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("SM.txt：文件不存在"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("SLIST.txt"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("STRAIN.txt"))) << text.toStdString();

  // All there, two of them broken: both named.
  QDir(dir.path()).rmdir(QStringLiteral("SPY.txt"));
  Write(dir.filePath(QStringLiteral("SPY.txt")), TableText(TinyPinyinTable()));
  Write(dir.filePath(QStringLiteral("SM.txt")), "");
  Write(dir.filePath(QStringLiteral("STRAIN.txt")), "\"@@FILE VERSION@@\",\"252\"\r\n");
  boxes.Shown.clear();
  EXPECT_FALSE(timetables.OpenFolder(dir.path()));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  text = boxes.Shown[0].Text;
  EXPECT_TRUE(text.contains(QStringLiteral("SM.txt：第1行：文件为空"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("STRAIN.txt：第1行：不支持的格式版本“252”"))) << text.toStdString();
  EXPECT_EQ(Untranslated(text), QString()) << text.toStdString();

  // A broken line is named by its number.
  Write(dir.filePath(QStringLiteral("STRAIN.txt")), TableText(TinyStopTable()));
  std::string group = TableText(TinyGroupTable());
  group.insert(group.find(ToTableBytes("\"北京\",\"1\"")) + 3, "\r\n");
  Write(dir.filePath(QStringLiteral("SM.txt")), group);
  boxes.Shown.clear();
  EXPECT_FALSE(timetables.OpenFolder(dir.path()));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_TRUE(boxes.Shown[0].Text.startsWith(QStringLiteral("时刻表文件 SM.txt 无法载入：第13行：")))
      << boxes.Shown[0].Text.toStdString();
  EXPECT_EQ(Untranslated(boxes.Shown[0].Text), QString()) << boxes.Shown[0].Text.toStdString();
}

TEST(MessageBoxIcons, ReportsInformAndFailuresWarn) {
  TModalMessageBoxes boxes;
  for (const bool warn : {false, true}) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&icon] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        icon = box->icon();
        box->accept();
      }
    });
    if (warn) {
      boxes.Warn(nullptr, QStringLiteral("时刻表文件 SPY.txt 无法载入：文件不存在"), QStringLiteral("打开时刻表"));
    } else {
      boxes.Inform(nullptr, QStringLiteral("已在桌面创建快捷方式"), QStringLiteral("创建快捷方式"));
    }
    EXPECT_EQ(icon, warn ? QMessageBox::Warning : QMessageBox::Information);
  }
}

}  // namespace
}  // namespace vormek::test
