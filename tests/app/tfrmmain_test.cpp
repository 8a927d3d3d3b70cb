#include "app/tfrmmain.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/tfrmadvert.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/error.h"
#include "base/messages.h"
#include "details/recoveryfile.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmteilnehmer.h"
#include "support/modalscript.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

using namespace test;

const std::string kDeleteQuestion = "Soll der Teilnehmer wirklich gel\xF6scht werden ?";

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        main.show();
        firstActivationDue = main.FirstActivation;
        main.FirstActivation = false;  // the start-up dialogue has tests of its own
        Activate();
        auto group = std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "m"});
        const std::string key = AgeGroupKey(*group);
        main.Meldung().Altersgruppenliste.Add(key, std::move(group));
    }

    // The offscreen platform does not give the focus back when a dialog closes.
    void Activate() {
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    }

    void Add(const char* nachname, const char* vorname) {
        auto t = std::make_unique<tTeilnehmer>();
        t->Nachname = Win1252(nachname);
        t->Vorname = Win1252(vorname);
        t->Altersgruppe = "U14 (m)";
        t->Gewicht = "-30";
        const std::string key = ParticipantKey(*t);
        main.FillParticipantGrid(main.Meldung().Teilnehmerliste.AddDistinct(key, std::move(t)));
        main.UpdateParticipantActions();
    }

    QString Cell(int row, int column) {
        return main.GridModel().index(row, column).data().toString();
    }
    QStringList Surnames() {
        QStringList names;
        for (int row = 0; row < main.GridModel().rowCount(); ++row)
            names << Cell(row, 0);
        return names;
    }
    void Select(int row) {
        main.FillParticipantGrid(row);
        ASSERT_EQ(main.SelectedIndex(), row);
    }
    void PressInGrid(int key) {
        Activate();
        QTest::keyClick(main.stgTeilnehmer2, static_cast<Qt::Key>(key));
    }
    bool ParticipantActionsEnabled() {
        return main.actTeilnehmerBearbeiten->isEnabled() &&
               main.actTeilnehmerloeschen->isEnabled() && main.actDrucken->isEnabled() &&
               main.actFertigstellen->isEnabled();
    }
    bool ParticipantActionsDisabled() {
        return !main.actTeilnehmerBearbeiten->isEnabled() &&
               !main.actTeilnehmerloeschen->isEnabled() && !main.actDrucken->isEnabled() &&
               !main.actFertigstellen->isEnabled();
    }

    ScriptedBoxes boxes;
    TfrmMain main;
    bool firstActivationDue = false;
};

