#pragma once
// The once-per-run check whether the maker has published a newer version.
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QThread>

#include <atomic>
#include <optional>

namespace vormek {

struct NetCheckHosts {
  // Any reachable public web server tells that the network is up.
  QString probeHost = QStringLiteral("www.12306.cn");
  quint16 probePort = 80;
  QString makerHost = QStringLiteral("vormek.example.org");
  quint16 makerPort = 80;
  int probeTimeoutMs = 5000;
  // A server that accepts and never answers must not hold the label forever.
  int requestTimeoutMs = 20000;
};

// Probes the network, fetches the version file and sets the caption of the
// version label on the label's thread. It starts at once and deletes itself
// when done; a label closed before then is simply left alone. The program's
// end interrupts a check still running.
class TThreadNet : public QThread {
  Q_OBJECT
 public:
  static TThreadNet* Start(QLabel* labNew, std::atomic<bool>* netFlag,
                           NetCheckHosts hosts = NetCheckHosts());

 signals:
  void CaptionChosen(const QString& caption);

 protected:
  void run() override;

 private:
  TThreadNet(QLabel* labNew, std::atomic<bool>* netFlag, NetCheckHosts hosts);

  bool Probe();
  std::optional<QByteArray> FetchVersionFile();

  QPointer<QLabel> labNew_;
  std::atomic<bool>* netFlag_;
  NetCheckHosts hosts_;
};

}  // namespace vormek
