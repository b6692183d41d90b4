#include "services/version_check.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include "services/TVersionCheck.h"

using namespace vormek;

namespace {

const QString kUpToDate = QStringLiteral("当前已是最新版本，无需升级。");
const QString kNoNetwork = QStringLiteral("网络未连通，无法获取最新版本信息。");

TEST(VersionCaption, DecidesByTheTenByteBody) {
  EXPECT_EQ(VersionCaption(QByteArray("2012.05.05")), kUpToDate);
  EXPECT_EQ(VersionCaption(QByteArray("2013.01.20")), QStringLiteral("发现新版本:2013.01.20，请及时升级。"));
  // Equality, not ordering: an older date is announced too.
  EXPECT_EQ(VersionCaption(QByteArray("2011.12.31")), QStringLiteral("发现新版本:2011.12.31，请及时升级。"));
  EXPECT_EQ(VersionCaption(QByteArray("2012.05.05\r\n")), kNoNetwork);
  EXPECT_EQ(VersionCaption(QByteArray("2012.5.5")), kNoNetwork);
  EXPECT_EQ(VersionCaption(QByteArray()), kNoNetwork);
  EXPECT_EQ(VersionCaption(std::nullopt), kNoNetwork);
}

TEST(VersionCaption, OnlyAVersionShapedBodyCounts) {
  struct Case {
    QByteArray body;
    bool announced;
  } cases[] = {
      {"2013.01.20", true},
      {"9999999999", true},
      {"2012.05.05\x1b[1m", false},                    // control bytes
      {"<b>pwn</b>", false},                           // ten bytes of markup
      {QStringLiteral("维墨克时刻").toUtf8(), false},  // ten GBK bytes, no version
      {"2012.05.\xe7\xbb", false},
      {"2012-05-05", false},
      {QByteArray(10, '\0'), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsVersionShaped(c.body), c.announced) << c.body.toHex().constData();
    EXPECT_EQ(VersionCaption(c.body), c.announced ? VersionNewCaption(QString::fromLatin1(c.body)) : kNoNetwork)
        << c.body.toHex().constData();
  }
  EXPECT_FALSE(IsVersionShaped(QByteArray(17, '1')));
}

// A small HTTP server on 127.0.0.1 that answers every request with one reply
// (or never answers) and records the request lines.
class VersionServer : public QObject {
 public:
  explicit VersionServer(QByteArray reply) : reply_(std::move(reply)) {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] {
          request_ += s->readAll();
          if (!request_.contains("\r\n\r\n") || reply_.isEmpty()) return;
          s->write(reply_);
          s->disconnectFromHost();
        });
      }
    });
  }
  static QByteArray Ok(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
  }
  quint16 port() const { return server_.serverPort(); }
  const QByteArray& request() const { return request_; }

 private:
  QTcpServer server_;
  QByteArray reply_;
  QByteArray request_;
};

// A loopback port with nothing listening on it.
quint16 ClosedPort() {
  QTcpServer s;
  EXPECT_TRUE(s.listen(QHostAddress::LocalHost));
  const quint16 port = s.serverPort();
  s.close();
  return port;
}

NetCheckHosts LoopbackHosts(quint16 probePort, quint16 makerPort) {
  NetCheckHosts hosts;
  hosts.probeHost = QStringLiteral("127.0.0.1");
  hosts.probePort = probePort;
  hosts.makerHost = QStringLiteral("127.0.0.1");
  hosts.makerPort = makerPort;
  hosts.probeTimeoutMs = 2000;
  hosts.requestTimeoutMs = 1500;
  return hosts;
}

struct CheckRun {
  QString caption;
  std::optional<TVersionOutcome> outcome;
  Qt::TextFormat format = Qt::AutoText;
};

// Runs one check on a label; the check deletes itself once its caption is set.
CheckRun RunCheck(const NetCheckHosts& hosts) {
  QLabel label(QStringLiteral("版本检测中..."));
  CheckRun run;
  QPointer<TVersionCheck> check = StartVersionCheck(&label, hosts);
  QObject::connect(check, &TVersionCheck::Finished, [&run](TVersionOutcome outcome, const QString&) {
    EXPECT_FALSE(run.outcome.has_value()) << "finished twice";
    run.outcome = outcome;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return check.isNull(); }, 15000));
  run.caption = label.text();
  run.format = label.textFormat();
  return run;
}

// Runs one check against a server giving `reply`; the probe goes to the same server.
CheckRun RunCheck(VersionServer& server, std::optional<quint16> probePort = std::nullopt) {
  return RunCheck(LoopbackHosts(probePort.value_or(server.port()), server.port()));
}

TEST(TVersionCheck, PublishedVersionsGiveTheirCaptions) {
  struct Case {
    QByteArray body;
    QString caption;
    TVersionOutcome outcome;
  } cases[] = {
      {"2012.05.05", kUpToDate, TVersionOutcome::UpToDate},
      {"2013.01.20", QStringLiteral("发现新版本:2013.01.20，请及时升级。"), TVersionOutcome::NewVersion},
      {"2012.05.05\n", kNoNetwork, TVersionOutcome::NoVersion},
  };
  for (const Case& c : cases) {
    VersionServer server(VersionServer::Ok(c.body));
    const CheckRun run = RunCheck(server);
    EXPECT_EQ(run.caption, c.caption) << c.body.constData();
    EXPECT_EQ(run.outcome, c.outcome) << c.body.constData();
    EXPECT_TRUE(server.request().startsWith("GET /zirevizuz.iza HTTP/1.1\r\n")) << server.request().constData();
    EXPECT_TRUE(server.request().contains("Accept: text/html, */*\r\n"));
  }
}

