// The entry writer against plain buffered writes of the same bytes into the same files, both
// through a temporary file and a rename: building the records should vanish next to the I/O.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "output/entryfile.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

constexpr int kParticipants = 10000;
constexpr int kGroups = 100;

struct tBench {
    tMeldung meldung;
    tUsedAgeGroups used;
    fs::path folder;
    std::string chosen;
    std::vector<fs::path> names;
    std::vector<std::string> bytes;  // what the writer put into each file

    tBench() {
        std::string pattern = (fs::temp_directory_path() / "kivrel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        chosen = (folder / "Meldung.tv4").string();

        meldung.Turnier = {"Stadtpokal 2026", 46095, "Musterstadt", "meldung@example.org"};
        meldung.Verein = {"TSV Musterstadt", "0815", "Nordkreis", "Ost", "Nordland", "", "GER"};
        meldung.Absender = {
            "Anna", "Berger", "Hauptstr. 1",     "12345", "Musterstadt", "01234 5678", "",
            "",     "",       "anna@example.org"};
        for (int g = 0; g < kGroups; ++g) {
            auto group = std::make_unique<tAltersgruppe>(
                tAltersgruppe{"Gruppe " + std::to_string(g), g % 2 ? "w" : "m"});
            const std::string key = AgeGroupKey(*group);
            meldung.Altersgruppenliste.Add(key, std::move(group));
        }
        for (int i = 0; i < kParticipants; ++i) {
            auto t = std::make_unique<tTeilnehmer>();
            t->Nachname = "Nachname" + std::to_string(i * 7919 % kParticipants);
            t->Vorname = "Vorname" + std::to_string(i);
            t->Altersgruppe = meldung.Altersgruppenliste.Key(i % kGroups);
            t->Jahrgang = std::to_string(2008 + i % 12);
            t->Graduierung = i % 23 - 1;
            t->Gewicht = (i % 3 ? "-" : "+") + std::to_string(30 + i % 60);
            t->Allkategorie = i % 2;
            t->Kata = i % 5 == 0;
            const std::string key = ParticipantKey(*t);
            meldung.Teilnehmerliste.AddDistinct(key, std::move(t));
        }
        used = UsedAgeGroups(meldung.Altersgruppenliste, meldung.Teilnehmerliste);
        names = EntryFileNames(chosen, used);
        WriteEntryFiles(chosen, used, meldung);
        for (const fs::path& name : names) {
            std::ifstream in(name, std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            bytes.push_back(content.str());
        }
    }
    ~tBench() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

tBench& Bench() {
    static tBench bench;
    return bench;
}

void BM_WriteEntryFiles(benchmark::State& state) {
    tBench& b = Bench();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteEntryFiles(b.chosen, b.used, b.meldung));
}

// The same bytes with stdio; `sync` flushes each file to disk as the writer's helper does.
void BufferedBaseline(benchmark::State& state, bool sync) {
    tBench& b = Bench();
    for (auto _ : state) {
        for (std::size_t i = 0; i < b.names.size(); ++i) {
            const std::string temporary = b.names[i].string() + ".tmp";
            std::FILE* file = std::fopen(temporary.c_str(), "wb");
            if (!file ||
                std::fwrite(b.bytes[i].data(), 1, b.bytes[i].size(), file) != b.bytes[i].size())
                std::abort();
            if (std::fflush(file) != 0 || (sync && ::fsync(::fileno(file)) != 0))
                std::abort();
            if (std::fclose(file) != 0 || std::rename(temporary.c_str(), b.names[i].c_str()) != 0)
                std::abort();
        }
    }
}

void BM_BufferedBaseline(benchmark::State& state) {
    BufferedBaseline(state, true);
}
void BM_BufferedBaselineNoSync(benchmark::State& state) {
    BufferedBaseline(state, false);
}

BENCHMARK(BM_WriteEntryFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_BufferedBaseline)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_BufferedBaselineNoSync)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly();

}  // namespace
}  // namespace kivrel