TEST_F(MainWindow, StartsWithHeaderAndOneEmptyRowAndTheParticipantActionsOff) {
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kivrel 4.2 Osmira Edition"));
    EXPECT_EQ(main.centralWidget()->size(), QSize(632, 434));
    EXPECT_TRUE(firstActivationDue);
    EXPECT_FALSE(ExitConfirmed);

    QTableView& grid = *main.stgTeilnehmer2;
    ASSERT_EQ(main.GridModel().rowCount(), 1);
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(Cell(0, column), QString());
    QStringList headings;
    for (int column = 0; column < 8; ++column)
        headings << main.GridModel().headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headings, QStringList({"Nachname", "Vorname", "JG", "Altersgruppe", "Gewicht", "A",
                                     "K", "Grad"}));
    EXPECT_TRUE(grid.isColumnHidden(6));
    EXPECT_EQ(grid.columnWidth(7), 68);
    EXPECT_EQ(grid.columnWidth(0), 143);
    EXPECT_EQ(grid.columnWidth(3), 109);
    EXPECT_EQ(grid.verticalHeader()->defaultSectionSize(), 16);
    // As high as the rows, or as the headings' font needs.
    EXPECT_EQ(grid.horizontalHeader()->height(),
              std::max(16, grid.horizontalHeader()->sizeHint().height()));
    EXPECT_EQ(main.SelectedIndex(), -1);

    EXPECT_TRUE(ParticipantActionsDisabled());
    for (QAction* always : {main.TeilnehmerEinfuegen, main.Druckereinstellungen,
                            main.actVeranstaltungBearbeiten, main.actAbsenderBearbeiten})
        EXPECT_TRUE(always->isEnabled());

    // Delete and a double click with an empty list ask and open nothing.
    ModalScript script;
    script.Then([](QWidget& w) {
        ADD_FAILURE() << "a dialog opened";
        w.close();
    });
    PressInGrid(Qt::Key_Delete);
    main.actTeilnehmerBearbeitenExecute();
    const QRect firstRow = grid.visualRect(main.GridModel().index(0, 0));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, firstRow.center());
    QApplication::processEvents();
    EXPECT_EQ(script.Remaining(), 1u);
    script.Drop();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, MenusToolBarAndFieldsCarryTheirCaptionsAndShortcuts) {
    QStringList menus;
    for (QAction* menu : main.menuBar()->actions()) {
        QStringList items{menu->text()};
        for (QAction* item : menu->menu()->actions()) {
            QString text = item->isSeparator() ? QStringLiteral("-") : item->text();
            if (!item->shortcut().isEmpty())
                text += QLatin1Char('\t') + item->shortcut().toString(QKeySequence::NativeText);
            items << text;
        }
        menus << items.join(QLatin1Char('|'));
    }
    EXPECT_EQ(menus,
              QStringList({
                  "&Datei|Drucker&einstellungen|&Drucken\tStrg+D|-|&Beenden",
                  "Absender|&Bearbeiten",
                  "&Veranstaltung|&Bearbeiten|-|&Fertigstellen|Meldung &versenden...",
                  "&Teilnehmer|&Einfügen\tEinfg|&Importieren...|&Bearbeiten|&Löschen\tEntf|-|"
                  "&Regeln der Altersgruppen...",
                  "&Information|Über &Kivrel 4.0",
              }));

    QStringList tools;
    for (QAction* action : main.ToolBar1->actions()) {
        if (action->isSeparator()) {
            tools << QStringLiteral("-");
            continue;
        }
        auto* button = qobject_cast<QToolButton*>(main.ToolBar1->widgetForAction(action));
        ASSERT_TRUE(button);
        // 63 wide where the caption fits, as with the fonts of Linux; Wine's Tahoma needs more.
        EXPECT_EQ(button->height(), 52);
        if (QGuiApplication::platformName() != QLatin1String("windows")) {
            EXPECT_EQ(button->width(), 63) << button->text().toStdString();
        }
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(action->icon().isNull());
        tools << button->text();
    }
    EXPECT_EQ(tools, QStringList({"Einfügen", "Importieren", "Bearbeiten", "&Löschen", "-",
                                  "&Drucken", "-", "Fertigstellen"}));
    EXPECT_EQ(main.ToolBar1->height(), 57);

    const std::vector<std::pair<QLineEdit*, const char*>> fields = {
        {main.ediBezeichnung, "Bezeichnung"},
        {main.ediDatum, "Datum"},
        {main.ediOrt, "Ort"},
        {main.ediEmail, "Emailadresse für die Meldung"},
        {main.ediVerein, "Verein, Vereinsnummer"},
        {main.ediVerbaende, "Verbände"},
        {main.ediAdresse, "Absender - Adresse"},
        {main.ediKommunikation, "Absender - Kommunikationsdaten"}};
    for (const auto& [field, hint] : fields) {
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_EQ(field->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(field->toolTip(), QString::fromUtf8(hint));
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Button));
    }
    EXPECT_EQ(main.ediDatum->width(), 65);
}

TEST_F(MainWindow, InsertAddsASeriesUntilEscapeAndKeepsParticipantsUnderEqualKeys) {
    ModalScript script;
    const auto enter = [](const char* nachname, const char* vorname) {
        return [=](QWidget& w) {
            auto& editor = As<TfrmTeilnehmer>(w);
            Type(editor, QString::fromUtf8(nachname));
            Press(editor, Qt::Key_Tab);
            Type(editor, QString::fromUtf8(vorname));
            editor.cbbAltersgruppe->setCurrentIndex(0);
            editor.ediGewicht->setFocus();
            Type(editor, QStringLiteral("+100"));
            Press(editor, Qt::Key_Return);
        };
    };
    script.Then(enter("van Berg", "Jan"))
        .Then(enter("abel", "Kai"))
        .Then(enter("van", "Berg Jan"))  // no duplicate by its pair, yet the same key
        .Then([&](QWidget& w) {
            // Each pass already knows the participants of the passes before.
            enter("Abel", "kai")(w);
            EXPECT_EQ(boxes.texts(), std::vector<std::string>{
                                         "Der Teilnehmer kai Abel wurde bereits eingegeben."});
            EXPECT_TRUE(w.isVisible());
            Press(w, Qt::Key_Escape);
        });
    PressInGrid(Qt::Key_Insert);
    EXPECT_EQ(script.Remaining(), 0u);

    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 3);
    // The second "van Berg Jan" is filed right behind the first, not dropped.
    EXPECT_EQ(Surnames(), QStringList({"abel", "van Berg", "van"}));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("Jan"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("Berg Jan"));
    EXPECT_EQ(Cell(0, 3), QStringLiteral("U14 (m)"));
    EXPECT_EQ(Cell(0, 4), QStringLiteral("+100"));
    EXPECT_EQ(Cell(0, 5), QStringLiteral(" "));
    EXPECT_EQ(Cell(0, 7), QStringLiteral(" "));  // no grade chosen
    // The participant added last is selected.
    EXPECT_EQ(main.SelectedIndex(), 2);
    EXPECT_TRUE(ParticipantActionsEnabled());
}

