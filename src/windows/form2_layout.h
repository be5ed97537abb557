#pragma once
// The Extra window: the waiting and completed per-buddy lists side by side.

#include "platform/form.h"

namespace zorvane {

const FormLayout& form2Layout();

}  // namespace zorvane
