#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <string>

#include "app/tfrmabout.h"
#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "app/tfrmversenden.h"
#include "base/accessible.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/fonts.h"
#include "details/tfrmabsender.h"
#include "details/tfrmturnier.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmimport.h"
#include "participants/tfrmregeln.h"
#include "participants/tfrmteilnehmer.h"
#include "support/exampleentry.h"

namespace kivrel {
namespace {

// Where a label's text stands: its width and height needed, aligned in the label as it is
// drawn; empty for a picture or no text.
QRect TextRect(const QLabel& label) {
    if (label.text().isEmpty() || !label.pixmap().isNull())
        return QRect();
    const QSize needed = label.wordWrap()
                             ? QSize(label.width(), label.heightForWidth(label.width()))
                             : label.sizeHint();
    return QStyle::alignedRect(label.layoutDirection(), label.alignment(), needed,
                               label.geometry());
}

// Every caption, heading and tab text whole in the program's font, as far as the fixed
// geometry goes, and no label's text running under another control.
void ExpectTextsWhole(const QWidget& window) {
    // The run at another scale says which, so that it never passes at the usual one.
    if (const QString scale = qEnvironmentVariable("KIVREL_EXPECT_SCALE"); !scale.isEmpty()) {
        EXPECT_EQ(window.devicePixelRatio(), scale.toDouble());
    }
    const auto shown = [&](const QWidget* w) { return w->isVisibleTo(&window); };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const QRect text = TextRect(*label);
        if (!shown(label) || text.isEmpty())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_TRUE(label->geometry().contains(text))
            << "cut: needs " << text.width() << "x" << text.height() << ", has " << label->width()
            << "x" << label->height();
        for (const QWidget* other :
             label->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            // A bare frame is a bevel or a line behind the labels.
            const bool decoration = other->metaObject() == &QFrame::staticMetaObject;
            if (other == label || !shown(other) || other->isWindow() || decoration)
                continue;
            const auto* otherLabel = qobject_cast<const QLabel*>(other);
            EXPECT_FALSE(text.intersects(otherLabel ? TextRect(*otherLabel) : other->geometry()))
                << "under " << other->metaObject()->className() << " "
                << (otherLabel ? otherLabel->text() : other->objectName()).toStdString();
        }
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!shown(button) || button->text().isEmpty())
            continue;
        // Tool bar and push buttons have a fixed size below Qt's roomy hint (Fusion makes
        // every push button 80 wide); their caption must fit where the style draws it.
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        if (qobject_cast<const QToolButton*>(button)) {
            EXPECT_LE(CaptionWidth(*button, button->text()), button->width())
                << caption.toStdString();
        } else if (qobject_cast<const QPushButton*>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(caption),
                      button->style()
                          ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                          .width())
                << caption.toStdString();
        } else {
            EXPECT_LE(button->sizeHint().width(), button->width()) << caption.toStdString();
        }
    }
    for (const QHeaderView* header : window.findChildren<QHeaderView*>()) {
        if (!shown(header) || header->orientation() != Qt::Horizontal)
            continue;
        EXPECT_LE(header->sizeHint().height(), header->height()) << "heading row";
        for (int i = 0; i < header->count(); ++i) {
            if (!header->isSectionHidden(i) &&
                header->sectionResizeMode(i) != QHeaderView::Stretch) {
                const QString heading = header->model()->headerData(i, Qt::Horizontal).toString();
                EXPECT_LE(header->fontMetrics().horizontalAdvance(heading) +
                              2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin),
                          header->sectionSize(i))
                    << heading.toStdString();
            }
        }
    }
    for (const QTabBar* tabs : window.findChildren<QTabBar*>()) {
        for (int i = 0; shown(tabs) && i < tabs->count(); ++i)
            EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)),
                      tabs->tabRect(i).width())
                << tabs->tabText(i).toStdString();
    }
    // Every text stands out from its background as normal text must, the program's own
    // colours too, in the system's colours (a high-contrast scheme under Wine).
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (shown(label) && !label->text().isEmpty()) {
            EXPECT_GE(ContrastRatio(label->palette().color(QPalette::WindowText),
                                    label->palette().color(QPalette::Window)),
                      4.5)
                << label->text().toStdString();
        }
    }
    for (const QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel& model = *view->model();
        for (int row = 0; shown(view) && row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                const QModelIndex cell = model.index(row, column);
                const auto brush = cell.data(Qt::ForegroundRole).value<QBrush>();
                if (brush.style() != Qt::NoBrush) {
                    EXPECT_GE(ContrastRatio(brush.color(), view->palette().color(QPalette::Base)),
                              4.5)
                        << cell.data().toString().toStdString();
                }
            }
        }
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
    ExpectTextsWhole(main);
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
    ExpectTextsWhole(editor);
    Save(editor, "kivrel-teilnehmer.png");

    TfrmAltersgruppe ageGroup;
    ageGroup.show();
    ageGroup.ediBezeichnung->setText(QStringLiteral("Jugend männlich"));
    ageGroup.cbbGeschlecht->setCurrentIndex(1);
    ExpectTextsWhole(ageGroup);
    Save(ageGroup, "kivrel-altersgruppe.png");
}

