// Random bytes as a Windows Metafile, placeable or not (an input that would read as an EMF is
// changed so that it does not): the reader ends cleanly, and what it hands over stays within
// the picture's clamp and the limits.
#include "MetafileFuzzSink.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (!bytes.empty() && bytes[0] == 1)
        bytes[0] = 2; // an EMF starts with record type 1
    ulvan::fuzz::PlayChecked(bytes);
    return 0;
}
