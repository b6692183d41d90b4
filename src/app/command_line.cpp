#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "services/version_check.h"

namespace vormek {

TCommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("The window of the Vormek timetable (维墨克时刻表): direct trains, train runs,\n"
                     "station timetables and transfers of mainland China's passenger trains."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption tables(
      QStringLiteral("tables"),
      QStringLiteral("Open the timetable of folder <DIR> (SLIST.txt, STRAIN.txt, SM.txt, SPY.txt) "
                     "instead of the built-in one."),
      QStringLiteral("DIR"));
  parser.addOption(tables);

  TCommandLine line;
  const auto refuse = [&line](const QString& why) {
    line.Action = TCommandLine::TAction::Refuse;
    line.Text = why;
    return line;
  };
  if (!parser.parse(arguments)) return refuse(parser.errorText());
  // --help-all (Qt's options as well) is the same help here.
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    line.Action = TCommandLine::TAction::PrintHelp;
    line.Text = parser.helpText();
    return line;
  }
  if (parser.isSet(version)) {
    line.Action = TCommandLine::TAction::PrintVersion;
    line.Text = QStringLiteral("vormek %1\n").arg(QString::fromLatin1(kBuiltInVersion));
    return line;
  }
  if (!parser.positionalArguments().isEmpty())
    return refuse(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
  if (parser.isSet(tables)) {
    const QString dir = parser.value(tables);
    const QFileInfo info(dir);
    if (dir.isEmpty() || !info.exists()) return refuse(QStringLiteral("no folder %1").arg(dir));
    if (!info.isDir()) return refuse(QStringLiteral("%1 is not a folder").arg(dir));
    line.Tables = info.absoluteFilePath();
  }
  return line;
}

bool AsksForTextOnly(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--") == 0) return false;
    for (const char* word : {"-h", "--help", "--help-all", "-v", "--version"})
      if (std::strcmp(a, word) == 0) return true;
  }
  return false;
}

int PrintCommandLineText(const TCommandLine& line) {
  const QByteArray text = line.Text.toLocal8Bit();
  switch (line.Action) {
    case TCommandLine::TAction::PrintHelp:
    case TCommandLine::TAction::PrintVersion:
      std::fputs(text.constData(), stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case TCommandLine::TAction::Refuse:
      std::fprintf(stderr, "vormek: %s\nTry 'vormek --help' for the options.\n", text.constData());
      return 2;
    case TCommandLine::TAction::Run: break;
  }
  return 0;
}

}  // namespace vormek
