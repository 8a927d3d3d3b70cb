#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <map>

#include "app/tfrmmain.h"
#include "app/uisetup.h"
#include "memberlist.h"
#include "participants/inputrules.h"
#include "participants/tfrmimport.h"
#include "participants/tfrmteilnehmer.h"

namespace kivrel {
namespace {

// The preview without kept rules: nothing to propose.
const tRuleMemory kNoRules{[] { return tAgeRules(); }, [](const tAgeRules&) {}};

constexpr int kParticipants = 10000;

std::unique_ptr<tTeilnehmer> Participant(int i) {
    auto t = std::make_unique<tTeilnehmer>();
    t->Nachname = "Nachname" + std::to_string(i * 7919 % kParticipants);
    t->Vorname = "Vorname" + std::to_string(i);
    t->Altersgruppe = "U14 (m)";
    t->Jahrgang = "2011";
    t->Graduierung = i % 23;
    t->Gewicht = "-30";
    return t;
}

// A shown main window holding count participants, made once per count.
TfrmMain& Main(int count = kParticipants) {
    static std::map<int, std::unique_ptr<TfrmMain>> windows;
    std::unique_ptr<TfrmMain>& main = windows[count];
    if (!main) {
        main = std::make_unique<TfrmMain>();
        for (int i = 0; i < count; ++i) {
            auto t = Participant(i);
            const std::string key = ParticipantKey(*t);
            main->Meldung().Teilnehmerliste.AddDistinct(key, std::move(t));
        }
        main->show();
        main->FillParticipantGrid(0);
        QApplication::processEvents();
    }
    return *main;
}

// The refill with the layout and painting it sets off, which Qt would otherwise defer.
void Refill(TfrmMain& main, int select) {
    main.FillParticipantGrid(select);
    main.stgTeilnehmer2->viewport()->repaint();
}

void BM_GridRefill(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    TfrmMain& main = Main(count);
    int select = 0;
    for (auto _ : state) {
        Refill(main, select);
        select = (select + count / 2 - 1) % count;
    }
}
// The small list shows what painting the visible rows costs whatever the list's size.
BENCHMARK(BM_GridRefill)
    ->Arg(kParticipants)
    ->Arg(20)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5);

// As the insert action files a participant: add under its key, refill, select it.
void BM_AddParticipantWithRefill10000(benchmark::State& state) {
    TfrmMain& main = Main();
    tTeilnehmerliste& list = main.Meldung().Teilnehmerliste;
    int n = kParticipants;
    for (auto _ : state) {
        auto t = Participant(n++);
        t->Nachname = "Mittelmann";
        const std::string key = ParticipantKey(*t);
        Refill(main, list.AddDistinct(key, std::move(t)));
        state.PauseTiming();
        list.Delete(list.IndexOf(key));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddParticipantWithRefill10000)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// The editor's duplicate test against 10,000 others; a new name has to pass all of them.
void BM_DuplicateCheck10000(benchmark::State& state) {
    TfrmMain& main = Main();
    tAltersgruppenliste groups;
    TfrmTeilnehmer editor(groups);
    editor.ExistingNames = NamePairs(main.GridNames(), -1);
    editor.ediNachname->setText(QStringLiteral("Nachname5000x"));
    editor.ediVorname->setText(QStringLiteral("Vorname"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(NameTaken(editor.ExistingNames, "Nachname5000x", "Vorname"));
    }
}
BENCHMARK(BM_DuplicateCheck10000)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// What the editor prepares before each pass: the grid's name columns and its pairs.
void BM_EditorNamesFromGrid10000(benchmark::State& state) {
    TfrmMain& main = Main();
    for (auto _ : state)
        benchmark::DoNotOptimize(NamePairs(main.GridNames(), -1));
}
BENCHMARK(BM_EditorNamesFromGrid10000)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// A member list at the import's limit, 20,000 rows without age groups; with range(0) 1 its
// name columns are not named so, and every row's names are empty until they are assigned.
std::vector<tImportFile> LimitList(const benchmark::State& state) {
    std::string csv = bench::MemberList(static_cast<int>(kImportMaxRows));
    if (state.range(0))
        csv.replace(csv.find("Nachname;Vorname"), 16, "Name1;Name2");
    return {{"mitglieder.csv", csv}};
}

// Read, checked, and its preview opened and painted once.
void BM_ImportPreviewOpenAtLimit(benchmark::State& state) {
    const std::vector<tImportFile> files = LimitList(state);
    tMeldung entry;
    for (auto _ : state) {
        tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
        import.Read(files);
        TfrmImport preview(import, kNoRules);
        preview.show();
        preview.stgZeilen->viewport()->repaint();
    }
}
BENCHMARK(BM_ImportPreviewOpenAtLimit)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

// The open preview of the list at the limit.
struct tOpenPreview {
    explicit tOpenPreview(const benchmark::State& state)
        : import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025) {
        import.Read(LimitList(state));
        import.AddAgeGroup({"U12", "g"});
        import.AddAgeGroup({"U14", "g"});
        preview = std::make_unique<TfrmImport>(import, kNoRules);
        preview->show();
        QApplication::processEvents();
        preview->stgZeilen->setFocus();
        preview->stgZeilen->selectAll();
    }
    tMeldung entry;
    tImport import;
    std::unique_ptr<TfrmImport> preview;
};

// All rows selected and given one age group with the button, checked again and repainted.
void BM_ImportGiveAgeGroupToAllAtLimit(benchmark::State& state) {
    tOpenPreview open(state);
    TfrmImport& preview = *open.preview;
    int group = 0;
    for (auto _ : state) {
        preview.cbbAltersgruppe->setCurrentIndex(group);
        group = 1 - group;
        preview.btnZuweisen->click();
        preview.stgZeilen->viewport()->repaint();
    }
    if (open.import.Rows().back().Participant.Altersgruppe.empty())
        state.SkipWithError("no age group given");
}
BENCHMARK(BM_ImportGiveAgeGroupToAllAtLimit)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

// Space on all rows, ticking and clearing them in turns, checked again and repainted.
void BM_ImportTickAllAtLimit(benchmark::State& state) {
    tOpenPreview open(state);
    TfrmImport& preview = *open.preview;
    for (auto _ : state) {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(preview.stgZeilen, &space);
        preview.stgZeilen->viewport()->repaint();
    }
}
BENCHMARK(BM_ImportTickAllAtLimit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5);

// A weight class typed into one row of 10,000: that row is checked again.
void BM_ImportEditOneRow10000(benchmark::State& state) {
    tOpenPreview open(state);
    TfrmImport& preview = *open.preview;
    QAbstractItemModel& model = *preview.stgZeilen->model();
    const QModelIndex cell = model.index(kParticipants / 2, TfrmImport::colGewicht);
    int n = 0;
    for (auto _ : state) {
        model.setData(cell, n++ % 2 ? QStringLiteral("-30") : QStringLiteral("-36"));
        preview.stgZeilen->viewport()->repaint();
    }
}
BENCHMARK(BM_ImportEditOneRow10000)->Arg(0)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace
}  // namespace kivrel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivrel::SetUpGermanUi(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
