#include "participants/entrylistlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/buildinfo.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/textrules.h"

namespace kivrel {

namespace {

constexpr double kBandWidth = kPaperWidthMm - kMarginLeftMm - kMarginRightMm;
constexpr double kFooterTop = kPaperHeightMm - kMarginBottomMm - 6.35;

constexpr double kPageHeaderHeight = 6.35;
constexpr double kTitleHeight = 15.61;
constexpr double kAddressHeight = 67.73;
constexpr double kGroupHeight = 8.47;
constexpr double kLineHeight = 6.35;
constexpr double kGroupFooterHeight = 6.35;
constexpr double kPageFooterHeight = 6.35;

// The columns of the participant lines and their headings.
constexpr double kColName = 0;
constexpr double kColJahrgang = 88.90;
constexpr double kColGraduierung = 107.95;
constexpr double kColGewicht = 133.35;
// The association fields stand right of the address; the address column ends there.
constexpr double kColVerband = 110.07;
constexpr double kVerbandWidth = 74;
// Room left for "Seite N" and for the printing time, so that a long header line or notice
// is cut before it reaches them.
constexpr double kPageNumberRoom = 20;
constexpr double kPrintTimeRoom = 65;

// Keeps a cut text clear of the field that follows it on the same line.
constexpr double kFieldGap = 2;

// Bands sit below rounding noise of the millimetre figures when they just fit.
constexpr double kFitSlack = 1e-6;

tPrintFont Arial(double points = 10, bool bold = false) {
    return tPrintFont{"Arial", points, bold};
}

// The width of a field that ends a gap before the next one.
constexpr double Room(double left, double next) {
    return next - left - kFieldGap;
}

// One line of text: the font's height with the usual line spacing.
double LineHeightOf(const tPrintFont& font) {
    return font.Points * 1.15 * 25.4 / 72;
}

std::string Notice() {
    return Win1252("© ") + buildinfo::kCopyrightYears + " " + buildinfo::kRightsHolder + ", " +
           buildinfo::kWebAddress;
}

// The label of an association, or nothing when its value is blank.
std::string Verband(const char* label, const std::string& value) {
    if (TrimBlanks(value).empty())
        return {};
    return label + value;
}

}  // namespace

// Collects the bands page by page; opens a page with its header and closes it with its
// footer, and moves a band that does not fit above the footer to the next page.
class TqrfErgebnisliste::Pages {
public:
    Pages(std::string header, std::string notice, std::string printedAt)
        : header_(std::move(header)), notice_(std::move(notice)), printedAt_(std::move(printedAt)) {
        OpenPage();
    }

    // Starts a band of the given height, on the next page when it does not fit here.
    void Band(const char* name, double height) {
        if (top_ + height > kFooterTop + kFitSlack) {
            ClosePage();
            OpenPage();
        }
        PlaceBand(name, height);
    }

    // A text of the current band at its left and top offset.
    void Text(const char* name, const std::string& text, double left, double top, double width,
              tPrintFont font = Arial(), tPrintAlign align = tPrintAlign::Left) {
        if (text.empty())
            return;
        const double height = LineHeightOf(font);
        Current().Texts.push_back(tPrintText{name, text, kMarginLeftMm + left, bandTop_ + top,
                                             width, height, align, std::move(font)});
    }

    // A text reaching from left to the band's right edge, aligned to that edge.
    void RightText(const char* name, const std::string& text, double left, double top) {
        Text(name, text, left, top, kBandWidth - left, Arial(), tPrintAlign::Right);
    }

    void RuleUnder(int penWidth) { Rule(bandTop_ + bandHeight_, penWidth); }
    void RuleOver(int penWidth) { Rule(bandTop_, penWidth); }

    std::vector<tPrintPage> Finish() {
        ClosePage();
        return std::move(pages_);
    }

private:
    tPrintPage& Current() { return pages_.back(); }

    void PlaceBand(const char* name, double height) {
        bandTop_ = top_;
        bandHeight_ = height;
        Current().Bands.push_back(tPrintBand{name, bandTop_, bandHeight_});
        top_ += height;
    }

    void Rule(double y, int penWidth) {
        Current().Lines.push_back(
            tPrintLine{kMarginLeftMm, y, kMarginLeftMm + kBandWidth, y, penWidth});
    }

