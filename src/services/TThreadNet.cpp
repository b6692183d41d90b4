#include "services/TThreadNet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

#include "services/version_check.h"

namespace vormek {
namespace {

// Runs this thread's events until `done` holds, the time is up or the thread
// is asked to stop; true when `done` held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(10);
  QElapsedTimer clock;
  clock.start();
  bool ok = false;
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    if (done()) {
      ok = true;
      loop.quit();
    } else if (clock.elapsed() >= timeoutMs || QThread::currentThread()->isInterruptionRequested()) {
      loop.quit();
    }
  });
  tick.start();
  loop.exec();
  return ok;
}

}  // namespace

TThreadNet::TThreadNet(QLabel* labNew, std::atomic<bool>* netFlag, NetCheckHosts hosts)
    : labNew_(labNew), netFlag_(netFlag), hosts_(std::move(hosts)) {}

TThreadNet* TThreadNet::Start(QLabel* labNew, std::atomic<bool>* netFlag, NetCheckHosts hosts) {
  auto* thread = new TThreadNet(labNew, netFlag, std::move(hosts));
  // The caption is set here, on the thread the label lives on, and only while
  // the label still exists.
  connect(thread, &TThreadNet::CaptionChosen, thread, [thread](const QString& caption) {
    if (!thread->labNew_) return;
    // Plain text without control characters, whatever a caption holds: a
    // server's reply must never turn into markup on the window.
    QString shown = caption;
    shown.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    thread->labNew_->setTextFormat(Qt::PlainText);
    thread->labNew_->setText(shown);
  }, Qt::QueuedConnection);
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  if (QCoreApplication* app = QCoreApplication::instance()) {
    connect(app, &QCoreApplication::aboutToQuit, thread, [thread] {
      thread->requestInterruption();
      thread->wait();
    });
  }
  thread->start();
  return thread;
}

bool TThreadNet::Probe() {
  QTcpSocket socket;
  socket.setProxy(QNetworkProxy::NoProxy);
  bool failed = false;
  connect(&socket, &QAbstractSocket::errorOccurred, &socket, [&failed] { failed = true; });
  socket.connectToHost(hosts_.probeHost, hosts_.probePort);
  const bool connected = WaitFor(
      [&] { return failed || socket.state() == QAbstractSocket::ConnectedState; },
      hosts_.probeTimeoutMs);
  const bool ok = connected && !failed && socket.state() == QAbstractSocket::ConnectedState;
  socket.abort();
  return ok;
}

std::optional<QByteArray> TThreadNet::FetchVersionFile() {
  QNetworkAccessManager manager;
  manager.setProxy(QNetworkProxy::NoProxy);
  QUrl url;
  url.setScheme(QStringLiteral("http"));
  url.setHost(hosts_.makerHost);
  if (hosts_.makerPort != 80) url.setPort(hosts_.makerPort);
  url.setPath(QString::fromLatin1(kVersionFilePath));
  QNetworkRequest request(url);
  request.setRawHeader("Accept", "text/html, */*");
  request.setHeader(QNetworkRequest::UserAgentHeader,
                    QStringLiteral("Mozilla/4.0 (compatible; VormekTimetable/2012.05.05)"));
  request.setTransferTimeout(hosts_.requestTimeoutMs);
  // Asking for the plain body keeps a compressed reply from being inflated.
  request.setRawHeader("Accept-Encoding", "identity");
  std::unique_ptr<QNetworkReply> reply(manager.get(request));
  // A version is ten bytes: a reply that says or turns out longer is dropped
  // at once instead of being buffered whole.
  reply->setReadBufferSize(kMaxVersionReplyBytes + 1);
  bool tooLong = false;
  auto dropIfTooLong = [&](qint64 length) {
    if (length > kMaxVersionReplyBytes && !tooLong) {
      tooLong = true;
      reply->abort();
    }
  };
  connect(reply.get(), &QNetworkReply::metaDataChanged, reply.get(), [&] {
    dropIfTooLong(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
  });
  connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
          [&](qint64 received, qint64 total) { dropIfTooLong(std::max(received, total)); });
  const bool finished =
      WaitFor([&] { return reply->isFinished() || tooLong; }, hosts_.requestTimeoutMs + 1000);
  if (!finished || tooLong) {
    reply->abort();
    return std::nullopt;
  }
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (reply->error() != QNetworkReply::NoError || status >= 400) return std::nullopt;
  const QByteArray body = reply->read(kMaxVersionReplyBytes + 1);
  if (body.size() > kMaxVersionReplyBytes) return std::nullopt;
  return body;
}

void TThreadNet::run() {
  const bool reachable = Probe();
  if (netFlag_) netFlag_->store(reachable);
  if (isInterruptionRequested()) return;
  if (!reachable) {
    emit CaptionChosen(VersionNoNetworkCaption());
    return;
  }
  const std::optional<QByteArray> body = FetchVersionFile();
  if (isInterruptionRequested()) return;
  emit CaptionChosen(VersionCaption(body));
}

}  // namespace vormek
