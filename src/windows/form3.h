#pragma once
// The About window: the product's picture, name and notice line, and a link that opens the
// maker's web site in a new browser window.

#include <functional>
#include <memory>

#include "platform/desktop.h"
#include "platform/form.h"

namespace zorvane {

class Form3 {
  public:
    // Built hidden. `onClosed` runs when the user closes the window with its close box; it may
    // destroy this Form3.
    Form3(Ui& ui, Desktop& desktop, std::function<void()> onClosed);

    void show() { form_->show(); }

  private:
    std::unique_ptr<Form> form_;
};

}  // namespace zorvane
