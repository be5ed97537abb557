// The counter grammar against a reference reading of its own; what is written back reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "reference_counter.h"

using namespace zorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string_view separator = input.PickValueInArray(separators);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const auto parsed = parseCounter(text, separator);
    require(parsed == referenceCounter(text, separator), "parseCounter agrees with the reference");
    if (!parsed) return 0;
    const std::string written = formatCounter(*parsed);
    std::string_view digits = written;
    if (*parsed < 0) digits.remove_prefix(1);
    const bool plain = digits.find_first_not_of("0123456789") == digits.npos &&
                       (digits == "0" || (!digits.empty() && digits.front() != '0'));
    require(plain && (*parsed < 0) == written.starts_with('-'), "written back as plain digits");
    require(parseCounter(written, separator) == parsed, "what is written back reads back");
    return 0;
}
