#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QUrl>
#include <vector>

#include "app/UnitAbout.h"
#include "app/web_links.h"
#include "ui/click_label.h"

using namespace vormek;

namespace {

QPixmap Logo() {
  QPixmap logo(143, 63);
  logo.fill(QColor(0x20, 0x60, 0xA0));
  return logo;
}

TEST(FrmAbout, ShowsVersionLogoAndMaker) {
  std::vector<QUrl> opened;
  TFrmAbout box([&](const QUrl& u) { opened.push_back(u); });
  box.Prepare(Logo());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("关于"));
  EXPECT_EQ(box.width(), 361);
  EXPECT_GE(box.height(), 212) << "taller only where the note needs it";
  EXPECT_EQ(box.LabVer->text(), QStringLiteral("版本:2012.05.05"));
  EXPECT_EQ(box.ImageLogo->pixmap().size(), QSize(143, 63));
  EXPECT_EQ(box.ImageLogo->pos(), QPoint(106, 12));
  EXPECT_EQ(box.Label4->text(), QStringLiteral("荣誉出品："));
  EXPECT_FALSE(box.Label3->text().isEmpty());
  EXPECT_EQ(box.Label2->toolTip(), QStringLiteral("点击访问维墨克火车网"));
  EXPECT_TRUE(box.Label2->font().underline());
  EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // The note on the built-in timetable is whole inside the box, at least
  // 8 px from every edge, and below the maker's line.
  EXPECT_EQ(box.LabData->text(), kBuiltInTimetableNote);
  EXPECT_TRUE(QRect(QPoint(0, 0), box.size()).adjusted(8, 8, -8, -8).contains(box.LabData->geometry()))
      << box.LabData->geometry().bottom() << " of " << box.height();
  EXPECT_GT(box.LabData->y(), box.Label3->geometry().bottom());
  EXPECT_GE(box.LabData->height(), box.LabData->heightForWidth(box.LabData->width()));
}

TEST(FrmAbout, AddressLinkOpensTheMakersHomePage) {
  std::vector<QUrl> opened;
  TFrmAbout box([&](const QUrl& u) { opened.push_back(u); });
  box.Prepare(Logo());
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTest::mouseClick(box.ImageLogo, Qt::LeftButton);
  EXPECT_TRUE(opened.empty()) << "the logo has no click action here";
  QTest::mouseClick(box.Label2, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], MakerHomeUrl());
  EXPECT_EQ(box.Label2->text() + QStringLiteral("/"), MakerHomeUrl().toString());
}

TEST(FrmAbout, Screenshot) {
  TFrmAbout box([](const QUrl&) {});
  box.Prepare(Logo());
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_TRUE(box.grab().save(QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/frm_about.png")));
}

}  // namespace
