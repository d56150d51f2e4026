#include "WindowsDrives.h"

#include "Output.h"
#include "StorageBuffers.h"
#include "StorageLimits.h"

#include <string>

namespace service {
namespace {

using storage::Bytes;

// The reply to `query`, or nothing when the drive refuses it.
std::optional<Bytes> Ask(DriveHandle& handle, DWORD code, const Bytes& query, std::size_t replySize) {
    Bytes reply(replySize, 0);
    if (!handle.Control(code, query, reply))
        return std::nullopt;
    return reply;
}

// The Identify Controller's limits, when it states any.
std::optional<contract::DriveTraits> StatedLimits(const Bytes& reply) {
    const contract::DriveTraits limits = storage::DecodeNvmeIdentifyLimits(reply);
    return limits.WarnLimit || limits.CritLimit ? std::optional(limits) : std::nullopt;
}

class WindowsDrive final : public DriveSensor {
public:
    WindowsDrive(DriveDevices& devices, int number, std::unique_ptr<DriveHandle> handle)
        : devices_(devices), number_(number), handle_(std::move(handle)) {
        const std::optional<Bytes> descriptor = Ask(*handle_, storage::kQueryPropertyCode,
                                                    storage::PropertyQuery(storage::kDeviceProperty),
                                                    storage::kDeviceDescriptorReplySize);
        const std::optional<std::string> name = descriptor ? storage::DecodeDeviceName(*descriptor) : std::nullopt;
        name_ = name.value_or("PhysicalDrive" + std::to_string(number));
    }

    std::string Name() const override { return name_; }
    std::string Device() const override { return "disk " + std::to_string(number_); }

    bool Asleep() override {
        const std::optional<bool> poweredUp = handle_->PoweredUp();
        if (poweredUp.has_value() && !*poweredUp)
            return true;
        // The system may not know of a drive's own standby, which SMART would end: on the
        // administrator path the drive is asked itself. The property query never wakes it.
        if (method_ == Method::Property || (method_ == Method::Unknown && ReadBy(Method::Property)))
            return false;
        DriveHandle* admin = method_ == Method::NvmeLog ? nullptr : AdminHandle();
        return admin && Standby(*admin).value_or(false);
    }

    // The first way that gives a temperature is kept for later readings.
    std::optional<double> ReadCelsius() override {
        if (method_ != Method::Unknown)
            return ReadBy(method_);
        for (Method method : {Method::Property, Method::Smart, Method::NvmeLog}) {
            if (const std::optional<double> celsius = ReadBy(method)) {
                method_ = method;
                return celsius;
            }
        }
        return std::nullopt;
    }

    // Both properties are answered without administrator rights and without waking the drive.
    // Limits the property leaves out may come from the NVMe Identify data, which wakes nothing
    // either, or the SCT table, which needs administrator rights and a drive that is awake.
    contract::DriveTraits Traits() override {
        const std::optional<Bytes> limits =
            Ask(*handle_, storage::kQueryPropertyCode, storage::PropertyQuery(storage::kDeviceTemperatureProperty),
                storage::kTemperatureReplySize);
        contract::DriveTraits traits = limits ? storage::DecodeTemperatureLimits(*limits) : contract::DriveTraits{};
        const std::optional<Bytes> seek = Ask(*handle_, storage::kQueryPropertyCode,
                                              storage::PropertyQuery(storage::kSeekPenaltyProperty),
                                              storage::kSeekPenaltyReplySize);
        traits.Kind = seek ? storage::DecodeSeekPenalty(*seek) : contract::KindUnknown;
        // A drive that leaves its limits out of the property may still state them itself.
        if ((traits.WarnLimit == 0 || traits.CritLimit == 0) && traits.Kind != contract::KindRotating) {
            const contract::DriveTraits stated =
                AskNvme<contract::DriveTraits>(storage::NvmeIdentifyQuery, storage::kNvmeIdentifyReplySize,
                                               StatedLimits, AdminHandle(true))
                    .value_or(contract::DriveTraits{});
            FillIn(traits, stated);
        }
        // The SCT table is read by SMART commands, which would end a standby.
        DriveHandle* admin = traits.WarnLimit && traits.CritLimit ? nullptr : AdminHandle(true);
        if (admin && handle_->PoweredUp() != false && Standby(*admin) == false &&
            Ask(*admin, storage::kAtaPassThroughCode, storage::SctTemperatureTableCommand(),
                storage::SctTemperatureTableCommand().size())) {
            const std::optional<Bytes> table =
                Ask(*admin, storage::kAtaPassThroughCode, storage::SctTableRead(), storage::SctTableRead().size());
            FillIn(traits, table ? storage::DecodeSctLimits(*table) : contract::DriveTraits{});
        }
        const std::optional<Bytes> descriptor = Ask(*handle_, storage::kQueryPropertyCode,
                                                    storage::PropertyQuery(storage::kDeviceProperty),
                                                    storage::kDeviceDescriptorReplySize);
        traits.Identity = descriptor ? storage::DecodeSerialIdentity(*descriptor) : 0;
        return traits;
    }

private:
    enum class Method { Unknown, Property, Smart, NvmeLog };

