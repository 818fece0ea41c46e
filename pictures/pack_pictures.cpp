// Build-time packer: writes the picture files into one stream of records, one per holder: the
// province map, the city maps of the city directory, the overview bitmap.
// Usage: pack_pictures <output> <assets folder>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/city_directory.h"
#include "picture.h"

namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string_view tagFor(std::string_view path) {
    if (path.ends_with(".jpg")) {
        return marventa::kJpegTag;
    }
    if (path.ends_with(".bmp")) {
        return marventa::kBitmapTag;
    }
    throw std::runtime_error("neither .jpg nor .bmp: " + std::string(path));
}

// A city's map file is named after its caption: lower case, without spaces ("crowncity.jpg").
std::string cityFile(std::string_view caption) {
    std::string file;
    for (const char c : caption) {
        if (c != ' ') {
            file += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return file + ".jpg";
}

struct HolderFile {
    std::string_view holder;
    std::string path;
};

std::vector<HolderFile> holderFiles(const std::string& assets) {
    std::vector<HolderFile> files{{marventa::kProvinceHolder, assets + "/province.jpg"}};
    // The city maps in the order of their tables, as the holders are listed in the window.
    auto cities = marventa::kCityDirectory;
    std::ranges::sort(cities, {}, &marventa::CityEntry::table);
    for (const marventa::CityEntry& city : cities) {
        files.push_back({city.holder, assets + "/" + cityFile(city.caption)});
    }
    files.push_back({marventa::kOverviewHolder, assets + "/overview.bmp"});
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc != 3) {
            throw std::runtime_error("usage: pack_pictures <output> <assets folder>");
        }
        std::vector<std::uint8_t> stream;
        for (const HolderFile& file : holderFiles(argv[2])) {
            marventa::appendPictureRecord(stream, file.holder, tagFor(file.path),
                                          readFile(file.path));
        }
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(stream.data()),
                  static_cast<std::streamsize>(stream.size()));
        if (!out.flush()) {
            throw std::runtime_error(std::string("cannot write ") + argv[1]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pack_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
