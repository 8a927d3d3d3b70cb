#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>

#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/fonts.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmteilnehmer.h"

namespace kivrel {
namespace {

// The captions must fit the fixed geometry in the program's font.
void ExpectCaptionsFit(const QWidget& window) {
    for (const QLabel* label : window.findChildren<QLabel*>())
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible())
            continue;
        // Tool bar buttons have a fixed size below Qt's roomy hint; their caption must fit.
        const int needed = qobject_cast<const QToolButton*>(button)
                               ? CaptionWidth(*button, button->text())
                               : button->sizeHint().width();
        EXPECT_LE(needed, button->width()) << button->text().toStdString();
    }
}

// Saved when KIVREL_SCREENSHOTS names a folder, to be looked at.
void Save(QWidget& window, const char* name) {
    const QPixmap picture = window.grab();
    EXPECT_FALSE(picture.isNull());
    const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(QDir(folder).filePath(QString::fromLatin1(name))));
    }
}

TEST(Screenshots, TheThreeWindowsAtTheirGeometry) {
    TfrmMain main;
    main.show();
    main.FirstActivation = false;  // no start-up dialogue here
    main.ShowEventDetails({Win1252("Offene Landesmeisterschaft U14/U17"),
                           *DayNumberFromDate(2025, 3, 8), Win1252("Lübeck, Hansehalle"),
                           "meldung@judo-sh.example"});
    main.ShowSenderClub({Win1252("Judo-Club Kiel von 1952 e.V."), "0815", "Kiel", "Nord",
                         "Schleswig-Holstein", "Gruppe Nord", "Deutschland"});
    main.ShowSenderPerson({"Eva", Win1252("Müller-Lüdenscheidt"), "Holstenstr. 12", "24103", "Kiel",
                           "0431 123456", "0431 654321", "", "0170 1234567", "eva@example.org"});
    tMeldung& m = main.Meldung();
    auto group = std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "m"});
    const std::string groupKey = AgeGroupKey(*group);
    m.Altersgruppenliste.Add(groupKey, std::move(group));
    const char* names[][2] = {{"Abendroth", "Maximilian"},
                              {"Bäcker", "Lena"},
                              {"Christiansen-Wolff", "Jan-Hendrik"},
                              {"Dörfler", "Ömer"}};
    int grade = 0;
    for (const auto& [nachname, vorname] : names) {
        auto t = std::make_unique<tTeilnehmer>(tTeilnehmer{true, Win1252(vorname),
                                                           Win1252(nachname), "U14 (m)", "2011",
                                                           grade, "+100", grade % 2 == 1, true});
        grade += 7;
        const std::string key = ParticipantKey(*t);
        main.FillParticipantGrid(m.Teilnehmerliste.AddDistinct(key, std::move(t)));
    }
    main.UpdateParticipantActions();
    ExpectCaptionsFit(main);
    Save(main, "kivrel-main.png");

    main.Meldung().Teilnehmerliste.Clear();
    main.FillParticipantGrid(-1);
    main.UpdateParticipantActions();
    Save(main, "kivrel-main-empty.png");

    TfrmTeilnehmer editor(m.Altersgruppenliste);
    editor.setWindowTitle(QStringLiteral("Teilnehmer einfügen"));
    editor.FillAgeGroups(0);
    editor.show();
    editor.ediNachname->setText(QStringLiteral("Christiansen-Wolff"));
    editor.ediVorname->setText(QStringLiteral("Jan-Hendrik"));
    editor.ediJahrgang->setText(QStringLiteral("2011"));
    editor.cbbGraduierung->setCurrentIndex(9);
    editor.ediGewicht->setText(QStringLiteral("+100"));
    ExpectCaptionsFit(editor);
    Save(editor, "kivrel-teilnehmer.png");

    TfrmAltersgruppe ageGroup;
    ageGroup.show();
    ageGroup.ediBezeichnung->setText(QStringLiteral("Jugend männlich"));
    ageGroup.cbbGeschlecht->setCurrentIndex(1);
    ExpectCaptionsFit(ageGroup);
    Save(ageGroup, "kivrel-altersgruppe.png");
}

}  // namespace
}  // namespace kivrel
