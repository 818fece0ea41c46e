// Times the first decode of one picture in a fresh process, as at program start, where no
// memory has been reused yet. Prints microseconds; run it many times for a median.
// Usage: first_decode [holder]   (default: the province map)

#include <chrono>
#include <cstdio>
#include <exception>

#include "display_picture.h"
#include "picture_set.h"

int main(int argc, char** argv) {
    try {
        const marventa::PictureHolder& holder = marventa::PictureSet::embedded().holder(
            argc > 1 ? std::string_view(argv[1]) : marventa::kProvinceHolder);
        const auto start = std::chrono::steady_clock::now();
        marventa::DisplayPicture shown(holder);
        // Reading a pixel keeps the decode observable.
        volatile std::uint8_t firstPixel = shown.pixels().rgb[0];
        static_cast<void>(firstPixel);
        const auto end = std::chrono::steady_clock::now();
        std::printf(
            "%lld\n",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "first_decode: %s\n", error.what());
        return 1;
    }
}
