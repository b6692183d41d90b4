#include "app/UnitVormek.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <exception>

#include "app/load_failure_text.h"
#include "app/message_boxes.h"
#include "data/inflate_item.h"
#include "data/table_loaders.h"
#include "gui_text/gbk_text.h"
#include "gui_text/load_error_text.h"
#include "services/log_categories.h"
#include "services/version_check.h"
#include "stations/full_pinyin.h"
#include "stations/station_list.h"
#include "ui/click_label.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"

namespace vormek {

TFrmVormek::TFrmVormek(TFrmVormekDeps deps, QWidget* parent) : QWidget(parent), deps_(std::move(deps)) {
  BuildLayout();
  ConnectHandlers();

  center_.NetFlag.store(false);
  StartLoaders();
  if (deps_.StartVersionCheck) deps_.StartVersionCheck(LabNew, &center_.NetFlag);
  SGrid->ClearSelection();
  center_.Fares = BuildFareTables();
  center_.TransferStation.clear();
  center_.ResultCount = 0;
  LoadPictures();
  StatusPanels[0]->setText(QStringLiteral("当前版本:") + QLatin1String(kBuiltInVersion));
}

TFrmVormek::~TFrmVormek() {
  // Controls still emit while they are torn down (a focused box reports its
  // text on losing the focus); none of that may reach this half-gone window.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  emptyBoxList_ = nullptr;
  // The loaders fill tables this window owns: wait for them before anything
  // goes. Their last queued notices die with this object.
  loaders_.reset();
}

void TFrmVormek::SetShowTransferWindow(std::function<void(TFrmVormek&)> show) {
  deps_.ShowTransferWindow = std::move(show);
}

QPixmap TFrmVormek::LogoPixmap() const { return ImageLogo->pixmap(); }

void TFrmVormek::StartLoaders() {
  static const TItemSet kNoItems;
  const TItemSet& items = deps_.Items ? *deps_.Items : kNoItems;
  TLoaderCallbacks callbacks;
  // The spellings only add matching to the station boxes: without them the
  // boxes work by short codes alone.
  callbacks.WithPinyin = [this](const TItemSet& loading) {
    if (!loading.Contains("SQP")) return;
    try {
      fullPinyin_ = std::make_unique<const TFullPinyin>(LoadFullPinyin(loading));
    } catch (const std::exception&) {
      fullPinyin_ = nullptr;
    }
  };
  // Control changes are handed to the window's thread.
  callbacks.PinyinLoaded = [this] {
    QMetaObject::invokeMethod(
        this, [this] { EnableStationBoxes(); }, Qt::QueuedConnection);
  };
  callbacks.AllLoaded = [this] {
    QMetaObject::invokeMethod(
        this, [this] { EnableQueryButtons(); }, Qt::QueuedConnection);
  };
  callbacks.LoadFailed = [this](const TLoadFailure& failure) {
    QMetaObject::invokeMethod(
        this, [this, failure] { ShowLoadFailure(failure); }, Qt::QueuedConnection);
  };
  loaders_ = std::make_unique<TTableLoaders>(items, std::move(callbacks));
}

void TFrmVormek::ShowLoadFailure(const TLoadFailure& failure) {
  // The slogan's panel says what failed; the buttons of the failed tables
  // simply stay off. Both loaders may fail: the second line is added.
  qCWarning(lcLoad) << "table" << QString::fromStdString(failure.Item) << QString::fromStdString(failure.Detail);
  QLabel* panel = StatusPanels[1];
  const bool first = !loadFailed_;
  loadFailed_ = true;
  panel->setText(first ? LoadFailureText(failure) : panel->text() + QStringLiteral("；") + LoadFailureText(failure));
  AddStatusTip(LoadFailureDetail(failure));
  panel->setStyleSheet(QStringLiteral("color: #c00000;"));
  emit LoadFailureShown();
}

void TFrmVormek::EnableStationBoxes() {
  ComboFZ->setEnabled(true);
  ComboDZ->setEnabled(true);
  ComboCZ->setEnabled(true);
  // The focus starts in 发站 once it takes input, unless the user has put it
  // somewhere else meanwhile (the empty grid is where it waits).
  if (!focusWidget() || focusWidget() == SGrid) ComboFZ->setFocus();
  emit StationBoxesEnabled();
}

void TFrmVormek::EnableQueryButtons() {
  BTNZZCX->setEnabled(true);
  BTNZZZZ->setEnabled(true);
  BTNCCCX->setEnabled(true);
  BTNCZCX->setEnabled(true);
  qCInfo(lcLoad) << "built-in tables loaded, query buttons on";
  emit QueryButtonsEnabled();
}

bool TFrmVormek::TablesReady() const { return loaders_ && loaders_->AllLoaded(); }

namespace {

// One picture item as a pixmap, or why it is not one.
struct TPictureStep {
  QPixmap Pixmap;
  QString Failure;  // empty: loaded
};

TPictureStep LoadPicture(const TItemSet& items, const char* item) {
  try {
    const std::string bytes = DecompressItem(items, item);
    QPixmap pixmap;
    if (pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size()))) {
      return {pixmap, {}};
    }
    return {{}, QStringLiteral("图片%1：不是图片").arg(QLatin1String(item))};
  } catch (const std::exception& e) {
    return {{}, QStringLiteral("图片%1：%2").arg(QLatin1String(item), ChineseLoadReason(e.what()))};
  }
}

}  // namespace

