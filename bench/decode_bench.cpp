// Decoding the pictures the way the window does: a fresh picture per decode, dropped
// afterwards (every return from a city map to the province decodes again).

#include <benchmark/benchmark.h>

#include "pictures/picture.h"

namespace marventa {
namespace {

void decodeRepeatedly(benchmark::State& state, std::string_view holderName) {
    const PictureHolder& holder = PictureSet::embedded().holder(holderName);
    for (auto _ : state) {
        const Picture shown = decode(holder);
        benchmark::DoNotOptimize(shown.rgb().data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(holder.bytes().size()));
}

void BM_ProvinceDecode(benchmark::State& state) {
    decodeRepeatedly(state, kProvinceHolder);
}
void BM_CrownCityDecode(benchmark::State& state) {
    decodeRepeatedly(state, "crowncitymap");
}

BENCHMARK(BM_ProvinceDecode)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CrownCityDecode)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace marventa

BENCHMARK_MAIN();
