// Drives the real window with seeded random events and checks the window's invariants after
// every one. SOAK_EVENTS and SOAK_SEED choose the length and the seed; a failure prints the
// seed and the events that led to it, for a replay.

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>

#include "tests/support/window/window_fixture.h"
#include "window_events.h"
#include "window_invariants.h"

namespace marventa {
namespace {

constexpr std::uint64_t kDefaultSeed = 20260607;
constexpr std::uint64_t kDefaultEvents = 3000;
constexpr std::size_t kEventsShownOnFailure = 25;

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 0) : fallback;
}

// Runs what the event queued: repaints (and so decodes), resizes, layout.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

TEST_F(WindowTest, KeepsItsInvariantsThroughSeededRandomEvents) {
    const std::uint64_t seed = fromEnvironment("SOAK_SEED", kDefaultSeed);
    const std::uint64_t count = fromEnvironment("SOAK_EVENTS", kDefaultEvents);
    std::printf("soak: %llu events, seed %llu\n", static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(seed));

    soak::WindowInvariants invariants(*form_);
    soak::WindowEvents events(*form_, seed);
    std::deque<std::string> recent;
    for (std::uint64_t i = 1; i <= count; ++i) {
        invariants.beforeEvent();
        const soak::SentEvent sent = events.next();
        recent.push_back("#" + std::to_string(i) + " " + sent.what);
        if (recent.size() > kEventsShownOnFailure) {
            recent.pop_front();
        }
        settle();
        const std::vector<std::string> problems = invariants.check(sent.keepsPositions);
        if (!problems.empty()) {
            std::ostringstream report;
            report << "after event " << i << " of seed " << seed << ":\n";
            for (const std::string& problem : problems) {
                report << "  " << problem << "\n";
            }
            report << "last events:\n";
            for (const std::string& event : recent) {
                report << "  " << event << "\n";
            }
            report << "replay: SOAK_SEED=" << seed << " SOAK_EVENTS=" << i
                   << " soak_tests --gtest_filter='*SeededRandomEvents'";
            FAIL() << report.str();
        }
    }
    std::printf("soak: %d rows picked, %d map changes, the label measured after %d events\n",
                invariants.rowsPicked(), invariants.pictureChanges(), invariants.labelsMeasured());
}

}  // namespace
}  // namespace marventa
