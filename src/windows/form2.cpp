#include "windows/form2.h"

#include "windows/control_ids.h"
#include "windows/form2_layout.h"

namespace zorvane {
namespace {

// Counts a running handler that shows a prompt or message box, for as long as it runs.
class Busy {
  public:
    explicit Busy(int& handlers) : handlers_(handlers) { ++handlers_; }
    ~Busy() { --handlers_; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

  private:
    int& handlers_;
};

}  // namespace

Form2::Form2(Ui& ui, std::function<void()> onClosed) : form_(ui.createForm(form2Layout())) {
    form_->onClick(ids::add, [this] {
        const Busy busy(busy_);
        add();
    });
    form_->onClick(ids::addtowait, [this] {
        const Busy busy(busy_);
        addtowait();
    });
    form_->onClick(ids::hide, [this] { form_->hide(); });
    form_->onDoubleClick(ids::List1, [this] { removeSelected(List1()); });
    form_->onDoubleClick(ids::List2, [this] { removeSelected(List2()); });
    // The boxes are owned by this window, which blocks its close box; a WM_CLOSE sent by
    // another program still arrives, and must not destroy the lists under a running handler.
    form_->onClose([this, onClosed = std::move(onClosed)] {
        if (busy_ == 0) onClosed();
    });
}

void Form2::show() { form_->show(); }

ListBox& Form2::List1() { return form_->listBox(ids::List1); }

ListBox& Form2::List2() { return form_->listBox(ids::List2); }

// Neither answer is checked: two cancelled prompts still offer the entry "-". The list is read
// only after both prompts, since hand-outs keep running while they are open.
void Form2::add() {
    const std::string screenName = form_->prompt("Enter Screen Name:", "");
    const std::string message = form_->prompt("Enter Message:", "");
    addlist(List1(), formEntry(screenName, message), ownedMessageBox());
}

void Form2::addtowait() { requeue(List1(), List2(), ownedMessageBox()); }

// Owned by this window, so the window cannot be closed under the handler that shows it.
ShowMessageBox Form2::ownedMessageBox() {
    return
        [this](std::string_view text, std::string_view title) { form_->messageBox(text, title); };
}

}  // namespace zorvane
