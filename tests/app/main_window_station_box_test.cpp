// The station boxes: short codes fill and open the list while typing goes
// on, names leave it alone, Enter moves the focus, the swap button.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>

#include "data/embedded_items.h"
#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowStationBox : public TWindowTest {
 protected:
  // Keys go where the keyboard is: the open list, or the focused widget.
  void TypeOn(const QString& text) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClicks(target, text);
  }
  QStringList Filled(TStationComboBox* box) {
    QStringList out;
    for (const QString& item : box->Items())
      if (!item.isEmpty()) out << item;
    return out;
  }
  int Empty(TStationComboBox* box) { return box->Items().count(QString()); }
};

TEST_F(MainWindowStationBox, ShortCodeListsStationsInTableOrderAndOpens) {
  OpenTiny();
  Type(window->ComboFZ, "BJ");
  EXPECT_EQ(Filled(window->ComboFZ),
            (QStringList{"北京", "北京西", "北京南", "宝鸡", "北滘", "白涧西"}));
  // Six matches: padded with empty items up to nine.
  EXPECT_EQ(Empty(window->ComboFZ), 3);
  EXPECT_TRUE(window->ComboFZ->ListOpen());
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("BJ"));
}

TEST_F(MainWindowStationBox, TypingGoesOnWhileTheListIsOpen) {
  OpenTiny();
  Type(window->ComboFZ, "BJ");
  ASSERT_TRUE(window->ComboFZ->ListOpen());
  // The list must not take the keyboard from the box.
  TypeOn("X");
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("BJX"));
  EXPECT_EQ(Filled(window->ComboFZ), (QStringList{"北京西", "白涧西"}));
  EXPECT_TRUE(window->ComboFZ->ListOpen());
  EXPECT_EQ(window->ComboFZ->lineEdit()->cursorPosition(), 3);
}

TEST_F(MainWindowStationBox, LowerCaseCodeListsTheSameAndStaysAsTyped) {
  OpenTiny();
  Type(window->ComboFZ, "bj");
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("bj"));
  EXPECT_EQ(Filled(window->ComboFZ).size(), 6);
}

TEST_F(MainWindowStationBox, BlanksAroundTheCodeAreRemoved) {
  OpenTiny();
  Type(window->ComboDZ, "  SH ");
  EXPECT_EQ(window->ComboDZ->currentText(), QStringLiteral("SH"));
  EXPECT_EQ(window->ComboDZ->lineEdit()->cursorPosition(), 2);
  EXPECT_EQ(Filled(window->ComboDZ), (QStringList{"上海", "上海虹桥"}));
}

TEST_F(MainWindowStationBox, UnknownCodeOpensNineEmptyItems) {
  OpenTiny();
  Type(window->ComboCZ, "QQQ");
  EXPECT_TRUE(Filled(window->ComboCZ).isEmpty());
  EXPECT_EQ(window->ComboCZ->count(), 9);
  EXPECT_TRUE(window->ComboCZ->ListOpen());
}

TEST_F(MainWindowStationBox, ClearingLeavesAClosedListOfNineEmptyItems) {
  OpenTiny();
  Type(window->ComboFZ, "BJ");
  for (int i = 0; i < 2; ++i) TypeOn(QString(QChar('\b')));
  QTest::keyClick(window->ComboFZ, Qt::Key_Backspace);
  QTest::keyClick(window->ComboFZ, Qt::Key_Backspace);
  EXPECT_EQ(window->ComboFZ->currentText(), QString());
  EXPECT_EQ(window->ComboFZ->count(), 9);
  EXPECT_TRUE(Filled(window->ComboFZ).isEmpty());
  EXPECT_FALSE(window->ComboFZ->ListOpen());
}

TEST_F(MainWindowStationBox, NamesAndCodesWithDigitsLeaveTheListAlone) {
  OpenTiny();
  Type(window->ComboFZ, "BJ");
  const QStringList before = window->ComboFZ->Items();
  window->ComboFZ->SetTextQuietly(QString());
  TypeText(window->ComboFZ, QStringLiteral("北京"));
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("北京"));
  EXPECT_EQ(window->ComboFZ->Items(), before);
  window->ComboFZ->SetTextQuietly(QString());
  // Pasted whole: typed key by key, "K" alone would be a code.
  TypeText(window->ComboFZ, "K1");
  EXPECT_EQ(window->ComboFZ->Items(), before);
}

