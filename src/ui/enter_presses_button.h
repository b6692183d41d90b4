#pragma once
// Enter or Return on a focused push button presses it, as Space does. Qt
// leaves that to dialogs' default buttons; these windows want it everywhere.
class QPushButton;

namespace vormek {

void PressOnEnter(QPushButton* button);

}  // namespace vormek
