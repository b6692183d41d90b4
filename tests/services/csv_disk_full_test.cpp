// Export onto a disk that fills up, as a real fault: the export runs in a
// child process whose file size limit lies below the new file's size. The
// child runs under the program's own application object, which must turn the
// limit's SIGXFSZ into a write that fails with EFBIG, so that the error
// reaches the general error box, which the child reads and closes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/error_handler.h"
#include "output/csv_export.h"
#include "services/csv_file.h"

namespace {

using namespace vormek;

constexpr char kChildFlag[] = "--export-child";

TStringGrid BigGrid() {
  TStringGrid grid(8, 400);
  for (int r = 0; r < 400; ++r)
    for (int c = 0; c < 8; ++c) grid.Cell(c, r) = std::to_string(r * 8 + c);
  return grid;
}

// The child: exports the grid to the path from an event, as the menu does,
// and prints the text of every error box that appears.
int RunChild(int argc, char** argv) {
  TVormekApplication app(argc, argv);
  const QString path = QString::fromLocal8Bit(argv[2]);
  QTimer boxWatch;
  QObject::connect(&boxWatch, &QTimer::timeout, [&app] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::printf("BOX:%s\n", box->text().toUtf8().constData());
      std::fflush(stdout);
      box->accept();
      QTimer::singleShot(0, &app, &QApplication::quit);
    }
  });
  boxWatch.start(20);
  QTimer::singleShot(
      0, [&path] { ExportGrid(nullptr, BigGrid(), TGridKind::Detail, 400, [&path](QWidget*) { return path; }); });
  // No box: the export claimed success; end all the same.
  QTimer::singleShot(5000, &app, &QApplication::quit);
  return app.exec();
}

struct TChildRun {
  std::string out;
  int status = -1;
};

// Runs this program as the child with the file size limit; bounded in time.
TChildRun RunLimited(const char* self, const QString& target, rlim_t limit) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const std::string path = target.toStdString();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], 1);
    ::close(pipeFds[0]);
    const rlimit fsize{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &fsize);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* args[] = {const_cast<char*>(self), const_cast<char*>(kChildFlag), const_cast<char*>(path.c_str()), nullptr};
    ::execv(self, args);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  TChildRun run;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) run.out.append(buffer, static_cast<std::size_t>(got));
  ::close(pipeFds[0]);
  int wstatus = 0;
  for (int i = 0; i < 600 && ::waitpid(pid, &wstatus, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (::waitpid(pid, &wstatus, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &wstatus, 0);
  }
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return run;
}

const char* g_self = nullptr;

TEST(CsvDiskFull, OldFileSurvivesAndTheErrorBoxAppears) {
  const std::size_t newSize = ExportGridText(BigGrid(), TGridKind::Detail, 400).size();
  ASSERT_GT(newSize, 8000u);
  struct Case {
    const char* name;
    rlim_t limit;  // where the disk runs full
  } cases[] = {
      {"nothing fits", 0},
      {"less than a write buffer fits", 1000},
      {"all but the tail fits", static_cast<rlim_t>(newSize - 10)},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("old.csv"));
    QByteArray old;
    for (int i = 0; old.size() < 8893; ++i) old += QByteArray::number(i) + ",old\r\n";
    old.truncate(8893);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(old), old.size());
    f.close();

    const TChildRun run = RunLimited(g_self, target, c.limit);
    EXPECT_EQ(run.status, 0) << c.name << "\n" << run.out;
    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly)) << c.name;
    EXPECT_TRUE(after.readAll() == old) << c.name << ": the old file changed";
    const QString shown = QString::fromUtf8(run.out.c_str());
    EXPECT_TRUE(shown.contains(QStringLiteral("BOX:无法写入文件"))) << c.name << ": " << run.out;
    EXPECT_TRUE(shown.contains(QStringLiteral("old.csv"))) << c.name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.csv")})
        << c.name << ": a temporary file was left";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == kChildFlag) return RunChild(argc, argv);
  g_self = "/proc/self/exe";
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
