// The metafile pictures written by tests/fixtures/make_metafiles.py, read for the tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ulvan::test {

inline std::vector<std::uint8_t> ReadMetafileFixture(const std::string& name) {
    std::ifstream in(std::string(ULVAN_METAFILE_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace ulvan::test
