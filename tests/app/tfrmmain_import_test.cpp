#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "details/storeddetails.h"
#include "output/entryfile.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmimport.h"
#include "participants/tfrmregeln.h"
#include "support/entrybuilder.h"
#include "support/exampleentry.h"
#include "support/modalscript.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kivrel {
namespace {

using namespace test;

QStringList Column(const QAbstractItemModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells << model.index(row, column).data().toString();
    return cells;
}

// Every column of the preview as wide as its contents and its heading.
void ExpectColumnsFit(const TfrmImport& preview) {
    const QTableView& grid = *preview.stgZeilen;
    for (int c = 0; c < TfrmImport::kColumnCount; ++c) {
        if (grid.isColumnHidden(c))
            continue;
        EXPECT_GE(grid.columnWidth(c), grid.horizontalHeader()->sectionSizeHint(c)) << c;
        for (int row = 0; row < grid.model()->rowCount(); ++row) {
            const QString text = grid.model()->index(row, c).data().toString();
            EXPECT_LT(grid.fontMetrics().horizontalAdvance(text), grid.columnWidth(c))
                << text.toStdString();
        }
    }
}

// Checks the preview, its texts fitting, then clicks OK or presses Escape.
ModalScript::Step Preview(const QString& summary, const QStringList& results, bool ok,
                          const char* screenshot = nullptr) {
    return [=](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        EXPECT_EQ(preview.lblSumme->text(), summary);
        EXPECT_EQ(Column(*preview.stgZeilen->model(), TfrmImport::colErgebnis), results);
        ExpectColumnsFit(preview);
        for (const QLabel* label : {preview.lblSumme, preview.lblAltersgruppen})
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
        if (screenshot && !folder.isEmpty()) {
            EXPECT_TRUE(preview.grab().save(QDir(folder).filePath(QLatin1String(screenshot))));
        }
        if (ok)
            QTest::mouseClick(preview.btnOK, Qt::LeftButton);
        else
            Press(preview, Qt::Key_Escape);
    };
}

// The main window, shown, with a store of its own.
class MainWindowImport : public testing::Test {
protected:
    MainWindowImport() {
        config.Set("XDG_CONFIG_HOME", store.path().string());
        main.show();
        main.FirstActivation = false;  // the start-up dialogue has tests of its own
        Activate(main);
    }

