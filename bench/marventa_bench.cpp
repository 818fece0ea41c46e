// The program's user-visible delays and memory, each beside the djpeg process on the same JPEG
// bytes and on the same picture in libjpeg's default progressive scan script, measured in one run
// and printed as a table of medians with their goals.
//
// Usage: marventa_bench [--runs N] [--round-trips N] [--program PATH] [--no-callgrind]
//   --runs         samples per timed figure (default 25)
//   --round-trips  province <-> city round trips for the memory growth (default 50)
//   --program      the marventa binary (default: ../ui/marventa beside this program)
//   --no-callgrind leave out the instruction counts (they take a while under valgrind)

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "callgrind_count.h"
#include "catalogue/city_directory.h"
#include "child_process.h"
#include "figure_table.h"
#include "pictures/picture.h"
#include "ui/application.h"
#include "window_session.h"

namespace fs = std::filesystem;
using namespace marventa;
using namespace marventa::bench;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kCrownCityHolder = "crowncitymap";
constexpr int kCrownCityButton = 17;
constexpr int kCategoryButton = 9;  // "Caves"
constexpr const char* kSpawnedVariable = "MARVENTA_BENCH_SPAWNED_NS";
constexpr int kRepaints = 201;
constexpr int kRamkas = 2001;

struct Options {
    int runs = 25;
    int roundTrips = 50;
    fs::path program;
    bool callgrind = true;
    bool startupProbe = false;  // internal: one start-up of the window, reported on stdout
};

Options parse(int argc, char** argv) {
    Options options;
    options.program = fs::path(argv[0]).parent_path() / ".." / "ui" / "marventa";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw std::invalid_argument(arg + " needs a value");
            }
            return argv[++i];
        };
        if (arg == "--runs") {
            options.runs = std::max(1, std::stoi(value()));
        } else if (arg == "--round-trips") {
            options.roundTrips = std::max(1, std::stoi(value()));
        } else if (arg == "--program") {
            options.program = value();
        } else if (arg == "--no-callgrind") {
            options.callgrind = false;
        } else if (arg == "--startup-probe") {
            options.startupProbe = true;
        } else {
            throw std::invalid_argument("unknown argument " + arg);
        }
    }
    return options;
}

long long nanosecondsNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

double milliseconds(long long us) {
    return static_cast<double>(us) / 1000.0;
}

double megabytes(long long kb) {
    return static_cast<double>(kb) * 1024.0 / 1e6;
}

