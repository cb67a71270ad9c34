// Writes the product identity file from its text source at build time.
//   quilo-make-identity SOURCE BUILD_DATE OUTPUT
// SOURCE holds six "Name=value" lines in record order ('#' starts a comment);
// "@BUILD_DATE@" in a value becomes BUILD_DATE.
#include "shell/product_identity.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: quilo-make-identity SOURCE BUILD_DATE OUTPUT\n";
        return 64;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::array<std::string, quilo::IdentityRecordCount> values;
    int count = 0;
    for (std::string line; std::getline(source, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos || count == quilo::IdentityRecordCount) {
            std::cerr << argv[1] << ": expected six Name=value lines, found \"" << line << "\"\n";
            return 1;
        }
        std::string value = line.substr(equals + 1);
        for (auto at = value.find("@BUILD_DATE@"); at != std::string::npos; at = value.find("@BUILD_DATE@"))
            value.replace(at, 12, argv[2]);
        values[count++] = value;
    }
    if (count != quilo::IdentityRecordCount) {
        std::cerr << argv[1] << ": expected six records, found " << count << "\n";
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << quilo::EncodeProductIdentity(values);
    if (!out.flush()) {
        std::cerr << "cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
