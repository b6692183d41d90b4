// What the main window offers the parts around it: read-only views of its
// state, and the places where a menu, links, a status panel or another
// timetable come in. Its controls stay its own.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>

#include "app/UnitVormek.h"
#include "app/web_links.h"
#include "data/table_loaders.h"
#include "ui/result_grid_model.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"

namespace vormek {

namespace {

constexpr int kStationListItems = 9;

// A press on an empty box's arrow, or its keys, opens the list.
bool OpensList(const QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) return true;
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier));
}

}  // namespace

const TStringGrid& TFrmVormek::ResultGrid() const { return SGridModel->Grid(); }

TFilterBoxes TFrmVormek::Filters() const {
  return {CBSF->isChecked(), CBZD->isChecked(), CBJQ->isChecked(), CBDC->isChecked()};
}

void TFrmVormek::SetFiltersQuietly(TFilterBoxes boxes) {
  const std::pair<QCheckBox*, bool> checks[] = {
      {CBSF, boxes.CBSF}, {CBZD, boxes.CBZD}, {CBJQ, boxes.CBJQ}, {CBDC, boxes.CBDC}};
  for (const auto& [box, checked] : checks) {
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
  }
}

bool TFrmVormek::SelectResultRow(int row) { return row < center_.ResultCount && SGrid->SelectRow(row); }

int TFrmVormek::SelectedResultRow() const { return SGrid->SelectedRow(); }

TStationComboBox* TFrmVormek::StationBoxWidget(TStationBox box) const {
  switch (box) {
    case TStationBox::From: return ComboFZ;
    case TStationBox::To: return ComboDZ;
    case TStationBox::Station: return ComboCZ;
  }
  return ComboCZ;
}

QString TFrmVormek::StationText(TStationBox box) const { return StationBoxWidget(box)->currentText(); }

void TFrmVormek::UseAdvancedMenu(QMenu* menu) {
  SGrid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(SGrid, &QWidget::customContextMenuRequested, menu,
          [menu, grid = SGrid](const QPoint& at) { menu->popup(grid->viewport()->mapToGlobal(at)); });
  BTNAdvanced->setMenu(menu);
}

TWebLinks* TFrmVormek::AddWebLinks(UrlOpener opener) {
  // A click says on the status bar what it opens, for the moment the
  // browser takes to come up.
  UrlOpener told = [this, opener = std::move(opener)](const QUrl& url) {
    StatusBar1->showMessage(QStringLiteral("正在用浏览器打开 %1 …").arg(url.toDisplayString()), 5000);
    if (opener) opener(url);
  };
  return new TWebLinks(PTop, Images[6], ImageLogo, BtnUpdate, std::move(told));
}

void TFrmVormek::AddStatusPanel(QWidget* panel) {
  panel->setParent(StatusBar1);
  StatusBar1->addPermanentWidget(panel);
}

void TFrmVormek::SetEmptyBoxList(std::function<QStringList(TStationBox)> list) { emptyBoxList_ = std::move(list); }

void TFrmVormek::UseTimetable(TTimetable tables) {
  loaders_->ReplaceTables(std::move(tables));
  // Results of the old timetable would open detail windows on the new one.
  center_.GridResults.clear();
  center_.TransferStation.clear();
  ClearResults();
  for (QWidget* control :
       std::initializer_list<QWidget*>{ComboFZ, ComboDZ, ComboCZ, BTNZZCX, BTNZZZZ, BTNCCCX, BTNCZCX})
    control->setEnabled(true);
}

TTimetable* TFrmVormek::LoadedTables() { return TablesReady() ? &loaders_->Tables() : nullptr; }

TMemTable* TFrmVormek::StationNames() {
  return loaders_ && loaders_->PinyinLoaded() ? &loaders_->Tables().KMPy : nullptr;
}

void TFrmVormek::ShowStatusNote(const QString& note, const QString& tip) {
  if (loadFailed_) return;
  // The notes of one start stand side by side.
  notes_ << note;
  noteTips_ << (tip.isEmpty() ? note : tip);
  StatusPanels[1]->setText(notes_.join(QStringLiteral("；")));
  StatusPanels[1]->setToolTip(noteTips_.join(QLatin1Char('\n')));
}

void TFrmVormek::SetStationText(TStationBox box, const QString& text) { StationBoxWidget(box)->SetTextQuietly(text); }

QStringList TFrmVormek::StationList(TStationBox box) const { return StationBoxWidget(box)->Items(); }

void TFrmVormek::EmptyStationList(TStationBox box) {
  StationBoxWidget(box)->SetStationList(QStringList(kStationListItems, QString()), false);
}

bool TFrmVormek::eventFilter(QObject* watched, QEvent* event) {
  if (!OpensList(event)) return QWidget::eventFilter(watched, event);
  for (const TStationBox which : {TStationBox::From, TStationBox::To, TStationBox::Station}) {
    TStationComboBox* box = StationBoxWidget(which);
    if (watched != box || !box->isEnabled()) continue;
    if (box->ListOpen()) {
      box->SetStationList(box->Items(), false);  // a second press closes it
      return true;
    }
    QStringList items = box->Items();
    // An empty box offers its history; with none, the list stays as the box
    // left it.
    if (emptyBoxList_ && box->currentText().trimmed().isEmpty()) {
      const QStringList history = emptyBoxList_(which);
      if (!history.isEmpty() && !history.front().isEmpty()) items = history;
    }
    // The list the typing opens, rather than the box's own drop-down: the
    // same rows, and nothing highlighted before the user moves into it.
    box->SetStationList(items, true);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vormek