void writePicture(const std::string& holder, const fs::path& file) {
    const auto bytes = PictureSet::embedded().holder(holder).bytes();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

// Drops a program file's pages from the page cache, so it is read back the way an installed
// program is. A file the linker has just written sits in the cache in large blocks, and the
// kernel maps a whole block into a process that touches one byte of it: the embedded pictures
// would count a few megabytes more than they do for an installed program.
void evictFromPageCache(const fs::path& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

// djpeg as the reference: the whole process, decoding to nowhere.
ChildRun djpeg(const fs::path& jpeg) {
    return runChild({"djpeg", "-dct", "int", "-outfile", "/dev/null", jpeg.string()});
}

// The same picture, the same coefficients and so the same pixels, in libjpeg's default
// progressive scan script: a reference that does not move when our encoder's script does.
fs::path inDefaultScript(const fs::path& jpeg) {
    fs::path out = jpeg;
    out.replace_extension(".default.jpg");
    runChild({"jpegtran", "-copy", "all", "-progressive", "-outfile", out.string(), jpeg.string()});
    return out;
}

std::string ratioNote(const char* what, double ours, double sameBytes, double defaultScript) {
    const auto ratio = [ours](double reference) { return reference > 0 ? ours / reference : 0.0; };
    char text[200];
    std::snprintf(text, sizeof text,
                  "%s: ours %.1f ms, djpeg %.1f ms (ratio %.2f), djpeg on the default script "
                  "%.1f ms (ratio %.2f)",
                  what, ours / 1000, sameBytes / 1000, ratio(sameBytes), defaultScript / 1000,
                  ratio(defaultScript));
    return text;
}

// ---- the start-up probe: runs in a child process, reports its phases ----

int startupProbe(int argc, char** argv) {
    const Clock::time_point entered = Clock::now();
    const char* spawned = std::getenv(kSpawnedVariable);
    const long long origin = spawned != nullptr ? std::atoll(spawned) : nanosecondsNow();
    const auto since = [origin](Clock::time_point t) {
        return (std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count() -
                origin) /
               1000;
    };
    PictureSet::embedded().prefetch(PictureSet::embedded().holder(kProvinceHolder));
    Application app(argc, argv);
    const Clock::time_point appReady = Clock::now();
    const long long appKb = residentKb();
    WindowSession session;
    const Clock::time_point built = Clock::now();
    const long long builtKb = residentKb();
    session.showAndWaitForFirstPaint();
    const StartupCounts& counts = session.startupCounts();
    std::printf(
        "probe main=%lld app=%lld form=%lld show=%lld paint=%lld painted=%lld frame=%lld "
        "decodes=%d "
        "image1Paints=%d image2Paints=%d viewResizes=%d realigns=%d appKb=%lld builtKb=%lld "
        "paintedKb=%lld peakKb=%lld\n",
        since(entered), since(appReady), since(built), since(session.shownAt()),
        since(session.firstPaintStartedAt()), since(session.firstPaintEndedAt()),
        since(session.firstFrameDoneAt()), counts.decodes, counts.image1Paints, counts.image2Paints,
        counts.viewResizes, counts.realigns, appKb, builtKb, residentKb(), peakResidentKb());
    std::fflush(stdout);
    return 0;
}

std::map<std::string, double> parseProbe(const std::string& line) {
    std::map<std::string, double> fields;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        const auto equals = word.find('=');
        if (equals != std::string::npos) {
            fields[word.substr(0, equals)] = std::atof(word.c_str() + equals + 1);
        }
    }
    return fields;
}

// ---- the figures ----

struct Run {
    Options options;
    fs::path self;
    fs::path provinceJpeg;
    fs::path crownJpeg;
    fs::path provinceDefault;  // the same pictures in libjpeg's default progressive script
    fs::path crownDefault;
    std::vector<Figure> figures;
    std::vector<std::string> details;
};

// Start-ups of the program until its first complete frame, each run after one of djpeg on
// either file: alternating keeps a change in machine load from favouring any.
struct StartupSamples {
    std::vector<double> ours, oursCpu, reference, referenceCpu, peak, referencePeak;
    std::vector<double> defaultScript, defaultScriptCpu;

    Figure figure(const std::string& name, double goal) const {
        Figure figure{name,
                      "ms",
                      milliseconds(median(ours)),
                      milliseconds(median(reference)),
                      "djpeg province",
                      goal,
                      true,
                      ratioNote("cpu (ours: whole process)", median(oursCpu), median(referenceCpu),
                                median(defaultScriptCpu))};
        figure.defaultScript = milliseconds(median(defaultScript));
        return figure;
    }
};

StartupSamples startupBesideDjpeg(const Run& run, const std::vector<std::string>& environment) {
    StartupSamples samples;
    for (int i = 0; i < run.options.runs; ++i) {
        const ChildRun d = djpeg(run.provinceJpeg);
        samples.reference.push_back(static_cast<double>(d.untilExitUs));
        samples.referenceCpu.push_back(static_cast<double>(d.cpuUs));
        samples.referencePeak.push_back(megabytes(d.peakRssKb));
        const ChildRun f = djpeg(run.provinceDefault);
        samples.defaultScript.push_back(static_cast<double>(f.untilExitUs));
        samples.defaultScriptCpu.push_back(static_cast<double>(f.cpuUs));
        const ChildRun m = runChild({run.options.program.string()}, environment, "painted");
        samples.ours.push_back(static_cast<double>(m.untilLineUs));
        samples.oursCpu.push_back(static_cast<double>(m.cpuUs));
        samples.peak.push_back(megabytes(m.peakRssKb));
    }
    return samples;
}

void startupFigures(Run& run) {
    const StartupSamples samples =
        startupBesideDjpeg(run, {"QT_QPA_PLATFORM=offscreen", "MARVENTA_EXIT_AFTER_FIRST_PAINT=1"});
    run.figures.push_back(samples.figure("process start -> province painted", 0.6));
    run.figures.push_back({"peak resident memory, province shown", "MB", median(samples.peak),
                           median(samples.referencePeak), "djpeg province", 70, false, ""});

    // Where the start-up goes, from a few probes of the same window in this harness.
    std::vector<std::map<std::string, double>> probes;
    for (int i = 0; i < std::min(run.options.runs, 5); ++i) {
        const ChildRun p =
            runChild({run.self.string(), "--startup-probe"},
                     {"QT_QPA_PLATFORM=offscreen",
                      std::string(kSpawnedVariable) + "=" + std::to_string(nanosecondsNow())},
                     "probe");
        probes.push_back(parseProbe(p.line));
    }
    const auto at = [&probes](const char* key) {
        std::vector<double> values;
        for (const auto& probe : probes) {
            values.push_back(probe.at(key));
        }
        return median(values);
    };
    const auto ms = [&at](const char* key) { return at(key) / 1000; };
    const auto mb = [&at](const char* key) { return megabytes(static_cast<long long>(at(key))); };
    char text[512];
    std::snprintf(text, sizeof text,
                  "start-up, ms after spawn (medians of %zu probes): main %.1f, application "
                  "ready %.1f, window built %.1f, shown %.1f, Image1's first paint begins %.1f, "
                  "ends %.1f, first frame complete %.1f",
                  probes.size(), ms("main"), ms("app"), ms("form"), ms("show"), ms("paint"),
                  ms("painted"), ms("frame"));
    run.details.push_back(text);
    std::snprintf(text, sizeof text,
                  "shown up to the first complete frame: %.0f decode(s), %.0f Image1 paint(s), "
                  "%.0f Image2 paint(s), %.0f main-view resize(s), %.0f frame refresh(es)",
                  at("decodes"), at("image1Paints"), at("image2Paints"), at("viewResizes"),
                  at("realigns"));
    run.details.push_back(text);
    std::snprintf(text, sizeof text,
                  "start-up, resident MB: application ready %.1f, window built %.1f, first frame "
                  "%.1f, peak %.1f",
                  mb("appKb"), mb("builtKb"), mb("paintedKb"), mb("peakKb"));
    run.details.push_back(text);
}

// ---- on an X server: Xvfb, started by the bench ----

// Start-up on a real display beside djpeg, and the peak memory beside two image viewers
// showing the same picture on the same display. Left out, with the reason, where Xvfb, a
// viewer or the display is missing.
void displayFigures(Run& run) {
    if (!onPath("Xvfb")) {
        run.details.push_back("Xvfb figures: left out (no Xvfb; Debian package xvfb)");
        return;
    }
    try {
        const VirtualDisplay display;
        const std::string displayVariable = "DISPLAY=" + display.name();
        const std::vector<std::string> environment{displayVariable, "QT_QPA_PLATFORM=xcb",
                                                   "MARVENTA_EXIT_AFTER_FIRST_PAINT=1"};
        // The server's first client pays for its set-up.
        runChild({run.options.program.string()}, environment, "painted");
        const StartupSamples samples = startupBesideDjpeg(run, environment);
        run.figures.push_back(samples.figure("process start -> province painted, Xvfb", 0.75));
        for (const char* viewer : {"feh", "nsxiv"}) {
            if (!onPath(viewer)) {
                run.details.push_back(std::string("peak memory beside ") + viewer +
                                      ": left out (not installed; Debian package " + viewer + ")");
                continue;
            }
            std::vector<double> viewerPeak;
            for (int i = 0; i < std::min(run.options.runs, 5); ++i) {
                const ChildRun v =
                    runUntilIdle({viewer, run.provinceJpeg.string()}, {displayVariable});
                viewerPeak.push_back(megabytes(v.peakRssKb));
            }
            run.figures.push_back({"peak resident memory, province shown, Xvfb", "MB",
                                   median(samples.peak), median(viewerPeak), viewer, 1.0, true,
                                   std::string(viewer) + " opening the same JPEG, until idle"});
        }
    } catch (const std::exception& error) {
        run.details.push_back(std::string("Xvfb figures: left out (") + error.what() + ")");
    }
}

// Medians of the phases of some map switches and of their CPU time beside djpeg's, as detail
// lines.
std::string phasesNote(const std::vector<SwitchPhases>& switches,
                       const std::vector<double>& referenceCpu,
                       const std::vector<double>& defaultScriptCpu) {
    std::vector<double> handler, wait, paint, rest, cpu;
    for (const SwitchPhases& phases : switches) {
        handler.push_back(static_cast<double>(phases.handlerUs));
        wait.push_back(static_cast<double>(phases.waitUs));
        paint.push_back(static_cast<double>(phases.paintUs));
        rest.push_back(static_cast<double>(phases.restOfFrameUs));
        cpu.push_back(static_cast<double>(phases.cpuUs));
    }
    char text[240];
    std::snprintf(text, sizeof text,
                  "click handler %.1f ms, until the paint %.1f ms, Image1's paint (decode and "
                  "drawing) %.1f ms, rest of the frame %.1f ms\n    ",
                  median(handler) / 1000, median(wait) / 1000, median(paint) / 1000,
                  median(rest) / 1000);
    return text + ratioNote("cpu", median(cpu), median(referenceCpu), median(defaultScriptCpu));
}

std::string growthNote(long long before, long long afterFirstPass, long long after, int trips) {
    char text[200];
    std::snprintf(text, sizeof text, "resident %.1f MB before, %.1f MB after", megabytes(before),
                  megabytes(after));
    std::string note = text;
    if (trips > static_cast<int>(kCityDirectory.size())) {
        std::snprintf(text, sizeof text,
                      "; of the growth, %.2f MB came with the first visit of each city",
                      megabytes(afterFirstPass - before));
        note += text;
    }
    return note;
}

// Map switches in the window, each after djpeg on both files of the map it switches to.
struct SwitchSamples {
    std::vector<double> ours, reference, referenceCpu, defaultScript, defaultScriptCpu;
    std::vector<SwitchPhases> phases;

    void referencesFor(const fs::path& jpeg, const fs::path& inDefaultScript) {
        const ChildRun same = djpeg(jpeg);
        reference.push_back(static_cast<double>(same.untilExitUs));
        referenceCpu.push_back(static_cast<double>(same.cpuUs));
        const ChildRun fixed = djpeg(inDefaultScript);
        defaultScript.push_back(static_cast<double>(fixed.untilExitUs));
        defaultScriptCpu.push_back(static_cast<double>(fixed.cpuUs));
    }

    void add(const SwitchPhases& switched) {
        phases.push_back(switched);
        ours.push_back(static_cast<double>(switched.totalUs()));
    }

    Figure figure(const std::string& name, const std::string& referenceName, double goal) const {
        Figure figure{name,
                      "ms",
                      milliseconds(median(ours)),
                      milliseconds(median(reference)),
                      referenceName,
                      goal,
                      true,
                      phasesNote(phases, referenceCpu, defaultScriptCpu)};
        figure.defaultScript = milliseconds(median(defaultScript));
        return figure;
    }
};

void windowFigures(Run& run, WindowSession& session) {
    SwitchSamples city, province;
    for (int i = 0; i < run.options.runs; ++i) {
        city.referencesFor(run.crownJpeg, run.crownDefault);
        city.add(session.chooseCity(kCrownCityButton));
        province.referencesFor(run.provinceJpeg, run.provinceDefault);
        province.add(session.chooseCategory(kCategoryButton));
    }
    run.figures.push_back(
        province.figure("return to the province (category click)", "djpeg province", 0.5));
    run.figures.push_back(city.figure("switch to \"Crown City\"", "djpeg crowncity", 0.5));

    std::vector<double> repaints;
    for (int i = 0; i < kRepaints; ++i) {
        repaints.push_back(session.repaintMainView());
    }
    run.figures.push_back({"full repaint of the main view", "us", median(repaints), std::nullopt,
                           "", 1000, false, ""});
    std::vector<double> ramkas;
    for (int i = 0; i < kRamkas; ++i) {
        ramkas.push_back(session.ramka());
    }
    run.figures.push_back({"Ramka", "us", median(ramkas), std::nullopt, "", 50, false, ""});

    // Round trips through every city, the province shown before and after.
    QCoreApplication::processEvents();
    const long long before = residentKb();
    long long afterFirstPass = before;
    for (int i = 0; i < run.options.roundTrips; ++i) {
        const CityEntry& cityEntry =
            kCityDirectory[static_cast<std::size_t>(i) % kCityDirectory.size()];
        session.chooseCity(cityEntry.radioButton);
        session.chooseCategory(kCategoryButton);
        if (i + 1 == static_cast<int>(kCityDirectory.size())) {
            afterFirstPass = residentKb();
        }
    }
    const long long after = residentKb();
    run.figures.push_back({"resident memory growth, " + std::to_string(run.options.roundTrips) +
                               " province <-> city round trips",
                           "MB", megabytes(after - before), std::nullopt, "", 2, false,
                           growthNote(before, afterFirstPass, after, run.options.roundTrips)});
}

void callgrindFigure(Run& run) {
    if (!run.options.callgrind) {
        run.details.push_back("instructions: left out (--no-callgrind)");
        return;
    }
    if (!haveValgrind()) {
        run.details.push_back("instructions: left out (valgrind not found)");
        return;
    }
    const fs::path firstDecode = run.self.parent_path() / "first_decode";
    const long long ours =
        callgrindInstructions({firstDecode.string(), "ProvinceMap"}, "marventa::decode(*");
    const auto djpegInstructions = [](const fs::path& jpeg) {
        return static_cast<double>(callgrindInstructions(
                   {"djpeg", "-dct", "int", "-outfile", "/dev/null", jpeg.string()})) /
               1e6;
    };
    // Judged on the same bytes: what our decoder adds to libjpeg's work.
    Figure figure{"instructions of one province decode",
                  "M",
                  static_cast<double>(ours) / 1e6,
                  djpegInstructions(run.provinceJpeg),
                  "djpeg process",
                  1.02,
                  true,
                  "callgrind; ours: decode() and what it calls"};
    figure.defaultScript = djpegInstructions(run.provinceDefault);
    figure.goalOnSameBytes = true;
    run.figures.push_back(figure);
}

std::string machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, model = "unknown CPU";
    while (std::getline(cpuinfo, line)) {
        if (line.starts_with("model name")) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    long long memoryKb = 0;
    meminfo >> key >> memoryKb;
    char text[256];
    std::snprintf(text, sizeof text, "%ld cores, %s, %.1f GB RAM", sysconf(_SC_NPROCESSORS_ONLN),
                  model.c_str(), static_cast<double>(memoryKb) * 1024 / 1e9);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    // The offscreen platform's notes on stderr say nothing about speed.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    try {
        const Options options = parse(argc, argv);
        if (options.startupProbe) {
            return startupProbe(argc, argv);
        }
        if (!fs::exists(options.program)) {
            throw std::runtime_error("no program at " + options.program.string() +
                                     " (use --program)");
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");

        Run run{options, fs::canonical("/proc/self/exe"), {}, {}, {}, {}, {}, {}};
        const fs::path work =
            fs::temp_directory_path() / ("marventa-bench-" + std::to_string(getpid()));
        fs::create_directories(work);
        run.provinceJpeg = work / "province.jpg";
        run.crownJpeg = work / "crowncity.jpg";
        writePicture(std::string(kProvinceHolder), run.provinceJpeg);
        writePicture(kCrownCityHolder, run.crownJpeg);
        run.provinceDefault = inDefaultScript(run.provinceJpeg);
        run.crownDefault = inDefaultScript(run.crownJpeg);
        evictFromPageCache(options.program);
        evictFromPageCache(run.self);
        djpeg(run.provinceJpeg);  // warms the page cache for both programs
        runChild({options.program.string()},
                 {"QT_QPA_PLATFORM=offscreen", "MARVENTA_EXIT_AFTER_FIRST_PAINT=1"}, "painted");

        const Clock::time_point start = Clock::now();
        startupFigures(run);
        displayFigures(run);
        {
            int appArgc = 1;
            char* appArgv[] = {argv[0], nullptr};
            Application app(appArgc, appArgv);
            WindowSession session;
            session.showAndWaitForFirstPaint();
            windowFigures(run, session);
        }
        callgrindFigure(run);
        fs::remove_all(work);

        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        char heading[512];
        std::snprintf(heading, sizeof heading,
                      "Map of Marventa, medians of %d runs (reference: djpeg -dct int -outfile "
                      "/dev/null, whole process, same run, on the same bytes and on the same "
                      "picture after jpegtran -copy all -progressive, libjpeg's default scan "
                      "script; MB = 10^6 bytes)\n"
                      "machine: %s; %.0f s",
                      options.runs, machine().c_str(), seconds);
        const int missed = printTable(run.figures, heading);
        for (const std::string& detail : run.details) {
            std::printf("%s\n", detail.c_str());
        }
        std::printf("%d of %zu goals met\n", static_cast<int>(run.figures.size()) - missed,
                    run.figures.size());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marventa_bench: %s\n", error.what());
        return 1;
    }
}
