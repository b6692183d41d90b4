#include "app/web_links.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

#include "gui_text/window_fonts.h"
#include "ui/click_label.h"

namespace vormek {
namespace {

const QString kMakerHost = QStringLiteral("http://vormek.example.org");
const QString kPartnerNumber = QStringLiteral("2012050500000000001");

}  // namespace

UrlOpener DesktopUrlOpener() {
  return [](const QUrl& url) {
    if (QDesktopServices::openUrl(url)) return;
    // Without a browser the click would otherwise do nothing at all.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("打开网页"),
                    QStringLiteral("无法打开网页：没有找到可用的浏览器。\n%1").arg(url.toDisplayString()),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
  };
}

QUrl MakerHomeUrl() { return QUrl(kMakerHost + QStringLiteral("/")); }
QUrl TrainTimesUrl() { return QUrl(kMakerHost + QStringLiteral("/huocheshike.html")); }
QUrl SoftwareDownloadUrl() { return QUrl(kMakerHost + QStringLiteral("/softdown.html")); }
QUrl FlightDealsUrl() { return QUrl(QStringLiteral("https://travel-partner.example.com/r/flight/") + kPartnerNumber); }
QUrl LeftTicketsUrl() { return QUrl(QStringLiteral("https://kyfw.12306.cn/TrainQuery/leftTicketByStation.jsp")); }
QUrl RailwayTicketsUrl() { return QUrl(QStringLiteral("https://www.12306.cn/mormhweb/kyfw/")); }

TWebLinks::TWebLinks(QWidget* pTop, QLabel* image7, QLabel* imageLogo, QPushButton* btnUpdate, UrlOpener opener)
    : QObject(pTop), image7_(image7), imageLogo_(imageLogo), opener_(std::move(opener)) {
  Label32 = Link(pTop, QStringLiteral("Label32"), QStringLiteral("酒店预订"), {290, 18}, QColor(0x00, 0x80, 0x00),
                 QStringLiteral("国内700个城市，2万家酒店在线预订  \n返现高达20%  到店无房赔首晚房费 7X24小时服务 "
                                "预订价高于酒店门市价3倍差额赔付"),
                 MakerHomeUrl());
  Label31 = Link(pTop, QStringLiteral("Label31"), QStringLiteral("特价机票"), {290, 46}, QColor(0x00, 0x80, 0xC0),
                 QStringLiteral("千条航线低价信息 每天超过6000名用户成功出票 \n纳斯达克上市公司 服务满意度超99.7%"),
                 FlightDealsUrl());
  Label30 = Link(pTop, QStringLiteral("Label30"), QStringLiteral("列车时刻"), {465, 16}, QColor(0x80, 0x00, 0x80),
                 QStringLiteral("在维墨克火车网查询列车时刻，顺便预订沿途酒店"), TrainTimesUrl());
  Label33 = Link(pTop, QStringLiteral("Label33"), QStringLiteral("余票查询"), {465, 44}, QColor(0xFF, 0x80, 0x00),
                 QStringLiteral("查询铁道部官网发布的余票信息"), LeftTicketsUrl());
  LabSell = Link(pTop, QStringLiteral("LabSell"), QStringLiteral("铁道部官网售票"), {633, 32}, QColor(0x00, 0x40, 0x80),
                 QStringLiteral("铁道部官方售票网站 www.12306.cn\n客户服务中心 12306"), RailwayTicketsUrl());

  const QString hotelHint = QStringLiteral(
      "650个城市2万家酒店2~7折优惠，免费预订，到店付款！\n"
      "欢迎到维墨克火车网预订酒店");
  for (QLabel* picture : {image7_, imageLogo_}) {
    if (!picture) continue;
    picture->setCursor(Qt::PointingHandCursor);
    picture->installEventFilter(this);
  }
  if (image7_) image7_->setToolTip(hotelHint);
  if (imageLogo_) imageLogo_->setToolTip(QStringLiteral("欢迎访问维墨克火车网，预订特价酒店"));
  if (btnUpdate) {
    connect(btnUpdate, &QPushButton::clicked, this, [this] { OpenWebPage(SoftwareDownloadUrl()); });
  }
}

TClickLabel* TWebLinks::Link(QWidget* parent, const QString& name, const QString& caption, QPoint at,
                             const QColor& colour, const QString& hint, const QUrl& url) {
  auto* label = new TClickLabel(caption, parent);
  label->setObjectName(name);
  QFont font = SongFont(14, true);
  font.setUnderline(true);
  label->setFont(font);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, colour);
  label->setPalette(pal);
  label->setCursor(Qt::PointingHandCursor);
  label->setToolTip(hint);
  label->move(at);
  label->adjustSize();
  label->show();
  connect(label, &TClickLabel::Clicked, this, [this, url] { OpenWebPage(url); });
  return label;
}

void TWebLinks::OpenWebPage(const QUrl& url) const {
  // Nothing is reported when no browser opens.
  if (opener_) opener_(url);
}

bool TWebLinks::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == image7_ || watched == imageLogo_) && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* picture = static_cast<QWidget*>(watched);
    if (mouse->button() == Qt::LeftButton && picture->rect().contains(mouse->position().toPoint())) {
      OpenWebPage(MakerHomeUrl());
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vormek
