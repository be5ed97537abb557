#pragma once
// In-memory controls: the plain state the real ones hold, for tests.

#include <string>
#include <vector>

#include "platform/controls.h"

namespace zorvane {

class ModelTextControl : public TextControl {
  public:
    explicit ModelTextControl(std::string text = {}) : text_(std::move(text)) {}
    std::string text() const override { return text_; }
    void setText(std::string_view text) override { text_ = text; }

  private:
    std::string text_;
};

class ModelCheckBox : public CheckBox {
  public:
    int value() const override { return value_; }
    void setValue(int value) override { value_ = value; }

  private:
    int value_ = 0;
};

class ModelTimer : public Timer {
  public:
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }

  private:
    bool enabled_ = false;
};

class ModelListBox : public ListBox {
  public:
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override {
        ++itemReads_;
        return items_.at(index);
    }
    void add(std::string_view entry) override {
        items_.emplace_back(entry);
        ++changes_;
    }
    void remove(int index) override;
    int selected() const override { return selected_; }
    void setSelected(int index) override { selected_ = index; }
    std::uint64_t changes() const override { return changes_; }
    // How many entries were read, for tests that a tick reads none.
    int itemReads() const { return itemReads_; }

  private:
    std::vector<std::string> items_;
    int selected_ = -1;
    std::uint64_t changes_ = 0;
    mutable int itemReads_ = 0;
};

inline void ModelListBox::remove(int index) {
    items_.erase(items_.begin() + index);
    ++changes_;
    // Like a real list box: the selection goes with the removed entry, others shift up.
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
}

}  // namespace zorvane
