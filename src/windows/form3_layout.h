#pragma once
// The About window: the product's picture and name, the maker's web site link, a notice line.

#include "platform/form.h"

namespace zorvane {

const FormLayout& form3Layout();

}  // namespace zorvane
