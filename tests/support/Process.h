// Helpers for tests that run other programs: start a process, wait for it with a bound,
// end it, and look at files (mostly those in the Windows system directory).
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A started process. Destroying it (also when a test fails) terminates the process if it
// still runs, waits for it to go, and deletes the captured output files.
class Process {
public:
    struct Options {
        bool captureOutput = true;  // stdout and stderr into files, read with Output()/Errors()
    };

    // Starts `commandLine` (program and arguments, quoted as needed). Throws std::runtime_error.
    static Process Start(const std::string& commandLine, Options options);
    static Process Start(const std::string& commandLine) { return Start(commandLine, Options{}); }

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // Waits at most `boundMs`; the exit code, or nothing if it still runs. With
    // `pumpMessages`, this thread's windows keep receiving messages meanwhile.
    std::optional<DWORD> WaitForExit(DWORD boundMs, bool pumpMessages = false);
    // Terminates the process (if it runs) and waits until it is gone.
    void Terminate();
    // Ids of the process's threads, from a snapshot taken now.
    std::vector<DWORD> ThreadIds() const;

    std::string Output() const;  // what it wrote to stdout so far
    std::string Errors() const;  // what it wrote to stderr so far

private:
    Process() = default;
    void Release();

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    std::string outputPath_;
    std::string errorsPath_;
};

// Quotes one argument for a Windows command line (only when it needs it).
std::string QuoteArgument(const std::string& argument);
// Joins quoted arguments into a command line.
std::string CommandLine(const std::vector<std::string>& arguments);
// A Unix path as Wine sees it ("/a/b" -> "Z:\a\b"); Windows paths are returned unchanged.
std::string WindowsPath(const std::string& path);

std::string SystemDirectory();
// SystemDirectory() + "\" + name.
std::string SystemFilePath(const std::string& name);
// A fresh, empty file name in the temp directory (the file is created, so it is unique).
std::string TempFilePath(const std::string& prefix = "tst");

bool FileExists(const std::string& path);
// The whole file, or nothing if it cannot be opened (opened sharing read, write and delete).
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path);
std::optional<std::string> ReadFileText(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteFileText(const std::string& path, const std::string& text);
bool RemoveFile(const std::string& path);  // true if the file is gone afterwards

// Pumps this thread's messages and checks `done` until it holds or `boundMs` have passed;
// returns whether it holds. A bound for a hung partner, not a measure of speed.
bool WaitUntil(const std::function<bool()>& done, DWORD boundMs = 30000);
bool WaitForFile(const std::string& path, DWORD boundMs = 30000);
bool WaitForFileGone(const std::string& path, DWORD boundMs = 30000);
// Delivers every message waiting for this thread's windows.
void PumpMessages();

// Removes the named files when it goes out of scope (and when it is made, with `now`).
class FileCleanup {
public:
    explicit FileCleanup(std::initializer_list<std::string> paths, bool now = true);
    ~FileCleanup();
    FileCleanup(const FileCleanup&) = delete;
    FileCleanup& operator=(const FileCleanup&) = delete;

private:
    std::vector<std::string> paths_;
};

}  // namespace testsupport
