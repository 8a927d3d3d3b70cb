#pragma once

#include <string>
#include <vector>

#include "model/konstanten.h"
#include "output/entryfile.h"

// The printed entry list laid out as pages of positioned texts and rules. The printer only
// draws what this produces, so the whole page layout can be checked without a printer.
// Every position and size is in millimetres from the top left corner of the paper.
namespace kivrel {

// A4 portrait and the report's margins.
inline constexpr double kPaperWidthMm = 210;
inline constexpr double kPaperHeightMm = 297;
inline constexpr double kMarginLeftMm = 10;
inline constexpr double kMarginTopMm = 10;
inline constexpr double kMarginRightMm = 10;
inline constexpr double kMarginBottomMm = 15;

// Rules are drawn in pixels of the report designer's 96 dpi screen.
inline constexpr double kPenUnitMm = 25.4 / 96;

enum class tPrintAlign { Left, Right, Center };

struct tPrintFont {
    std::string Family = "Arial";
    double Points = 10;
    bool Bold = false;
};

// One line of text. A text wider than its box is cut by the printer; it never runs into
// the next field.
struct tPrintText {
    std::string Name;  // the report field it comes from
    std::string Text;  // Windows-1252
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    tPrintAlign Align = tPrintAlign::Left;
    tPrintFont Font;
};

struct tPrintLine {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    int PenWidth = 1;  // in kPenUnitMm
};

// Where a band landed; the printer does not need it, it tells what went where.
struct tPrintBand {
    std::string Name;
    double Top = 0;
    double Height = 0;
};

struct tPrintPage {
    std::vector<tPrintBand> Bands;
    std::vector<tPrintText> Texts;  // in the order they print
    std::vector<tPrintLine> Lines;
};

// The report form of the entry list: header, title and address block, then per age group
// its band and one line per start of each of its participants. Fed by its hooks as a band
// report engine would call them.
class TqrfErgebnisliste {
public:
    // Both lists are read in place and must not change while the report runs.
    TqrfErgebnisliste(const tTeilnehmerliste& participants, const tUsedAgeGroups& printGroups);

    // Fills the address block from person and club.
    void FillSender(const tAbsenderData& person, const tVereinData& club);

    // Runs the report and returns its pages. printedAt is a day number whose fraction is
    // the time of day; it goes into every page footer.
    std::vector<tPrintPage> Print(double printedAt);

    // The labels set before printing.
    std::string qrlKopfzeile;
    std::string qrlHinweis;  // the maker's notice in the page footer
    std::string qrlVerein;
    std::string qrlName;
    std::string qrlStrasse;
    std::string qrlPLZOrt;
    std::string qrlTelefonp;
    std::string qrlTelefond;
    std::string qrlTelefax;
    std::string qrlemail;
    std::string qrlMobil;
    std::string qrlKreis;
    std::string qrlBezirk;
    std::string QRLland;
    std::string qrlGruppe;

private:
    class Pages;

    void qrtErgebnislisteBeforePrint();
    bool qrtErgebnislisteNeedData() const;
    void DetailBand1BeforePrint();
    bool qrErgebnisseNeedData() const;
    // Fills the line's fields; false when the line is not printed.
    bool qrErgebnisseBeforePrint();

    void PrintTitle(Pages& pages) const;
    void PrintAddress(Pages& pages) const;
    void PrintGroupBand(Pages& pages) const;
    void PrintLine(Pages& pages) const;

    const tTeilnehmerliste& participants_;
    const tUsedAgeGroups& printGroups_;

    // The walk: the current age group, participant and start kind (1 weight class,
    // 2 open class, 3 kata).
    int GroupIndex = -1;
    int ParticipantIndex = -1;
    int LineKind = 3;

    std::string QRLAltersgruppe;
    std::string qrlVornameName;
    std::string QRLJahrgang;
    std::string QRLGraduierung;
    std::string QRLGewichtsklasse;
};

// "Meldung von <club> für <event> am <date> in <place>".
std::string EntryListHeader(const tVereinData& club, const tTurnierData& event);

// "dd.MM.yyyy HH:mm:ss" of a day number with its time of day.
std::string FormatPrintTime(double dayNumber);

// The pages of the entry's list with the used age groups, printed at printedAt.
std::vector<tPrintPage> LayOutEntryList(const tMeldung& meldung, const tUsedAgeGroups& printGroups,
                                        double printedAt);

}  // namespace kivrel
