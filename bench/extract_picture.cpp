// Writes one embedded picture's file bytes, exactly as linked into the program.
// Usage: extract_picture <holder> <output file>

#include <cstdio>
#include <exception>
#include <fstream>

#include "pictures/picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: extract_picture <holder> <output file>\n");
        return 2;
    }
    try {
        const auto bytes = marventa::PictureSet::embedded().holder(argv[1]).bytes();
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "extract_picture: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "extract_picture: %s\n", error.what());
        return 1;
    }
    return 0;
}