    TempDir store;
    ScopedEnv config;
    ScriptedBoxes boxes;
    TfrmMain main;
};

TEST_F(MainWindowImport, MemberListAndEarlierEntryFilesComeInThroughTheRealDialogs) {
    EXPECT_TRUE(main.actTeilnehmerImportieren->isEnabled());

    TempDir dir;
    WriteFileBytes(dir.path() / "mitglieder.csv",
                   Win1252("Name;Vorname;Geburtsdatum;Gewicht;Gurt;Altersgruppe;Geschlecht\r\n"
                           "Adler;Ben;01.02.2015;-30;7. Kyu;U12;männlich\r\n"
                           "Zorn;Uwe;2015;-30;;;m\r\n"
                           "Bäcker;Lena;2012;-44;;U15;weiblich\r\n"));
    WriteFileBytes(dir.path() / "leer.csv", "");
    const tMeldung example = ExampleEntry();
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), Used(example), example));

    // Abbrechen imports nothing, OK all good rows with their new age groups.
    const QStringList csvResults = {
        QStringLiteral("wird übernommen"),
        QStringLiteral("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."),
        QStringLiteral("wird übernommen")};
    const QString csvSummary = QStringLiteral("2 Teilnehmer werden übernommen, 1 Zeile nicht.");
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv")))
            .Then(Preview(csvSummary, csvResults, false));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_TRUE(main.Meldung().Teilnehmerliste.Empty());
    EXPECT_TRUE(main.Meldung().Altersgruppenliste.Empty());
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv")))
            .Then(Preview(csvSummary, csvResults, true, "kivrel-import.png"));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(Column(main.GridModel(), 0), QStringList({"Adler", "Bäcker"}));
    EXPECT_EQ(Column(main.GridModel(), 2), QStringList({"2015", "2012"}));
    EXPECT_EQ(Column(main.GridModel(), 3), QStringList({"U12 (m)", "U15 (w)"}));
    EXPECT_EQ(Column(main.GridModel(), 7), QStringList({"7. Kyu", " "}));
    EXPECT_TRUE(main.actTeilnehmerBearbeiten->isEnabled());

    // Two entry files at once, the folder of the last import proposed: Ben Adler is there.
    {
        ModalScript script;
        script.Then(TypeFileName("\"StadtpokalU12 (m).tv4\" \"StadtpokalU15 (w).tv4\""))
            .Then(Preview(QStringLiteral("2 Teilnehmer werden übernommen, 1 Zeile nicht."),
                          {QStringLiteral("Der Teilnehmer Ben Adler wurde bereits eingegeben."),
                           QStringLiteral("wird übernommen"), QStringLiteral("wird übernommen")},
                          true));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(Column(main.GridModel(), 0), QStringList({"Adler", "Bäcker", "Kurz", "Lange"}));
    EXPECT_EQ(main.Meldung().Altersgruppenliste.Count(), 2);
    // OK asked each time about the ticked row it leaves out.
    const std::string leftOut = Win1252(
        "1 angekreuzte Zeile ist noch nicht vollständig und wird nicht übernommen.\nTrotzdem "
        "übernehmen?");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>({leftOut, leftOut}));
    boxes.clear();

    // A file with nothing to import: the message alone, no preview.
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("leer.csv")));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Die Datei leer.csv ist leer."});
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 4);
}

