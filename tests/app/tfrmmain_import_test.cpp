#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "output/entryfile.h"
#include "participants/tfrmimport.h"
#include "support/exampleentry.h"
#include "support/modalscript.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

using namespace test;

QStringList Column(const QAbstractItemModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells << model.index(row, column).data().toString();
    return cells;
}

// Checks the preview, its texts fitting the fixed geometry, then presses key in it.
ModalScript::Step Preview(const QString& summary, const QStringList& results, Qt::Key key,
                          const char* screenshot = nullptr) {
    return [=](QWidget& w) {
        auto& preview = As<TfrmImport>(w);
        EXPECT_EQ(preview.size(), QSize(760, 420));
        EXPECT_EQ(preview.lblSumme->text(), summary);
        EXPECT_EQ(Column(*preview.stgZeilen->model(), 5), results);
        for (const QLabel* label : {preview.lblSumme, preview.lblAltersgruppen})
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
        if (screenshot && !folder.isEmpty()) {
            EXPECT_TRUE(preview.grab().save(QDir(folder).filePath(QLatin1String(screenshot))));
        }
        Press(preview, key);
    };
}

TEST(MainWindowImport, MemberListAndEarlierEntryFilesComeInThroughTheRealDialogs) {
    ScriptedBoxes boxes;
    TfrmMain main;
    main.show();
    main.FirstActivation = false;  // the start-up dialogue has tests of its own
    Activate(main);
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
            .Then(Preview(csvSummary, csvResults, Qt::Key_Escape));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_TRUE(main.Meldung().Teilnehmerliste.Empty());
    EXPECT_TRUE(main.Meldung().Altersgruppenliste.Empty());
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("mitglieder.csv")))
            .Then(Preview(csvSummary, csvResults, Qt::Key_Return, "kivrel-import.png"));
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
                          Qt::Key_Return));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(Column(main.GridModel(), 0), QStringList({"Adler", "Bäcker", "Kurz", "Lange"}));
    EXPECT_EQ(main.Meldung().Altersgruppenliste.Count(), 2);
    EXPECT_TRUE(boxes.shown().empty());

    // A file with nothing to import: the message alone, no preview.
    {
        ModalScript script;
        script.Then(TypeFileName(dir.file("leer.csv")));
        main.actTeilnehmerImportieren->trigger();
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Die Datei leer.csv ist leer."});
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 4);
}

}  // namespace
}  // namespace kivrel
