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
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")),
            (QStringList{"北京", "北京西", "北京南", "宝鸡", "北滘", "白涧西"}));
  // Six matches: padded with empty items up to nine.
  EXPECT_EQ(Empty(Widget<TStationComboBox>(*window, "ComboFZ")), 3);
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("BJ"));
}

TEST_F(MainWindowStationBox, TypingGoesOnWhileTheListIsOpen) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  ASSERT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  // The list must not take the keyboard from the box.
  TypeOn("X");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("BJX"));
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")), (QStringList{"北京西", "白涧西"}));
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->lineEdit()->cursorPosition(), 3);
}

TEST_F(MainWindowStationBox, LowerCaseCodeListsTheSameAndStaysAsTyped) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "bj");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("bj"));
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")).size(), 6);
}

TEST_F(MainWindowStationBox, BlanksAroundTheCodeAreRemoved) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboDZ"), "  SH ");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboDZ")->currentText(), QStringLiteral("SH"));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboDZ")->lineEdit()->cursorPosition(), 2);
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboDZ")), (QStringList{"上海", "上海虹桥"}));
}

TEST_F(MainWindowStationBox, UnknownCodeOpensNineEmptyItems) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboCZ"), "QQQ");
  EXPECT_TRUE(Filled(Widget<TStationComboBox>(*window, "ComboCZ")).isEmpty());
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboCZ")->count(), 9);
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboCZ")->ListOpen());
}

TEST_F(MainWindowStationBox, ClearingLeavesAClosedListOfNineEmptyItems) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  for (int i = 0; i < 2; ++i) TypeOn(QString(QChar('\b')));
  QTest::keyClick(Widget<TStationComboBox>(*window, "ComboFZ"), Qt::Key_Backspace);
  QTest::keyClick(Widget<TStationComboBox>(*window, "ComboFZ"), Qt::Key_Backspace);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QString());
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->count(), 9);
  EXPECT_TRUE(Filled(Widget<TStationComboBox>(*window, "ComboFZ")).isEmpty());
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
}

TEST_F(MainWindowStationBox, NamesAndCodesWithDigitsLeaveTheListAlone) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BJ");
  const QStringList before = Widget<TStationComboBox>(*window, "ComboFZ")->Items();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QString());
  TypeText(Widget<TStationComboBox>(*window, "ComboFZ"), QStringLiteral("北京"));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("北京"));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->Items(), before);
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QString());
  // Pasted whole: typed key by key, "K" alone would be a code.
  TypeText(Widget<TStationComboBox>(*window, "ComboFZ"), "K1");
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->Items(), before);
}

TEST_F(MainWindowStationBox, PickingAnItemFillsTheBox) {
  OpenTiny();
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BJX");
  ASSERT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  QAbstractItemView* list = Widget<TStationComboBox>(*window, "ComboFZ")->ListView();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("北京西"));
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")), (QStringList{"北京西", "白涧西"}));
}

// With the program's own spellings: full pinyin after the short codes, and
// the beginning of a name; a name picked from that list closes it.
TEST_F(MainWindowStationBox, TheProgramsSpellingsAddFullPinyinAndNameBeginnings) {
  Open(EmbeddedItems(), false);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Widget<TStationComboBox>(*window, "ComboFZ")->isEnabled(); }, 10000));
  Type(Widget<TStationComboBox>(*window, "ComboFZ"), "BeiJingX");
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")), (QStringList{"北京西"}));
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QString());
  TypeText(Widget<TStationComboBox>(*window, "ComboFZ"), QStringLiteral("乌鲁"));
  ASSERT_TRUE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
  ASSERT_FALSE(Filled(Widget<TStationComboBox>(*window, "ComboFZ")).isEmpty());
  EXPECT_EQ(Filled(Widget<TStationComboBox>(*window, "ComboFZ")).first(), QStringLiteral("乌鲁木齐"));
  QTest::keyClick(Widget<TStationComboBox>(*window, "ComboFZ")->ListView(), Qt::Key_Down);
  QTest::keyClick(Widget<TStationComboBox>(*window, "ComboFZ")->ListView(), Qt::Key_Return);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("乌鲁木齐"));
  EXPECT_FALSE(Widget<TStationComboBox>(*window, "ComboFZ")->ListOpen());
}

TEST_F(MainWindowStationBox, AWholeNameClosesTheListOpenedForItsFirstCharacter) {
  Open(EmbeddedItems(), false);
  auto* box = Widget<TStationComboBox>(*window, "ComboFZ");
  ASSERT_TRUE(QTest::qWaitFor([box] { return box->isEnabled(); }, 10000));
  TypeText(box, QStringLiteral("上"));
  ASSERT_TRUE(box->ListOpen());
  EXPECT_FALSE(box->ListView()->currentIndex().isValid()) << "a row current before any key";
  EXPECT_TRUE(Filled(box).contains(QStringLiteral("上海")));
  TypeText(box, QStringLiteral("海"));
  EXPECT_EQ(box->currentText(), QStringLiteral("上海"));
  EXPECT_FALSE(box->ListOpen()) << "the list for 上 stays open under 上海";
  // Going on to a longer beginning lists again.
  TypeText(box, QStringLiteral("虹"));
  EXPECT_TRUE(box->ListOpen());
  EXPECT_EQ(Filled(box).first(), QStringLiteral("上海虹桥"));
}

TEST_F(MainWindowStationBox, EnterMovesTheFocusAndNeverQueries) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
  Widget<TStationComboBox>(*window, "ComboFZ")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboDZ")->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(Widget<QPushButton>(*window, "BTNZZCX")->hasFocus());
  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("天津"));
  Widget<TStationComboBox>(*window, "ComboCZ")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  EXPECT_TRUE(Widget<QPushButton>(*window, "BTNCZCX")->hasFocus());
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
  EXPECT_EQ(window->QueryMode(), TQueryMode::None);
}

TEST_F(MainWindowStationBox, EnterInTheArrivalBoxStaysWhileQueriesAreOff) {
  tiny = TinyItems({"STrain"});
  Open(tiny.Items(), false);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Widget<TStationComboBox>(*window, "ComboDZ")->isEnabled(); }, 10000));
  Widget<TStationComboBox>(*window, "ComboDZ")->setFocus();
  QTest::keyClick(Widget<TStationComboBox>(*window, "ComboDZ"), Qt::Key_Return);
  EXPECT_TRUE(Widget<TStationComboBox>(*window, "ComboDZ")->hasFocus());
}

TEST_F(MainWindowStationBox, SwapQueriesWithTheExchangedStations) {
  OpenTiny();
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("天津"));
  Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("西安"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZFX"), Qt::LeftButton);
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->currentText(), QStringLiteral("西安"));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboDZ")->currentText(), QStringLiteral("天津"));
  EXPECT_EQ(window->QueryMode(), TQueryMode::Direct);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:1"));
  EXPECT_EQ(Cell(0, 0), QStringLiteral("T7"));
}

}  // namespace
}  // namespace vormek::test
