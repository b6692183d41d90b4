// Prints through the real printing system: a private CUPS server whose
// default printer is a cups-pdf queue, reached as the desktop's default
// printer, with no printer dialog. Needs root (cups-pdf writes as root) and
// the packages of scripts/install-deps.sh; skips otherwise.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "data/gbk_codec.h"
#include "services/print_grid.h"

using namespace vormek;

namespace {

const QString kQueue = QStringLiteral("VormekTestPDF");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// A cupsd of our own: its configuration, spool and socket live in a temporary
// folder, so the machine's own printing set-up is neither used nor changed.
class PrivateCups {
 public:
  ~PrivateCups() { Stop(); }

  // Empty on success, else why it could not start.
  QString Start() {
    if (!dir_.isValid()) return QStringLiteral("no temporary folder");
    // Filters run as the lp user and must reach the spool below this folder.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther);
    for (const char* sub : {"etc", "spool/tmp", "cache", "state", "log"})
      QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    socket_ = dir_.filePath(QStringLiteral("cups.sock"));
    Write(QStringLiteral("cups-files.conf"),
          QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                         "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                         "PageLog %1/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n")
              .arg(dir_.path()));
    Write(QStringLiteral("cupsd.conf"),
          QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                         "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                         "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n")
              .arg(socket_));
    cupsd_.setProgram(QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")}));
    cupsd_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), dir_.filePath(QStringLiteral("cupsd.conf")),
                         QStringLiteral("-s"), dir_.filePath(QStringLiteral("cups-files.conf"))});
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.start();
    if (!cupsd_.waitForStarted(10000)) return QStringLiteral("cupsd did not start");
    if (!QTest::qWaitFor([&] { return Admin(QStringLiteral("lpstat"), {QStringLiteral("-r")}); }, 15000))
      return QStringLiteral("cupsd does not answer: ") + QString::fromLocal8Bit(cupsd_.readAll());
    if (!Admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                                           QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd}))
      return QStringLiteral("lpadmin could not add the PDF printer");
    if (!Admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue}))
      return QStringLiteral("lpadmin could not make it the default printer");
    return {};
  }

  void Stop() {
    if (cupsd_.state() == QProcess::NotRunning) return;
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(10000)) {
      cupsd_.kill();
      cupsd_.waitForFinished(5000);
    }
  }

  const QString& Socket() const { return socket_; }
  QString ErrorLog() const {
    QFile f(dir_.filePath(QStringLiteral("log/error_log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().right(4000)) : QString();
  }

 private:
  void Write(const QString& name, const QString& text) {
    QFile f(dir_.filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
  }
  bool Admin(const QString& tool, QStringList args) {
    QProcess p;
    p.setProgram(QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}));
    args.prepend(socket_);
    args.prepend(QStringLiteral("-h"));
    p.setArguments(args);
    p.start();
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }

  QTemporaryDir dir_{QStringLiteral("/tmp/vormek-cups-XXXXXX")};
  QString socket_;
  QProcess cupsd_;
};

// Where cups-pdf puts the documents of this user.
QString CupsPdfOutputDir() {
  const passwd* pw = getpwuid(getuid());
  return pw ? QString::fromLocal8Bit(pw->pw_dir) + QStringLiteral("/PDF") : QString();
}

QStringList PdfFiles(const QString& dir) { return QDir(dir).entryList({QStringLiteral("*.pdf")}, QDir::Files); }

TEST(CupsPrint, DefaultPrinterReceivesTheReport) {
  if (geteuid() != 0) GTEST_SKIP() << "the PDF printer writes as root; run as root";
  for (const QString& need :
       {QStringLiteral("/usr/sbin/cupsd"), QStringLiteral("/usr/lib/cups/backend/cups-pdf"), kPpd}) {
    if (!QFileInfo::exists(need)) GTEST_SKIP() << need.toStdString() << " missing: run scripts/install-deps.sh";
  }
  PrivateCups cups;
  const QString why = cups.Start();
  if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();

  // The desktop's default printer is the private server's.
  qputenv("CUPS_SERVER", cups.Socket().toLocal8Bit());
  qunsetenv("PRINTER");
  qunsetenv("LPDEST");
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), kQueue);

  const QString outDir = CupsPdfOutputDir();
  const QStringList before = PdfFiles(outDir);
  TStringGrid grid(15, 20);
  for (int r = 0; r < 5; ++r) grid.Cell(0, r) = "G" + std::to_string(101 + r);
  grid.Cell(1, 0) = *Utf8ToGbk("北京南");
  PrintGrid(grid, TGridKind::Result, 5);

  QString printed;
  const bool done = QTest::qWaitFor(
      [&] {
        for (const QString& f : PdfFiles(outDir)) {
          if (before.contains(f)) continue;
          const QFileInfo info(QDir(outDir).filePath(f));
          // cups-pdf renames the finished file into place; wait for it to settle.
          if (info.size() > 0 && info.lastModified().msecsTo(QDateTime::currentDateTime()) > 500) {
            printed = info.filePath();
            return true;
          }
        }
        return false;
      },
      90000);
  cups.Stop();
  ASSERT_TRUE(done) << "no PDF from the printer; cupsd log:\n" << cups.ErrorLog().toStdString();

  const QString kept = QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/printed_through_cups.pdf");
  QFile::remove(kept);
  ASSERT_TRUE(QFile::copy(printed, kept));
  QFile::remove(printed);

  QFile pdf(kept);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  // The queue re-renders the text as glyph outlines, so only the page count
  // can be read back: five rows fit on one page.
  if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {kept});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_TRUE(
        QString::fromUtf8(p.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
  }
}

}  // namespace
