#include "services/csv_file.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "data/gbk_codec.h"
#include "output/csv_export.h"

using namespace vormek;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TStringGrid StopGrid() {
  TStringGrid grid(8, 20);
  const char* const stations[] = {"\xb1\xb1\xbe\xa9", "\xcc\xec\xbd\xf2", "\xc9\xcf\xba\xa3"};  // 北京 天津 上海
  for (int r = 0; r < 3; ++r) {
    grid.Cell(0, r) = std::to_string(r + 1);
    grid.Cell(1, r) = stations[r];
    grid.Cell(2, r) = std::to_string(r * 120);
  }
  return grid;
}

SaveFileAsker Answer(const QString& name) {
  return [name](QWidget*) { return name; };
}

class CsvFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(CsvFileTest, WritesTheCoreBytesAddingTheExtension) {
  const TStringGrid grid = StopGrid();
  ASSERT_TRUE(ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(Path(QStringLiteral("stops")))));
  const QByteArray bytes = ReadAll(Path(QStringLiteral("stops.csv")));
  EXPECT_EQ(bytes.toStdString(), ExportGridText(grid, TGridKind::Detail, 3));
  // GBK without a byte-order mark, CR LF line ends: header then three rows.
  EXPECT_TRUE(bytes.startsWith("\r\n\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 10);
  EXPECT_TRUE(bytes.endsWith("3,\xc9\xcf\xba\xa3,240,,,,,\r\n"));
  EXPECT_TRUE(QString::fromStdString(GbkToUtf8(bytes.toStdString())).contains(QStringLiteral("站序,车站,里程")));
}

TEST_F(CsvFileTest, KeepsAnExtensionTheUserTyped) {
  EXPECT_EQ(WithCsvExtension(QStringLiteral("/a/b.txt")), QStringLiteral("/a/b.txt"));
  EXPECT_EQ(WithCsvExtension(QStringLiteral("/a.d/b")), QStringLiteral("/a.d/b.csv"));
  EXPECT_EQ(WithCsvExtension(QStringLiteral("/a/b.")), QStringLiteral("/a/b.csv"));
}

TEST_F(CsvFileTest, CancelOrBlankNameWritesNothing) {
  const TStringGrid grid = StopGrid();
  EXPECT_FALSE(ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(QString())));
  EXPECT_FALSE(ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(QStringLiteral("   "))));
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(CsvFileTest, ReplacesAnExistingFile) {
  QFile old(Path(QStringLiteral("a.csv")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(5000, 'x'));
  old.close();
  const TStringGrid grid = StopGrid();
  ASSERT_TRUE(ExportGrid(nullptr, grid, TGridKind::Detail, 1, Answer(Path(QStringLiteral("a.csv")))));
  EXPECT_EQ(ReadAll(Path(QStringLiteral("a.csv"))).toStdString(), ExportGridText(grid, TGridKind::Detail, 1));
}

TEST_F(CsvFileTest, UnwritableTargetThrowsAndLeavesNothingBehind) {
  const TStringGrid grid = StopGrid();
  try {
    ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(Path(QStringLiteral("missing/folder/a.csv"))));
    FAIL() << "no error for a missing folder";
  } catch (const std::runtime_error& e) {
    EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("a.csv"))) << e.what();
  }
  // A folder in the way of the file: the rename at the end fails, so the
  // written temporary file must go away again.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("b.csv")));
  EXPECT_THROW(ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(Path(QStringLiteral("b.csv")))),
               std::runtime_error);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QStringLiteral("b.csv")});
}

TEST_F(CsvFileTest, TargetsThatAreNotPlainFilesAreRefused) {
  const QString fifo = Path(QStringLiteral("pipe.csv"));
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(fifo, Path(QStringLiteral("link.csv"))));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.csv")));
  const TStringGrid grid = StopGrid();
  for (const char* name : {"pipe.csv", "link.csv", "folder.csv"}) {
    try {
      ExportGrid(nullptr, grid, TGridKind::Detail, 3, Answer(Path(QString::fromLatin1(name))));
      ADD_FAILURE() << name << " was written";
    } catch (const std::runtime_error& e) {
      EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("不是普通文件"))) << e.what();
    }
  }
  struct stat info {};
  ASSERT_EQ(::stat(fifo.toLocal8Bit().constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the pipe was replaced";
}

// Reading a file to guess its icon hangs on files such as /proc/kmsg; the
// dialog must list a folder without opening what is in it.
TEST_F(CsvFileTest, SaveDialogOpensNoFileItLists) {
  const QString notes = Path(QStringLiteral("notes"));
  QFile f(notes);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("plain words, no extension to tell the type\n");
  f.close();
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, dir_.path().toLocal8Bit().constData(), IN_OPEN | IN_ACCESS), 0);
  auto openedNotes = [watch] {
    alignas(inotify_event) char buffer[4096];
    bool opened = false;
    ssize_t got;
    while ((got = ::read(watch, buffer, sizeof buffer)) > 0) {
      for (char* p = buffer; p < buffer + got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        if (event->len > 0 && std::string(event->name) == "notes") opened = true;
        p += sizeof(inotify_event) + event->len;
      }
    }
    return opened;
  };
  bool listed = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(dir_.path());
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    // The list has its icons once the model's worker has looked at the file.
    listed = QTest::qWaitFor(
        [&] {
          const QModelIndex index = model->index(notes);
          return index.isValid() && !model->type(index).isEmpty();
        },
        5000);
    QTest::qWait(300);
    dialog->reject();
  });
  EXPECT_TRUE(AskCsvFileName(nullptr).isEmpty());
  EXPECT_TRUE(listed);
  EXPECT_FALSE(openedNotes()) << "the dialog read a file to choose its icon";
  ::close(watch);
}

TEST_F(CsvFileTest, SaveDialogOffersTheCsvType) {
  QStringList filters;
  QString suffix;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    suffix = dialog->defaultSuffix();
    dialog->setDirectory(dir_.path());
    dialog->selectFile(QStringLiteral("typed"));
    static_cast<QDialog*>(dialog)->accept();
  });
  const QString name = AskCsvFileName(nullptr);
  EXPECT_EQ(filters, QStringList{QStringLiteral("Excel文件(*.csv)")});
  EXPECT_EQ(suffix, QStringLiteral("csv"));
  EXPECT_EQ(name, Path(QStringLiteral("typed.csv")));
}

}  // namespace
