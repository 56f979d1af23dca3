#include "support/system.h"

#include "support/fixture.h"

#include <windows.h>

namespace dalvo::test {

namespace {

std::wstring wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument as the C runtime of the program splits its command line.
std::wstring quoted(const std::wstring& arg) {
    std::wstring q = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        q.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        slashes = 0;
        q += c;
    }
    q.append(2 * slashes, L'\\');
    return q += L'"';
}

HANDLE inheritable_file(const std::filesystem::path& file) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

void set_env(const std::string& name, const std::optional<std::string>& value) {
    // The C runtime's copy of the environment, which getenv() reads, and the system's,
    // which a child process inherits.
    _wputenv_s(wide(name).c_str(), value ? wide(*value).c_str() : L"");
    SetEnvironmentVariableW(wide(name).c_str(), value ? wide(*value).c_str() : nullptr);
}

int run_program(const std::filesystem::path& program, const std::vector<std::string>& args,
                const std::filesystem::path& out, const std::filesystem::path& err) {
    std::filesystem::path exe = program;
    if (!exe.has_extension()) exe += L".exe";
    std::wstring line = quoted(exe.wstring());
    for (const std::string& a : args) line += L" " + quoted(wide(a));
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = inheritable_file(out);
    start.hStdError = inheritable_file(err);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &start, &process);
    CloseHandle(start.hStdOutput);
    CloseHandle(start.hStdError);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Windows has no bind mounts; a read-only folder is tested on Linux.
ReadOnlyMount::ReadOnlyMount(const std::filesystem::path& path) : path_(path), why_("no mount namespaces on this system") {}

ReadOnlyMount::~ReadOnlyMount() = default;

}  // namespace dalvo::test
