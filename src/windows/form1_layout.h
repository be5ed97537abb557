#pragma once
// The main window as its user sees it: caption, size, fonts and every control's place.

#include "platform/form.h"

namespace zorvane {

const FormLayout& form1Layout();

}  // namespace zorvane
