// Build-time packer: writes the picture files into one stream of records, in the order given.
// Usage: pack_pictures <output> <holder>=<file.jpg|file.bmp> ...

#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "picture_record.h"

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

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 3) {
            throw std::runtime_error("usage: pack_pictures <output> <holder>=<file> ...");
        }
        std::vector<std::uint8_t> stream;
        for (int i = 2; i < argc; ++i) {
            const std::string_view argument = argv[i];
            const auto equals = argument.find('=');
            if (equals == std::string_view::npos) {
                throw std::runtime_error("expected <holder>=<file>: " + std::string(argument));
            }
            const std::string path(argument.substr(equals + 1));
            marventa::appendPictureRecord(stream, argument.substr(0, equals), tagFor(path),
                                          readFile(path));
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
