#include "ui/UnitJourney.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <algorithm>
#include <iterator>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "query/journey_rows.h"
#include "ui/dialog_frame.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"
#include "ui/zzz_grid_model.h"
#include "ui/zzz_header_row.h"

namespace vormek {
namespace {

const std::vector<int> kJourneyWidths{48, 62, 48, 60, 190, 200, 50, 92};
const std::vector<int> kRideWidths{130, 190, 90, 190, 90, 80};
constexpr int kJourneyRows = 12;
constexpr int kRideRows = 3;
constexpr int kJourneyTop = 78;
constexpr int kRideTop = 332;

QLabel* Caption(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  return label;
}

QSpinBox* Minutes(QWidget* parent, const QString& name, int value, int most, const QRect& geometry) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(0, most);
  spin->setValue(value);
  spin->setGeometry(geometry);
  return spin;
}

// The rides' lines without the journey's number: 车次, 发站, 发时, 到站, 到时, 等候.
std::vector<std::string> RideHeader() {
  std::vector<std::string> header = JourneyRideHeader();
  header.erase(header.begin());
  return header;
}

int MinutesOf(const QTime& time) { return time.hour() * 60 + time.minute(); }

}  // namespace

TFrmJourney::TFrmJourney(const std::string& from, const std::string& to, TJourneyDeps deps, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      deps_(std::move(deps)),
      index_(*deps_.Tables),
      planner_(index_, *deps_.Tables) {
  setObjectName(QStringLiteral("FrmJourney"));
  setModal(true);
  setWindowTitle(QStringLiteral("行程规划"));
  BuildLayout();
  ComboFrom->SetTextQuietly(FromGbk(from));
  ComboTo->SetTextQuietly(FromGbk(to));
  if (!from.empty() && !to.empty()) BTNQueryClick();
}

void TFrmJourney::BuildLayout() {
  SetUpDialogFrame(*this, ClientWidth, ClientHeight);
  Caption(this, QStringLiteral("发站"), QRect(9, 12, 30, 18));
  ComboFrom = new TStationComboBox(this);
  ComboFrom->setObjectName(QStringLiteral("ComboFrom"));
  ComboFrom->setGeometry(40, 9, 110, 24);
  Caption(this, QStringLiteral("到站"), QRect(160, 12, 30, 18));
  ComboTo = new TStationComboBox(this);
  ComboTo->setObjectName(QStringLiteral("ComboTo"));
  ComboTo->setGeometry(191, 9, 110, 24);
  Caption(this, QStringLiteral("出发"), QRect(315, 12, 30, 18));
  TimeFrom = new QTimeEdit(QTime(0, 0), this);
  TimeFrom->setObjectName(QStringLiteral("TimeFrom"));
  TimeFrom->setDisplayFormat(QStringLiteral("HH:mm"));
  TimeFrom->setGeometry(346, 9, 62, 24);
  Caption(this, QStringLiteral("至"), QRect(412, 12, 14, 18));
  TimeUntil = new QTimeEdit(QTime(23, 59), this);
  TimeUntil->setObjectName(QStringLiteral("TimeUntil"));
  TimeUntil->setDisplayFormat(QStringLiteral("HH:mm"));
  TimeUntil->setGeometry(428, 9, 62, 24);
  Caption(this, QStringLiteral("最多换乘"), QRect(502, 12, 56, 18));
  SpinChanges =
      Minutes(this, QStringLiteral("SpinChanges"), kMaxJourneyChanges, kMaxJourneyChanges, QRect(560, 9, 44, 24));
  SpinChanges->setSuffix(QStringLiteral(" 次"));
  BTNQuery = DialogButton(this, QStringLiteral("查询"), QStringLiteral("BTNQuery"), QRect(691, 7, 90, 28));
  BTNQuery->setDefault(true);

  Caption(this, QStringLiteral("同站换乘至少"), QRect(9, 44, 80, 18));
  SpinMinChange =
      Minutes(this, QStringLiteral("SpinMinChange"), kDefaultMinChange, kMinutesPerDay, QRect(92, 41, 80, 24));
  SpinMinChange->setSuffix(QStringLiteral(" 分钟"));
  Caption(this, QStringLiteral("同城换站至少"), QRect(185, 44, 80, 18));
  SpinCityChange =
      Minutes(this, QStringLiteral("SpinCityChange"), kDefaultCityChange, kMinutesPerDay, QRect(268, 41, 80, 24));
  SpinCityChange->setSuffix(QStringLiteral(" 分钟"));
  LabCount = CountLabel(this, QRect(365, 44, 410, 18));

  JGridModel = new TZzzGridModel(kJourneyColumns, kJourneyRows, this);
  JGrid = new TResultGridView(JGridModel, kJourneyWidths, this);
  JGrid->setObjectName(QStringLiteral("JGrid"));
  JGrid->setFont(SongFont(12));
  JGrid->setGeometry(9, kJourneyTop + 20, 772, 210);
  QStringList captions;
  for (const std::string& name : JourneyHeader()) captions << FromGbk(name);
  BuildHeaderRow(this, *JGrid, captions, kJourneyTop, QStringLiteral("JLab"));

  RGridModel = new TZzzGridModel(kJourneyRideColumns - 1, kRideRows, this);
  RGrid = new TResultGridView(RGridModel, kRideWidths, this);
  RGrid->setObjectName(QStringLiteral("RGrid"));
  RGrid->setFont(SongFont(12));
  RGrid->setGeometry(9, kRideTop + 20, 772, 70);
  RGrid->setToolTip(QStringLiteral("双击一行可查看该车次的经停站"));
  QStringList rideCaptions;
  for (const std::string& name : RideHeader()) rideCaptions << FromGbk(name);
  BuildHeaderRow(this, *RGrid, rideCaptions, kRideTop, QStringLiteral("RLab"));

  BTNPrint = DialogButton(this, QStringLiteral("打印"), QStringLiteral("BTNPrint"), QRect(9, 430, 50, 32));
  BTNExport = DialogButton(this, QStringLiteral("导出"), QStringLiteral("BTNExport"), QRect(66, 430, 50, 32));
  BTNClose = DialogButton(this, QStringLiteral("关闭"), QStringLiteral("BTNClose"), QRect(691, 430, 90, 32));

  for (TStationComboBox* box : {ComboFrom, ComboTo})
    connect(box, &TStationComboBox::UserChangedText, this, [this, box] { StationBoxChange(box); });
  connect(ComboFrom, &TStationComboBox::EnterPressed, this, [this] { ComboTo->setFocus(Qt::TabFocusReason); });
  connect(ComboTo, &TStationComboBox::EnterPressed, this, &TFrmJourney::BTNQueryClick);
  connect(BTNQuery, &QPushButton::clicked, this, &TFrmJourney::BTNQueryClick);
  connect(BTNPrint, &QPushButton::clicked, this, &TFrmJourney::BTNPrintClick);
  connect(BTNExport, &QPushButton::clicked, this, &TFrmJourney::BTNExportClick);
  connect(BTNClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(JGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { ShowRides(current.row()); });
  connect(JGrid, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { ShowRides(index.row()); });
  connect(RGrid, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { RideDblClick(index.row()); });
  // Reading order: the boxes and settings of the first two lines, the
  // journeys, their trains, the buttons below.
  QWidget* const order[] = {ComboFrom,      ComboTo, TimeFrom, TimeUntil, SpinChanges, BTNQuery, SpinMinChange,
                            SpinCityChange, JGrid,   RGrid,    BTNPrint,  BTNExport,   BTNClose};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TFrmJourney::StationBoxChange(TStationComboBox* box) {
  const QString trimmed = TrimBlanksAndControls(box->currentText());
  box->ReplaceText(trimmed);
  if (!deps_.StationList) return;
  const std::optional<std::string> gbk = ToGbk(trimmed);
  if (gbk) box->ShowListUpdate(deps_.StationList(*gbk));
}

TJourneyOptions TFrmJourney::Options() const {
  TJourneyOptions o;
  o.DepartFrom = MinutesOf(TimeFrom->time());
  o.DepartUntil = MinutesOf(TimeUntil->time());
  o.MaxChanges = SpinChanges->value();
  o.MinChange = SpinMinChange->value();
  o.CityChange = SpinCityChange->value();
  return o;
}

void TFrmJourney::BTNQueryClick() {
  journeys_.clear();
  rides_.clear();
  shownRides_ = -1;
  const std::optional<std::string> from = ToGbk(TrimBlanksAndControls(ComboFrom->currentText()));
  const std::optional<std::string> to = ToGbk(TrimBlanksAndControls(ComboTo->currentText()));
  const TJourneyOptions options = Options();
  const std::string problem = JourneyOptionsProblem(options);
  QString said;
  if (!from || !to || from->empty() || to->empty()) {
    said = QStringLiteral("请输入发站和到站。");
  } else if (!problem.empty()) {
    said = QStringLiteral("出发时间的终点早于起点。");
  } else {
    const TJourneySides sides = JourneySides(index_, *deps_.Tables, *from, *to);
    if (sides.From.empty())
      said = QStringLiteral("发站不存在。");
    else if (sides.To.empty())
      said = QStringLiteral("到站不存在。");
    else
      journeys_ = planner_.Plan(sides.From, sides.To, options);
  }
  TStringGrid grid(kJourneyColumns, std::max<int>(kJourneyRows, static_cast<int>(journeys_.size())));
  for (std::size_t j = 0; j < journeys_.size(); ++j) {
    rides_.push_back(JourneyRideRecords(*deps_.Tables, *deps_.Fares, journeys_[j]));
    grid.Row(static_cast<int>(j)) = JourneyRow(journeys_[j], rides_.back());
  }
  JGrid->ClearSelection();
  JGridModel->Change([&](TStringGrid& g) { g = std::move(grid); });
  ShowRides(-1);
  if (said.isEmpty())
    said = journeys_.empty()
               ? QStringLiteral("没有换乘%1次以内可达的行程").arg(options.MaxChanges)
               : QStringLiteral("共%1个行程，按出发时间排列；选中一个行程可看各段列车").arg(journeys_.size());
  LabCount->setText(said);
}

void TFrmJourney::ShowRides(int row) {
  TStringGrid grid(kJourneyRideColumns - 1, kRideRows);
  shownRides_ = row >= 0 && row < static_cast<int>(journeys_.size()) ? row : -1;
  if (shownRides_ >= 0) {
    const std::size_t j = static_cast<std::size_t>(shownRides_);
    const auto lines = JourneyRideRows(shownRides_ + 1, journeys_[j], rides_[j]);
    for (std::size_t r = 0; r < lines.size(); ++r)
      grid.Row(static_cast<int>(r)) = std::vector<std::string>(lines[r].begin() + 1, lines[r].end());
  }
  RGridModel->Change([&](TStringGrid& g) { g = std::move(grid); });
}

void TFrmJourney::RideDblClick(int row) {
  if (shownRides_ < 0) return;
  const auto& rides = rides_[static_cast<std::size_t>(shownRides_)];
  if (row < 0 || row >= static_cast<int>(rides.size())) return;
  const TPub_GridResult& ride = rides[static_cast<std::size_t>(row)];
  const std::optional<TStopList> stops = BuildStopList(*deps_.Tables, StopListRequestOf(ride));
  if (!stops) return;
  TFrmMsg window(*stops, FromGbk(ride.ID), deps_.DetailActions, this);
  window.exec();
}

void TFrmJourney::BTNPrintClick() {
  if (deps_.Actions.Print) deps_.Actions.Print(JGridModel->Grid(), JourneyHeader(), static_cast<int>(journeys_.size()));
}

void TFrmJourney::BTNExportClick() {
  if (deps_.Actions.Export)
    deps_.Actions.Export(this, JGridModel->Grid(), JourneyHeader(), static_cast<int>(journeys_.size()));
}

}  // namespace vormek
