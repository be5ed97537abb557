#pragma once
// The Extra window: the user queues a personal message for a buddy, sees what still waits and
// what was handed out, re-queues and removes entries. The list rules live in buddies/.

#include <functional>
#include <memory>

#include "buddies/buddylists.h"
#include "platform/form.h"

namespace zorvane {

class Form2 {
  public:
    // Built hidden with both lists empty. `onClosed` runs when the user closes the window with
    // its close box; it may destroy this Form2 (and so both lists). A close that arrives while
    // one of the window's own prompts or message boxes is open is ignored.
    Form2(Ui& ui, std::function<void()> onClosed);

    void show();
    ListBox& List1();
    ListBox& List2();
    WaitingIndex& waiting() { return waiting_; }

  private:
    void add();
    void addtowait();
    ShowMessageBox ownedMessageBox();

    std::unique_ptr<Form> form_;
    WaitingIndex waiting_{List1()};  // goes with the list when the window closes
    int busy_ = 0;                   // handlers running that show a prompt or message box
};

}  // namespace zorvane
