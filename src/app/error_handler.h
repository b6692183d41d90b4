#pragma once
// The general error handling: an error that no user action caught becomes a
// message box with its reason, and the program goes on.
#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace vormek {

using ErrorReporter = std::function<void(const QString& reason)>;

// The message box the program shows for such an error.
void ShowErrorBox(const QString& reason);

// The reason of an exception as display text (its what() may be UTF-8 or GBK).
QString ErrorReason(const std::exception& e);

// Runs one delivery of an event; an exception escaping it is reported and the
// delivery counts as not handled.
bool DeliverGuarded(const std::function<bool()>& deliver, const ErrorReporter& report);

// The program's application object: every event goes through DeliverGuarded.
class TVormekApplication : public QApplication {
 public:
  TVormekApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Tests replace the message box by a recorder.
  void SetErrorReporter(ErrorReporter report) { report_ = std::move(report); }

 private:
  ErrorReporter report_;
};

}  // namespace vormek
