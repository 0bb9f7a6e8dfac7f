// Runs a fuzz target over its corpus inputs in builds without libFuzzer: every
// file named on the command line and every file in the folders named there,
// in name order. A broken property or a sanitizer report ends the program;
// finding no input at all fails too, so a corpus that went missing is seen.
#include "fuzz_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsNamedBy(const fs::path& argument) {
    if (!fs::is_directory(argument))
        return {argument};
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(argument)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A heap block of exactly the input's size, so that AddressSanitizer sees a
// read past its end.
bool replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "Cannot read " << file << '\n';
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    const auto data = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::cout << "Running " << file.string() << std::endl;
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    try {
        for (int i = 1; i < argc; ++i) {
            for (const fs::path& file : inputsNamedBy(argv[i])) {
                if (!replay(file))
                    return 1;
                ++replayed;
            }
        }
    } catch (const fs::filesystem_error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    std::cout << "Replayed " << replayed << " inputs" << std::endl;
    return replayed > 0 ? 0 : 1;
}