void TFrmVormek::LoadPictures() {
  if (!deps_.Items) return;
  // Each picture in its own step; one that does not load stays empty, and
  // why is logged and kept for the status bar's tip.
  auto step = [this](const char* item) {
    TPictureStep loaded = LoadPicture(*deps_.Items, item);
    if (!loaded.Failure.isEmpty()) {
      qCWarning(lcLoad) << "picture" << loaded.Failure;
      pictureFailures_ << loaded.Failure;
    }
    return loaded.Pixmap;
  };
  auto load = [&step](QLabel* target, const char* item) {
    const QPixmap pixmap = step(item);
    if (pixmap.isNull()) return;
    target->setPixmap(pixmap);
    target->resize(pixmap.size());
  };
  load(ImageLogo, "LOGO");
  const QPixmap update = step("UPDATE");
  if (!update.isNull()) BtnUpdate->setIcon(QIcon(update));
  load(Images[0], "B1");
  load(Images[1], "B2");
  load(Images[2], "B3");
  load(Images[3], "B4");
  load(Images[4], "B5");
  load(Images[6], "B7");
  if (!pictureFailures_.isEmpty()) AddStatusTip(pictureFailures_.join(QStringLiteral("\n")));
}

void TFrmVormek::AddStatusTip(const QString& line) {
  QLabel* panel = StatusPanels[1];
  panel->setToolTip(panel->toolTip().isEmpty() ? line : panel->toolTip() + QStringLiteral("\n") + line);
}

namespace {

TDirectQuery DirectQueryOf(const QPushButton* button) {
  return static_cast<TDirectQuery>(button->property("tag").toInt());
}

}  // namespace

void TFrmVormek::ConnectHandlers() {
  connect(BTNZZCX, &QPushButton::clicked, this, [this] {
    BTNZZCXClick(DirectQueryOf(BTNZZCX));
    emit QueryAsked(TQueryMode::Direct);
  });
  connect(BTNZZZZ, &QPushButton::clicked, this, [this] {
    BTNZZCXClick(DirectQueryOf(BTNZZZZ));
    emit QueryAsked(TQueryMode::Direct);
  });
  connect(BTNCCCX, &QPushButton::clicked, this, [this] {
    BTNCCCXClick();
    emit QueryAsked(TQueryMode::TrainNumber);
  });
  connect(BTNCZCX, &QPushButton::clicked, this, [this] {
    BTNCZCXClick();
    emit QueryAsked(TQueryMode::Station);
  });
  connect(BTNZZFX, &QPushButton::clicked, this, [this] { BTNZZFXClick(); });
  connect(BTNAbout, &QPushButton::clicked, this, &TFrmVormek::AboutClicked);
  for (QCheckBox* box : {CBSF, CBZD, CBJQ, CBDC}) {
    connect(box, &QCheckBox::toggled, this, [this] {
      CBSFClick();
      emit FiltersToggled();
    });
  }
  for (TClickLabel* label : Labs) connect(label, &TClickLabel::Clicked, this, [this, label] { Lab1Click(label); });
  for (TStationComboBox* box : {ComboFZ, ComboDZ, ComboCZ}) {
    connect(box, &TStationComboBox::UserChangedText, this, [this, box] { ComboFZChange(box); });
    connect(box, &TStationComboBox::EnterPressed, this, [this, box] { ComboKeyEnter(box); });
    box->installEventFilter(this);
  }
  connect(SGrid, &TResultGridView::RowDoubleClicked, this, &TFrmVormek::SGridDblClick);
  // Enter in the train-number box asks as its 查询 button does.
  connect(ECC, &QLineEdit::returnPressed, this, [this] {
    if (BTNCCCX->isEnabled()) BTNCCCX->click();
  });
}

void TFrmVormek::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  qCInfo(lcLoad) << "window shown";  // with the moments below, how long a start leaves the buttons off
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // Centred, but never past the area's top left corner: a window larger
    // than the screen keeps its title bar and left edge in reach.
    const QRect area = screen->availableGeometry();
    const QPoint centred = area.center() - QPoint(width() / 2, height() / 2);
    move(std::max(centred.x(), area.left()), std::max(centred.y(), area.top()));
  }
}

// ---- station boxes ----------------------------------------------------------

void TFrmVormek::ComboFZChange(TStationComboBox* box) {
  const QString trimmed = TrimBlanksAndControls(box->currentText());
  box->ReplaceText(trimmed);
  if (!loaders_ || !loaders_->PinyinLoaded()) return;
  const std::string gbk = ToGbkForLookup(trimmed);
  box->ShowListUpdate(StationListFor(gbk));
}

TStationListUpdate TFrmVormek::StationListFor(const std::string& typed) const {
  if (!loaders_ || !loaders_->PinyinLoaded()) return {};
  return UpdateStationList(loaders_->Tables().KMPy, fullPinyin_.get(), typed);
}

void TFrmVormek::ComboKeyEnter(TStationComboBox* box) {
  // Enter only moves the focus; it never starts a query.
  QWidget* next = nullptr;
  if (box == ComboFZ) {
    next = ComboDZ;
  } else if (box == ComboDZ) {
    if (BTNZZCX->isEnabled()) next = BTNZZCX;
  } else if (box == ComboCZ) {
    if (BTNCZCX->isEnabled()) next = BTNCZCX;
  }
  if (next == nullptr) return;
  next->setFocus(Qt::TabFocusReason);
  // A move by keyboard: the focus frame shows, even when the station list
  // had the keyboard a moment ago and the window takes the focus back later.
  setAttribute(Qt::WA_KeyboardFocusChange);
  next->update();
}

void TFrmVormek::BTNZZFXClick() {
  const QString from = ComboFZ->currentText();
  ComboFZ->SetTextQuietly(ComboDZ->currentText());
  ComboDZ->SetTextQuietly(from);
  if (BTNZZCX->isEnabled()) BTNZZCX->click();
}

}  // namespace vormek