    std::optional<double> ReadBy(Method method) {
        switch (method) {
        case Method::Property: {
            const std::optional<Bytes> reply =
                Ask(*handle_, storage::kQueryPropertyCode, storage::PropertyQuery(storage::kDeviceTemperatureProperty),
                    storage::kTemperatureReplySize);
            return reply ? storage::DecodeTemperatureProperty(*reply) : std::nullopt;
        }
        case Method::Smart: {
            DriveHandle* admin = AdminHandle();
            const std::optional<Bytes> reply =
                admin ? Ask(*admin, storage::kSmartReceiveCode, storage::SmartAttributesQuery(), storage::kSmartReplySize)
                      : std::nullopt;
            return reply ? storage::DecodeSmartTemperature(*reply) : std::nullopt;
        }
        case Method::NvmeLog:
            return AskNvme<double>(storage::NvmeHealthQuery, storage::kNvmeHealthReplySize,
                                   storage::DecodeNvmeTemperature, AdminHandle());
        case Method::Unknown:
            break;
        }
        return std::nullopt;
    }

    static void FillIn(contract::DriveTraits& traits, const contract::DriveTraits& stated) {
        traits.WarnLimit = traits.WarnLimit ? traits.WarnLimit : stated.WarnLimit;
        traits.CritLimit = traits.CritLimit ? traits.CritLimit : stated.CritLimit;
    }

    // ATA CHECK POWER MODE, which answers without spinning the drive up; nothing when it fails.
    static std::optional<bool> Standby(DriveHandle& admin) {
        const std::optional<Bytes> reply =
            Ask(admin, storage::kAtaPassThroughCode, storage::PowerModeQuery(), storage::PowerModeQuery().size());
        return reply ? storage::DecodeStandby(*reply) : std::nullopt;
    }

    // An NVMe request, decoded: `admin` if there is one, else the plain handle, as some systems
    // answer without administrator rights; at the device's scope, else at the adapter's, which
    // some drivers answer instead. Nothing when no reply decodes.
    template <class T>
    std::optional<T> AskNvme(Bytes (*query)(std::uint32_t), std::size_t replySize,
                             std::optional<T> (*decode)(const Bytes&), DriveHandle* admin) {
        DriveHandle& handle = admin ? *admin : *handle_;
        for (std::uint32_t scope : {storage::kDeviceProtocolSpecificProperty, storage::kAdapterProtocolSpecificProperty}) {
            const std::optional<Bytes> reply = Ask(handle, storage::kQueryPropertyCode, query(scope), replySize);
            if (std::optional<T> decoded = reply ? decode(*reply) : std::nullopt)
                return decoded;
        }
        return std::nullopt;
    }

    // A handle with read and write access, opened once when first needed. `quiet`: a caller
    // that does without it, so a denial is not worth a note.
    DriveHandle* AdminHandle(bool quiet = false) {
        if (!adminTried_) {
            adminTried_ = true;
            DWORD error = 0;
            admin_ = devices_.Open(number_, DriveDevices::Access::ReadWrite, error);
            adminDenied_ = !admin_ && error == ERROR_ACCESS_DENIED;
        }
        if (adminDenied_ && !quiet)
            PrintNoteOnce("windows: " + Device() + " (" + name_ +
                          "): reading SMART or the NVMe log needs administrator rights; skipped");
        return admin_.get();
    }

    DriveDevices& devices_;
    int number_;
    std::unique_ptr<DriveHandle> handle_;
    std::unique_ptr<DriveHandle> admin_;
    bool adminTried_ = false;
    bool adminDenied_ = false;
    std::string name_;
    Method method_ = Method::Unknown;
};

} // namespace

std::vector<std::unique_ptr<DriveSensor>> FindWindowsDrives(DriveDevices& devices) {
    std::vector<std::unique_ptr<DriveSensor>> drives;
    for (int number = 0; number <= kLastDriveNumber; ++number) {
        // No access rights are needed to ask for properties; some drivers still want read access.
        DWORD error = 0;
        std::unique_ptr<DriveHandle> handle = devices.Open(number, DriveDevices::Access::Query, error);
        if (!handle)
            handle = devices.Open(number, DriveDevices::Access::Read, error);
        if (handle)
            drives.push_back(std::make_unique<WindowsDrive>(devices, number, std::move(handle)));
        else if (error == ERROR_ACCESS_DENIED)
            PrintNoteOnce("windows: disk " + std::to_string(number) + " cannot be opened without more rights; skipped");
    }
    return drives;
}

} // namespace service
