// Writes small valid pictures of every kind the import takes into <folder>: PNG of several colour
// types (interlaced too), baseline and progressive JPEG, truecolour and palette BMP, PCX. The
// import fuzzer's seed corpus.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "robustness/SampleFiles.h"
#include "support/PictureEncoders.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_import_seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    imagefiles::RgbaPicture picture{23, 17, {}};
    for (int i = 0; i < 23 * 17; ++i)
        picture.Pixels.insert(picture.Pixels.end(),
                              {uint8_t(i * 7), uint8_t(i * 13), uint8_t(255 - i), uint8_t(i % 5 ? 255 : i)});
    files.emplace_back("rgba.png", pictureencode::EncodeRgbaPng(picture));
    files.emplace_back("rgba-adam7.png", pictureencode::EncodeRgbaPng(picture, true));
    std::vector<uint8_t> indices(23 * 17);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 16);
    std::vector<std::array<uint8_t, 3>> colours;
    for (int k = 0; k < 16; ++k) colours.push_back({uint8_t(k * 16), uint8_t(255 - k * 9), uint8_t(k * 3)});
    files.emplace_back("palette.png",
                       pictureencode::EncodePng({23, 17, 3, 8, false, indices, colours, {0, 128}, {}, false}));
    std::vector<uint8_t> rgb;
    for (std::size_t i = 0; i < picture.Pixels.size(); i += 4)
        rgb.insert(rgb.end(), {picture.Pixels[i], picture.Pixels[i + 1], picture.Pixels[i + 2]});
    files.emplace_back("baseline.jpg", pictureencode::EncodeJpeg(rgb, 23, 17, TJPF_RGB, TJSAMP_420, 80));
    files.emplace_back("progressive.jpg", pictureencode::EncodeJpeg(rgb, 23, 17, TJPF_RGB, TJSAMP_444, 80, true));
    for (auto& sample : samplefiles::SmallSamples()) files.emplace_back(sample.Name, sample.Bytes);
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out || bytes.empty()) {
            std::cerr << "make_import_seeds: cannot write " << name << "\n";
            return 1;
        }
    }
    std::cout << "make_import_seeds: " << files.size() << " files in " << folder.string() << "\n";
    return 0;
}
