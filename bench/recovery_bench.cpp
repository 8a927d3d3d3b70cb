// Rewriting the recovery file after one change, with 10,000 participants: the text alone,
// the save as the program does it (temporary file flushed to disk, rename, folder flushed),
// and the same write without the flush, to show what the flush costs. Wall-clock time: the
// flush is time spent waiting for the disk, not computing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "base/atomicfile.h"
#include "details/recoveryfile.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

tMeldung Entry(int count) {
    tMeldung m;
    const char* const groups[] = {"U10", "U12", "U14", "U16", "U18", "Erwachsene"};
    std::vector<std::string> keys;
    for (const char* name : groups) {
        for (const char* gender : {"m", "w"}) {
            tAltersgruppe g{name, gender};
            keys.push_back(AgeGroupKey(g));
            m.Altersgruppenliste.Add(keys.back(), std::make_unique<tAltersgruppe>(g));
        }
    }
    for (int i = 0; i < count; ++i) {
        auto t = std::make_unique<tTeilnehmer>();
        t->Confirmed = true;
        t->Nachname = "M\xFCllermann" + std::to_string(i * 7919 % count);
        t->Vorname = "Vorname" + std::to_string(i);
        t->Altersgruppe = keys[static_cast<std::size_t>(i) % keys.size()];
        t->Jahrgang = std::to_string(2000 + i % 20);
        t->Graduierung = i % 23;
        t->Gewicht = "-" + std::to_string(30 + i % 60);
        t->Allkategorie = i % 3 == 0;
        const std::string key = ParticipantKey(*t);
        m.Teilnehmerliste.AddDistinct(key, std::move(t));
    }
    return m;
}

// The one change before each rewrite.
void Change(tMeldung& m, int round) {
    m.Teilnehmerliste.Object(round % m.Teilnehmerliste.Count()).Gewicht =
        "+" + std::to_string(round % 100);
}

class Folder {
public:
    Folder()
        : path_(fs::temp_directory_path() /
                ("kivrel-bench-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

void BM_RecoveryText10000(benchmark::State& state) {
    tMeldung m = Entry(10000);
    int round = 0;
    for (auto _ : state) {
        Change(m, ++round);
        benchmark::DoNotOptimize(RecoveryText(m, LocalNow()));
    }
}
BENCHMARK(BM_RecoveryText10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

void BM_RecoverySave10000(benchmark::State& state) {
    tMeldung m = Entry(10000);
    Folder folder;
    auto recovery = tRecovery::Take(folder.Path());
    if (!recovery || recovery->Pending()) {
        state.SkipWithError("no recovery file");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        Change(m, ++round);
        if (!recovery->Save(m)) {
            state.SkipWithError("the write failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(
                                                     folder.Path() / "Meldung.wiederherstellung")));
}
BENCHMARK(BM_RecoverySave10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(15);

// What the flush costs: the same text and safe write, without flushing.
void BM_RecoverySaveUnflushed10000(benchmark::State& state) {
    tMeldung m = Entry(10000);
    Folder folder;
    const fs::path path = folder.Path() / "Meldung.wiederherstellung";
    int round = 0;
    for (auto _ : state) {
        Change(m, ++round);
        if (!WriteFileAtomically(path, RecoveryText(m, LocalNow()), nullptr, FlushToDisk::No)) {
            state.SkipWithError("the write failed");
            break;
        }
    }
}
BENCHMARK(BM_RecoverySaveUnflushed10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15);

}  // namespace
}  // namespace kivrel