    void OpenPage() {
        pages_.emplace_back();
        top_ = kMarginTopMm;
        PlaceBand("PageHeader", kPageHeaderHeight);
        Text("qrlKopfzeile", header_, 0, 1.06, Room(0, kBandWidth - kPageNumberRoom));
        RightText("PageNumber", "Seite " + std::to_string(pages_.size()),
                  kBandWidth - kPageNumberRoom, 1.06);
        RuleUnder(2);
    }

    void ClosePage() {
        top_ = kFooterTop;
        PlaceBand("PageFooter", kPageFooterHeight);
        RuleOver(1);
        Text("qrlHinweis", notice_, 1.06, 1.06, Room(1.06, kBandWidth - kPrintTimeRoom));
        RightText("QRDateTime", "Gedruckt " + printedAt_, kBandWidth - kPrintTimeRoom, 1.06);
    }

    std::string header_;
    std::string notice_;
    std::string printedAt_;
    std::vector<tPrintPage> pages_;
    double top_ = 0;
    double bandTop_ = 0;
    double bandHeight_ = 0;
};

TqrfErgebnisliste::TqrfErgebnisliste(const tTeilnehmerliste& participants,
                                     const tUsedAgeGroups& printGroups)
    : participants_(participants), printGroups_(printGroups) {}

void TqrfErgebnisliste::FillSender(const tAbsenderData& person, const tVereinData& club) {
    qrlVerein = club.Vereinsname;
    qrlName = person.Vorname + " " + person.Nachname;
    qrlStrasse = person.Strasse;
    qrlPLZOrt = person.PLZ + " " + person.Ort;
    qrlTelefonp = "Telefon p.: " + person.Telefonp;
    qrlTelefond = "Telefon d.: " + person.Telefond;
    qrlTelefax = "Telefax: " + person.Telefax;
    qrlemail = "Email: " + person.Email;
    qrlMobil = "Mobil: " + person.Mobil;
    qrlKreis = Verband("Kreis: ", club.Kreis);
    qrlBezirk = Verband("Bezirk: ", club.Bezirk);
    QRLland = Verband("Land: ", club.Land);
    qrlGruppe = Verband("Gruppe: ", club.Gruppe);
}

void TqrfErgebnisliste::qrtErgebnislisteBeforePrint() {
    GroupIndex = -1;
    ParticipantIndex = -1;
}

bool TqrfErgebnisliste::qrtErgebnislisteNeedData() const {
    return GroupIndex < static_cast<int>(printGroups_.size()) - 1;
}

void TqrfErgebnisliste::DetailBand1BeforePrint() {
    ++GroupIndex;
    QRLAltersgruppe = printGroups_.at(static_cast<std::size_t>(GroupIndex)).Key;
    ParticipantIndex = -1;
    LineKind = 3;
}

bool TqrfErgebnisliste::qrErgebnisseNeedData() const {
    return ParticipantIndex < participants_.Count() - 1 || LineKind < 3;
}

bool TqrfErgebnisliste::qrErgebnisseBeforePrint() {
    ++LineKind;
    if (LineKind == 4) {
        LineKind = 1;
        ++ParticipantIndex;
    }
    const tTeilnehmer& t = participants_.Object(ParticipantIndex);
    qrlVornameName = t.Vorname + " " + t.Nachname;
    QRLJahrgang = t.Jahrgang;
    QRLGraduierung = GradeText(t.Graduierung);
    bool starts = false;
    switch (LineKind) {
        case 1:
            QRLGewichtsklasse = t.Gewicht;
            starts = !t.Gewicht.empty();
            break;
        case 2:
            QRLGewichtsklasse = "Allkategorie";
            starts = t.Allkategorie;
            break;
        default:
            QRLGewichtsklasse = "Kata";
            starts = t.Kata;
            break;
    }
    return starts && t.Altersgruppe == QRLAltersgruppe;
}

void TqrfErgebnisliste::PrintTitle(Pages& pages) const {
    pages.Band("Title", kTitleHeight);
    pages.Text("QRSysData1", "Meldung", 0, 4.23, kBandWidth, Arial(20, true), tPrintAlign::Center);
}

void TqrfErgebnisliste::PrintAddress(Pages& pages) const {
    pages.Band("qrbAdresse", kAddressHeight);
    pages.Text("qrlVerein", qrlVerein, 0, 4.23, Room(0, kColVerband), Arial(14, true));
    pages.Text("qrlKreis", qrlKreis, kColVerband, 6.35, kVerbandWidth);
    pages.Text("qrlBezirk", qrlBezirk, kColVerband, 12.70, kVerbandWidth);
    pages.Text("qrlName", qrlName, 0, 14.82, Room(0, kColVerband));
    pages.Text("qrlStrasse", qrlStrasse, 0, 19.05, Room(0, kColVerband));
    pages.Text("QRLland", QRLland, kColVerband, 19.05, kVerbandWidth);
    pages.Text("qrlPLZOrt", qrlPLZOrt, 0, 23.28, Room(0, kColVerband));
    pages.Text("qrlGruppe", qrlGruppe, kColVerband, 25.40, kVerbandWidth);
    pages.Text("qrlTelefonp", qrlTelefonp, 0, 31.75, Room(0, kColVerband));
    pages.Text("qrlTelefond", qrlTelefond, 0, 35.98, Room(0, kColVerband));
    pages.Text("qrlTelefax", qrlTelefax, 0, 40.22, Room(0, kColVerband));
    pages.Text("qrlemail", qrlemail, 0, 44.45, Room(0, kColVerband));
    pages.Text("qrlMobil", qrlMobil, 0, 48.68, Room(0, kColVerband));
    const tPrintFont bold = Arial(10, true);
    pages.Text("QRLabel1", "Name", kColName, 62.44, Room(kColName, kColJahrgang), bold);
    pages.Text("lblTeilnehmer", "Jahrgang", kColJahrgang, 62.44,
               Room(kColJahrgang, kColGraduierung), bold);
    pages.Text("QRLabel2", "Graduierung", kColGraduierung, 62.44,
               Room(kColGraduierung, kColGewicht), bold);
    pages.Text("QRLabel3", "Gewichtsklasse", kColGewicht, 62.44, kBandWidth - kColGewicht, bold);
    pages.RuleUnder(2);
}

void TqrfErgebnisliste::PrintGroupBand(Pages& pages) const {
    pages.Band("DetailBand1", kGroupHeight);
    pages.Text("QRLAltersgruppe", QRLAltersgruppe, 0, 2.12, kBandWidth, Arial(10, true));
    pages.RuleUnder(1);
}

void TqrfErgebnisliste::PrintLine(Pages& pages) const {
    pages.Band("qrErgebnisse", kLineHeight);
    pages.Text("qrlVornameName", qrlVornameName, kColName, 1.06, Room(kColName, kColJahrgang));
    pages.Text("QRLJahrgang", QRLJahrgang, kColJahrgang, 1.06, Room(kColJahrgang, kColGraduierung));
    pages.Text("QRLGraduierung", QRLGraduierung, kColGraduierung, 1.06,
               Room(kColGraduierung, kColGewicht));
    pages.Text("QRLGewichtsklasse", QRLGewichtsklasse, kColGewicht, 1.06, kBandWidth - kColGewicht);
    pages.RuleUnder(1);
}

std::vector<tPrintPage> TqrfErgebnisliste::Print(double printedAt) {
    Pages pages(qrlKopfzeile, qrlHinweis, FormatPrintTime(printedAt));
    qrtErgebnislisteBeforePrint();
    PrintTitle(pages);
    PrintAddress(pages);
    while (qrtErgebnislisteNeedData()) {
        DetailBand1BeforePrint();
        PrintGroupBand(pages);
        while (qrErgebnisseNeedData()) {
            if (qrErgebnisseBeforePrint())
                PrintLine(pages);
        }
        pages.Band("DetailFooter", kGroupFooterHeight);
        pages.RuleOver(2);
    }
    return pages.Finish();
}

std::string EntryListHeader(const tVereinData& club, const tTurnierData& event) {
    return "Meldung von " + club.Vereinsname + Win1252(" für ") + event.Bezeichnung + " am " +
           FormatDate(event.Datum) + " in " + event.Ort;
}

std::string FormatPrintTime(double dayNumber) {
    const double fraction = dayNumber - std::floor(dayNumber);
    const int seconds = static_cast<int>(std::clamp(std::round(fraction * 86400), 0.0, 86399.0));
    char time[32];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return FormatDate(dayNumber) + " " + time;
}

std::vector<tPrintPage> LayOutEntryList(const tMeldung& meldung, const tUsedAgeGroups& printGroups,
                                        double printedAt) {
    TqrfErgebnisliste report(meldung.Teilnehmerliste, printGroups);
    report.qrlKopfzeile = EntryListHeader(meldung.Verein, meldung.Turnier);
    report.qrlHinweis = Notice();
    report.FillSender(meldung.Absender, meldung.Verein);
    return report.Print(printedAt);
}

}  // namespace kivrel
