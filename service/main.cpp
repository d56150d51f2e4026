// thermowl-service: the temperature service the Thermowl monitor talks to.
// Run with --help for the options.
#include "SourceChoice.h"
#include "InstanceLock.h"
#include "Options.h"
#include "ReadingWorker.h"
#include "RealDrives.h"
#include "Output.h"
#include "Scenario.h"
#include "ServiceFiles.h"
#include "ServiceLoop.h"
#include "SessionWatch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

DWORD g_mainThread = 0;
HANDLE g_finished = nullptr; // set once hsid.dat is gone

// Runs on a thread of its own. Ctrl-C and Ctrl-Break just end the loop; for a closing
// console (or logoff, shutdown) the process dies when this returns, so wait for the
// main thread to clean up first.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    PostThreadMessageA(g_mainThread, WM_QUIT, 0, 0);
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        WaitForSingleObject(g_finished, 5000);
    return TRUE;
}

int Fail(int status, const std::string& what) {
    service::PrintError(what);
    return status;
}

// Made-up drives are known at once; real ones are probed after the id is out, so that a
// monitor started with the service finds it while slow drives answer their first queries.
service::ChosenSource ChooseDrives(const service::Options& options) {
    service::ChosenSource source = service::MakeDriveSource(options);
    const std::size_t count = source.drives->Count();
    service::PrintNote("source: " + source.name + ", " + std::to_string(count) + (count == 1 ? " drive" : " drives"));
    return source;
}

int Serve(const service::Options& options, service::ChosenSource source) {
    service::RequestLog log(options.logFile);
    if (log.Failed())
        return Fail(2, "cannot create log file '" + options.logFile + "'");

    // The session channel carries what the files carry, unless the files are made to fail (test
    // options), so that a monitor sees those failures as it would without the channel.
    contract::SessionPublisher sessionChannel;
    const bool filesAsGiven = !options.noFile && !options.lockTable && !options.shortFile;
    service::TableFile table(options.lockTable, filesAsGiven ? &sessionChannel : nullptr);
    if (options.noFile)
        table.Remove();

    // The queue must exist before the id is published, or early posts would be lost.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    g_mainThread = GetCurrentThreadId();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);

    service::ServiceIdFile id(options.hsidBytes == 4 ? &sessionChannel : nullptr);
    // The process may be ended right after the session-end message, so the id goes at once.
    service::SessionWatch session([&id] { id.Remove(); });
    if (!options.noHsid && !id.Write(g_mainThread, options.hsidBytes))
        return Fail(1, "cannot write hsid.dat in the system directory");

    if (!source.drives)
        source = ChooseDrives(options);
    if (!source.why.empty())
        log.Note(source.why);
    // Reads of real drives leave this thread. The worker rereads them a little after each
    // 5 seconds, so that the tick count has surely passed the drives' own limit.
    std::unique_ptr<service::DriveSource> drives = std::move(source.drives);
    if (source.real)
        drives = std::make_unique<service::ReadingWorker>(std::move(drives), service::RealDrives::kCacheMs + 50);

    service::ServiceLoop loop(options, *drives, table, log);
    return loop.Run();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Decided before parsing, so that not even a bad command line prints anything.
    if (std::find(args.begin(), args.end(), "--background") != args.end())
        service::SilenceOutput();
    else
        service::UseParentConsole();

    service::Options options;
    try {
        options = service::ParseOptions(args);
    } catch (const std::exception& e) {
        return Fail(2, e.what());
    }
    if (options.help) {
        if (!options.background)
            std::fputs(service::UsageText(), stdout);
        return 0;
    }

    // Checked before the drives are looked at: a second service would only disturb them.
    constexpr int kAlreadyRunning = 3;
    std::optional<service::InstanceLock> lock;
    if (options.background && !lock.emplace().Held())
        return kAlreadyRunning;

    service::ChosenSource source;
    if (options.source == "simulated") {
        try {
            source = ChooseDrives(options);
        } catch (const std::exception& e) {
            return Fail(2, e.what());
        }
    }

    g_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int status;
    try {
        status = Serve(options, std::move(source)); // unwinding removes hsid.dat
    } catch (const std::exception& e) {
        status = Fail(1, e.what());
    }
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    SetEvent(g_finished);
    return status;
}
