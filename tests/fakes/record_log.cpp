#include "record_log.h"

#include <windows.h>

#include <memory>

namespace zorvane::fakes {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueFile = std::unique_ptr<void, HandleCloser>;

UniqueFile openLog(const std::wstring& path, DWORD access, DWORD disposition) {
    const HANDLE file =
        CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::string escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            out += line[i];
            continue;
        }
        const char next = line[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

}  // namespace

void appendRecord(const std::wstring& logPath, std::string_view utf8) {
    const UniqueFile file = openLog(logPath, FILE_APPEND_DATA, OPEN_ALWAYS);
    if (!file) return;
    const std::string line = escape(utf8) + '\n';
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::vector<std::string> readRecords(const std::wstring& logPath) {
    std::vector<std::string> records;
    const UniqueFile file = openLog(logPath, GENERIC_READ, OPEN_EXISTING);
    if (!file) return records;
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        content.append(chunk, read);
    }
    // A line without its newline is a record still being written: leave it for the next read.
    std::size_t start = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        records.push_back(unescape(std::string_view(content).substr(start, end - start)));
    }
    return records;
}

}  // namespace zorvane::fakes