// The other windows, each page and tab of them, in the same font.
TEST(Screenshots, NoTextIsCutInAnyOtherWindow) {
    TfrmWizzard wizard;
    wizard.show();
    for (int page = 0; page < wizard.ntbWizzard->count(); ++page) {
        SCOPED_TRACE(page);
        wizard.ntbWizzard->setCurrentIndex(page);
        ExpectTextsWhole(wizard);
        Save(wizard, ("kivrel-wizard-" + std::to_string(page + 1) + ".png").c_str());
    }
    TfrmTurnier event;
    event.show();
    ExpectTextsWhole(event);
    TfrmAbsender sender;
    sender.show();
    for (int tab = 0; tab < sender.PageControl1->count(); ++tab) {
        sender.PageControl1->setCurrentIndex(tab);
        ExpectTextsWhole(sender);
    }
    TfrmAdvert advert;
    advert.show();
    advert.PrepareWelcome();
    ExpectTextsWhole(advert);
    Save(advert, "kivrel-welcome.png");
    advert.PrepareThanks();
    ExpectTextsWhole(advert);
    Save(advert, "kivrel-thanks.png");
    TfrmAbout about;
    about.FormShow();
    about.show();
    ExpectTextsWhole(about);

    const tMeldung entry;
    tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
    import.Read(
        {{ "mitglieder.csv",
           Win1252("Nachname;Vorname;Geb.-Datum;Geschlecht;Gürtel;"
                   "Gewicht (kg)\nBäcker;Lena;2012;w;gelb;31,5\n") }});
    const tAgeRules rules = {{{"U14", "w"}, "2012", "2013", "-30 -34 +34"}};
    import.SetRules(rules);
    const tRuleMemory memory{[] { return tAgeRules(); }, [](const tAgeRules&) {}};
    TfrmImport preview(import, memory);
    preview.show();
    ExpectTextsWhole(preview);
    Save(preview, "kivrel-preview.png");
    TfrmRegeln ruleDialog(rules, 2025);
    ruleDialog.show();
    ExpectTextsWhole(ruleDialog);

    const tMeldung example = test::ExampleEntry();
    const tVersand versand{"C:\\Verein\\Meldungen\\Stadtpokal.tv4",
                           {"C:\\Verein\\Meldungen\\StadtpokalU12 (m).tv4",
                            "C:\\Verein\\Meldungen\\StadtpokalU15 (w).tv4"},
                           example.Turnier.Email,
                           BuildEntryMail(example, test::Used(example))};
    TfrmVersenden sending(versand, MailFate::NoClient);
    sending.show();
    // The longest of what the window says of its actions.
    sending.lblStatus->setText(
        QStringLiteral("Die Mail ist geöffnet. Fügen Sie dort den Text "
                       "aus der Zwischenablage ein, und hängen Sie die "
                       "Meldedateien aus dem geöffneten Ordner an."));
    ExpectTextsWhole(sending);
    Save(sending, "kivrel-versenden.png");
}

}  // namespace
}  // namespace kivrel