// A member list as Calc exports it, tab-separated, with no tournament columns: the starters
// get their age group and weight class in the preview, the file stays as it is.
TEST_F(MainWindowImport, MemberListIsCompletedInThePreviewWithoutTouchingTheFile) {
    TempDir dir;
    const std::string list =
        "Mitgliedsnr\tNachname\tVorn.\tGeb.-Datum\tGeschlecht\tGürtel\tGewicht (kg)\r\n"
        "7\tAdler\tBen\t03.05.15\tmännlich\tgelb\t31,5\r\n"
        "8\tBauer\tMia\t12.11.14\tweiblich\t5. Kyu\t\r\n"
        "9\tConrad\tUdo\t01.02.80\tmännlich\t1. Dan\t\r\n";
    WriteFileBytes(dir.path() / "mitglieder.csv", "\xEF\xBB\xBF" + list);

    // The first Vorname column is not named so: the user assigns it, and the program
    // remembers it for the next list with this heading.
    const auto complete = [&](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        QAbstractItemModel& model = *preview.stgZeilen->model();
        EXPECT_EQ(preview.lblSumme->text(),
                  QStringLiteral("3 Zeilen gelesen. Bitte kreuzen Sie unter „Start“ die "
                                 "Teilnehmer an, die starten (Leertaste: die markierten "
                                 "Zeilen)."));
        // A body weight in kg is no weight class.
        EXPECT_EQ(preview.cbbSpalte[fldGewicht]->currentText(), QStringLiteral("(keine)"));
        EXPECT_EQ(preview.cbbSpalte[fldVorname]->currentText(), QStringLiteral("(keine)"));
        EXPECT_EQ(preview.cbbSpalte[fldJahrgang]->currentText(), QStringLiteral("Geb.-Datum"));
        EXPECT_TRUE(preview.lblDateifehler->text().startsWith(QStringLiteral(
            "Die Datei mitglieder.csv enthält keine Spalten „Nachname“ und „Vorname“")));
        preview.cbbSpalte[fldVorname]->setCurrentIndex(3);
        EXPECT_TRUE(preview.lblDateifehler->isHidden());
        EXPECT_EQ(Column(model, TfrmImport::colVorname), QStringList({"Ben", "Mia", "Udo"}));
        EXPECT_EQ(Column(model, TfrmImport::colJahrgang), QStringList({"2015", "2014", "1980"}));
        EXPECT_EQ(Column(model, TfrmImport::colGraduierung), QStringList({"", "5. Kyu", "1. Dan"}));

        // Sorted by year, the younger two are one block: Mia and Ben start in a new mixed
        // group, made on the way.
        QTest::mouseClick(
            preview.stgZeilen->horizontalHeader()->viewport(), Qt::LeftButton, {},
            QPoint(preview.stgZeilen->columnViewportPosition(TfrmImport::colJahrgang) + 5, 5));
        EXPECT_EQ(Column(model, TfrmImport::colVorname), QStringList({"Udo", "Mia", "Ben"}));
        // Space ticks the selected rows, and again clears them.
        const auto ticks = [&] {
            QList<int> states;
            for (int row = 0; row < model.rowCount(); ++row)
                states << model.index(row, TfrmImport::colStart).data(Qt::CheckStateRole).toInt();
            return states;
        };
        preview.stgZeilen->setFocus();
        preview.stgZeilen->selectAll();
        QTest::keyClick(preview.stgZeilen, Qt::Key_Space);
        EXPECT_EQ(ticks(), QList<int>({Qt::Checked, Qt::Checked, Qt::Checked}));
        QTest::keyClick(preview.stgZeilen, Qt::Key_Space);
        EXPECT_EQ(ticks(), QList<int>({Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
        preview.stgZeilen->selectRow(1);
        QTest::keyClick(preview.stgZeilen, Qt::Key_Down, Qt::ShiftModifier);
        ModalScript group;
        group.Then([](QWidget& g) {
            auto& dialog = As<TfrmAltersgruppe>(g);
            Type(dialog, QStringLiteral("U12"));
            dialog.cbbGeschlecht->setCurrentIndex(2);
            Press(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(preview.btnNeu, Qt::LeftButton);
        EXPECT_EQ(preview.cbbAltersgruppe->currentText(), QStringLiteral("U12 (g)"));
        QTest::mouseClick(preview.btnZuweisen, Qt::LeftButton);
        EXPECT_EQ(Column(model, TfrmImport::colAltersgruppe),
                  QStringList({"", "U12 (g)", "U12 (g)"}));
        const QString weight =
            QStringLiteral("Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an.");
        // Udo does not start: his row needs no reason.
        EXPECT_EQ(Column(model, TfrmImport::colErgebnis), QStringList({"", weight, weight}));

        // Weight classes typed into the grid, by the editor's key rule: the 3 before the
        // sign is dropped.
        for (const auto& [row, keys] : {std::pair(2, "3-32"), std::pair(1, "-36")}) {
            const QModelIndex cell = model.index(row, TfrmImport::colGewicht);
            preview.stgZeilen->setCurrentIndex(cell);
            QTest::keyClick(preview.stgZeilen, Qt::Key_F2);
            auto* edit = qobject_cast<QLineEdit*>(preview.stgZeilen->indexWidget(cell));
            ASSERT_NE(edit, nullptr);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromLatin1(keys));
            QTest::keyClick(edit, Qt::Key_Return);
            QApplication::processEvents();
            ASSERT_TRUE(preview.isVisible());  // Enter took the typed class, nothing more
        }
        EXPECT_EQ(Column(model, TfrmImport::colGewicht), QStringList({"", "-36", "-32"}));
        EXPECT_EQ(Column(model, TfrmImport::colErgebnis)[2],
                  "Die Graduierung „gelb“ ist unbekannt; bitte wählen Sie sie aus.");
        // Ben's belt is picked from the editor's grades.
        const QModelIndex grade = model.index(2, TfrmImport::colGraduierung);
        preview.stgZeilen->setCurrentIndex(grade);
        QTest::keyClick(preview.stgZeilen, Qt::Key_F2);
        auto* grades = qobject_cast<QComboBox*>(preview.stgZeilen->indexWidget(grade));
        ASSERT_NE(grades, nullptr);
        grades->setCurrentIndex(3);
        QTest::keyClick(grades, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Column(model, TfrmImport::colGraduierung),
                  QStringList({"1. Dan", "5. Kyu", "7. Kyu"}));
        EXPECT_EQ(Column(model, TfrmImport::colErgebnis),
                  QStringList({"", "wird übernommen", "wird übernommen"}));
        EXPECT_EQ(preview.lblSumme->text(), QStringLiteral("2 Teilnehmer werden übernommen."));
        EXPECT_EQ(preview.lblAltersgruppen->text(), QStringLiteral("Neue Altersgruppen: U12 (g)"));
        ExpectColumnsFit(preview);
        const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
        if (!folder.isEmpty())
            preview.grab().save(QDir(folder).filePath(QStringLiteral("kivrel-import-members.png")));
        QTest::mouseClick(preview.btnOK, Qt::LeftButton);
    };
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv"))).Then(complete);
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(Column(main.GridModel(), 0), QStringList({"Adler", "Bauer"}));
    EXPECT_EQ(Column(main.GridModel(), 3), QStringList({"U12 (g)", "U12 (g)"}));
    EXPECT_EQ(Column(main.GridModel(), 7), QStringList({"7. Kyu", "5. Kyu"}));
    EXPECT_EQ(main.Meldung().Altersgruppenliste.Count(), 1);
    EXPECT_TRUE(boxes.shown().empty());

    // The same heading again, in Windows-1252 this time: the columns come as assigned.
    WriteFileBytes(dir.path() / "neu.csv", Win1252(list));
    ModalScript script;
    script.Then(TypeFileName(dir.file("neu.csv"))).Then([](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        EXPECT_EQ(preview.cbbSpalte[fldVorname]->currentText(), QStringLiteral("Vorn."));
        preview.stgZeilen->setFocus();
        preview.stgZeilen->selectAll();
        QTest::keyClick(preview.stgZeilen, Qt::Key_Space);
        EXPECT_EQ(Column(*preview.stgZeilen->model(), TfrmImport::colErgebnis),
                  QStringList({"Der Teilnehmer Ben Adler wurde bereits eingegeben.",
                               "Der Teilnehmer Mia Bauer wurde bereits eingegeben.",
                               "Bitte wählen die Altersgruppe aus, in der Teilnehmer starten "
                               "soll."}));
        Press(preview, Qt::Key_Escape);
    });
    main.actTeilnehmerImportieren->trigger();
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 2);
}

// A member list completed from the keyboard alone, and none of the ways a key or a click
// could throw that work away: a second Return, a new column assignment, Escape, typing over a
// cell.
TEST_F(MainWindowImport, PreviewIsCompletedFromTheKeyboardAndNeverLosesWorkSilently) {
    main.Meldung().Altersgruppenliste.Add(
        "U12 (g)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U12", "g"}));
    TempDir dir;
    // As Calc writes it: dates with a time, a body weight in kg, a short last row.
    WriteFileBytes(dir.path() / "mitglieder.csv",
                   "Mitgliedsnr.;Nachname;Vorname;Geb.-Datum;Geschlecht;Gurt;Gewicht\r\n"
                   "1;Adler;Ben;03.05.2015 00:00;m;gelb;31,5\r\n"
                   "2;Bauer;Mia;2014-11-12T00:00:00;w;5. Kyu;28,0\r\n"
                   "3;Yıldız;Ali;2015;m;;40,2\r\n"
                   "4;Conrad;Udo\r\n");
    const auto complete = [&](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        QTableView& grid = *preview.stgZeilen;
        QAbstractItemModel& model = *grid.model();
        const auto cell = [&](int row, int column) { return model.index(row, column).data(); };
        const auto type = [&](const QString& keys) {
            QTest::keyClick(&grid, keys.at(0).toLatin1());  // starts the typing, text selected
            QWidget* edit = grid.indexWidget(grid.currentIndex());
            ASSERT_NE(edit, nullptr);
            QTest::keyClicks(edit, keys.mid(1));
            QTest::keyClick(edit, Qt::Key_Return);
            QApplication::processEvents();
        };
        const auto go = [&](int column) {
            while (grid.currentIndex().column() != column)
                QTest::keyClick(
                    &grid, grid.currentIndex().column() < column ? Qt::Key_Right : Qt::Key_Left);
        };
        EXPECT_EQ(preview.cbbSpalte[fldGewicht]->currentText(), QStringLiteral("(keine)"));
        EXPECT_EQ(preview.cbbAltersgruppe->currentText(), QStringLiteral("U12 (g)"));
        EXPECT_EQ(Column(model, TfrmImport::colJahrgang),
                  QStringList({"2015", "2014", "2015", ""}));
        EXPECT_EQ(cell(2, TfrmImport::colNachname).toString(), QStringLiteral("Yıldız"));
        // Not by colour alone, and for a screen reader too: the letter underlined and named;
        // a box read by its column and the file's row.
        EXPECT_TRUE(
            model.index(2, TfrmImport::colNachname).data(Qt::FontRole).value<QFont>().underline());
        EXPECT_EQ(model.index(2, TfrmImport::colNachname).data(Qt::AccessibleDescriptionRole),
                  QStringLiteral("Der Nachname „Yıldız“ enthält das Zeichen „ı“, das in der "
                                 "Meldedatei nicht stehen kann. Bitte ändern Sie den Namen."));
        EXPECT_EQ(model.index(1, TfrmImport::colStart).data(Qt::AccessibleTextRole),
                  QStringLiteral("Start, Zeile 3"));

        // Space ticks, with no row marked (the grid reached with Tab) the focused one; Shift+Up
        // takes two rows, Zuweisen gives them the age group.
        grid.setFocus();
        grid.setCurrentIndex(model.index(0, TfrmImport::colStart));
        grid.selectionModel()->clearSelection();
        QTest::keyClick(&grid, Qt::Key_Space);
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Space);
        QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
        QTest::mouseClick(preview.btnZuweisen, Qt::LeftButton);
        EXPECT_EQ(Column(model, TfrmImport::colAltersgruppe),
                  QStringList({"U12 (g)", "U12 (g)", "", ""}));

        // Typing replaces a cell's text; Return goes to the row below, twice, and never to OK.
        grid.setFocus();
        grid.setCurrentIndex(model.index(0, TfrmImport::colStart));
        go(TfrmImport::colGewicht);
        type(QStringLiteral("-30"));
        QTest::keyClick(&grid, Qt::Key_Up);
        type(QStringLiteral("-34"));
        EXPECT_EQ(grid.currentIndex().row(), 1);
        QTest::keyClick(&grid, Qt::Key_Return);
        EXPECT_EQ(grid.currentIndex().row(), 2);
        ASSERT_TRUE(preview.isVisible());
        EXPECT_EQ(Column(model, TfrmImport::colGewicht), QStringList({"-34", "", "", ""}));

        // Ali's letter is named; his surname is typed anew, and his row then needs its group.
        QTest::keyClick(&grid, Qt::Key_Space);
        EXPECT_EQ(cell(2, TfrmImport::colErgebnis).toString(),
                  QStringLiteral("Der Nachname „Yıldız“ enthält das Zeichen „ı“, das in der "
                                 "Meldedatei nicht stehen kann. Bitte ändern Sie den Namen."));
        go(TfrmImport::colNachname);
        // Opened and closed unchanged, the name keeps its letter and the row its reason.
        QTest::keyClick(&grid, Qt::Key_F2);
        QTest::keyClick(grid.indexWidget(grid.currentIndex()), Qt::Key_Return);
        QApplication::processEvents();
        QTest::keyClick(&grid, Qt::Key_Up);
        EXPECT_EQ(cell(2, TfrmImport::colNachname).toString(), QStringLiteral("Yıldız"));
        type(QStringLiteral("Yildiz"));
        EXPECT_EQ(cell(2, TfrmImport::colErgebnis).toString(),
                  QStringLiteral("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten "
                                 "soll."));
        grid.setCurrentIndex(model.index(2, TfrmImport::colStart));
        QTest::keyClick(&grid, Qt::Key_Space);
        // In the Kata column Space ticks Kata; Ctrl+Space adds a row to the selection.
        go(TfrmImport::colKata);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(&grid, Qt::Key_Space, Qt::ControlModifier);
        EXPECT_EQ(preview.SelectedRows(), (std::vector<std::size_t>{2, 3}));
        QTest::keyClick(&grid, Qt::Key_Space);
        EXPECT_EQ(model.index(3, TfrmImport::colKata).data(Qt::CheckStateRole), Qt::Checked);
        EXPECT_EQ(model.index(3, TfrmImport::colStart).data(Qt::CheckStateRole), Qt::Unchecked);
        QTest::keyClick(&grid, Qt::Key_Space);

        // Another column assignment keeps the ticks, the group and the typed class.
        preview.cbbSpalte[fldGeschlecht]->setCurrentIndex(0);
        EXPECT_EQ(Column(model, TfrmImport::colGewicht), QStringList({"-34", "", "", ""}));
        EXPECT_EQ(Column(model, TfrmImport::colAltersgruppe),
                  QStringList({"U12 (g)", "U12 (g)", "", ""}));
        EXPECT_EQ(model.index(0, TfrmImport::colStart).data(Qt::CheckStateRole), Qt::Checked);
        EXPECT_EQ(Column(model, TfrmImport::colNachname),
                  QStringList({"Adler", "Bauer", "Yildiz", "Conrad"}));

        // Escape asks before the work is gone; OK asks about the rows it would leave out.
        boxes.Answer(false);
        Press(preview, Qt::Key_Escape);
        ASSERT_TRUE(preview.isVisible());
        boxes.Answer(false);
        QTest::mouseClick(preview.btnOK, Qt::LeftButton);
        ASSERT_TRUE(preview.isVisible());
        EXPECT_EQ(boxes.texts(),
                  (std::vector<std::string>{
                      Win1252("Die Änderungen in der Vorschau gehen verloren. Abbrechen?"),
                      Win1252("1 angekreuzte Zeile ist noch nicht vollständig und wird nicht "
                              "übernommen. 1 Teilnehmer wird ohne Graduierung übernommen.\n"
                              "Trotzdem übernehmen?")}));
        boxes.clear();
        grid.setCurrentIndex(model.index(1, TfrmImport::colStart));
        go(TfrmImport::colGewicht);
        type(QStringLiteral("-30"));
        QTest::mouseClick(preview.btnOK, Qt::LeftButton);
    };
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv"))).Then(complete);
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{Win1252("1 Teilnehmer wird ohne Graduierung übernommen.\n"
                                               "Trotzdem übernehmen?")});
    EXPECT_EQ(Column(main.GridModel(), 0), QStringList({"Adler", "Bauer"}));
    EXPECT_EQ(Column(main.GridModel(), 7), QStringList({" ", "5. Kyu"}));
}

