#pragma once
// The main window: query controls, the result grid with its header labels
// and filters, the status bar; the timetable loaders run behind it.
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/web_links.h"
#include "data/item_set.h"
#include "data/timetable.h"
#include "query/result_filter.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"
#include "stations/station_list.h"

class QCheckBox;
class QEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace vormek {

class IMessageBoxes;
class TClickLabel;
class TResultGridModel;
class TResultGridView;
class TStationComboBox;
class TStringGrid;
class TTableLoaders;
class TFullPinyin;
struct TLoadFailure;
class TFrmVormek;

inline constexpr int HeaderTag = 33;

// What the "tag" of a station-to-station button asks for: the direct trains
// ("查询") or the transfer stations ("中转"). The values are the tags.
enum class TDirectQuery : int { Direct = 0, Transfer = 1 };

// The window's three station boxes.
enum class TStationBox { From, To, Station };  // ComboFZ, ComboDZ, ComboCZ

// What the window needs from outside; everything is passed in.
struct TFrmVormekDeps {
  const TItemSet* Items = nullptr;  // tables and pictures; outlives the window
  IMessageBoxes* Boxes = nullptr;   // outlives the window
  // Started during creation; nothing when empty (tests).
  std::function<void(QLabel* labNew, std::atomic<bool>* netFlag)> StartVersionCheck;
  // Shows the transfer stations of the last transfer query (the transfer
  // window); a station chosen there comes back through ShowTransferLegs.
  std::function<void(TFrmVormek& window)> ShowTransferWindow;
};

class TFrmVormek : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 985;
  static constexpr int ClientHeight = 519;

  explicit TFrmVormek(TFrmVormekDeps deps, QWidget* parent = nullptr);
  ~TFrmVormek() override;

  // ---- state other windows and services read ----
  const TPub_Center& Center() const { return center_; }
  // How far the loaders are.
  const TTableLoaders& Loaders() const { return *loaders_; }
  TTableLoaders& Loaders() { return *loaders_; }
  // The timetable once every table is in; null before.
  TTimetable* LoadedTables();
  // The station names with their short codes once they are in; null before.
  TMemTable* StationNames();
  TQueryMode QueryMode() const { return queryMode_; }
  // The result grid's cells as shown; Center().ResultCount rows are filled.
  const TStringGrid& ResultGrid() const;
  // The logo picture, for the about box.
  QPixmap LogoPixmap() const;
  // The pictures that did not load, each as "<item>: <why>".
  const QStringList& PictureFailures() const { return pictureFailures_; }
  // The four filter boxes as they are checked now.
  TFilterBoxes Filters() const;
  QString StationText(TStationBox box) const;
  // The station list for a typed text (GBK), as the boxes show it; Keep
  // while the pinyin table is not loaded. Other windows' boxes use it too.
  TStationListUpdate StationListFor(const std::string& typed) const;

  // Fits the window into a screen's available area: where the window at its
  // specified size (and its frame) does not fit, everything in it is scaled
  // down to fit. Nothing changes where it fits.
  void FitInto(const QRect& available);
  // 1 at the specified size; less once fitted into a smaller screen.
  double LayoutScale() const { return layoutScale_; }

  // ---- what other parts add to the window ----
  void SetShowTransferWindow(std::function<void(TFrmVormek&)> show);
  // The grid's popup menu, also dropped down by "高级".
  void UseAdvancedMenu(QMenu* menu);
  // The web links of the top panel, its large pictures and "版本升级".
  TWebLinks* AddWebLinks(UrlOpener opener);
  // A panel at the right end of the status bar.
  void AddStatusPanel(QWidget* panel);
  // The list an empty station box opens with (its arrow or F4); without one,
  // the box keeps whatever list it has. Either opens as the pinyin list does.
  void SetEmptyBoxList(std::function<QStringList(TStationBox)> list);
  // A note in the status bar's middle panel (where the slogan stands), with a
  // tip; a table that failed to load keeps the panel.
  void ShowStatusNote(const QString& note, const QString& tip = QString());
  // A station box's text, set as a program sets it: no list opens.
  void SetStationText(TStationBox box, const QString& text);
  // A station box's list, and setting it back to empty items, closed.
  QStringList StationList(TStationBox box) const;
  void EmptyStationList(TStationBox box);
  // Checks the filter boxes without showing the results again.
  void SetFiltersQuietly(TFilterBoxes boxes);
  // Selects a row of the result grid and scrolls to it; false (and no
  // change) for a row without a result.
  bool SelectResultRow(int row);
  int SelectedResultRow() const;

