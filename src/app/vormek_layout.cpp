// The main window's controls, placed as in the original layout.
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "app/UnitVormek.h"
#include "app/button_pictures.h"
#include "gui_text/window_fonts.h"
#include "query/result_rows.h"
#include "ui/click_label.h"
#include "ui/dialog_frame.h"
#include "ui/enter_presses_button.h"
#include "ui/layout_scale.h"
#include "ui/result_grid_model.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"
#include "ui/upper_case_validator.h"

namespace vormek {

namespace {

constexpr int kTopHeight = 68;
constexpr int kLineHeight = 2;
constexpr int kStatusHeight = 25;
const QColor kPanelColour(227, 239, 243);
const QColor kLineColour(0x00, 0x80, 0x00);
const QColor kHeaderBox(0xF2, 0xF2, 0xF9);
const QColor kBandBox(0xFE, 0xFC, 0xDA);

const std::array<int, 15> kColumnWidths = {97, 77, 77, 70, 77, 45, 77, 45, 32, 45, 37, 42, 43, 91, 70};
const std::array<const char*, 15> kHeaderCaptions = {"车 次", "始发站", "终到站", "车型",         "发站",
                                                     "发时",  "到站",   "到时",   "停站",         "里程",
                                                     "历时",  "硬座",   "软座",   "硬卧上/中/下", "软卧上/下"};
// The widest text each column shows: a column is never narrower than its
// text in the face that is installed.
const std::array<const char*, 15> kWidestCells = {
    "K1234/K1235", "乌鲁木齐南站", "乌鲁木齐南站", "空调普快", "乌鲁木齐南站", "23:59",       "乌鲁木齐南站", "23:59",
    "99",          "4999",         "99:59",        "1234",     "1234",         "812/842/871", "1234/1299"};
// Room beside a cell's text (the grid line and a pixel each side), and
// beside a caption's.
constexpr int kCellMargin = 4;
constexpr int kCaptionMargin = 4;
// What a window manager's border and title bar take beside the window.
const QSize kFrameAllowance(8, 32);

const char* const kStationHint = "支持拼音首字母输入，如[北京]->BJ";
// Three lines: double-click, right button, header click.
const char* const kGridHint = "双击鼠标，可查看详细车次信息\n鼠标右键，弹出高级菜单\n点击列表头可排序";

QWidget* ColouredBox(QWidget* parent, const QColor& colour, const QRect& geometry) {
  auto* box = new QWidget(parent);
  SetFixedBackground(*box, colour);
  box->setGeometry(geometry);
  return box;
}

QPushButton* Button(QWidget* parent, const QString& caption, const QRect& geometry, bool enabled) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setEnabled(enabled);
  button->setAutoDefault(false);
  PressOnEnter(button);
  return button;
}

TStationComboBox* StationBox(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* box = new TStationComboBox(parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  box->setToolTip(QString::fromUtf8(kStationHint));
  box->SetStationList(QStringList(12, QString()), false);
  box->setEnabled(false);
  return box;
}

}  // namespace

void TFrmVormek::BuildLayout() {
  setFont(SongFont(12));
  setWindowTitle(
      QStringLiteral("维墨克时刻表，准确及时的列车时刻表提供者，免费预订打折机票、特价酒店，使您出行无忧！"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(ClientWidth, ClientHeight);

  BuildTopPanel();
  Shape1 = new QFrame(this);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setGeometry(0, kTopHeight, ClientWidth, kLineHeight);
  SetFixedBackground(*Shape1, kLineColour);

  P1 = ColouredBox(
      this, kPanelColour,
      QRect(0, kTopHeight + kLineHeight, ClientWidth, ClientHeight - kTopHeight - kLineHeight - kStatusHeight));
  P1->setObjectName(QStringLiteral("P1"));
  BuildResultGrid();
  BuildQueryGroups();
  BuildFilterRow();
  BuildStatusBar();
  SetReadingTabOrder();
  // Columns and header boxes once everything that moves with them is there.
  FitColumnsToFont();
}

void TFrmVormek::BuildTopPanel() {
  PTop = ColouredBox(this, Qt::white, QRect(0, 0, ClientWidth, kTopHeight));
  PTop->setObjectName(QStringLiteral("PTop"));
  auto picture = [this](const QString& name, const QRect& geometry) {
    auto* label = new QLabel(PTop);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
  };
  Images[6] = picture(QStringLiteral("Image7"), QRect(10, 7, 240, 56));
  // The small pictures stand left of the link labels.
  Images[0] = picture(QStringLiteral("Image1"), QRect(258, 14, 28, 24));
  Images[1] = picture(QStringLiteral("Image2"), QRect(258, 42, 28, 24));
  Images[2] = picture(QStringLiteral("Image3"), QRect(433, 40, 28, 24));
  Images[3] = picture(QStringLiteral("Image4"), QRect(433, 12, 28, 24));
  Images[4] = picture(QStringLiteral("Image5"), QRect(601, 28, 28, 24));
  ImageLogo = picture(QStringLiteral("ImageLogo"), QRect(825, 3, 150, 62));
}

void TFrmVormek::BuildResultGrid() {
  SGridModel = new TResultGridModel(kResultColumns, 20, this);
  SGridModel->setObjectName(QStringLiteral("SGridModel"));
  QStringList captions;
  for (const char* caption : kHeaderCaptions) captions << QString::fromUtf8(caption);
  SGridModel->SetHeaderCaptions(captions);
  SGrid = new TResultGridView(SGridModel, std::vector<int>(kColumnWidths.begin(), kColumnWidths.end()), P1);
  SGrid->setObjectName(QStringLiteral("SGrid"));
  SGrid->setGeometry(14, 43, 959, 305);
  SGrid->setFont(SongFont(12));
  SGrid->setToolTip(QString::fromUtf8(kGridHint));
  connect(SGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { emit ResultRowSelected(SGrid->SelectedRow()); });

  // Header boxes follow the columns below them; band captions span groups.
  const QFont bandFont = SongFont(14);
  auto band = [&](const char* caption, int firstCol, int lastCol) {
    QWidget* box = ColouredBox(P1, kBandBox, QRect());
    auto* label = new QLabel(QString::fromUtf8(caption), box);
    label->setFont(bandFont);
    label->setAlignment(Qt::AlignCenter);
    return TBandBox{box, label, firstCol, lastCol};
  };
  bands_ = {band("列  车  信  息", 0, 3), band("查  询  区  间", 4, 10), band("参  考  票  价", 11, 14)};

  for (int c = 0; c < 15; ++c) {
    QWidget* box = ColouredBox(P1, kHeaderBox, QRect());
    auto* label = new TClickLabel(QString::fromUtf8(kHeaderCaptions[static_cast<std::size_t>(c)]), box);
    label->setObjectName(QStringLiteral("Lab%1").arg(c + 1));
    label->setProperty("tag", HeaderTag);
    label->setFont(SongFont(12));
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    plainCaptions_[static_cast<std::size_t>(c)] = label->text();
    Labs[static_cast<std::size_t>(c)] = label;
  }
}

void TFrmVormek::PlaceHeaders() {
  const int bandHeight = ScaledLength(22, layoutScale_);
  const int captionTop = bandHeight + ScaledLength(1, layoutScale_);
  const int captionHeight = SGrid->y() - captionTop;
  for (const TBandBox& band : bands_) {
    const int left = SGrid->ColumnLeftInParent(band.First);
    const int right = SGrid->ColumnLeftInParent(band.Last) + SGrid->ColumnWidthInParent(band.Last);
    band.Box->setGeometry(left, 0, right - left - 1, bandHeight);
    band.Label->setGeometry(0, 0, band.Box->width(), band.Box->height());
  }
  for (int c = 0; c < 15; ++c) {
    QWidget* box = Labs[static_cast<std::size_t>(c)]->parentWidget();
    box->setGeometry(SGrid->ColumnLeftInParent(c), captionTop, SGrid->ColumnWidthInParent(c) - 1, captionHeight);
    // The caption takes its whole box, so that no face's ascent or descent
    // is cut; it is centred either way.
    Labs[static_cast<std::size_t>(c)]->setGeometry(0, 0, box->width(), box->height());
  }
}

void TFrmVormek::FitColumnsToFont() {
  const QFontMetrics cells(SGrid->font());
  const QFontMetrics caption(Labs[0]->font());
  std::vector<int> widths(kColumnWidths.size());
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const int specified = static_cast<int>(kColumnWidths[c] * layoutScale_);
    const int forCaption = caption.horizontalAdvance(plainCaptions_[c]) + kCaptionMargin;
    const int forCells = cells.horizontalAdvance(QString::fromUtf8(kWidestCells[c])) + kCellMargin;
    widths[c] = std::max({specified, forCaption, forCells});
  }
  int needed = 0;
  for (int w : widths) needed += w + 1;  // each cell and its grid line
  SGrid->SetColumnWidths(std::move(widths));
  // Only ever wider: at the specified size the columns fill the grid.
  const int wider = needed - SGrid->CellAreaWidth();
  if (wider > 0) Widen(wider);
  PlaceHeaders();
}

void TFrmVormek::Widen(int by) {
  setFixedSize(width() + by, height());
  for (QWidget* across :
       {PTop, static_cast<QWidget*>(Shape1), P1, static_cast<QWidget*>(StatusBar1), static_cast<QWidget*>(SGrid)})
    across->resize(across->width() + by, across->height());
  // What stands at the right edge stays there.
  for (QWidget* right : {static_cast<QWidget*>(ImageLogo), static_cast<QWidget*>(BTNAdvanced),
                         static_cast<QWidget*>(BTNAbout), static_cast<QWidget*>(BtnUpdate)})
    right->move(right->x() + by, right->y());
  LabNew->resize(LabNew->width() + by, LabNew->height());
}

void TFrmVormek::FitInto(const QRect& available) {
  // Texts in whole pixel sizes may need a little more than the scaled
  // columns give, which widens the window again: a second step takes that
  // back.
  for (int step = 0; step < 3; ++step) {
    const double factor = FitFactor(size(), available.size(), kFrameAllowance);
    if (factor >= 1.0) return;
    layoutScale_ *= factor;
    ScaleWidgetTree(*this, factor);
    SGrid->SetRowHeight(std::max(1, ScaledLength(TResultGridView::RowHeight, layoutScale_)));
    FitColumnsToFont();
  }
}

void TFrmVormek::BuildQueryGroups() {
  const int top = 350;
  const int height = 50;
  GBZZ = new QGroupBox(QStringLiteral("站站查询"), P1);
  GBZZ->setObjectName(QStringLiteral("GBZZ"));
  GBZZ->setGeometry(14, top, 430, height);
  auto* labFZ = new QLabel(QStringLiteral("发站"), GBZZ);
  labFZ->setObjectName(QStringLiteral("LabFZ"));
  labFZ->setGeometry(8, 22, 26, 14);
  ComboFZ = StationBox(GBZZ, QStringLiteral("ComboFZ"), QRect(36, 18, 100, 22));
  labFZ->setBuddy(ComboFZ);
  auto* labDZ = new QLabel(QStringLiteral("到站"), GBZZ);
  labDZ->setObjectName(QStringLiteral("LabDZ"));
  labDZ->setGeometry(142, 22, 26, 14);
  ComboDZ = StationBox(GBZZ, QStringLiteral("ComboDZ"), QRect(170, 18, 100, 22));
  labDZ->setBuddy(ComboDZ);
  BTNZZCX = Button(GBZZ, QStringLiteral("查询"), QRect(278, 16, 45, 26), false);
  BTNZZFX = Button(GBZZ, QStringLiteral("反向"), QRect(327, 16, 45, 26), true);
  BTNZZZZ = Button(GBZZ, QStringLiteral("中转"), QRect(376, 16, 45, 26), false);
  BTNZZZZ->setProperty("tag", static_cast<int>(TDirectQuery::Transfer));
  BTNZZCX->setProperty("tag", static_cast<int>(TDirectQuery::Direct));
  BTNZZCX->setObjectName(QStringLiteral("BTNZZCX"));
  BTNZZFX->setObjectName(QStringLiteral("BTNZZFX"));
  BTNZZZZ->setObjectName(QStringLiteral("BTNZZZZ"));

  GBCC = new QGroupBox(QStringLiteral("车次查询"), P1);
  GBCC->setObjectName(QStringLiteral("GBCC"));
  GBCC->setGeometry(450, top, 190, height);
  ECC = new QLineEdit(GBCC);
  ECC->setObjectName(QStringLiteral("ECC"));
  ECC->setGeometry(10, 18, 108, 22);
  ECC->setValidator(new TUpperCaseValidator(ECC));
  BTNCCCX = Button(GBCC, QStringLiteral("查询"), QRect(126, 16, 55, 26), false);
  BTNCCCX->setObjectName(QStringLiteral("BTNCCCX"));

  GBCZ = new QGroupBox(QStringLiteral("车站全部车次查询"), P1);
  GBCZ->setObjectName(QStringLiteral("GBCZ"));
  GBCZ->setGeometry(646, top, 195, height);
  ComboCZ = StationBox(GBCZ, QStringLiteral("ComboCZ"), QRect(10, 18, 120, 22));
  BTNCZCX = Button(GBCZ, QStringLiteral("查询"), QRect(136, 16, 50, 26), false);
  BTNCZCX->setObjectName(QStringLiteral("BTNCZCX"));

  BTNAdvanced = Button(P1, QStringLiteral("高级"), QRect(849, 363, 75, 31), true);
  BTNAdvanced->setObjectName(QStringLiteral("BTNAdvanced"));
  BTNAdvanced->setIcon(AdvancedButtonPicture());
  BTNAbout = Button(P1, QStringLiteral("关于"), QRect(925, 363, 49, 31), true);
  BTNAbout->setObjectName(QStringLiteral("BTNAbout"));
  BtnUpdate = Button(P1, QStringLiteral("版本升级"), QRect(849, 394, 125, 29), true);
  BtnUpdate->setObjectName(QStringLiteral("BtnUpdate"));

  NameForScreenReaders();
}

void TFrmVormek::SetReadingTabOrder() {
  // Tab order as the window reads: the grid at the top, then the query line
  // with 高级 and 关于, then the filter line with 版本升级, each left to right.
  // The focus starts in 发站 all the same (see EnableStationBoxes).
  QWidget* const reading[] = {SGrid,   ComboFZ,     ComboDZ,  BTNZZCX, BTNZZFX, BTNZZZZ, ECC,  BTNCCCX,  ComboCZ,
                              BTNCZCX, BTNAdvanced, BTNAbout, CBSF,    CBZD,    CBJQ,    CBDC, BtnUpdate};
  for (std::size_t i = 0; i + 1 < std::size(reading); ++i) setTabOrder(reading[i], reading[i + 1]);
}

void TFrmVormek::NameForScreenReaders() {
  // Names that tell the controls apart: two station boxes share one group,
  // and three buttons read "查询".
  ComboFZ->setAccessibleName(QStringLiteral("发站"));
  ComboDZ->setAccessibleName(QStringLiteral("到站"));
  ComboCZ->setAccessibleName(QStringLiteral("车站"));
  ECC->setAccessibleName(QStringLiteral("车次"));
  BTNZZCX->setAccessibleName(QStringLiteral("查询站站车次"));
  BTNZZFX->setAccessibleName(QStringLiteral("交换发站和到站"));
  BTNZZZZ->setAccessibleName(QStringLiteral("中转查询"));
  BTNCCCX->setAccessibleName(QStringLiteral("查询车次"));
  BTNCZCX->setAccessibleName(QStringLiteral("查询车站全部车次"));
  SGrid->setAccessibleName(QStringLiteral("查询结果"));
}

void TFrmVormek::BuildFilterRow() {
  LabResult = new QLabel(QStringLiteral("结果:0"), P1);
  LabResult->setObjectName(QStringLiteral("LabResult"));
  LabResult->setGeometry(14, 405, 110, 16);
  LabResult->setFont(SongFont(14));
  QPalette blue = LabResult->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 0xFF));
  LabResult->setPalette(blue);

