#include "app/error_handler.h"

#include <QMessageBox>
#include <QStringDecoder>
#include <QWidget>
#include <string_view>

#include "data/file_size_limit.h"
#include "data/gbk_codec.h"

namespace vormek {

void ShowErrorBox(const QString& reason) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), reason);
}

QString ErrorReason(const std::exception& e) {
  const std::string_view what = e.what();
  if (what.empty()) return QStringLiteral("未知错误");
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(QByteArrayView(what.data(), static_cast<qsizetype>(what.size())));
  if (!utf8.hasError()) return text;
  // Core text is GBK.
  return QString::fromStdString(GbkToUtf8(what));
}

bool DeliverGuarded(const std::function<bool()>& deliver, const ErrorReporter& report) {
  QString reason;
  try {
    return deliver();
  } catch (const std::exception& e) {
    reason = ErrorReason(e);
  } catch (...) {
    reason = QStringLiteral("未知错误");
  }
  // Reported outside the handler, so that the box's own events are not nested
  // inside a half-unwound delivery.
  if (report) report(reason);
  return false;
}

TVormekApplication::TVormekApplication(int& argc, char** argv) : QApplication(argc, argv), report_(&ShowErrorBox) {
  LetWritesFailPastTheFileSizeLimit();
}

bool TVormekApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverGuarded([&] { return QApplication::notify(receiver, event); }, report_);
}

}  // namespace vormek
