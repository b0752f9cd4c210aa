// libFuzzer entry: any bytes through the settings reader, and what it accepts through the writer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "SettingsOracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broke =
        kelo::fuzz::checkSettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broke.empty()) {
        std::fprintf(stderr, "settings text: %s\n", broke.c_str());
        std::abort();
    }
    return 0;
}
