// Writes the valid sample files of the reader tests into <folder>/bmp, <folder>/pcx and
// <folder>/gaf, as the fuzzers' seed corpus.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "robustness/SampleFiles.h"
#include "support/GafBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    auto samples = samplefiles::LargeSamples();
    for (auto& small : samplefiles::SmallSamples()) samples.push_back(std::move(small));

    int written = 0;
    for (const auto& sample : samples) {
        const auto sub = folder / (sample.Kind == samplefiles::Format::Bmp ? "bmp" : "pcx");
        std::error_code error;
        std::filesystem::create_directories(sub, error);
        std::ofstream out(sub / sample.Name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(sample.Bytes.data()),
                  static_cast<std::streamsize>(sample.Bytes.size()));
        if (!out) {
            std::cerr << "make_seeds: cannot write " << (sub / sample.Name).string() << "\n";
            return 1;
        }
        ++written;
    }
    for (const auto& [name, bytes] : gafbuild::Samples()) {
        std::error_code error;
        std::filesystem::create_directories(folder / "gaf", error);
        std::ofstream out(folder / "gaf" / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "make_seeds: cannot write " << (folder / "gaf" / name).string() << "\n";
            return 1;
        }
        ++written;
    }
    std::cout << "make_seeds: " << written << " files in " << folder.string() << "\n";
    return 0;
}