// The rules of two age groups, typed once into the rules dialog and kept: a club's member
// list is then completed by ticking the starters and taking the proposals, with the same
// entry files as when every value is typed by hand.
TEST_F(MainWindowImport, KeptRulesCompleteAMemberListInAFewActions) {
    const auto typeRule = [](TfrmRegeln& dialog, const QStringList& cells) {
        QTest::mouseClick(dialog.btnNeu, Qt::LeftButton);  // the name's cell is open
        for (const QString& text : cells) {
            Type(dialog, text);
            Press(dialog, text == cells.back() ? Qt::Key_Return : Qt::Key_Tab);
            QApplication::processEvents();
        }
    };
    {
        ModalScript script;
        script.Then([&](QWidget& w) {
            auto& dialog = As<TfrmRegeln>(w);
            typeRule(dialog, {"U14", "w", "2012", "2013", "-30 -34 +34"});
            typeRule(dialog, {"U14", "m", "2012", "2013", "-30 -34 -38 +38"});
            typeRule(dialog, {"Jugend", "g", "2013", "2016", ""});
            const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
            if (!folder.isEmpty())
                dialog.grab().save(QDir(folder).filePath(QStringLiteral("kivrel-rules.png")));
            // Overlapping rules are named, and the cell shown; nothing is kept yet.
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
            ASSERT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.stgRegeln->currentRow(), 2);
            EXPECT_EQ(dialog.stgRegeln->currentColumn(), TfrmRegeln::colVon);
            QTest::mouseClick(dialog.btnLoeschen, Qt::LeftButton);
            QTest::mouseClick(dialog.btnNeu, Qt::LeftButton);  // a row left blank is no rule
            QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        });
        main.actRegeln->trigger();
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>({Win1252(
                                 "Die Regeln von U14 (w) und Jugend (g) überschneiden sich: beide "
                                 "nehmen den Jahrgang 2013 auf. Bitte ändern Sie die Jahrgänge, "
                                 "damit jeder Teilnehmer in genau eine Altersgruppe passt.")}));
    boxes.clear();
    EXPECT_EQ(AgeRulesText(ReadAgeRules()),
              "U14;w;2012;2013;-30 -34 +34|U14;m;2012;2013;-30 -34 -38 +38");

    // 20 members, 8 of them start: surname, first name, birth date, gender, belt, kg.
    const char* const members[20][6] = {
        {"Adler", "Anna", "03.04.2012", "w", "6. Kyu", "29,5"},
        {"Arndt", "Paul", "11.09.2009", "m", "3. Kyu", "55"},
        {"Busch", "Berta", "21.01.2013", "w", "gelb", "33"},
        {"Conrad", "Clara", "30.06.2012", "w", "5. Kyu", "41"},
        {"Dietz", "Otto", "02.02.1985", "m", "1. Dan", "80"},
        {"Dorn", "David", "07.07.2012", "m", "7. Kyu", "30"},
        {"Ebert", "Lina", "15.05.2016", "w", "", "22"},
        {"Engel", "Emil", "12.12.2013", "m", "orange", "36,5"},
        {"Falk", "Ina", "04.03.2010", "w", "4. Kyu", "48"},
        {"Fuchs", "Felix", "19.08.2012", "m", "5. Kyu", "52"},
        {"Graf", "Gustav", "01.10.2013", "m", "6. Kyu", "34,0"},
        {"Haas", "Hanna", "23.11.2013", "w", "7. Kyu", "30,2"},
        {"Horn", "Max", "05.05.2014", "m", "", "28"},
        {"Jung", "Eva", "09.09.2011", "w", "5. Kyu", "39"},
        {"Klein", "Tom", "14.02.2015", "m", "", "25"},
        {"Lang", "Sara", "28.02.1990", "w", "2. Dan", "62"},
        {"Maier", "Jonas", "17.04.2008", "m", "2. Kyu", "66"},
        {"Noll", "Lea", "06.06.2014", "w", "", "27"},
        {"Ott", "Ben", "22.07.2011", "m", "4. Kyu", "44"},
        {"Pohl", "Mila", "13.01.2016", "w", "", "21"},
    };
    std::string list = "Nachname;Vorname;Geb.-Datum;Geschlecht;Gurt;Gewicht (kg)\r\n";
    for (const auto& m : members)
        list += std::string(m[0]) + ';' + m[1] + ';' + m[2] + ';' + m[3] + ';' + m[4] + ';' + m[5] +
                "\r\n";
    TempDir dir;
    WriteFileBytes(dir.path() / "mitglieder.csv", list);
    const int starters[] = {0, 2, 3, 5, 7, 9, 10, 11};
    int actions = 0;
    const auto complete = [&](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        QTableView& grid = *preview.stgZeilen;
        QAbstractItemModel& model = *grid.model();
        // Proposed, in blue and slanted, until taken.
        const QModelIndex proposed = model.index(0, TfrmImport::colAltersgruppe);
        EXPECT_EQ(proposed.data().toString(), QStringLiteral("U14 (w)"));
        EXPECT_TRUE(proposed.data(Qt::FontRole).value<QFont>().italic());
        EXPECT_EQ(model.index(0, TfrmImport::colGewicht).data().toString(), QStringLiteral("-30"));
        const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
        if (!folder.isEmpty())
            preview.grab().save(QDir(folder).filePath(QStringLiteral("kivrel-import-rules.png")));
        // The rules are also reached from here; typing is not dropped without a question.
        {
            ModalScript rules;
            rules.Then([&](QWidget& r) {
                auto& dialog = As<TfrmRegeln>(r);
                typeRule(dialog, {"U16", "w", "2010", "2011", ""});
                boxes.Answer(true);
                Press(dialog, Qt::Key_Escape);
            });
            QTest::mouseClick(preview.btnRegeln, Qt::LeftButton);
        }
        EXPECT_EQ(boxes.texts(), std::vector<std::string>({Win1252(
                                     "Die Änderungen an den Regeln gehen verloren. Abbrechen?")}));
        boxes.clear();
        for (const int row : starters) {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton,
                              actions == 0 ? Qt::NoModifier : Qt::ControlModifier,
                              grid.visualRect(model.index(row, TfrmImport::colNachname)).center());
            ++actions;
        }
        QTest::keyClick(&grid, Qt::Key_Space);
        QTest::mouseClick(preview.btnVorschlaege, Qt::LeftButton);
        EXPECT_FALSE(proposed.data(Qt::FontRole).value<QFont>().italic());
        EXPECT_EQ(preview.lblSumme->text(), QStringLiteral("8 Teilnehmer werden übernommen."));
        QTest::mouseClick(preview.btnOK, Qt::LeftButton);
        actions += 3;
    };
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv"))).Then(complete);
        main.actTeilnehmerImportieren->trigger();
    }
    // The question about the two belts without a grade, answered with OK.
    EXPECT_EQ(boxes.texts(), std::vector<std::string>({Win1252(
                                 "2 Teilnehmer werden ohne Graduierung übernommen.\nTrotzdem "
                                 "übernehmen?")}));
    EXPECT_LE(actions + 1, 12);

    tMeldung typed;
    AddGroup(typed, "U14", "w");
    AddGroup(typed, "U14", "m");
    for (const auto& [surname, first, group, year, grade, weight] :
         {std::tuple("Adler", "Anna", "U14 (w)", "2012", 4, "-30"),
          {"Busch", "Berta", "U14 (w)", "2013", -1, "-34"},
          {"Conrad", "Clara", "U14 (w)", "2012", 5, "+34"},
          {"Dorn", "David", "U14 (m)", "2012", 3, "-30"},
          {"Engel", "Emil", "U14 (m)", "2013", -1, "-38"},
          {"Fuchs", "Felix", "U14 (m)", "2012", 5, "+38"},
          {"Graf", "Gustav", "U14 (m)", "2013", 4, "-34"},
          {"Haas", "Hanna", "U14 (w)", "2013", 3, "-34"}})
        AddParticipant(typed, surname, first, group, year, grade, weight);
    TempDir imported, byHand;
    ASSERT_TRUE(
        WriteEntryFiles(imported.file("Meldung.tv4"), Used(main.Meldung()), main.Meldung()));
    ASSERT_TRUE(WriteEntryFiles(byHand.file("Meldung.tv4"), Used(typed), typed));
    for (const char* file : {"MeldungU14 (w).tv4", "MeldungU14 (m).tv4"}) {
        ASSERT_TRUE(std::filesystem::exists(imported.path() / file)) << file;
        EXPECT_EQ(ReadFileBytes(imported.path() / file), ReadFileBytes(byHand.path() / file))
            << file;
    }
}

}  // namespace
}  // namespace kivrel
