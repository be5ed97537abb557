#pragma once
// An in-memory Ui for tests: windows of in-memory controls that a test drives like a user, and
// message boxes and prompts that record what they showed and answer from a script. Like real
// modal windows, a box or prompt runs the desktop's events for as long as it is open.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/form.h"
#include "platform/model/model_controls.h"
#include "platform/model/model_desktop.h"

namespace zorvane {

// Thrown where the process would end. Not a std::exception, so no catch-all in the program's
// code can swallow it.
struct ProcessExit {};

class ModelUi;

class ModelForm : public Form {
  public:
    ModelForm(ModelUi& ui, const FormLayout& layout);
    ~ModelForm() override;
    ModelForm(const ModelForm&) = delete;
    ModelForm& operator=(const ModelForm&) = delete;

    const std::string& caption() const { return caption_; }

    // What a user does. A click on a check box ticks or clears it first, as a real one does.
    void click(int id);
    void doubleClick(int id);
    void tick(int id);  // runs the timer's handler only while the timer is enabled
    void close();

    TextControl& textControl(int id) override { return control<ModelTextControl>(id); }
    CheckBox& checkBox(int id) override { return control<ModelCheckBox>(id); }
    Timer& timer(int id) override { return control<ModelTimer>(id); }
    ListBox& listBox(int id) override { return control<ModelListBox>(id); }

    void onClick(int id, Handler handler) override { clicks_[id] = std::move(handler); }
    void onDoubleClick(int id, Handler handler) override { doubleClicks_[id] = std::move(handler); }
    void onTimer(int id, Handler handler) override { ticks_[id] = std::move(handler); }
    void onClose(Handler handler) override { close_ = std::move(handler); }

    void show() override { visible_ = true; }
    void hide() override { visible_ = false; }
    bool visible() const override { return visible_; }

    void messageBox(std::string_view text, std::string_view title) override;
    std::string prompt(std::string_view text, std::string_view title) override;

  private:
    using Control = std::variant<ModelTextControl, ModelCheckBox, ModelTimer, ModelListBox>;

    // Throws when the id is unknown or names a control of another kind.
    template <class T>
    T& control(int id) {
        return std::get<T>(controls_.at(id));
    }

    ModelUi& ui_;
    std::string caption_;
    std::map<int, Control> controls_;
    std::map<int, Handler> clicks_;
    std::map<int, Handler> doubleClicks_;
    std::map<int, Handler> ticks_;
    Handler close_;
    bool visible_ = false;
};

class ModelUi : public Ui {
  public:
    struct Dialog {
        const ModelForm* owner = nullptr;
        std::string text;
        std::string title;
    };

    explicit ModelUi(ModelDesktop& desktop) : desktop_(desktop) {}

    // Scripted by the test. Each hook runs once, while the next box or prompt is open, and may
    // act on any window (a click, a timer tick) as the real modal loop lets it. Then the box or
    // prompt stays open `modalSeconds` more by the desktop's clock, its loop running the
    // desktop's events meanwhile; a hook may change that for the box it runs in.
    std::deque<std::string> promptAnswers;  // "" is Cancel
    std::function<void()> whileMessageBoxOpen;
    std::function<void()> whilePromptOpen;
    double modalSeconds = 0;

    // How many boxes and prompts are open now.
    int openModals() const { return openModals_; }
    const std::vector<Dialog>& messageBoxes() const { return messageBoxes_; }
    const std::vector<Dialog>& prompts() const { return prompts_; }
    // The windows that exist now, oldest first.
    const std::vector<ModelForm*>& forms() const { return forms_; }
    // The window with this caption; throws when there is none.
    ModelForm& form(std::string_view caption) const;

    std::unique_ptr<Form> createForm(const FormLayout& layout) override;
    [[noreturn]] void exitProcess() override { throw ProcessExit{}; }

  private:
    friend class ModelForm;
    void stayOpen(std::function<void()>& hook);

    ModelDesktop& desktop_;
    int openModals_ = 0;
    std::vector<Dialog> messageBoxes_;
    std::vector<Dialog> prompts_;
    std::vector<ModelForm*> forms_;
};

}  // namespace zorvane
