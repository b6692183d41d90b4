#pragma once
// The web links of the main window's top panel, the upgrade button and the
// large pictures: each opens one fixed address in the desktop's browser.
#include <QObject>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;
class QWidget;

namespace vormek {

class TClickLabel;

// Opens an address; the program hands it to the desktop, tests record it.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener DesktopUrlOpener();

// The fixed addresses.
QUrl MakerHomeUrl();         // the maker's web site, home page
QUrl TrainTimesUrl();        // the maker's train-times page
QUrl SoftwareDownloadUrl();  // the maker's download page
QUrl FlightDealsUrl();       // the travel partner, with the maker's partner number
QUrl LeftTicketsUrl();       // the railway's ticket-information site
QUrl RailwayTicketsUrl();    // the railway's official passenger-service site

class TWebLinks : public QObject {
  Q_OBJECT

 public:
  // Creates the link labels in the top panel. image7 and imageLogo open the
  // maker's site on a click; the small pictures stay mere decoration.
  TWebLinks(QWidget* pTop, QLabel* image7, QLabel* imageLogo, QPushButton* btnUpdate, UrlOpener opener);

  TClickLabel* Label30 = nullptr;  // 列车时刻
  TClickLabel* Label31 = nullptr;  // 特价机票
  TClickLabel* Label32 = nullptr;  // 酒店预订
  TClickLabel* Label33 = nullptr;  // 余票查询
  TClickLabel* LabSell = nullptr;  // 铁道部官网售票

  void OpenWebPage(const QUrl& url) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TClickLabel* Link(QWidget* parent, const QString& name, const QString& caption, QPoint at, const QColor& colour,
                    const QString& hint, const QUrl& url);

  QLabel* image7_;
  QLabel* imageLogo_;
  UrlOpener opener_;
};

}  // namespace vormek
