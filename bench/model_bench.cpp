#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "model/konstanten.h"

namespace kivrel {
namespace {

// 10,000 participants with names in random order.
std::vector<std::pair<std::string, std::string>> Names(int count) {
    std::vector<std::pair<std::string, std::string>> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        names.emplace_back("Nachname" + std::to_string(i * 7919 % count),
                           "Vorname" + std::to_string(i));
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(42));
    return names;
}

void BM_SortedInsert10000(benchmark::State& state) {
    const auto names = Names(10000);
    for (auto _ : state) {
        tTeilnehmerliste list;
        for (const auto& [nachname, vorname] : names) {
            auto t = std::make_unique<tTeilnehmer>();
            t->Nachname = nachname;
            t->Vorname = vorname;
            const std::string key = ParticipantKey(*t);
            benchmark::DoNotOptimize(list.AddDistinct(key, std::move(t)));
        }
    }
}
BENCHMARK(BM_SortedInsert10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
}  // namespace kivrel
