#include "app/UnitAbout.h"

#include <QLabel>
#include <QPalette>
#include <algorithm>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "output/maker_info.h"
#include "services/version_check.h"
#include "ui/click_label.h"
#include "ui/dialog_frame.h"

namespace vormek {
namespace {

QLabel* Text(QWidget* parent, const QString& name, const QString& text, QPoint at, int pixelHeight) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(SongFont(pixelHeight));
  label->move(at);
  label->adjustSize();
  return label;
}

}  // namespace

TFrmAbout::TFrmAbout(UrlOpener opener, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      opener_(std::move(opener)) {
  setObjectName(QStringLiteral("FrmAbout"));
  setWindowTitle(QStringLiteral("关于"));
  setModal(true);
  setFixedSize(ClientWidth, ClientHeight);
  setFont(SongFont(12));
  SetFixedBackground(*this, QColor(0xE3, 0xEF, 0xF3));

  ImageLogo = new QLabel(this);
  ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
  ImageLogo->move(106, 12);

  LabVer = Text(this, QStringLiteral("LabVer"), QString(), {107, 88}, 14);

  const TMakerInfo maker = DefaultMakerInfo();
  Label2 = new TClickLabel(FromGbk(maker.WebAddress), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  QFont linkFont = SongFont(14, true);
  linkFont.setUnderline(true);
  Label2->setFont(linkFont);
  QPalette blue = Label2->palette();
  blue.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
  Label2->setPalette(blue);
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setToolTip(QStringLiteral("点击访问维墨克火车网"));
  Label2->move(96, 120);
  Label2->adjustSize();
  connect(Label2, &TClickLabel::Clicked, this, [this] {
    if (opener_) opener_(MakerHomeUrl());
  });

  Label4 = Text(this, QStringLiteral("Label4"), QStringLiteral("荣誉出品："), {110, 164}, 12);
  Label3 = Text(this, QStringLiteral("Label3"), FromGbk(maker.Name), {170, 164}, 12);

  // The note keeps a margin from every edge; the box grows below it where
  // the face needs more lines than the specified height leaves.
  constexpr int kMargin = 10;
  constexpr int kNoteTop = 184;
  LabData = new QLabel(kBuiltInTimetableNote, this);
  LabData->setObjectName(QStringLiteral("LabData"));
  LabData->setFont(SongFont(11));
  LabData->setWordWrap(true);
  const int noteWidth = ClientWidth - 2 * kMargin;
  const int noteHeight = LabData->heightForWidth(noteWidth);
  LabData->setGeometry(kMargin, kNoteTop, noteWidth, noteHeight);
  setFixedSize(ClientWidth, std::max(ClientHeight, kNoteTop + noteHeight + kMargin));
}

void TFrmAbout::Prepare(const QPixmap& logo) {
  ImageLogo->setPixmap(logo);
  ImageLogo->adjustSize();
  LabVer->setText(QStringLiteral("版本:") + QString::fromLatin1(kBuiltInVersion));
  LabVer->adjustSize();
}

void TFrmAbout::MAboutClick(QWidget* owner, const QPixmap& logo, UrlOpener opener) {
  TFrmAbout box(std::move(opener), owner);
  box.Prepare(logo);
  box.exec();
}

}  // namespace vormek
