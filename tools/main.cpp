// marventa-generate [repository root [--cities [caption]]]: paints every picture of the world and
// writes them into pictures/assets/ and ui/icons/. The same inputs always give the same bytes.
#include <QGuiApplication>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "catalogue/city_directory.h"
#include "tools/city/buildings/town.h"
#include "tools/city/city_checks.h"
#include "tools/city/city_layout.h"
#include "tools/city/city_table.h"
#include "tools/city/labels/city_names.h"
#include "tools/city/paint/city_painter.h"
#include "tools/common/world_places.h"
#include "tools/encode/bmp_writer.h"
#include "tools/encode/byte_writer.h"
#include "tools/encode/jpeg_writer.h"
#include "tools/icon/icon.h"
#include "tools/province/province.h"
#include "tools/sites/table_writer.h"

namespace fs = std::filesystem;
using namespace marventa;

namespace {

using Clock = std::chrono::steady_clock;

void report(const fs::path& file, std::size_t bytes, Clock::time_point since) {
    const std::chrono::duration<double> took = Clock::now() - since;
    std::printf("%-24s %9zu bytes  %6.1f s\n", file.filename().string().c_str(), bytes,
                took.count());
    std::fflush(stdout);
}

void warn(const std::vector<std::string>& faults) {
    for (const std::string& f : faults) {
        std::printf("  warning: %s\n", f.c_str());
    }
}

void writeBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes,
                Clock::time_point since) {
    writeFileBytes(file, bytes);
    report(file, bytes.size(), since);
}

void writeJpeg(const fs::path& file, const QImage& image, const JpegBudget& budget,
               Clock::time_point since) {
    const EncodedJpeg jpeg = encodeJpegWithinBudget(image, budget);
    writeFileBytes(file, jpeg.bytes);
    report(file, jpeg.bytes.size(), since);
    std::printf("  %-22s %22d\n", "quality", jpeg.quality);
}

void writeProvince(const fs::path& root, const fs::path& dir) {
    const auto start = Clock::now();
    const Province province = makeProvince();
    writeProvinceTables(root, province.places);
    // Start-up and every return to the province decode it: kept under 2.0 MB so that richer
    // content does not make that decode slower. Made at no more than quality 88, which keeps the
    // paper's grain, so that more ink drawn on it lowers the quality no further than it must.
    writeJpeg(dir / "province.jpg", province.map, {1'000'000, 2'000'000, 2'000'000, 88, 85}, start);
    const QImage overview =
        province.map.scaled(200, 162, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    writeBytes(dir / "overview.bmp", encodeBmp24(overview), start);
}

// A city map's file: its name in lower case without spaces.
std::string cityFile(std::string_view caption) {
    std::string file;
    for (char c : caption) {
        if (c != ' ') {
            file += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return file + ".jpg";
}

// Each city's plan, its map, and its table of doors, which the plan decides.
void writeCities(const fs::path& root, std::string_view only) {
    for (const CityEntry& city : kCityDirectory) {
        if (!only.empty() && city.caption != only) {
            continue;
        }
        const auto start = Clock::now();
        const QString title =
            QString::fromUtf8(city.caption.data(), static_cast<qsizetype>(city.caption.size()));
        plan::Town town =
            plan::buildTown(cityLayout(city.table), QSize(city.mapWidth, city.mapHeight),
                            cityBuildings(city.table));
        const plan::NamePlan names = plan::placeNames(town, title);
        warn(checkTown(town, names));
        const QImage map = paintCity(town, names, title);
        writeJpeg(root / "pictures" / "assets" / cityFile(city.caption), map,
                  {60'000, 420'000, 420'000, 92, 80}, start);
        const std::string table = cityTableSource(city, town);
        fs::create_directories((root / cityTableFile(city)).parent_path());
        writeBytes(root / cityTableFile(city),
                   std::vector<std::uint8_t>(table.begin(), table.end()), start);
    }
}

void writeIcons(const fs::path& dir) {
    const auto start = Clock::now();
    fs::create_directories(dir);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const fs::path file = dir / ("marventa-" + std::to_string(size) + ".png");
        if (!paintIcon(size).save(QString::fromStdString(file.string()), "PNG")) {
            throw std::runtime_error("cannot write " + file.string());
        }
        report(file, fs::file_size(file), start);
    }
    const std::vector<IconImage> images{quantiseIcon(paintIcon(32, false), 4),
                                        quantiseIcon(paintIcon(16, false), 4),
                                        quantiseIcon(paintIcon(32), 8)};
    writeBytes(dir / "marventa.ico", encodeIco(images), start);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    // `--cities [caption]` repaints the city maps alone, or the one city; `--province` the
    // province alone.
    const bool citiesOnly = argc > 2 && std::string_view(argv[2]) == "--cities";
    const bool provinceOnly = argc > 2 && std::string_view(argv[2]) == "--province";
    const std::string_view onlyCity = citiesOnly && argc > 3 ? argv[3] : "";
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(MARVENTA_SOURCE_DIR);
    const auto start = Clock::now();
    try {
        const fs::path assets = root / "pictures" / "assets";
        fs::create_directories(assets);
        if (!citiesOnly) {
            writeProvince(root, assets);
        }
        if (provinceOnly) {
            return 0;
        }
        writeCities(root, onlyCity);
        if (!citiesOnly) {
            writeIcons(root / "ui" / "icons");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "marventa-generate: %s\n", e.what());
        return 1;
    }
    const std::chrono::duration<double> took = Clock::now() - start;
    std::printf("generated in %.1f s\n", took.count());
    return 0;
}
