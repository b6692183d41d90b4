// How the window reads on a desktop that is not the one it was drawn for: a
// dark theme's palette must not put light text on the fixed light panels,
// and the status bar's last panel shows its whole text.
#include <QGroupBox>
#include <QImage>
#include <QStatusBar>
#include <cmath>
#include <map>

#include "app/UnitAbout.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

double Luminance(QColor c) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// Contrast of the text in a rendered area: its commonest colour is the
// background, the colour farthest from it in luminance the text.
double TextContrast(const QImage& image, const QRect& area) {
  std::map<QRgb, int> counts;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
  if (counts.empty()) return 0;
  QRgb background = counts.begin()->first;
  for (const auto& [rgb, n] : counts)
    if (n > counts[background]) background = rgb;
  const double lb = Luminance(QColor(background));
  double best = 1;
  for (const auto& [rgb, n] : counts) {
    const double l = Luminance(QColor(rgb));
    best = std::max(best, (std::max(l, lb) + 0.05) / (std::min(l, lb) + 0.05));
  }
  return best;
}

// The colours of a dark desktop theme.
QPalette DarkPalette() {
  QPalette p;
  const QColor dark(0x2E, 0x2F, 0x30), darker(0x1C, 0x1D, 0x1F), light(0xE6, 0xE6, 0xE6);
  for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) p.setColor(role, dark);
  p.setColor(QPalette::Base, darker);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
    p.setColor(role, light);
  p.setColor(QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
  return p;
}

class MainWindowLooks : public TWindowTest {
 protected:
  void TearDown() override {
    window.reset();
    QApplication::setPalette(saved_);
  }
  // The area of `w` (or of its `part`) in the picture of `top`.
  static QRect InPicture(QWidget* top, QWidget* w, QRect part = QRect()) {
    if (part.isNull()) part = w->rect();
    return QRect(w->mapTo(top, part.topLeft()), part.size());
  }
  QPalette saved_ = QApplication::palette();
};

TEST_F(MainWindowLooks, LabelsOnFixedPanelsStayReadableUnderADarkPalette) {
  QApplication::setPalette(DarkPalette());
  OpenTiny();
  const QImage image = window->grab().toImage();
  image.save(QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/main_window_dark.png"));

  std::vector<std::pair<QString, QRect>> areas;
  auto add = [&](QWidget* w, QRect part = QRect()) {
    areas.emplace_back(w->objectName() + QLatin1Char(' ') + w->property("text").toString(),
                       InPicture(window.get(), w, part));
  };
  for (QGroupBox* group :
       {Widget<QGroupBox>(*window, "GBZZ"), Widget<QGroupBox>(*window, "GBCC"), Widget<QGroupBox>(*window, "GBCZ")})
    add(group, QRect(0, 0, 100, 14));
  for (const char* name : {"LabFZ", "LabDZ", "LabFilter"}) add(window->findChild<QLabel*>(QLatin1String(name)));
  for (QCheckBox* box : {Widget<QCheckBox>(*window, "CBSF"), Widget<QCheckBox>(*window, "CBZD"),
                         Widget<QCheckBox>(*window, "CBJQ"), Widget<QCheckBox>(*window, "CBDC")})
    add(box, QRect(20, 0, box->width() - 20, box->height()));  // the caption, not the tick box
  for (int column = 1; column <= 15; ++column) add(Widget<TClickLabel>(*window, QStringLiteral("Lab%1").arg(column)));
  for (QLabel* label : Widget<QWidget>(*window, "P1")->findChildren<QLabel*>())
    if (label->text().contains(QStringLiteral("  "))) add(label);  // the band captions
  add(Widget<QLabel>(*window, "LabResult"));
  ASSERT_GE(areas.size(), 28u);
  for (const auto& [what, area] : areas) EXPECT_GE(TextContrast(image, area), 4.5) << what.toStdString();

  TFrmAbout about([](const QUrl&) {});
  about.Prepare(window->LogoPixmap());
  const QImage box = about.grab().toImage();
  for (QLabel* label : {about.LabVer, about.Label4, about.Label3})
    EXPECT_GE(TextContrast(box, InPicture(&about, label)), 4.5) << label->text().toStdString();
}

TEST_F(MainWindowLooks, LastStatusPanelShowsItsWholeText) {
  OpenTiny();
  QLabel* last = Widget<QLabel>(*window, "StatusPanel5");
  const int needed = last->fontMetrics().horizontalAdvance(last->text()) + 2 * last->frameWidth() + 2 * last->margin();
  EXPECT_GE(last->contentsRect().width() + 2 * last->frameWidth(), needed);
  EXPECT_LE(last->geometry().right(), Widget<QStatusBar>(*window, "StatusBar1")->width());
}

}  // namespace
}  // namespace vormek::test
