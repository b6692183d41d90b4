// Runs under the program's own application object, so that the events of the
// test pass through its general error handling.
#include "app/error_handler.h"

#include <gtest/gtest.h>

#include <QPushButton>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <QTest>
#include <stdexcept>

namespace {

QStringList* g_reports = nullptr;

#if defined(__SANITIZE_ADDRESS__)
using LeakCheckerLooksAway = __lsan::ScopedDisabler;
#else
struct LeakCheckerLooksAway {
  LeakCheckerLooksAway() {}  // user-provided: no unused-variable warning
};
#endif

class ErrorHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { g_reports->clear(); }
};

TEST_F(ErrorHandlerTest, ExceptionFromAClickIsReportedAndTheProgramGoesOn) {
  QPushButton button(QStringLiteral("导出"));
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    ++clicks;
    if (clicks == 1) throw std::runtime_error("Cannot open /no/such/dir/a.csv: No such file or directory");
  });
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  {
    // The exception unwinds through Qt's event delivery, which was not built
    // to be unwound and so never frees the event's points: Qt's memory, not
    // the handler's, so the leak checker looks away for this one click.
    LeakCheckerLooksAway away;
    QTest::mouseClick(&button, Qt::LeftButton);
  }
  ASSERT_EQ(g_reports->size(), 1);
  EXPECT_EQ(g_reports->front(), QStringLiteral("Cannot open /no/such/dir/a.csv: No such file or directory"));

  // The button and the event loop still work.
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(g_reports->size(), 1);
}

TEST_F(ErrorHandlerTest, GbkReasonIsShownAsText) {
  // "车站" in GBK.
  const std::runtime_error e("\xb3\xb5\xd5\xbe");
  EXPECT_EQ(vormek::ErrorReason(e), QStringLiteral("车站"));
  EXPECT_EQ(vormek::ErrorReason(std::runtime_error("磁盘已满")), QStringLiteral("磁盘已满"));
}

TEST_F(ErrorHandlerTest, UnknownExceptionIsReportedToo) {
  const bool handled =
      vormek::DeliverGuarded([]() -> bool { throw 42; }, [](const QString& r) { g_reports->append(r); });
  EXPECT_FALSE(handled);
  EXPECT_EQ(*g_reports, QStringList{QStringLiteral("未知错误")});
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vormek::TVormekApplication app(argc, argv);
  QStringList reports;
  g_reports = &reports;
  app.SetErrorReporter([&reports](const QString& reason) { reports.append(reason); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
