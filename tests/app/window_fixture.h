#pragma once
// A main window over a test timetable, with message boxes answered by a
// recorder instead of a modal loop.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/UnitVormek.h"
#include "app/message_boxes.h"
#include "data/embedded_items.h"
#include "data/gbk_codec.h"
#include "data/table_loaders.h"
#include "support/find_widget.h"
#include "test_timetable.h"
#include "ui/click_label.h"
#include "ui/result_grid_delegate.h"
#include "ui/result_grid_model.h"
#include "ui/result_grid_view.h"
#include "ui/result_row_colour.h"
#include "ui/station_combo_box.h"

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vormek::test {

using vormek::testing::Widget;

struct TShownBox {
  QString Text;
  QString Caption;
  bool Question = false;
  bool Warning = false;
};

class TRecordedBoxes : public IMessageBoxes {
 public:
  void Inform(QWidget*, const QString& text, const QString& caption) override {
    Shown.push_back({text, caption, false});
  }
  void Warn(QWidget*, const QString& text, const QString& caption) override {
    Shown.push_back({text, caption, false, true});
  }
  bool AskYesNo(QWidget*, const QString& text, const QString& caption) override {
    Shown.push_back({text, caption, true});
    return AnswerYes;
  }
  std::vector<TShownBox> Shown;
  bool AnswerYes = false;
};

inline std::string ToTableBytes(std::string utf8) { return Utf8ToGbk(utf8).value(); }

inline TTestItems TinyItems(const std::vector<std::string>& missing = {}) {
  return TinyTimetableItems(ToTableBytes, missing);
}

class TWindowTest : public ::testing::Test {
 protected:
  // Builds the window over the items and waits for the loaders.
  void Open(const TItemSet& items, bool waitForQueries = true) {
    TFrmVormekDeps deps;
    deps.Items = &items;
    deps.Boxes = &boxes;
    deps.ShowTransferWindow = [this](TFrmVormek&) { ++transferWindows; };
    window = std::make_unique<TFrmVormek>(std::move(deps));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    if (waitForQueries) {
      ASSERT_TRUE(QTest::qWaitFor([this] { return Widget<QPushButton>(*window, "BTNZZCX")->isEnabled(); }, 30000));
    }
  }
  void OpenTiny() {
    tiny = TinyItems();
    Open(tiny.Items());
  }
  // The shared national tables, or skip.
  bool OpenShared() {
    shared = SharedTimetableItems();
    if (!shared) return false;
    Open(shared->Items());
    return true;
  }
  // A timetable of real size: the national tables where they are, else the
  // program's own (whose stop table is the larger of the two).
  void OpenRealSize() {
    if (!OpenShared()) Open(EmbeddedItems());
  }

  QString Cell(int col, int row) const {
    const TResultGridModel* model = GridModel();
    return model->data(model->index(row, col)).toString();
  }
  int Rows() const { return GridModel()->rowCount(); }
  TResultGridModel* GridModel() const { return Widget<TResultGridModel>(*window, "SGridModel"); }
  void Type(QWidget* box, const QString& text) {
    box->setFocus();
    QTest::keyClicks(box, text);
  }
  // Text that is not plain ASCII arrives as one key event carrying it, the
  // way an input method or a paste delivers it.
  void TypeText(QWidget* box, const QString& text) {
    box->setFocus();
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, text, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, text, Qt::NoModifier);
  }

  TRecordedBoxes boxes;
  int transferWindows = 0;
  TTestItems tiny;
  std::optional<TTestItems> shared;
  std::unique_ptr<TFrmVormek> window;
};

}  // namespace vormek::test
