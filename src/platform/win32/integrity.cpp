#include "platform/win32/integrity.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/win32/handles.h"

namespace zorvane::win32 {
namespace {

// The last part of the process's integrity label (SECURITY_MANDATORY_*_RID); none if unread.
std::optional<DWORD> integrityLevel(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
    const UniqueHandle owned(token);
    DWORD bytes = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &bytes);
    // A label is a SID of a few dozen bytes.
    if (bytes < sizeof(TOKEN_MANDATORY_LABEL) || bytes > 1024) return std::nullopt;
    std::vector<std::byte> label(bytes);
    if (!GetTokenInformation(token, TokenIntegrityLevel, label.data(), bytes, &bytes))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
    const UCHAR parts = *GetSidSubAuthorityCount(sid);
    if (parts == 0) return std::nullopt;
    return *GetSidSubAuthority(sid, parts - 1U);
}

}  // namespace

bool runsAboveUs(HWND window) {
    static const std::optional<DWORD> ours = integrityLevel(GetCurrentProcess());
    DWORD id = 0;
    if (!ours || !GetWindowThreadProcessId(window, &id) || id == 0) return false;
    // The least a process can be asked, granted even by one with higher rights.
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return false;
    const std::optional<DWORD> theirs = integrityLevel(process.get());
    return theirs && *theirs > *ours;
}

}  // namespace zorvane::win32
