// Qt's own texts in Chinese once the program's start-up has installed Qt's
// catalogue: the message boxes' buttons and the save dialog, which replaces
// a file without asking.
#include "app/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "app/message_boxes.h"
#include "services/csv_file.h"

namespace {

// The caption as read: without its mnemonic, "是(&Y)" reads "是".
QString Read(const QAbstractButton* button) {
  static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
  return button->text().remove(mnemonic);
}

class QtTranslations : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { installed = vormek::InstallQtChineseTranslations(*QCoreApplication::instance()); }
  void SetUp() override {
    if (!installed)
      GTEST_SKIP() << "no qtbase_zh_CN in " << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString()
                   << " (Debian package qt6-translations-l10n)";
  }
  static inline bool installed = false;
};

TEST_F(QtTranslations, MessageBoxButtonsReadChinese) {
  QMessageBox inform(QMessageBox::NoIcon, QStringLiteral("信息不完整"), QStringLiteral("请输入车次。"),
                     QMessageBox::Ok);
  EXPECT_EQ(Read(inform.button(QMessageBox::Ok)), QStringLiteral("确定"));
  QMessageBox ask(QMessageBox::Question, QStringLiteral("维墨克时刻表"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(Read(ask.button(QMessageBox::Yes)), QStringLiteral("是"));
  EXPECT_EQ(Read(ask.button(QMessageBox::No)), QStringLiteral("否"));
}

TEST_F(QtTranslations, SaveDialogIsChineseAndAsksNothingAboutAnExistingFile) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("另存为"));
    dialog->reject();
  });
  EXPECT_TRUE(vormek::AskCsvFileName(nullptr).isEmpty());
  EXPECT_TRUE(seen);
}

}  // namespace
