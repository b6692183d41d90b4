#pragma once
// The once-per-run check whether the maker has published a newer version.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "services/version_check.h"

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QTcpSocket;
class QTimer;

namespace vormek {

// The hosts the build was configured with (the CMake cache variables
// VORMEK_PROBE_HOST and VORMEK_VERSION_HOST).
QString ConfiguredProbeHost();
QString ConfiguredMakerHost();

// Both connections go through the proxy the system names for them (the
// desktop's settings or http_proxy and no_proxy), as a browser's would.
struct NetCheckHosts {
  // Any reachable public web server tells that the network is up.
  QString probeHost = ConfiguredProbeHost();
  quint16 probePort = 80;
  QString makerHost = ConfiguredMakerHost();
  quint16 makerPort = 80;
  int probeTimeoutMs = 5000;
  // A server that accepts and never answers must not hold the label forever.
  int requestTimeoutMs = 20000;
};

// Probes the network, then fetches the version file, all on the thread it
// lives on and driven by that thread's event loop. Finished comes exactly
// once, unless the object is deleted first (which drops the request).
class TVersionCheck : public QObject {
  Q_OBJECT
 public:
  explicit TVersionCheck(NetCheckHosts hosts = NetCheckHosts(), QObject* parent = nullptr);
  ~TVersionCheck() override;

  void Start();

 signals:
  void Finished(vormek::TVersionOutcome outcome, const QString& caption);

 private:
  void ProbeEnded(bool reachable, const QString& why);
  void Fetch();
  void ReadSome();
  void FetchEnded();
  void Fail(const QString& why);
  void Finish(const std::optional<QByteArray>& body);

  NetCheckHosts hosts_;
  QTcpSocket* probe_ = nullptr;
  QNetworkAccessManager* manager_ = nullptr;
  QPointer<QNetworkReply> reply_;
  QTimer* timeout_ = nullptr;
  QByteArray body_;
  bool done_ = false;
};

// Starts a check whose caption replaces the text of `label`, as plain text
// without control characters. The check belongs to the label, so a label
// closed first takes the check with it; otherwise the check deletes itself
// once the caption is set.
TVersionCheck* StartVersionCheck(QLabel* label, NetCheckHosts hosts = NetCheckHosts());

}  // namespace vormek
