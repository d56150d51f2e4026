#include "DriveDevices.h"

#include <string>

namespace service {
namespace {

class MachineDriveHandle final : public DriveHandle {
public:
    explicit MachineDriveHandle(HANDLE handle) : handle_(handle) {}
    MachineDriveHandle(const MachineDriveHandle&) = delete;
    MachineDriveHandle& operator=(const MachineDriveHandle&) = delete;
    ~MachineDriveHandle() override { CloseHandle(handle_); }

    bool Control(DWORD code, const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) override {
        DWORD returned = 0;
        // DeviceIoControl takes the input through a writable pointer: give it a copy.
        std::vector<std::uint8_t> input = in;
        const BOOL ok = DeviceIoControl(handle_, code, input.empty() ? nullptr : input.data(),
                                        static_cast<DWORD>(input.size()), out.empty() ? nullptr : out.data(),
                                        static_cast<DWORD>(out.size()), &returned, nullptr);
        out.resize(ok ? returned : 0);
        return ok != FALSE;
    }

    std::optional<bool> PoweredUp() override {
        BOOL on = TRUE;
        if (!GetDevicePowerState(handle_, &on))
            return std::nullopt;
        return on != FALSE;
    }

private:
    HANDLE handle_;
};

class MachineDriveDevices final : public DriveDevices {
public:
    std::unique_ptr<DriveHandle> Open(int number, Access access, DWORD& error) override {
        const DWORD rights = access == Access::Query  ? 0
                             : access == Access::Read ? GENERIC_READ
                                                      : GENERIC_READ | GENERIC_WRITE;
        const std::string path = "\\\\.\\PhysicalDrive" + std::to_string(number);
        HANDLE handle = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            return nullptr;
        }
        return std::make_unique<MachineDriveHandle>(handle);
    }
};

} // namespace

std::unique_ptr<DriveDevices> SystemDriveDevices() { return std::make_unique<MachineDriveDevices>(); }

} // namespace service
