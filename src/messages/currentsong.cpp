#include "messages/awaymessage.h"
#include "text/replace.h"

namespace zorvane {

std::string currentsong(Desktop& desktop) {
    WindowHandle player = desktop.findWindowByClass("STUDIO");
    if (player == 0) player = desktop.findWindowByClass("Winamp v1.x");
    if (player == 0) return "Winamp Is Currently Off";
    // The player's title buffer holds 127 characters; the cut comes before the removal.
    return replaceAll(desktop.windowText(player, 127), "- Winamp", "");
}

}  // namespace zorvane
