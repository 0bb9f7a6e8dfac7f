#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The entry point of every fuzz target: libFuzzer calls it with each input it
// tries, the replay program with each file of the corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace statvane::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Aborts with the property's description on standard error when it does not
// hold, so that libFuzzer keeps the input that broke it.
void require(bool holds, std::string_view property);

// Whether `part` is a view into `whole`.
bool isViewInto(std::string_view part, std::string_view whole);

// Cuts the bytes into pieces of 1 to 256 bytes, as a socket may deliver them;
// the chooser byte picks the lengths.
std::vector<std::string_view> socketReads(std::string_view bytes, std::uint8_t chooser);

} // namespace statvane::fuzz
