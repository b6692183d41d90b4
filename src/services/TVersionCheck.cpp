#include "services/TVersionCheck.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <utility>

#include "services/log_categories.h"
#include "services/version_check.h"

namespace vormek {

QString ConfiguredProbeHost() { return QStringLiteral(VORMEK_PROBE_HOST); }
QString ConfiguredMakerHost() { return QStringLiteral(VORMEK_VERSION_HOST); }

namespace {

// The proxy the system names for a plain HTTP request to the host; NoProxy
// when it names none (or the host is excepted from it).
QNetworkProxy SystemProxyFor(const QString& host, quint16 port) {
  QUrl url;
  url.setScheme(QStringLiteral("http"));
  url.setHost(host);
  url.setPort(port);
  const QList<QNetworkProxy> proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
  for (const QNetworkProxy& proxy : proxies)
    if (proxy.type() != QNetworkProxy::DefaultProxy) return proxy;
  return QNetworkProxy(QNetworkProxy::NoProxy);
}

}  // namespace

TVersionCheck::TVersionCheck(NetCheckHosts hosts, QObject* parent)
    : QObject(parent), hosts_(std::move(hosts)), timeout_(new QTimer(this)) {
  timeout_->setSingleShot(true);
}

TVersionCheck::~TVersionCheck() {
  // Nothing may report into a half-destroyed check.
  done_ = true;
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
  }
}

void TVersionCheck::Start() {
  probe_ = new QTcpSocket(this);
  // Behind an HTTP proxy the probe host is out of reach by design: reaching
  // the proxy is what tells that the network is up. A SOCKS proxy carries
  // the probe itself.
  QString host = hosts_.probeHost;
  quint16 port = hosts_.probePort;
  const QNetworkProxy proxy = SystemProxyFor(host, port);
  if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::HttpCachingProxy) {
    host = proxy.hostName();
    port = proxy.port();
    probe_->setProxy(QNetworkProxy::NoProxy);
  } else {
    probe_->setProxy(proxy);
  }
  connect(probe_, &QAbstractSocket::connected, this, [this] { ProbeEnded(true, QString()); });
  connect(probe_, &QAbstractSocket::errorOccurred, this, [this] { ProbeEnded(false, probe_->errorString()); });
  disconnect(timeout_, nullptr, this, nullptr);
  connect(timeout_, &QTimer::timeout, this, [this] { ProbeEnded(false, QStringLiteral("no answer in time")); });
  timeout_->start(hosts_.probeTimeoutMs);
  probe_->connectToHost(host, port);
}

void TVersionCheck::ProbeEnded(bool reachable, const QString& why) {
  if (done_ || !probe_) return;
  timeout_->stop();
  QTcpSocket* probe = std::exchange(probe_, nullptr);
  probe->disconnect(this);
  probe->abort();
  probe->deleteLater();
  if (!reachable) {
    qCWarning(lcNet) << "network probe of" << hosts_.probeHost << "failed:" << why;
    done_ = true;
    emit Finished(TVersionOutcome::Unreachable, VersionNoNetworkCaption());
    return;
  }
  Fetch();
}

void TVersionCheck::Fetch() {
  manager_ = new QNetworkAccessManager(this);
  manager_->setProxy(SystemProxyFor(hosts_.makerHost, hosts_.makerPort));
  QUrl url;
  url.setScheme(QStringLiteral("http"));
  url.setHost(hosts_.makerHost);
  if (hosts_.makerPort != 80) url.setPort(hosts_.makerPort);
  url.setPath(QString::fromLatin1(kVersionFilePath));
  QNetworkRequest request(url);
  request.setRawHeader("Accept", "text/html, */*");
  request.setHeader(QNetworkRequest::UserAgentHeader,
                    QStringLiteral("Mozilla/4.0 (compatible; VormekTimetable/%1)").arg(QLatin1String(kBuiltInVersion)));
  request.setTransferTimeout(hosts_.requestTimeoutMs);
  // Asking for the plain body keeps a compressed reply from being inflated.
  request.setRawHeader("Accept-Encoding", "identity");
  reply_ = manager_->get(request);
  // A version is ten bytes: the reply is never buffered beyond the limit.
  reply_->setReadBufferSize(kMaxVersionReplyBytes + 1);
  connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
    const qint64 length = reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (length > kMaxVersionReplyBytes) Fail(QStringLiteral("announced %1 bytes").arg(length));
  });
  connect(reply_, &QNetworkReply::readyRead, this, &TVersionCheck::ReadSome);
  connect(reply_, &QNetworkReply::finished, this, &TVersionCheck::FetchEnded);
  // The transfer time-out covers a stalled reply; this one also covers a
  // server that trickles bytes without end.
  disconnect(timeout_, nullptr, this, nullptr);
  connect(timeout_, &QTimer::timeout, this, [this] { Fail(QStringLiteral("no complete reply in time")); });
  timeout_->start(hosts_.requestTimeoutMs + 1000);
}

void TVersionCheck::ReadSome() {
  if (done_ || !reply_) return;
  body_ += reply_->read(kMaxVersionReplyBytes + 1 - body_.size());
  if (body_.size() > kMaxVersionReplyBytes)
    Fail(QStringLiteral("reply longer than %1 bytes").arg(kMaxVersionReplyBytes));
}

void TVersionCheck::FetchEnded() {
  if (done_ || !reply_) return;
  ReadSome();
  if (done_) return;
  const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (reply_->error() != QNetworkReply::NoError) return Fail(reply_->errorString());
  if (status >= 400) return Fail(QStringLiteral("HTTP status %1").arg(status));
  if (!IsVersionShaped(body_)) qCWarning(lcNet) << "the version file holds no version:" << body_.left(32).toHex();
  Finish(body_);
}

void TVersionCheck::Fail(const QString& why) {
  if (done_) return;
  qCWarning(lcNet) << "version file request failed:" << why;
  Finish(std::nullopt);
}

void TVersionCheck::Finish(const std::optional<QByteArray>& body) {
  done_ = true;
  timeout_->stop();
  if (QNetworkReply* reply = reply_.data()) {
    reply_ = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
  emit Finished(VersionOutcome(body), VersionCaption(body));
}

TVersionCheck* StartVersionCheck(QLabel* label, NetCheckHosts hosts) {
  auto* check = new TVersionCheck(std::move(hosts), label);
  QObject::connect(check, &TVersionCheck::Finished, label, [label, check](TVersionOutcome, const QString& caption) {
    // Plain text without control characters, whatever a caption holds: a
    // server's reply must never turn into markup on the window.
    QString shown = caption;
    shown.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    label->setTextFormat(Qt::PlainText);
    label->setText(shown);
    check->deleteLater();
  });
  check->Start();
  return check;
}

}  // namespace vormek