  // ---- operations ----
  void ClearResults();
  void ShowResults();
  // Rows from elsewhere in place of the last query's, shown through the
  // filters and the sort as a query's would be.
  void ShowResultRows(std::vector<TPub_GridResult> rows);
  // A station chosen in the transfer window: its two legs fill the grid.
  void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2);
  // Another timetable in place of the loaded one: the results of the old one
  // go, and every query control works at once.
  void UseTimetable(TTimetable tables);

  // ---- query handlers ----
  void BTNZZCXClick(TDirectQuery query);
  void BTNCCCXClick();
  void BTNCZCXClick();

 signals:
  // A double-click on a result row (the detail window opens from here).
  void SGridDblClick(int row);
  // "关于" was pressed.
  void AboutClicked();
  // A query button was pressed and its query has run (or was refused).
  void QueryAsked(TQueryMode mode);
  // A filter box was checked or unchecked by the user.
  void FiltersToggled();
  // The grid's rows changed: emptied, shown again through the filters, or
  // sorted.
  void ResultsShown();
  // The grid's selected row changed, by the user or by SelectResultRow; -1
  // when none is selected.
  void ResultRowSelected(int row);
  // Emitted on the window's thread after each step of the loaders.
  void StationBoxesEnabled();
  void QueryButtonsEnabled();
  // A table did not load; the status bar now says which and why.
  void LoadFailureShown();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void BuildTopPanel();
  void BuildResultGrid();
  void BuildQueryGroups();
  void BuildFilterRow();
  void BuildStatusBar();
  // Column widths from the grid's font: the specified widths (at the
  // window's scale) at least, wider where a face's text needs it; the window
  // widens to hold them. The header boxes follow.
  void FitColumnsToFont();
  void PlaceHeaders();
  void Widen(int by);
  void NameForScreenReaders();
  // Once every control is there.
  void SetReadingTabOrder();
  void ConnectHandlers();
  void LoadPictures();
  // Adds a line to the tip of the status bar's message panel.
  void AddStatusTip(const QString& line);
  void StartLoaders();
  void EnableStationBoxes();
  void EnableQueryButtons();
  void ShowLoadFailure(const TLoadFailure& failure);
  void UncheckFilters();
  void StartNewResults();
  void Refuse(const std::string& message, const std::string& caption, QWidget* box);
  void RunTransferQuery(const std::string& fz, const std::string& dz);
  void UpdateHeaderLabels();
  bool TablesReady() const;
  TStationComboBox* StationBoxWidget(TStationBox box) const;

  void BTNZZFXClick();
  void CBSFClick();
  void Lab1Click(TClickLabel* label);
  void ComboFZChange(TStationComboBox* box);
  void ComboKeyEnter(TStationComboBox* box);

  // ---- controls (named as in the window's layout; tests find them by name) ----
  QWidget* PTop = nullptr;
  QFrame* Shape1 = nullptr;
  QWidget* P1 = nullptr;
  QLabel* ImageLogo = nullptr;
  std::array<QLabel*, 7> Images{};      // Image1..Image5, (unused), Image7
  std::array<TClickLabel*, 15> Labs{};  // Lab1..Lab15
  struct TBandBox {
    QWidget* Box = nullptr;
    QLabel* Label = nullptr;
    int First = 0, Last = 0;  // the columns it spans
  };
  std::array<TBandBox, 3> bands_{};
  TResultGridModel* SGridModel = nullptr;
  TResultGridView* SGrid = nullptr;
  QGroupBox* GBZZ = nullptr;
  QGroupBox* GBCC = nullptr;
  QGroupBox* GBCZ = nullptr;
  TStationComboBox* ComboFZ = nullptr;
  TStationComboBox* ComboDZ = nullptr;
  TStationComboBox* ComboCZ = nullptr;
  QPushButton* BTNZZCX = nullptr;
  QPushButton* BTNZZFX = nullptr;
  QPushButton* BTNZZZZ = nullptr;
  QLineEdit* ECC = nullptr;
  QPushButton* BTNCCCX = nullptr;
  QPushButton* BTNCZCX = nullptr;
  QPushButton* BTNAdvanced = nullptr;
  QPushButton* BTNAbout = nullptr;
  QPushButton* BtnUpdate = nullptr;
  QLabel* LabResult = nullptr;
  QCheckBox* CBSF = nullptr;
  QCheckBox* CBZD = nullptr;
  QCheckBox* CBJQ = nullptr;
  QCheckBox* CBDC = nullptr;
  QLabel* LabNew = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 5> StatusPanels{};  // StatusPanel1..StatusPanel5

  TFrmVormekDeps deps_;
  TPub_Center center_;
  TQueryMode queryMode_ = TQueryMode::None;
  TSortState sort_;
  std::array<QString, 15> plainCaptions_;
  std::function<QStringList(TStationBox)> emptyBoxList_;
  bool centred_ = false;
  double layoutScale_ = 1.0;
  bool loadFailed_ = false;
  QStringList notes_, noteTips_;
  QStringList pictureFailures_;  // "<item>: <why>" for each picture that did not load
  // The full-pinyin spellings, set on the pinyin loader's thread before it
  // announces the pinyin table; null when the items carry none. They go by
  // station name, so they serve every other timetable opened later too.
  std::unique_ptr<const TFullPinyin> fullPinyin_;
  std::unique_ptr<TTableLoaders> loaders_;  // last: joined first on destruction
};

}  // namespace vormek
