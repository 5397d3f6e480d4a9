#include "report/history/HistoryStore.h"

#include "report/text/ReportTexts.h"

std::string HistoryStore::Reason(const ReportTexts& texts) const {
    const bool german = texts.GetLanguage() == Language::German;
    std::string reason;
    switch (problem) {
    case Problem::None:
    case Problem::Other:
        break;
    case Problem::CannotOpen:
        reason = german ? "Sie kann nicht ge\u00F6ffnet werden (fehlt ihr Verzeichnis, ist sie ein Verzeichnis?)"
                        : "it cannot be opened (is its directory missing, is it a directory?)";
        break;
    case Problem::Missing:
        reason = german ? "Sie fehlt" : "it is missing";
        break;
    case Problem::NotOurs:
        reason = german ? "Sie ist keine Historie von foldscan-report und bleibt unber\u00FChrt"
                        : "it is not a history of foldscan-report and is left as it is";
        break;
    case Problem::Newer:
        return (german ? "Sie stammt von einer neueren Version (" : "it comes from a newer version (") + detail + ")";
    case Problem::ReadOnly:
        reason = german ? "Sie ist schreibgesch\u00FCtzt" : "it is read-only";
        break;
    case Problem::Busy:
        reason = german ? "Ein anderer Lauf h\u00E4lt sie zu lange gesperrt" : "another run keeps it locked too long";
        break;
    case Problem::Damaged:
        reason = german ? "Sie ist besch\u00E4digt" : "it is damaged";
        break;
    case Problem::Writing:
        reason = german ? "Ein anderes Programm schreibt sie gerade; bitte sp\u00E4ter noch einmal versuchen"
                        : "another program is writing it right now; please try again later";
        break;
    case Problem::OldSchema:
        return german ? "Sie hat noch das Format einer fr\u00FCheren Version. Ihre Umstellung kann dauern und geschieht "
                        "nicht unter --timeout: ein Lauf ohne --timeout oder einer mit --migrate-history stellt sie um"
                      : "it is still in the format of an earlier version. Bringing it to this one may take a while "
                        "and is not done under --timeout: a run without --timeout, or one with --migrate-history, "
                        "does it";
    case Problem::NoSpace:
        return ReportTexts::Fill(german ? "Ihre Umstellung auf das Format dieser Version braucht so viel freien Platz, "
                                          "wie sie gro\u00DF ist (%s); frei sind %s"
                                        : "bringing it to the format of this version needs as much free space as it "
                                          "takes (%s); %s are free",
                                 {texts.Size(spaceNeeded, true), texts.Size(spaceFree, true)});
    case Problem::Full:
        reason = german ? "Der Datentr\u00E4ger ist voll" : "the disk is full";
        break;
    }
    if (detail.empty()) return reason;
    return reason.empty() ? "SQLite: " + detail : reason + " (SQLite: " + detail + ")";
}
