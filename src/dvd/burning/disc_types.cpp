#include "dvd/burning/disc_types.h"

#include <array>

namespace quilo {

std::string DiscTypeName(DiscType type) {
    static const std::array<const char*, 23> names = {
        "Unknown",  "CD-ROM", "CD-R",   "CD-RW", "DVD-ROM",    "DVD-R",    "DVD-RAM",  "DVD-RW",
        "DVD-RW",   "DVD+RW", "CD-ROM", "CD-R",  "CD-RW",      "DVD+R",    "Empty",    "DVD+R DL",
        "DVD-R DL", "BD-ROM", "BD-R",   "BD-RE", "HD-DVD ROM", "HD-DVD R", "HD-DVD RW"};
    return type >= 0 && type < static_cast<DiscType>(names.size()) ? names[static_cast<size_t>(type)] : "";
}

bool IsCdFamily(DiscType type) {
    return type == 1 || type == 2 || type == 3 || type == 11 || type == 12;
}

bool IsDvdFamily(DiscType type) {
    return (type >= 4 && type <= 9) || type == 13 || type == 15 || type == 16;
}

const std::vector<SpeedRow>& CdSpeedTable() {
    static const std::vector<SpeedRow> table = {
        {176, "1.0x"},   {353, "2.0x"},   {387, "2.2x"},   {528, "3.0x"},   {706, "4.0x"},   {1400, "8.0x"},
        {1760, "10.0x"}, {2112, "12.0x"}, {2800, "16.0x"}, {3250, "20.0x"}, {4224, "24.0x"}, {5632, "32.0x"},
        {7040, "40.0x"}, {7744, "44.0x"}, {8448, "48.0x"}, {9152, "52.0x"}};
    return table;
}

const std::vector<SpeedRow>& DvdSpeedTable() {
    static const std::vector<SpeedRow> table = {
        {1385, "1.0x"}, {2770, "2.0x"}, {3324, "2.4x"},  {4155, "3.0x"},   {5540, "4.0x"},
        {6925, "5.0x"}, {8310, "6.0x"}, {11080, "8.0x"}, {16620, "12.0x"}, {22160, "16.0x"}};
    return table;
}

const char* NearestSpeedName(const std::vector<SpeedRow>& table, uint32_t rate) {
    for (size_t k = 1; k < table.size(); ++k) {
        const SpeedRow& lower = table[k - 1];
        const SpeedRow& upper = table[k];
        if (lower.rate <= rate && rate <= upper.rate)
            return rate - lower.rate <= upper.rate - rate ? lower.name : upper.name;
    }
    return nullptr;
}

} // namespace quilo