TEST(TVersionCheck, ErrorStatusMeansNoVersion) {
  VersionServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\nConnection: close\r\n\r\n2013.01.20");
  const CheckRun run = RunCheck(server);
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_EQ(run.outcome, TVersionOutcome::NoVersion);
}

TEST(TVersionCheck, ServerThatNeverAnswersEndsByTheTimeout) {
  VersionServer server{QByteArray()};
  const CheckRun run = RunCheck(server);
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_FALSE(server.request().isEmpty());
}

TEST(TVersionCheck, UnreachableProbeMakesNoRequest) {
  VersionServer server(VersionServer::Ok("2012.05.05"));
  const CheckRun run = RunCheck(server, ClosedPort());
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_EQ(run.outcome, TVersionOutcome::Unreachable);
  EXPECT_TRUE(server.request().isEmpty());
}

// The system's proxy carries the check: with http_proxy naming a local server,
// hosts that do not even resolve are reached through it, and the probe asks
// the proxy itself.
TEST(TVersionCheck, GoesThroughTheSystemProxy) {
  VersionServer proxy(VersionServer::Ok("2012.05.05"));
  const QByteArray saved = qgetenv("http_proxy");
  const QByteArray savedNo = qgetenv("no_proxy");
  qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.port()));
  qunsetenv("no_proxy");
  NetCheckHosts hosts = LoopbackHosts(0, 80);
  hosts.probeHost = QStringLiteral("probe.invalid");
  hosts.makerHost = QStringLiteral("maker.invalid");
  const CheckRun run = RunCheck(hosts);
  if (saved.isNull())
    qunsetenv("http_proxy");
  else
    qputenv("http_proxy", saved);
  if (!savedNo.isNull()) qputenv("no_proxy", savedNo);
  EXPECT_EQ(run.outcome, TVersionOutcome::UpToDate) << proxy.request().constData();
  EXPECT_TRUE(proxy.request().startsWith("GET http://maker.invalid/zirevizuz.iza HTTP/1.1\r\n"))
      << proxy.request().constData();
}

// Servers that try to make the check buffer without end, or to put markup
// on the window. Every server stops by itself after offering 64 MB.
class HostileServer : public QObject {
 public:
  enum Kind { HugeLength, EndlessChunks, Markup };
  explicit HostileServer(Kind kind) : kind_(kind) {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] {
          request_ += s->readAll();
          if (!request_.contains("\r\n\r\n") || answered_) return;
          answered_ = true;
          Answer(s);
        });
        connect(s, &QTcpSocket::bytesWritten, s, [this, s](qint64 n) {
          taken_ += n;
          Pump(s);
        });
      }
    });
  }
  quint16 port() const { return server_.serverPort(); }
  // Bytes the client's side took from this server.
  qint64 taken() const { return taken_; }

 private:
  static constexpr qint64 kOffer = qint64{64} << 20;
  static constexpr qint64 kChunk = qint64{1} << 20;

  void Answer(QTcpSocket* s) {
    switch (kind_) {
      case HugeLength: s->write("HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\n"); break;
      case EndlessChunks: s->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"); break;
      case Markup:
        s->write(VersionServer::Ok("<b>pwn</b>"));
        s->disconnectFromHost();
        return;
    }
    Pump(s);
  }
  void Pump(QTcpSocket* s) {
    if (kind_ == Markup || !answered_ || s->state() != QAbstractSocket::ConnectedState) return;
    while (offered_ < kOffer && s->bytesToWrite() < kChunk) {
      const QByteArray body(kChunk, '1');
      s->write(kind_ == EndlessChunks ? QByteArray::number(kChunk, 16) + "\r\n" + body + "\r\n" : body);
      offered_ += kChunk;
    }
  }

  Kind kind_;
  QTcpServer server_;
  QByteArray request_;
  bool answered_ = false;
  qint64 offered_ = 0;
  qint64 taken_ = 0;
};

TEST(TVersionCheck, HostileRepliesAreCutShortAndShownAsPlainText) {
  struct Case {
    const char* name;
    HostileServer::Kind kind;
  } cases[] = {
      {"a ten-gigabyte Content-Length", HostileServer::HugeLength},
      {"endless chunks", HostileServer::EndlessChunks},
      {"markup", HostileServer::Markup},
  };
  for (const Case& c : cases) {
    HostileServer server(c.kind);
    const CheckRun run = RunCheck(LoopbackHosts(server.port(), server.port()));
    EXPECT_EQ(run.caption, kNoNetwork) << c.name;
    EXPECT_EQ(run.outcome, TVersionOutcome::NoVersion) << c.name;
    EXPECT_EQ(run.format, Qt::PlainText) << c.name;
    // What the kernel's socket buffers hold is all that may pass: far less
    // than the 64 MB offered.
    EXPECT_LT(server.taken(), qint64{24} << 20) << c.name;
  }
}

TEST(TVersionCheck, LabelClosedFirstTakesTheCheckWithIt) {
  VersionServer server{QByteArray()};
  auto label = std::make_unique<QLabel>();
  QPointer<TVersionCheck> check = StartVersionCheck(label.get(), LoopbackHosts(server.port(), server.port()));
  // Closed while the request is open: nothing may arrive afterwards.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !server.request().isEmpty(); }, 5000));
  label.reset();
  EXPECT_TRUE(check.isNull());
  QTest::qWait(50);
}

}  // namespace
