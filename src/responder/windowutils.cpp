#include "responder/windowutils.h"

namespace zorvane {

std::string classprefix(Desktop& desktop, WindowHandle window) {
    return desktop.className(window, classPrefixLength);
}

std::string windowtitle(Desktop& desktop, WindowHandle window) {
    return desktop.windowText(window, maxCaptionLength);
}

}  // namespace zorvane
