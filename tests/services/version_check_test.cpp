#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <atomic>
#include <memory>

#include "services/TThreadNet.h"
#include "services/version_check.h"

using namespace vormek;

namespace {

const QString kUpToDate = QStringLiteral("当前已是最新版本，无需升级。");
const QString kNoNetwork = QStringLiteral("网络未连通，无法获取最新版本信息。");

TEST(VersionCaption, DecidesByTheTenByteBody) {
  EXPECT_EQ(VersionCaption(QByteArray("2012.05.05")), kUpToDate);
  EXPECT_EQ(VersionCaption(QByteArray("2013.01.20")),
            QStringLiteral("发现新版本:2013.01.20，请及时升级。"));
  // Equality, not ordering: an older date is announced too.
  EXPECT_EQ(VersionCaption(QByteArray("2011.12.31")),
            QStringLiteral("发现新版本:2011.12.31，请及时升级。"));
  EXPECT_EQ(VersionCaption(QByteArray("2012.05.05\r\n")), kNoNetwork);
  EXPECT_EQ(VersionCaption(QByteArray("2012.5.5")), kNoNetwork);
  EXPECT_EQ(VersionCaption(QByteArray()), kNoNetwork);
  EXPECT_EQ(VersionCaption(std::nullopt), kNoNetwork);
}

TEST(VersionCaption, CountsLengthInGbkBytes) {
  // Five Chinese characters are ten GBK bytes (fifteen in UTF-8).
  EXPECT_EQ(VersionCaption(QStringLiteral("维墨克时刻").toUtf8()),
            QStringLiteral("发现新版本:维墨克时刻，请及时升级。"));
  // Ten UTF-8 bytes that are not whole characters do not count.
  EXPECT_EQ(VersionCaption(QByteArray("2012.05.\xe7\xbb")), kNoNetwork);
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
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
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
  bool netFlag = false;
};

// Runs one check against a server giving `reply`; the probe goes to the same server.
CheckRun RunCheck(VersionServer& server, std::optional<quint16> probePort = std::nullopt) {
  QLabel label(QStringLiteral("版本检测中..."));
  std::atomic<bool> netFlag{false};
  QPointer<TThreadNet> thread =
      TThreadNet::Start(&label, &netFlag, LoopbackHosts(probePort.value_or(server.port()), server.port()));
  // The thread deletes itself once it is done and its caption delivered.
  EXPECT_TRUE(QTest::qWaitFor([&] { return thread.isNull(); }, 15000));
  return {label.text(), netFlag.load()};
}

TEST(TThreadNet, PublishedVersionsGiveTheirCaptions) {
  struct Case {
    QByteArray body;
    QString caption;
  } cases[] = {
      {"2012.05.05", kUpToDate},
      {"2013.01.20", QStringLiteral("发现新版本:2013.01.20，请及时升级。")},
      {"2012.05.05\n", kNoNetwork},
  };
  for (const Case& c : cases) {
    VersionServer server(VersionServer::Ok(c.body));
    const CheckRun run = RunCheck(server);
    EXPECT_EQ(run.caption, c.caption) << c.body.constData();
    EXPECT_TRUE(run.netFlag);
    EXPECT_TRUE(server.request().startsWith("GET /zirevizuz.iza HTTP/1.1\r\n")) << server.request().constData();
    EXPECT_TRUE(server.request().contains("Accept: text/html, */*\r\n"));
  }
}

TEST(TThreadNet, ErrorStatusMeansNoVersion) {
  VersionServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\nConnection: close\r\n\r\n2013.01.20");
  const CheckRun run = RunCheck(server);
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_TRUE(run.netFlag);
}

TEST(TThreadNet, ServerThatNeverAnswersEndsByTheTimeout) {
  VersionServer server{QByteArray()};
  const CheckRun run = RunCheck(server);
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_FALSE(server.request().isEmpty());
}

TEST(TThreadNet, UnreachableProbeMakesNoRequest) {
  VersionServer server(VersionServer::Ok("2012.05.05"));
  const CheckRun run = RunCheck(server, ClosedPort());
  EXPECT_EQ(run.caption, kNoNetwork);
  EXPECT_FALSE(run.netFlag);
  EXPECT_TRUE(server.request().isEmpty());
}

TEST(TThreadNet, LabelClosedFirstIsLeftAlone) {
  VersionServer server(VersionServer::Ok("2012.05.05"));
  auto label = std::make_unique<QLabel>();
  std::atomic<bool> netFlag{false};
  QPointer<TThreadNet> thread = TThreadNet::Start(label.get(), &netFlag, LoopbackHosts(server.port(), server.port()));
  label.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return thread.isNull(); }, 15000));
  EXPECT_TRUE(netFlag.load());
}

}  // namespace