TEST_F(MainWindow, EditingKeepsTheRowAlsoWhenTheSurnameChangesOrTheEditIsCancelled) {
    Add("Adler", "Eva");
    Add("Meier", "Jan");
    Add("Zander", "Udo");
    Select(2);

    ModalScript script;
    script
        .Then([](QWidget& w) {
            auto& editor = As<TfrmTeilnehmer>(w);
            EXPECT_EQ(editor.ediNachname->text(), QStringLiteral("Zander"));
            editor.ediNachname->setText(QStringLiteral("Aaron"));
            editor.cbbGraduierung->setCurrentIndex(12);
            QTest::mouseClick(editor.btnOK, Qt::LeftButton);
        })
        .Then([](QWidget& w) {
            As<TfrmTeilnehmer>(w).ediNachname->setText(QStringLiteral("Xaver"));
            Press(w, Qt::Key_Escape);
        });
    main.actTeilnehmerBearbeiten->trigger();
    EXPECT_EQ(Surnames(), QStringList({"Adler", "Meier", "Aaron"}));
    EXPECT_EQ(Cell(2, 7), QStringLiteral("3. Dan"));
    EXPECT_EQ(main.SelectedIndex(), 2);
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Key(2), "Zander Udo");

    main.actTeilnehmerBearbeiten->trigger();
    EXPECT_EQ(Surnames(), QStringList({"Adler", "Meier", "Aaron"}));
    EXPECT_EQ(main.SelectedIndex(), 2);
    EXPECT_FALSE(main.Meldung().Teilnehmerliste.Object(2).Confirmed);

    // A double click edits the row clicked.
    script.Then([](QWidget& w) {
        EXPECT_EQ(As<TfrmTeilnehmer>(w).ediNachname->text(), QStringLiteral("Meier"));
        Press(w, Qt::Key_Escape);
    });
    QTableView& grid = *main.stgTeilnehmer2;
    const QPoint meier = grid.visualRect(main.GridModel().index(1, 0)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, meier);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, meier);
    EXPECT_EQ(script.Remaining(), 0u);
    EXPECT_EQ(main.SelectedIndex(), 1);

    // Below the last row and on the headings it edits the selected one.
    for (auto [area, point] :
         {std::pair{grid.viewport(), QPoint(20, grid.viewport()->height() - 5)},
          std::pair{grid.horizontalHeader()->viewport(), QPoint(20, 8)}}) {
        script.Then([](QWidget& w) {
            EXPECT_EQ(As<TfrmTeilnehmer>(w).ediNachname->text(), QStringLiteral("Meier"));
            Press(w, Qt::Key_Escape);
        });
        QTest::mouseDClick(area, Qt::LeftButton, {}, point);
        EXPECT_EQ(script.Remaining(), 0u);
        EXPECT_EQ(main.SelectedIndex(), 1);
    }
}

TEST_F(MainWindow, DeleteAsksThenSelectsThePreviousOrTheNewFirstParticipant) {
    for (const char* name : {"Adler", "Berg", "Clausen", "Dorn", "Engel"})
        Add(name, "X");
    Select(2);
    boxes.Answer(false);
    PressInGrid(Qt::Key_Delete);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[0].text, kDeleteQuestion);
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 5);
    EXPECT_EQ(main.SelectedIndex(), 2);

    PressInGrid(Qt::Key_Delete);
    EXPECT_EQ(Surnames(), QStringList({"Adler", "Berg", "Dorn", "Engel"}));
    EXPECT_EQ(main.SelectedIndex(), 1);

    Select(0);
    PressInGrid(Qt::Key_Delete);
    EXPECT_EQ(Surnames(), QStringList({"Berg", "Dorn", "Engel"}));
    EXPECT_EQ(main.SelectedIndex(), 0);

    while (main.Meldung().Teilnehmerliste.Count() > 0) {
        EXPECT_TRUE(ParticipantActionsEnabled());
        main.actTeilnehmerloeschen->trigger();
    }
    EXPECT_EQ(main.GridModel().rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), QString());
    EXPECT_EQ(main.SelectedIndex(), -1);
    EXPECT_TRUE(ParticipantActionsDisabled());
    EXPECT_EQ(boxes.shown().size(), 6u);
}

