// The window's command line: what each spelling asks for, and the program
// itself answering --help and --version without a display or a window.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace vormek {
namespace {

using TAction = TCommandLine::TAction;

TEST(CommandLine, HelpVersionAndRefusals) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString file = temp.filePath(QStringLiteral("SPY.txt"));
  QFile(file).open(QIODevice::WriteOnly);
  const QString missing = temp.filePath(QStringLiteral("nonexistent"));

  struct Case {
    QStringList args;
    TAction action;
    QString inText;
  } cases[] = {
      {{"-h"}, TAction::PrintHelp, "--tables <DIR>"},
      {{"--help"}, TAction::PrintHelp, "--version"},
      {{"--help-all"}, TAction::PrintHelp, "--tables <DIR>"},
      {{"--tables", temp.path(), "--help"}, TAction::PrintHelp, "--tables <DIR>"},
      {{"--version"}, TAction::PrintVersion, "vormek 2012.05.05\n"},
      {{"-v"}, TAction::PrintVersion, "2012.05.05"},
      {{"--tables", missing}, TAction::Refuse, "no folder " + missing},
      {{"--tables=" + missing}, TAction::Refuse, "no folder " + missing},
      {{"--tables", file}, TAction::Refuse, file + " is not a folder"},
      {{"--tables"}, TAction::Refuse, "tables"},
      {{"--tables="}, TAction::Refuse, "no folder"},
      {{"--table", temp.path()}, TAction::Refuse, "table"},
      {{temp.path()}, TAction::Refuse, "unexpected argument"},
  };
  for (const Case& c : cases) {
    const TCommandLine line = ParseCommandLine(QStringList{"vormek"} + c.args);
    SCOPED_TRACE(c.args.join(' ').toStdString());
    EXPECT_EQ(line.Action, c.action);
    EXPECT_TRUE(line.Text.contains(c.inText)) << line.Text.toStdString();
    EXPECT_TRUE(line.Tables.isEmpty());
    // Help and version are answered before the program needs a display.
    std::vector<QByteArray> bytes;
    for (const QString& a : QStringList{"vormek"} + c.args) bytes.push_back(a.toLocal8Bit());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes) argv.push_back(b.constData());
    EXPECT_EQ(AsksForTextOnly(static_cast<int>(argv.size()), argv.data()),
              c.action == TAction::PrintHelp || c.action == TAction::PrintVersion);
  }

  // A relative folder is taken from the working directory.
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(temp.path()));
  QDir(temp.path()).mkdir(QStringLiteral("here"));
  const TCommandLine relative = ParseCommandLine({"vormek", "--tables=here"});
  QDir::setCurrent(saved);
  EXPECT_EQ(relative.Action, TAction::Run);
  EXPECT_EQ(relative.Tables, temp.filePath(QStringLiteral("here")));
}

// The program as a user starts it from a terminal with no display at all:
// help and version print and end; a missing folder is refused on standard
// error before any window.
TEST(CommandLine, ProgramAnswersWithoutWindow) {
  struct Case {
    QStringList args;
    int status;
    QString out, err;
  } cases[] = {
      {{"--help"}, 0, "--tables <DIR>", ""},
      {{"--version"}, 0, "vormek 2012.05.05\n", ""},
      {{"--tables", "/nonexistent"}, 2, "", "vormek: no folder /nonexistent\n"},
      {{"--bogus"}, 2, "", "vormek: Unknown option 'bogus'."},
  };
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    // No display for help and version; the refusals come after the
    // application starts, on a platform that needs none.
    QProcessEnvironment run = env;
    if (c.status == 0)
      run.remove(QStringLiteral("QT_QPA_PLATFORM"));
    else
      run.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(run);
    program.start(QStringLiteral(VORMEK_PROGRAM), c.args);
    ASSERT_TRUE(program.waitForFinished(30000)) << "the program did not end";
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), c.status) << err.toStdString();
    EXPECT_TRUE(c.out.isEmpty() ? out.isEmpty() : out.contains(c.out)) << out.toStdString();
    // Qt may warn about the environment on its own lines.
    EXPECT_TRUE(c.err.isEmpty() ? err.isEmpty() : err.contains(c.err)) << err.toStdString();
  }
}

}  // namespace
}  // namespace vormek
