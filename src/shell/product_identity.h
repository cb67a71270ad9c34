// The product identity file installed beside the program: six records, each
// stored twice in a nibble coding with a key of its own, so that a damaged or
// hand-edited file is noticed at start.
#pragma once

#include <array>
#include <string>

namespace quilo {

struct ProductIdentity {
    std::string displayProductName; // title; name of the per-user data folder
    std::string productVersion;     // e.g. "1.0"
    std::string productBuild;       // "Build on " + the build text
    std::string productName;        // product code: lock name, main window caption
};

inline constexpr const char* ProductIdentityFileName = "WinVersion.bin";
inline constexpr int IdentityRecordCount = 6;
inline constexpr unsigned IdentityCopyLimit = 512; // bytes read of one stored copy

// Reads and checks the file; fills `identity` even when a record is invalid.
// True only when the file opened and all six records are valid.
bool LoadProductIdentity(const std::string& path, ProductIdentity& identity);

// The file's bytes for six record values (display name, version, build text,
// unused, product code, unused); used by the build and by tests.
std::string EncodeProductIdentity(const std::array<std::string, IdentityRecordCount>& values);

// One stored copy in the nibble coding and back.
std::string EncodeNibbles(const std::string& text, unsigned char key);
std::string DecodeNibbles(const std::string& stored, unsigned char key);

} // namespace quilo