TEST_F(MainWindowStationBox, PickingAnItemFillsTheBox) {
  OpenTiny();
  Type(window->ComboFZ, "BJX");
  ASSERT_TRUE(window->ComboFZ->ListOpen());
  QAbstractItemView* list = window->ComboFZ->ListView();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("北京西"));
  EXPECT_FALSE(window->ComboFZ->ListOpen());
  EXPECT_EQ(Filled(window->ComboFZ), (QStringList{"北京西", "白涧西"}));
}

// With the program's own spellings: full pinyin after the short codes, and
// the beginning of a name; a name picked from that list closes it.
TEST_F(MainWindowStationBox, TheProgramsSpellingsAddFullPinyinAndNameBeginnings) {
  Open(EmbeddedItems(), false);
  ASSERT_TRUE(QTest::qWaitFor([this] { return window->ComboFZ->isEnabled(); }, 10000));
  Type(window->ComboFZ, "BeiJingX");
  EXPECT_EQ(Filled(window->ComboFZ), (QStringList{"北京西"}));
  EXPECT_TRUE(window->ComboFZ->ListOpen());
  window->ComboFZ->SetTextQuietly(QString());
  TypeText(window->ComboFZ, QStringLiteral("乌鲁"));
  ASSERT_TRUE(window->ComboFZ->ListOpen());
  ASSERT_FALSE(Filled(window->ComboFZ).isEmpty());
  EXPECT_EQ(Filled(window->ComboFZ).first(), QStringLiteral("乌鲁木齐"));
  QTest::keyClick(window->ComboFZ->ListView(), Qt::Key_Down);
  QTest::keyClick(window->ComboFZ->ListView(), Qt::Key_Return);
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("乌鲁木齐"));
  EXPECT_FALSE(window->ComboFZ->ListOpen());
}

TEST_F(MainWindowStationBox, EnterMovesTheFocusAndNeverQueries) {
  OpenTiny();
  window->ComboFZ->SetTextQuietly(QStringLiteral("北京"));
  window->ComboDZ->SetTextQuietly(QStringLiteral("上海"));
  window->ComboFZ->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(window->ComboDZ->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(window->BTNZZCX->hasFocus());
  window->ComboCZ->SetTextQuietly(QStringLiteral("天津"));
  window->ComboCZ->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  EXPECT_TRUE(window->BTNCZCX->hasFocus());
  EXPECT_EQ(window->LabResult->text(), QStringLiteral("结果:0"));
  EXPECT_EQ(window->QueryMode(), 0);
}

TEST_F(MainWindowStationBox, EnterInTheArrivalBoxStaysWhileQueriesAreOff) {
  tiny = TinyItems({"STrain"});
  Open(tiny.Items(), false);
  ASSERT_TRUE(QTest::qWaitFor([this] { return window->ComboDZ->isEnabled(); }, 10000));
  window->ComboDZ->setFocus();
  QTest::keyClick(window->ComboDZ, Qt::Key_Return);
  EXPECT_TRUE(window->ComboDZ->hasFocus());
}

TEST_F(MainWindowStationBox, SwapQueriesWithTheExchangedStations) {
  OpenTiny();
  window->ComboFZ->SetTextQuietly(QStringLiteral("天津"));
  window->ComboDZ->SetTextQuietly(QStringLiteral("西安"));
  QTest::mouseClick(window->BTNZZFX, Qt::LeftButton);
  EXPECT_EQ(window->ComboFZ->currentText(), QStringLiteral("西安"));
  EXPECT_EQ(window->ComboDZ->currentText(), QStringLiteral("天津"));
  EXPECT_EQ(window->QueryMode(), 1);
  EXPECT_EQ(window->LabResult->text(), QStringLiteral("结果:1"));
  EXPECT_EQ(Cell(0, 0), QStringLiteral("T7"));
}

}  // namespace
}  // namespace vormek::test
