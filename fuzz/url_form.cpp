// The URL message form: the IM client decodes it back to exactly the title tag and the text,
// and nothing that a decoder or a quoted command line would take apart is left raw in it.
#include <cctype>
#include <string>

#include "check.h"
#include "form_decode.h"
#include "messages/awaymessage.h"

using namespace zorvane;

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool holdsNothingRaw(std::string_view form) {
    constexpr std::string_view raw = " %+&#\"\\";
    for (std::size_t i = 0; i < form.size(); ++i) {
        const auto byte = static_cast<unsigned char>(form[i]);
        if (form[i] == '%' && i + 2 < form.size() && isHex(form[i + 1]) && isHex(form[i + 2])) {
            i += 2;  // an escape
        } else if (form[i] != '+' && (byte < 0x20 || byte == 0x7F || !holdsNo(raw, form[i]))) {
            return false;  // "+" stands for a space; all else here is raw
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string form = urlMessageForm(text);
    require(formDecode(form) == "<title>Zorvane</title>" + text, "decodes back exactly");
    require(holdsNothingRaw(form), "no raw space, %, +, &, #, quote, backslash or control");
    return 0;
}