  auto* caption = new QLabel(QStringLiteral("当前结果过滤:"), P1);
  caption->setObjectName(QStringLiteral("LabFilter"));
  caption->setGeometry(130, 406, 84, 14);
  auto box = [this](const QString& text, const QString& name, int left, int width) {
    auto* check = new QCheckBox(text, P1);
    check->setObjectName(name);
    check->setGeometry(left, 404, width, 17);
    return check;
  };
  CBSF = box(QStringLiteral("始发车"), QStringLiteral("CBSF"), 216, 64);
  CBZD = box(QStringLiteral("终到车"), QStringLiteral("CBZD"), 284, 64);
  CBJQ = box(QStringLiteral("精确站名"), QStringLiteral("CBJQ"), 352, 76);
  CBDC = box(QStringLiteral("仅动车"), QStringLiteral("CBDC"), 432, 64);

  LabNew = new QLabel(QStringLiteral("版本检测中..."), P1);
  LabNew->setObjectName(QStringLiteral("LabNew"));
  LabNew->setGeometry(540, 406, 301, 14);
  LabNew->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TFrmVormek::BuildStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setGeometry(0, ClientHeight - kStatusHeight, ClientWidth, kStatusHeight);
  struct Panel {
    int width;
    Qt::Alignment align;
    const char* text;
  };
  const std::array<Panel, 5> panels = {{
      {150, Qt::AlignLeft, ""},
      {300, Qt::AlignCenter, "维墨克时刻在手，出差旅行无忧！"},
      {150, Qt::AlignCenter, "vormek@example.org"},
      {100, Qt::AlignLeft, "400-000-0000"},
      {50, Qt::AlignCenter, "维墨克 vormek.example.org"},
  }};
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto* label = new QLabel(QString::fromUtf8(panels[i].text), StatusBar1);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
    label->setAlignment(panels[i].align | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    if (i + 1 < panels.size()) {
      label->setFixedWidth(panels[i].width);
      StatusBar1->addWidget(label);
    } else {
      // The last panel takes the rest of the bar, so its text is not cut.
      label->setMinimumWidth(panels[i].width);
      StatusBar1->addWidget(label, 1);
    }
    StatusPanels[i] = label;
  }
}

}  // namespace vormek
