#pragma once
// The window's command line: --help, --version and --tables DIR, read by one
// QCommandLineParser. Help and version are printed and end the program
// before any window (or display) is needed.
#include <QString>
#include <QStringList>

namespace vormek {

struct TCommandLine {
  enum class TAction { Run, PrintHelp, PrintVersion, Refuse };
  TAction Action = TAction::Run;
  // "--tables DIR" or "--tables=DIR", made absolute; empty without.
  QString Tables;
  // The help or version text for standard output, or why the line is
  // refused, for standard error.
  QString Text;
};

// `arguments` as QCoreApplication::arguments() gives them, the program first,
// Qt's own options already taken out. A --tables folder that does not exist
// is refused here, before the window opens.
TCommandLine ParseCommandLine(const QStringList& arguments);

// Whether the raw arguments ask for help or the version: the program then
// answers without connecting to a display.
bool AsksForTextOnly(int argc, const char* const* argv);

// Prints the text of a line that is not run, on the stream it belongs to;
// returns the exit status (0 for help and version, 2 for a refusal).
int PrintCommandLineText(const TCommandLine& line);

}  // namespace vormek
