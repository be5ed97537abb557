#pragma once
// The Extra window: the waiting and completed per-buddy lists side by side.

#include "platform/form.h"

namespace zorvane {

const FormSpec& form2Spec();

}  // namespace zorvane
