#include "shell/product_identity.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace quilo {
namespace {

// The program's and the installer's shared choice; letters keep the file printable.
constexpr unsigned char FirstCopyKey = 'A';
constexpr unsigned char SecondCopyKey = 'a';

void appendInt32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// A little-endian 32-bit integer at `offset`; false past the end of the data.
bool readInt32(const std::string& data, std::size_t& offset, std::uint32_t& value) {
    if (offset > data.size() || data.size() - offset < 4)
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[offset + i])) << (8 * i);
    offset += 4;
    return true;
}

// Up to `length` bytes; a file that ends early gives what is there.
std::string readBytes(const std::string& data, std::size_t& offset, std::uint32_t length) {
    const std::size_t available = offset < data.size() ? data.size() - offset : 0;
    const std::size_t taken = std::min<std::size_t>(length, available);
    std::string bytes = data.substr(std::min(offset, data.size()), taken);
    offset += length;
    return bytes;
}

} // namespace

std::string EncodeNibbles(const std::string& text, unsigned char key) {
    std::string stored;
    stored.reserve(text.size() * 2);
    for (unsigned char byte : text) {
        stored.push_back(static_cast<char>((byte >> 4) + key));
        stored.push_back(static_cast<char>((byte & 15) + key));
    }
    return stored;
}

std::string DecodeNibbles(const std::string& stored, unsigned char key) {
    std::string text;
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        const int high = static_cast<unsigned char>(stored[i]);
        // An odd copy pairs its last character with the terminator.
        const int low = i + 1 < stored.size() ? static_cast<unsigned char>(stored[i + 1]) : 0;
        text.push_back(static_cast<char>((((high - key) * 16) | ((low - key) & 15)) & 0xFF));
    }
    return text;
}

std::string EncodeProductIdentity(const std::array<std::string, IdentityRecordCount>& values) {
    std::string file;
    for (const std::string& value : values) {
        const std::string first = EncodeNibbles(value, FirstCopyKey);
        const std::string second = EncodeNibbles(value, SecondCopyKey);
        appendInt32(file, static_cast<std::uint32_t>(value.size()));
        appendInt32(file, static_cast<std::uint32_t>(first.size()));
        appendInt32(file, static_cast<std::uint32_t>(second.size()));
        file += first;
        file += second;
    }
    return file;
}

bool LoadProductIdentity(const std::string& path, ProductIdentity& identity) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::size_t offset = 0;
    bool allValid = true;
    std::array<std::string, IdentityRecordCount> values;
    for (std::string& value : values) {
        std::uint32_t declared = 0, firstLength = 0, secondLength = 0;
        if (!readInt32(data, offset, declared) || !readInt32(data, offset, firstLength) ||
            !readInt32(data, offset, secondLength)) {
            allValid = false;
            offset = data.size();
            continue;
        }
        const std::string first =
            DecodeNibbles(readBytes(data, offset, std::min(firstLength, IdentityCopyLimit)), FirstCopyKey);
        const std::string second =
            DecodeNibbles(readBytes(data, offset, std::min(secondLength, IdentityCopyLimit)), SecondCopyKey);
        // The program reads the copies as C strings.
        value = first.substr(0, first.find('\0'));
        if (first != second || value.size() != declared)
            allValid = false;
    }
    identity.displayProductName = values[0];
    identity.productVersion = values[1];
    identity.productBuild = "Build on " + values[2];
    identity.productName = values[4];
    return allValid;
}

} // namespace quilo
