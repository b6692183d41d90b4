#pragma once
// Every message box of the main window goes through this interface, so tests
// can answer them without a modal loop.
#include <QString>

class QWidget;

namespace vormek {

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // A report or a refusal: text, caption, one OK button, the information icon.
  virtual void Inform(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The same for something that failed, with the warning icon.
  virtual void Warn(QWidget* parent, const QString& text, const QString& caption) { Inform(parent, text, caption); }
  // A question with a question icon and Yes/No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
};

// The real, modal boxes.
class TModalMessageBoxes : public IMessageBoxes {
 public:
  void Inform(QWidget* parent, const QString& text, const QString& caption) override;
  void Warn(QWidget* parent, const QString& text, const QString& caption) override;
  bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
};

}  // namespace vormek
