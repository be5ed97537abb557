#pragma once
// The log the fakes keep of what reached them: one record per line, UTF-8, with "\", CR and LF
// escaped as "\\", "\r" and "\n" so that a record's own line breaks survive.

#include <string>
#include <string_view>
#include <vector>

namespace zorvane::fakes {

// Appends one record in a single write, so a reader never sees half of it.
void appendRecord(const std::wstring& logPath, std::string_view utf8);
// The complete records so far, unescaped; empty when the log does not exist yet.
std::vector<std::string> readRecords(const std::wstring& logPath);

}  // namespace zorvane::fakes
