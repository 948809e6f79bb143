#include "engine/premium.h"
#include "engine/territory.h"

#include <benchmark/benchmark.h>

#include <string>

// One press of "ОК": the nine field texts of a car policy parsed and multiplied.
static void BM_PremiumOfACar(benchmark::State &state)
{
    const engine::FactorTexts texts = {"1980", "2", "1", "1,3", "1", "1", "0,7", "0,7", "1"};
    for (auto _ : state) {
        auto outcome = engine::premiumFromTexts(engine::Category::Cars, false, texts);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_PremiumOfACar);

static void BM_PremiumOfAForeignVehicle(benchmark::State &state)
{
    const engine::FactorTexts texts = {"2375", "", "", "", "", "1", "", "0,7", ""};
    for (auto _ : state) {
        auto outcome = engine::premiumFromTexts(engine::Category::Foreign, false, texts);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_PremiumOfAForeignVehicle);

// One keystroke in the town search: the whole master list scanned for the typed beginning.
static void BM_TownSearchKeystroke(benchmark::State &state)
{
    const std::string typed = state.range(0) == 1 ? "н" : "ново";
    for (auto _ : state) {
        auto found = engine::findTowns(typed);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_TownSearchKeystroke)->Arg(1)->Arg(4);