TEST_F(MainWindow, WithTheSelectionClearedEditAndDeleteDoNothing) {
    Add("Adler", "Eva");
    Add("Berg", "Jan");
    Select(1);
    QTableView& grid = *main.stgTeilnehmer2;
    const QPoint berg = grid.visualRect(main.GridModel().index(1, 0)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, berg);
    ASSERT_EQ(main.SelectedIndex(), -1);

    ModalScript script;
    script.Then([](QWidget& w) {
        ADD_FAILURE() << "a dialog opened";
        w.close();
    });
    PressInGrid(Qt::Key_Delete);
    main.actTeilnehmerBearbeiten->trigger();
    QApplication::processEvents();
    script.Drop();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(main.Meldung().Teilnehmerliste.Count(), 2);
}

TEST_F(MainWindow, CloseAsksUnlessTheEndIsConfirmedAlready) {
    boxes.Answer(false);
    main.Beenden2->trigger();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Soll der Kivrel wirklich beendet werden ?"});
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_TRUE(main.isVisible());

    // A confirmed close shows the thank-you notice before the window goes.
    {
        ModalScript script;
        script.Then([](QWidget& w) {
            auto& notice = As<TfrmAdvert>(w);
            EXPECT_EQ(notice.windowTitle(), QStringLiteral("Information"));
            EXPECT_TRUE(notice.isVisible());
            notice.btnOK->click();
        });
        main.close();
    }
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(boxes.shown().size(), 2u);

    main.show();
    main.FirstActivation = false;
    EXPECT_FALSE(ExitConfirmed);  // showing clears it
    ExitConfirmed = true;
    main.close();
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(boxes.shown().size(), 2u);
    ExitConfirmed = false;
}

TEST_F(MainWindow, DetailsShowJoinedWithTheirSeparatorsAlsoWhenEmpty) {
    main.ShowEventDetails({"Stadtpokal", *DayNumberFromDate(2025, 3, 8), "Kiel", "m@x.de"});
    EXPECT_EQ(main.ediBezeichnung->text(), QStringLiteral("Stadtpokal"));
    EXPECT_EQ(main.ediDatum->text(), QStringLiteral("08.03.2025"));
    EXPECT_EQ(main.ediOrt->text(), QStringLiteral("Kiel"));
    EXPECT_EQ(main.ediEmail->text(), QStringLiteral("m@x.de"));

    main.ShowSenderClub({"JC Kiel", "", "Kiel", "Nord", "SH", "", "GER"});
    EXPECT_EQ(main.ediVerein->text(), QStringLiteral("JC Kiel, "));
    EXPECT_EQ(main.ediVerbaende->text(), QStringLiteral("Kiel, Nord, SH, , GER"));

    tAbsenderData person{"Eva", Win1252("Müller"), "Weg 1",   "24103", "Kiel", "0431 1", "",
                         "",    "0170 2",          "eva@x.de"};
    main.ShowSenderPerson(person);
    EXPECT_EQ(main.ediAdresse->text(), QStringLiteral("Eva Müller, Weg 1, 24103 Kiel"));
    EXPECT_EQ(main.ediKommunikation->text(), QStringLiteral("0431 1, , , 0170 2, eva@x.de"));
    EXPECT_EQ(main.ediKommunikation->cursorPosition(), 0);  // long texts show their start

    main.ShowSenderClub({});
    EXPECT_EQ(main.ediVerbaende->text(), QStringLiteral(", , , , "));
}

// The recovery file follows the lists also after a change that ends half-way.
TEST_F(MainWindow, AChangeThatEndsHalfWayIsInTheRecoveryFileToo) {
    test::TempDir dir;
    main.KeepRecovery(tRecovery::Take((dir.path() / "").string()));
    ASSERT_TRUE(main.Recovery());
    EXPECT_FALSE(main.Recovery()->Pending());  // nothing left from before: it may write
    EXPECT_THROW(main.ChangeLists([&] {
        main.Meldung().Altersgruppenliste.Add(
            "U12 (g)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U12", "g"}));
        throw KivrelError("halb");
    }),
                 KivrelError);
    EXPECT_NE(test::ReadFileBytes(dir.path() / "Meldung.wiederherstellung").find("U12"),
              std::string::npos);
}

}  // namespace
}  // namespace kivrel
