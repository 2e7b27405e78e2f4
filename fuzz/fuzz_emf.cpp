// Random bytes as an Enhanced Metafile (the signature is set, so that every input reaches the
// EMF records): the reader ends cleanly, and what it hands over stays within the picture's
// clamp and the limits.
#include "MetafileFuzzSink.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (bytes.size() >= 44) {
        const std::uint8_t head[4] = {1, 0, 0, 0}, signature[4] = {0x20, 0x45, 0x4D, 0x46};
        std::copy(head, head + 4, bytes.begin());
        std::copy(signature, signature + 4, bytes.begin() + 40);
    }
    ulvan::fuzz::PlayChecked(bytes);
    return 0;
}
