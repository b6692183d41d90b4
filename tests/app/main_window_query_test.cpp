// The three query handlers through the real buttons: refusals with their
// text, caption and focus; results in the grid; the transfer question;
// whatever a user can type or paste.
#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowQuery : public TWindowTest {
 protected:
  void Stations(const QString& from, const QString& to) {
    Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(from);
    Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(to);
  }
  void ExpectRefusal(const char* text, const char* caption, QWidget* focus) {
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].Text, QString::fromUtf8(text));
    EXPECT_EQ(boxes.Shown[0].Caption, QString::fromUtf8(caption));
    EXPECT_FALSE(boxes.Shown[0].Question);
    EXPECT_TRUE(focus->hasFocus() || focus->isAncestorOf(QApplication::focusWidget()));
    boxes.Shown.clear();
  }
  QStringList Column(int col) const {
    QStringList out;
    for (int r = 0; r < window->Center().ResultCount; ++r) out << Cell(col, r);
    return out;
  }
};

TEST_F(MainWindowQuery, DirectRefusalsInTheirOrder) {
  OpenTiny();
  struct Case {
    const char* from;
    const char* to;
    const char* text;
    const char* caption;
    bool focusFrom;
  };
  const Case cases[] = {
      {"", "上海", "请输入发站。", "信息不完整", true},        {"BJ", "上海", "请输入发站。", "信息不完整", true},
      {"北京", "", "请输入到站。", "信息不完整", false},       {"北京", "sh", "请输入到站。", "信息不完整", false},
      {"北京", "北京", "发站与到站相同。", "输入错误", false}, {"松桃", "松桃", "发站与到站相同。", "输入错误", false},
      {"松桃", "上海", "发站不存在。", "输入错误", true},      {"北京", "松桃", "到站不存在。", "输入错误", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Stations(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
    Widget<QLineEdit>(*window, "ECC")->setFocus();
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
    ExpectRefusal(
        c.text, c.caption,
        c.focusFrom ? Widget<TStationComboBox>(*window, "ComboFZ") : Widget<TStationComboBox>(*window, "ComboDZ"));
    EXPECT_EQ(window->QueryMode(), TQueryMode::Direct);
  }
  // 中转 runs the same checks.
  Stations("", QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZZZ"), Qt::LeftButton);
  ExpectRefusal("请输入发站。", "信息不完整", Widget<TStationComboBox>(*window, "ComboFZ"));
  EXPECT_EQ(transferWindows, 0);
}

TEST_F(MainWindowQuery, TrainNumberAndStationRefusals) {
  OpenTiny();
  Widget<QLineEdit>(*window, "ECC")->setText("   ");
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  ExpectRefusal("请输入车次。", "信息不完整", Widget<QLineEdit>(*window, "ECC"));
  EXPECT_EQ(window->QueryMode(), TQueryMode::TrainNumber);

  for (const char* text : {"", "BJ"}) {
    Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QString::fromUtf8(text));
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNCZCX"), Qt::LeftButton);
    ExpectRefusal("请输入车站。", "信息不完整", Widget<TStationComboBox>(*window, "ComboCZ"));
  }
  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("松桃"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCZCX"), Qt::LeftButton);
  ExpectRefusal("车站不存在。", "输入错误", Widget<TStationComboBox>(*window, "ComboCZ"));
  EXPECT_EQ(window->QueryMode(), TQueryMode::Station);
}

TEST_F(MainWindowQuery, BeijingToShanghaiListsEveryCityStation) {
  OpenTiny();
  Widget<QCheckBox>(*window, "CBDC")->setChecked(true);
  Stations(QStringLiteral("北京"), QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Shown.empty());
  // The query unchecks the filters before it shows its rows.
  EXPECT_FALSE(Widget<QCheckBox>(*window, "CBDC")->isChecked());
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:3"));
  EXPECT_EQ(Column(0), (QStringList{"1461", "D313", "G1"}));
  EXPECT_EQ(Column(4), (QStringList{"北京", "北京南", "北京南"}));
  EXPECT_EQ(Column(6), (QStringList{"上海", "上海", "上海虹桥"}));
  EXPECT_EQ(Rows(), 16);
  // 1461 from 北京 to 上海: two stops, 1463 km, the whole-run fares.
  EXPECT_EQ(Cell(8, 0), "2");
  EXPECT_EQ(Cell(9, 0), "1463");
  EXPECT_EQ(Cell(10, 0), "20:14");
  EXPECT_EQ(Cell(11, 0), "156");
  EXPECT_EQ(Cell(12, 0), "-");
  EXPECT_EQ(Cell(0, 3), QString());
}

TEST_F(MainWindowQuery, NoDirectTrainAsksAboutTransfer) {
  OpenTiny();
  Stations(QStringLiteral("上海"), QStringLiteral("北京"));
  boxes.AnswerYes = false;
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_TRUE(boxes.Shown[0].Question);
  EXPECT_EQ(boxes.Shown[0].Text, QStringLiteral("两站之间无直达列车,是否进行中转站查询?"));
  EXPECT_EQ(boxes.Shown[0].Caption, QStringLiteral("维墨克时刻表"));
  EXPECT_EQ(transferWindows, 0);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));

  boxes.Shown.clear();
  boxes.AnswerYes = true;
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  EXPECT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(transferWindows, 1);
}

TEST_F(MainWindowQuery, TransferLegsColourTheSecondLegBlue) {
  OpenTiny();
  window->SetShowTransferWindow([](TFrmVormek& w) {
    for (const TPub_ZZStruct& row : w.Center().TransferRows)
      if (row.Count2 > 0) w.ShowTransferLegs(row.Station, row.Count1, row.Count2);
  });
  Stations(QStringLiteral("西安"), QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZZZ"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Shown.empty());
  EXPECT_EQ(GbkToUtf8(window->Center().TransferStation), "天津");
  ASSERT_EQ(window->Center().ResultCount, 4);
  // First legs first.
  EXPECT_EQ(Cell(0, 0), "T7");
  const auto colour = [this](const QString& train) {
    const int row = static_cast<int>(Column(0).indexOf(train));
    return static_cast<TRowColour>(
        GridModel()->data(GridModel()->index(row, 3), TResultGridModel::RowColourRole).toInt());
  };
  EXPECT_EQ(colour("T7"), TRowColour::StartsHere);   // starts at 西安
  EXPECT_EQ(colour("1461"), TRowColour::SecondLeg);  // boards at 天津
  EXPECT_EQ(colour("G1"), TRowColour::SecondLeg);
  EXPECT_EQ(colour("K99"), TRowColour::StartsHere);  // starts at 天津 itself
  // 始发车 now judges only the first leg: second legs boarding at the
  // transfer station pass.
  Widget<QCheckBox>(*window, "CBSF")->setChecked(true);
  EXPECT_EQ(window->Center().ResultCount, 4);
  Widget<QCheckBox>(*window, "CBDC")->setChecked(true);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:1"));
}

TEST_F(MainWindowQuery, TrainNumberAndStationQueries) {
  OpenTiny();
  QTest::keyClicks(Widget<QLineEdit>(*window, "ECC"), "g1");
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  EXPECT_EQ(Widget<QLineEdit>(*window, "ECC")->text(), "G1");
  EXPECT_EQ(Column(0), QStringList{"G1"});
  EXPECT_EQ(Cell(4, 0), QStringLiteral("北京南"));
  EXPECT_EQ(Cell(6, 0), QStringLiteral("上海虹桥"));
  EXPECT_EQ(Cell(8, 0), "2");

  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("天津"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCZCX"), Qt::LeftButton);
  EXPECT_EQ(Column(0), (QStringList{"1461", "G1", "K99", "T7"}));
  // T7 ends here: shown from its origin.
  EXPECT_EQ(Cell(4, 3), QStringLiteral("西安"));
  EXPECT_EQ(Cell(6, 3), QStringLiteral("天津"));
  Widget<QCheckBox>(*window, "CBSF")->setChecked(true);
  EXPECT_EQ(Column(0), QStringList{"K99"});
  // The station box is read afresh at each filtering.
  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QStringLiteral("西安"));
  Widget<QCheckBox>(*window, "CBSF")->setChecked(false);
  Widget<QCheckBox>(*window, "CBSF")->setChecked(true);
  EXPECT_EQ(Column(0), QStringList{"T7"});
}

TEST_F(MainWindowQuery, WhateverIsTypedEndsInARefusalOrAnEmptyResult) {
  OpenTiny();
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  const QString otherEmoji = QString::fromUtf8("\xF0\x9F\x9A\x84");
  Stations(emoji, otherEmoji);
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ExpectRefusal("发站不存在。", "输入错误", Widget<TStationComboBox>(*window, "ComboFZ"));

  Stations(QStringLiteral("北京"), QString(10000, QChar(0x4E00)));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ExpectRefusal("到站不存在。", "输入错误", Widget<TStationComboBox>(*window, "ComboDZ"));

  // A long paste of letters is a short code nobody has.
  Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QString());
  TypeText(Widget<TStationComboBox>(*window, "ComboFZ"), QString(10000, QChar('A')));
  EXPECT_EQ(Widget<TStationComboBox>(*window, "ComboFZ")->count(), 9);
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  ExpectRefusal("请输入发站。", "信息不完整", Widget<TStationComboBox>(*window, "ComboFZ"));

  Widget<TStationComboBox>(*window, "ComboCZ")->SetTextQuietly(QString());
  TypeText(Widget<TStationComboBox>(*window, "ComboCZ"), QStringLiteral("天\t津1"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCZCX"), Qt::LeftButton);
  ExpectRefusal("车站不存在。", "输入错误", Widget<TStationComboBox>(*window, "ComboCZ"));

  Widget<QLineEdit>(*window, "ECC")->setText(QStringLiteral("\x01\t "));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  ExpectRefusal("请输入车次。", "信息不完整", Widget<QLineEdit>(*window, "ECC"));
  for (const QString& text : {emoji, QString(10000, QChar('9')), QStringLiteral("' OR 1=1")}) {
    Widget<QLineEdit>(*window, "ECC")->setText(text);
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
    EXPECT_TRUE(boxes.Shown.empty());
    EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
  }
}

TEST_F(MainWindowQuery, RealSizeBeijingToShanghai) {
  OpenRealSize();
  Stations(QStringLiteral("北京"), QStringLiteral("上海"));
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Shown.empty());
  const int count = window->Center().ResultCount;
  ASSERT_GT(count, 16);
  EXPECT_EQ(Rows(), count);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:%1").arg(count));
  const QStringList beijing = {"北京", "北京东", "北京南", "北京西"};
  for (const QString& from : Column(4)) EXPECT_TRUE(beijing.contains(from)) << from.toStdString();
  for (const QString& to : Column(6)) EXPECT_TRUE(to.startsWith(QStringLiteral("上海"))) << to.toStdString();
  // 精确站名 keeps the rows between the typed names themselves.
  Widget<QCheckBox>(*window, "CBJQ")->setChecked(true);
  for (int r = 0; r < window->Center().ResultCount; ++r) {
    EXPECT_EQ(Cell(4, r), QStringLiteral("北京"));
    EXPECT_EQ(Cell(6, r), QStringLiteral("上海"));
  }
  EXPECT_LT(window->Center().ResultCount, count);
  // A later query with fewer rows shows 16 rows again.
  QTest::keyClicks(Widget<QLineEdit>(*window, "ECC"), "G1");
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  EXPECT_EQ(Rows(), 16);
  EXPECT_FALSE(Widget<QCheckBox>(*window, "CBJQ")->isChecked());
}

}  // namespace
}  // namespace vormek::test

#include "data/embedded_items.h"

namespace vormek::test {
namespace {

class MainWindowEmbedded : public TWindowTest {
 protected:
  int Query(const char* from, const char* to) {
    Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QString::fromUtf8(from));
    Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QString::fromUtf8(to));
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
    return window->Center().ResultCount;
  }
};

// The tables the program carries load and answer (their contents belong to
// the timetable build, so no counts here).
TEST_F(MainWindowEmbedded, TheProgramsOwnTimetableLoadsAndAnswers) {
  Open(EmbeddedItems());
  EXPECT_GT(Query("北京", "上海"), 0);
  EXPECT_TRUE(boxes.Shown.empty());
  for (int r = 0; r < window->Center().ResultCount; ++r)
    EXPECT_TRUE(Cell(4, r).startsWith(QStringLiteral("北京"))) << Cell(4, r).toStdString();
  EXPECT_FALSE(Widget<QLabel>(*window, "ImageLogo")->pixmap().isNull());
}

}  // namespace
}  // namespace vormek::test
