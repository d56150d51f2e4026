#include "Process.h"

#include <tlhelp32.h>

#include <stdexcept>
#include <utility>

namespace testsupport {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenInheritable(const std::string& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, kShareAll, &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Process Process::Start(const std::string& commandLine, Options options) {
    Process process;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE input = INVALID_HANDLE_VALUE, output = INVALID_HANDLE_VALUE, errors = INVALID_HANDLE_VALUE;
    if (options.captureOutput) {
        process.outputPath_ = TempFilePath("out");
        process.errorsPath_ = TempFilePath("err");
        input = OpenInheritable("NUL", GENERIC_READ, OPEN_EXISTING);
        output = OpenInheritable(process.outputPath_, GENERIC_WRITE, CREATE_ALWAYS);
        errors = OpenInheritable(process.errorsPath_, GENERIC_WRITE, CREATE_ALWAYS);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input;
        startup.hStdOutput = output;
        startup.hStdError = errors;
    }

    PROCESS_INFORMATION info{};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    const BOOL started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, options.captureOutput,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    const DWORD error = GetLastError();
    for (HANDLE handle : {input, output, errors})
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    if (!started)
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(error) + ")");

    CloseHandle(info.hThread);
    process.process_ = info.hProcess;
    process.id_ = info.dwProcessId;
    return process;
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Release();
        process_ = std::exchange(other.process_, nullptr);
        id_ = std::exchange(other.id_, 0);
        outputPath_ = std::move(other.outputPath_);
        errorsPath_ = std::move(other.errorsPath_);
        other.outputPath_.clear();
        other.errorsPath_.clear();
    }
    return *this;
}

Process::~Process() { Release(); }

void Process::Release() {
    if (process_) {
        Terminate();
        CloseHandle(process_);
        process_ = nullptr;
    }
    for (const std::string& path : {outputPath_, errorsPath_})
        if (!path.empty())
            DeleteFileA(path.c_str());
    outputPath_.clear();
    errorsPath_.clear();
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(DWORD boundMs, bool pumpMessages) {
    if (!process_)
        return std::nullopt;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed >= boundMs ? 0 : boundMs - elapsed;
        const DWORD woke = pumpMessages ? MsgWaitForMultipleObjects(1, &process_, FALSE, left, QS_ALLINPUT)
                                        : WaitForSingleObject(process_, left);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke != WAIT_OBJECT_0 + 1 || left == 0)
            return std::nullopt;
        PumpMessages();
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::Terminate() {
    if (Running())
        TerminateProcess(process_, 1);
    if (process_)
        WaitForSingleObject(process_, INFINITE);
}

std::vector<DWORD> Process::ThreadIds() const {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == id_)
            ids.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

std::string Process::Output() const { return outputPath_.empty() ? "" : ReadFileText(outputPath_).value_or(""); }
std::string Process::Errors() const { return errorsPath_.empty() ? "" : ReadFileText(errorsPath_).value_or(""); }

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    // Backslashes are literal except before a quote, where they must be doubled.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

std::string CommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments)
        line += (line.empty() ? "" : " ") + QuoteArgument(argument);
    return line;
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

std::string SystemDirectory() {
    char dir[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir, length < MAX_PATH ? length : 0);
}

std::string SystemFilePath(const std::string& name) { return SystemDirectory() + "\\" + name; }

std::string TempFilePath(const std::string& prefix) {
    char dir[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    if (!GetTempFileNameA(dir, prefix.c_str(), 0, path))
        throw std::runtime_error("cannot make a temporary file in " + std::string(dir));
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadFileText(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() ||
                    (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size());
    CloseHandle(file);
    return ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) || !FileExists(path); }

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, DWORD boundMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - start >= boundMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WaitForFile(const std::string& path, DWORD boundMs) {
    return WaitUntil([&] { return FileExists(path); }, boundMs);
}

bool WaitForFileGone(const std::string& path, DWORD boundMs) {
    return WaitUntil([&] { return !FileExists(path); }, boundMs);
}

FileCleanup::FileCleanup(std::initializer_list<std::string> paths, bool now) : paths_(paths) {
    if (now)
        for (const std::string& path : paths_)
            RemoveFile(path);
}

FileCleanup::~FileCleanup() {
    for (const std::string& path : paths_)
        RemoveFile(path);
}

}  // namespace testsupport
