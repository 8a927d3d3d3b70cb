#include "output/mailtext.h"

#include <string_view>

#include "base/buildinfo.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/textrules.h"
#include "output/mapimail.h"

namespace kivrel {

namespace {

constexpr const char* kLineEnd = "\r\n";
const std::string kRule(64, '=');
constexpr const char* kHeader = "Name                                    JG   Grad   Gewicht";

// Filled up with blanks or cut to exactly width characters.
std::string Column(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// The body, one line after the other.
class Lines {
public:
    void Line(std::string_view text = {}) {
        body_ += text;
        body_ += kLineEnd;
    }
    std::string Take() { return std::move(body_); }

private:
    std::string body_;
};

void AddParticipantBlock(Lines& out, const std::string& key, const tTeilnehmerliste& list) {
    bool headed = false;
    for (int i = 0; i < list.Count(); ++i) {
        const tTeilnehmer& t = list.Object(i);
        if (t.Altersgruppe != key)
            continue;
        if (!headed) {
            out.Line(kRule);
            out.Line(key);
            headed = true;
        }
        const std::string prefix = ParticipantLinePrefix(t);
        if (!t.Gewicht.empty())
            out.Line(prefix + t.Gewicht);
        if (t.Allkategorie)
            out.Line(prefix + "Allkategorie");
        if (t.Kata)
            out.Line(prefix + "Kata");
    }
}

}  // namespace

std::string ParticipantLinePrefix(const tTeilnehmer& participant) {
    return Column(participant.Vorname + " " + participant.Nachname, 40) +
           Column(participant.Jahrgang, 5) + Column(GradeText(participant.Graduierung), 7);
}

EntryMail BuildEntryMail(const tMeldung& meldung, const tUsedAgeGroups& usedAgeGroups) {
    static const std::string kFor = Win1252(" für ");
    static const std::string kEntryFor = Win1252("Meldung für");
    static const std::string kRegards = Win1252("Mit sportlichen Grüßen");
    static const std::string kFilesLine =
        Win1252("Mit den Dateien, die Sie im Anhang finden, läßt sich diese ");
    static const std::string kSupportLine =
        Win1252("unterstützt Sie optimal bei Ihrer Wettkampfveranstaltung. ");

    const tTurnierData& event = meldung.Turnier;
    const tVereinData& club = meldung.Verein;
    const tAbsenderData& person = meldung.Absender;
    const std::string date = FormatDate(event.Datum);
    const std::string personName = person.Vorname + " " + person.Nachname;

    EntryMail mail;
    mail.Subject = "Meldung von " + club.Vereinsname + kFor + event.Bezeichnung + " am " + date +
                   " in " + event.Ort;

    Lines out;
    out.Line(club.Vereinsname);
    const std::pair<const char*, const std::string*> affiliations[] = {
        {"Kreis:  ", &club.Kreis},
        {"Bezirk: ", &club.Bezirk},
        {"Land:   ", &club.Land},
        {"Gruppe: ", &club.Gruppe},
    };
    for (const auto& [label, value] : affiliations) {
        if (!IsBlank(*value))
            out.Line(label + *value);
    }
    out.Line();
    out.Line(personName);
    out.Line(person.Strasse);
    out.Line(person.PLZ + " " + person.Ort);
    out.Line();
    out.Line("Telefon p: " + person.Telefonp);
    out.Line("Telefon d: " + person.Telefond);
    out.Line("Telefax: " + person.Telefax);
    out.Line("Telefon Mobil: " + person.Mobil);
    out.Line("Email: " + person.Email);
    out.Line();
    out.Line(kEntryFor);
    out.Line(event.Bezeichnung);
    out.Line("am " + date + " in " + event.Ort);
    out.Line(kRule);
    out.Line(kHeader);
    for (const auto& group : usedAgeGroups)
        AddParticipantBlock(out, group.Key, meldung.Teilnehmerliste);
    out.Line(kRule);
    out.Line();
    out.Line(kRegards);
    out.Line(personName);
    out.Line();
    out.Line();
    out.Line(kRule);
    out.Line("Diese Meldung wurde mit dem Kivrel erstellt.");
    out.Line(kFilesLine);
    out.Line("Meldung direkt in den Solvaring Osmira Edition");
    out.Line("einlesen und dort weiterverarbeiten. Der Solvaring ");
    out.Line(kSupportLine);
    out.Line();
    out.Line("Den kostenlosen Kivrel sowie weitere Informationen zum ");
    out.Line("Solvaring erhalten Sie ");
    out.Line(std::string("im Internet unter ") + buildinfo::kWebAddress);
    mail.Body = out.Take();
    return mail;
}

tHandOver SendEntryMail(const tVersand& versand) {
    return SendMapiMail(versand.Mail.Subject, versand.Mail.Body, "", "", versand.Address,
                        versand.Address, versand.Files);
}

}  // namespace kivrel
