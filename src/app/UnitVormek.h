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

#include "data/item_set.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vormek {

class IMessageBoxes;
class TClickLabel;
class TResultGridModel;
class TResultGridView;
class TStationComboBox;
class TTableLoaders;
struct TLoadFailure;
class TFrmVormek;

inline constexpr int HeaderTag = 33;

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
  TPub_Center& Center() { return center_; }
  TTableLoaders& Loaders() { return *loaders_; }
  int QueryMode() const { return queryMode_; }
  const TSortState& SortState() const { return sort_; }
  // The logo picture, for the about box.
  QPixmap LogoPixmap() const;
  // The pictures that did not load, each as "<item>: <why>".
  const QStringList& PictureFailures() const { return pictureFailures_; }
  void SetShowTransferWindow(std::function<void(TFrmVormek&)> show);

  // ---- operations ----
  void ClearResults();
  void ShowResults();
  // A station chosen in the transfer window: its two legs fill the grid.
  void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2);

  // ---- handlers ----
  void BTNZZCXClick(int tag);
  void BTNCCCXClick();
  void BTNCZCXClick();
  void BTNZZFXClick();
  void CBSFClick();
  void Lab1Click(TClickLabel* label);
  void ComboFZChange(TStationComboBox* box);
  void ComboKeyEnter(TStationComboBox* box);

  // ---- controls (named as in the window's layout) ----
  QWidget* PTop = nullptr;
  QFrame* Shape1 = nullptr;
  QWidget* P1 = nullptr;
  QLabel* ImageLogo = nullptr;
  std::array<QLabel*, 7> Images{};  // Image1..Image5, (unused), Image7
  std::array<TClickLabel*, 15> Labs{};  // Lab1..Lab15
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
  std::array<QLabel*, 5> StatusPanels{};

 signals:
  // A double-click on a result row (the detail window opens from here).
  void SGridDblClick(int row);
  // Emitted on the window's thread after each step of the loaders.
  void StationBoxesEnabled();
  void QueryButtonsEnabled();
  // A table did not load; the status bar now says which and why.
  void LoadFailureShown();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void BuildTopPanel();
  void BuildResultGrid();
  void BuildQueryGroups();
  void BuildFilterRow();
  void BuildStatusBar();
  void NameForScreenReaders();
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

  TFrmVormekDeps deps_;
  TPub_Center center_;
  int queryMode_ = 0;
  TSortState sort_;
  std::array<QString, 15> plainCaptions_;
  bool centred_ = false;
  bool loadFailed_ = false;
  QStringList pictureFailures_;  // "<item>: <why>" for each picture that did not load
  std::unique_ptr<TTableLoaders> loaders_;  // last: joined first on destruction
};

}  // namespace vormek
