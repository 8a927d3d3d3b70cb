#include <benchmark/benchmark.h>

#include "participants/importreader.h"

namespace kivrel {
namespace {

constexpr int kRows = 10000;

// A member list as Excel exports it: Windows-1252, semicolons, CR LF, a few quoted fields.
std::string MemberList() {
    std::string csv =
        "Nachname;Vorname;Geburtsdatum;Gewicht;Gurt;Altersgruppe;Geschlecht;Verein\r\n";
    for (int i = 0; i < kRows; ++i) {
        csv += "M\xFCller" + std::to_string(i) + ";\"Vorname " + std::to_string(i) + "\";" + "0" +
               std::to_string(1 + i % 9) + ".05.20" + std::to_string(10 + i % 5) + ";-" +
               std::to_string(30 + i % 40) + ";" + std::to_string(1 + i % 9) + ". Kyu;U" +
               std::to_string(10 + 2 * (i % 4)) + ";" + (i % 2 ? "m" : "w") + ";\"TSV, Nord\"\r\n";
    }
    return csv;
}

// The entry's list that the rows are checked against.
tMeldung Entry() {
    tMeldung entry;
    entry.Altersgruppenliste.Add("U12 (m)",
                                 std::make_unique<tAltersgruppe>(tAltersgruppe{"U12", "m"}));
    for (int i = 0; i < kRows; ++i) {
        auto t = std::make_unique<tTeilnehmer>();
        t->Nachname = "Nachname" + std::to_string(i);
        t->Vorname = "Vorname" + std::to_string(i);
        t->Altersgruppe = "U12 (m)";
        t->Gewicht = "-30";
        const std::string key = ParticipantKey(*t);
        entry.Teilnehmerliste.AddDistinct(key, std::move(t));
    }
    return entry;
}

void BM_ReadAndCheckMemberList(benchmark::State& state) {
    const std::vector<tImportFile> files = {{"mitglieder.csv", MemberList()}};
    const tMeldung entry = Entry();
    for (auto _ : state) {
        tImportPlan plan =
            PrepareImport(files, entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
        if (plan.GoodRows() != kRows)
            state.SkipWithError("rows refused");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_ReadAndCheckMemberList)->Unit(benchmark::kMillisecond);

// Filing the checked rows into the list of 10,000.
void BM_ApplyMemberList(benchmark::State& state) {
    const std::vector<tImportFile> files = {{"mitglieder.csv", MemberList()}};
    const tMeldung base = Entry();
    const tImportPlan plan =
        PrepareImport(files, base.Teilnehmerliste, base.Altersgruppenliste, 2025);
    for (auto _ : state) {
        state.PauseTiming();
        tMeldung entry = Entry();
        state.ResumeTiming();
        ApplyImport(plan, entry.Teilnehmerliste, entry.Altersgruppenliste);
        benchmark::DoNotOptimize(entry);
    }
}
BENCHMARK(BM_ApplyMemberList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivrel
