// The records of the disc device layer: disc types, write speeds, burn and erase parameters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quilo {

enum TransportKind : int32_t { TransportASPI = 1, TransportSPTI = 2 };
enum DeviceState : int32_t {
    DeviceIdle = 0,
    DeviceBurning = 1,
    DeviceErasing = 2,
    DeviceEjecting = 4,
    DeviceLoading = 5
};
using DiscType = int32_t;
inline constexpr DiscType DiscTypeEmpty = 14;

// The display name of a disc type; the empty text above 22.
std::string DiscTypeName(DiscType type);
bool IsCdFamily(DiscType type);
bool IsDvdFamily(DiscType type);

struct TSpeed {
    uint32_t rate = 0;          // KB/s
    const char* name = nullptr; // points into a speed table: entries are told apart by it
};
using TSpeeds = std::vector<TSpeed>;

struct SpeedRow {
    uint32_t rate;
    const char* name;
};
const std::vector<SpeedRow>& CdSpeedTable();
const std::vector<SpeedRow>& DvdSpeedTable();
// The name of the table row nearest to `rate` (the lower one when both are as
// near); null when the rate lies outside the table.
const char* NearestSpeedName(const std::vector<SpeedRow>& table, uint32_t rate);

struct TBurnParams {
    uint8_t sendCalibration = 1;
    uint32_t writeRate = 0;
    std::string writeSpeedName;
    uint8_t sessionFlag = 0; // non-zero leaves the session open
    std::string volumeLabel;
};

struct TEraseParams {
    uint32_t eraseType = 1;
    uint32_t writeRate = 0;
    std::string speedName;
};

} // namespace quilo
