#include "report/ReportTexts.h"

#include "bignum/BigInt.h"
#include "report/Utf8.h"

namespace {

BigInt Unsigned(uint64_t value) {
    unsigned char le[sizeof value];
    for (size_t i = 0; i < sizeof value; ++i) le[i] = static_cast<unsigned char>(value >> (8 * i));
    return BigInt::FromBytes(le, sizeof le, 1);
}

}  // namespace

ReportTexts::ReportTexts(Language language) : language(language) {
    if (language == Language::German)
        German();
    else
        English();
}

std::string ReportTexts::Fill(const std::string& pattern, std::initializer_list<std::string> arguments) {
    std::string out;
    auto next = arguments.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd') &&
            next != arguments.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// German groups by "." and writes a decimal comma; English the other way.
std::string ReportTexts::Size(uint64_t bytes, bool compact) const {
    const bool german = language == Language::German;
    char separator = compact == german ? ',' : '.';
    return Unsigned(bytes).ToSizeText(separator, compact);
}

std::string ReportTexts::Change(uint64_t before, uint64_t now, bool compact) const {
    return (now < before ? "-" : "+") + Size(now < before ? before - now : now - before, compact);
}

std::string ReportTexts::Share(unsigned permille, bool sign) const {
    const bool german = language == Language::German;
    std::string text = std::to_string(permille / 10) + (german ? ',' : '.') + std::to_string(permille % 10);
    return sign ? text + (german ? " %" : "%") : text;
}

std::string ReportTexts::Summary(uint64_t count, uint64_t total) const {
    return Fill(summaryPattern, {std::to_string(count), Size(total, true), Size(total, false)});
}

std::string ReportTexts::StatusText(FolderStatus status) const {
    if (language == Language::German) return FolderStatusText(status);
    switch (status) {
    case FolderStatus::Ok:
        return "";
    case FolderStatus::CannotOpen:
        return "<File could not be opened for reading.>";
    case FolderStatus::NotValid:
        return "<File is not a valid PMM file.>";
    case FolderStatus::MbxCannotOpen:
        return "<MBX file could not be opened for reading.>";
    case FolderStatus::PmgCannotOpen:
        return "<PMG file could not be opened for reading.>";
    case FolderStatus::PmgNotValid:
        return "<Folder has no valid PMG file.>";
    }
    return "";
}

std::string ReportTexts::Describe(const Finding& finding) const {
    auto joined = [](const std::vector<std::string>& parts, const char* separator) {
        std::string out;
        for (const std::string& part : parts) out += (out.empty() ? "" : separator) + Utf8FromCp1252(part);
        return out;
    };
    std::string file = finding.files.empty() ? std::string() : Utf8FromCp1252(finding.files.front());
    std::string key = finding.keys.empty() ? std::string() : Utf8FromCp1252(finding.keys.front());
    std::string text = Utf8FromCp1252(finding.text);
    switch (finding.kind) {
    case Finding::Kind::NoHierarchy:
        return noHierarchy;
    case Finding::Kind::KeyNotInHierarchy:
        return Fill(keyNotInHierarchy, {file, key});
    case Finding::Kind::EntryWithoutFile:
        return Fill(entryWithoutFile, {text, key});
    case Finding::Kind::ParentMissing:
        return Fill(parentMissing, {text, key, finding.keys.size() > 1 ? Utf8FromCp1252(finding.keys[1]) : ""});
    case Finding::Kind::Unreadable:
        return Fill(unreadable, {file, Utf8FromCp1252(StatusText(finding.status))});
    case Finding::Kind::MbxWithoutPmg:
        return Fill(mbxWithoutPmg, {file});
    case Finding::Kind::PmgWithoutMbx:
        return Fill(pmgWithoutMbx, {file});
    case Finding::Kind::HierarchyLoop:
        return Fill(hierarchyLoop, {joined(finding.keys, " \u2192 ") + " \u2192 " + key});
    case Finding::Kind::SamePath:
        return Fill(samePath, {text, joined(finding.files, ", ")});
    }
    return std::string();
}

void ReportTexts::German() {
    fileNameColumn = "Dateiname";
    sizeColumn = "Gr\u00F6\u00DFe";
    folderNameColumn = "Ordnername";
    growthColumn = "Zuwachs";
    shareColumn = "Anteil";
    overviewHeading = "\u00DCbersicht";
    mailboxColumn = "Postfach";
    countColumn = "Dateien";
    largestColumn = "Gr\u00F6\u00DFter Ordner";
    topHeading = "Die %d gr\u00F6\u00DFten Ordner";
    hiddenPattern = "%d kleinere Ordner ausgeblendet";
    treeFolderColumn = "Ordner";
    ownSizeColumn = "Eigene Gr\u00F6\u00DFe";
    cumulativeColumn = "Gesamtgr\u00F6\u00DFe";
    filesColumn = "Dateien";

    newMailLabel = "<Posteingang>";
    mailboxHeading = "Postfach %s";
    totalHeading = "Gesamt: %s";
    summaryPattern = "%d Dateien, %s (%s Bytes)";

    added = "neu";
    removed = "entfernt";
    noEarlierState = "Kein fr\u00FCherer Stand f\u00FCr dieses Postfach.";
    growthPattern = "Zuwachs seit %s: %s (%s Bytes)";
    removedPattern = "Entfernt: %s, zuvor %s";
    unknownTime = "unbekannt";

    findingsHeading = "Befunde:";
    noFindings = "Keine Befunde.";
    noHierarchy = "hierarch.pm kann nicht gelesen werden.";
    keyNotInHierarchy = "%s: Schl\u00FCssel \"%s\" fehlt in hierarch.pm.";
    entryWithoutFile = "hierarch.pm: Eintrag \"%s\" (%s) hat keine Ordnerdatei.";
    parentMissing = "hierarch.pm: Eintrag \"%s\" (%s) nennt den fehlenden Elterneintrag \"%s\".";
    unreadable = "%s: nicht lesbar oder zu kurz: %s";
    mbxWithoutPmg = "%s: .MBX-Datei ohne .PMG-Datei.";
    pmgWithoutMbx = "%s: .PMG-Datei ohne .MBX-Datei.";
    hierarchyLoop = "hierarch.pm: Schleife: %s.";
    samePath = "Derselbe Pfad \"%s\" f\u00FCr %s.";

    mailboxUnreadable = "foldscan-report: Postfach nicht gefunden oder nicht lesbar: %s";
    badOption = "foldscan-report: Ung\u00FCltiger Aufruf: %s";
    seeHelp = "Hilfe: foldscan-report --help";
    stateInsideMailbox =
        "foldscan-report: Die Zustandsdatei %s liegt im Postfach %s; sie geh\u00F6rt nicht in den Mailspeicher.";
    stateUnreadable = "foldscan-report: Die Zustandsdatei %s kann nicht gelesen werden: %s";
    stateUnwritable = "foldscan-report: Die Zustandsdatei %s kann nicht geschrieben werden.";
    oneTableOnly = "--format %s zeigt nur eine Tabelle: --tree, --check oder --top, nur eines davon.";
    badTop = "--top %s: erwartet wird eine ganze Zahl ab 1.";
    badMinSize = "--min-size %s: erwartet wird eine ganze Zahl von Bytes, auch mit k, M, G oder T (1k = 1024).";
    progress = "foldscan-report: %d von %d Postf\u00E4chern gelesen";

    helpIntro = "Zeigt f\u00FCr jedes Postfach (MAILBOX) die Ordnerliste des foldscan-Panels: Dateiname, "
                "Gr\u00F6\u00DFe, Ordnername und die Summenzeile.";
    helpMailbox = "Postfachverzeichnis (eines oder mehrere)";
    helpFormat = "Ausgabeformat: table, tsv, csv, json oder html";
    helpSort = "Sortierung: name, size oder folder, mit :desc absteigend";
    helpExact = "Gr\u00F6\u00DFen genau in Bytes";
    helpCompact = "Gr\u00F6\u00DFen kompakt (kB, MB, GB; Vorgabe)";
    helpNoPaths = "Ordnernamen ohne Pfad aus hierarch.pm";
    helpNewMail = "Zeile f\u00FCr den Posteingang aus den .CNM-Dateien von DIR (relativ zum Postfach)";
    helpNoNewMail = "keine Posteingangszeile";
    helpTree = "Ordnerbaum mit eigener und Gesamtgr\u00F6\u00DFe";
    helpCheck = "Konsistenzpr\u00FCfung (nur lesend); Exit-Code 1 bei Befunden";
    helpSince = "Zuwachs seit dem letzten Lauf, der STATEFILE schrieb (au\u00DFerhalb des Postfachs)";
    helpTop = "die N gr\u00F6\u00DFten Ordner aller Postf\u00E4cher als eine Liste (statt der Ordnerlisten)";
    helpMinSize = "kleinere Ordner nicht auflisten; SIZE in Bytes oder mit k, M, G, T (1k = 1024)";
    helpJobs = "so viele Postf\u00E4cher gleichzeitig lesen (Vorgabe: Anzahl der Prozessoren)";
    helpLang = "Sprache der Ausgabe: de oder en (Vorgabe aus LC_ALL, LC_MESSAGES, LANG)";
    helpHelp = "diese Hilfe zeigen";
    helpVersion = "Version zeigen";
    helpUsage = "Aufruf";
    helpOptions = "OPTIONEN";
    helpPositionals = "ARGUMENTE";
    helpRequired = "(erforderlich)";

    pageTitle = "Ordnerstatistik";
    treemapHeading = "Ordnerbaum nach Gr\u00F6\u00DFe";
    treemapOwnFiles = "%s (eigene Dateien)";
    sortHint = "Ein Klick auf eine Spalten\u00FCberschrift sortiert, ein zweiter kehrt die Reihenfolge um.";
    filterLabel = "Filter (Dateiname oder Ordnername):";
    filterMatches = "%d passende Zeilen";
    rowsShown = "%d von %d Zeilen";
    moreRows = "%d weitere";
    allRows = "alle";
}

void ReportTexts::English() {
    fileNameColumn = "File name";
    sizeColumn = "Size";
    folderNameColumn = "Folder name";
    growthColumn = "Growth";
    shareColumn = "Share";
    overviewHeading = "Overview";
    mailboxColumn = "Mailbox";
    countColumn = "Files";
    largestColumn = "Largest folder";
    topHeading = "The %d largest folders";
    hiddenPattern = "%d smaller folders hidden";
    treeFolderColumn = "Folder";
    ownSizeColumn = "Own size";
    cumulativeColumn = "Total size";
    filesColumn = "Files";

    newMailLabel = "<Inbox>";
    mailboxHeading = "Mailbox %s";
    totalHeading = "Total: %s";
    summaryPattern = "%d files, %s (%s bytes)";

    added = "new";
    removed = "removed";
    noEarlierState = "No earlier state for this mailbox.";
    growthPattern = "Growth since %s: %s (%s bytes)";
    removedPattern = "Removed: %s, before %s";
    unknownTime = "unknown";

    findingsHeading = "Findings:";
    noFindings = "No findings.";
    noHierarchy = "hierarch.pm cannot be read.";
    keyNotInHierarchy = "%s: key \"%s\" is missing from hierarch.pm.";
    entryWithoutFile = "hierarch.pm: entry \"%s\" (%s) has no folder file.";
    parentMissing = "hierarch.pm: entry \"%s\" (%s) names the missing parent \"%s\".";
    unreadable = "%s: unreadable or short: %s";
    mbxWithoutPmg = "%s: .MBX file without .PMG file.";
    pmgWithoutMbx = "%s: .PMG file without .MBX file.";
    hierarchyLoop = "hierarch.pm: loop: %s.";
    samePath = "The same path \"%s\" for %s.";

    mailboxUnreadable = "foldscan-report: mailbox not found or not readable: %s";
    badOption = "foldscan-report: bad command line: %s";
    seeHelp = "Help: foldscan-report --help";
    stateInsideMailbox =
        "foldscan-report: the state file %s lies in the mailbox %s; it does not belong in the mail store.";
    stateUnreadable = "foldscan-report: the state file %s cannot be read: %s";
    stateUnwritable = "foldscan-report: the state file %s cannot be written.";
    oneTableOnly = "--format %s shows one table only: one of --tree, --check and --top.";
    badTop = "--top %s: a whole number from 1 on is expected.";
    badMinSize = "--min-size %s: a whole number of bytes is expected, also with k, M, G or T (1k = 1024).";
    progress = "foldscan-report: %d of %d mailboxes read";

    helpIntro = "Shows for each MAILBOX the folder list of the foldscan panel: file name, size, folder name "
                "and the summary line.";
    helpMailbox = "mailbox directory (one or more)";
    helpFormat = "output format: table, tsv, csv, json or html";
    helpSort = "order: name, size or folder, descending with :desc";
    helpExact = "sizes exact in bytes";
    helpCompact = "sizes compact (kB, MB, GB; the default)";
    helpNoPaths = "folder names without their path from hierarch.pm";
    helpNewMail = "a row for new mail from the .CNM files of DIR (relative to the mailbox)";
    helpNoNewMail = "no row for new mail";
    helpTree = "the folder tree with own and total sizes";
    helpCheck = "consistency check (read only); exit code 1 on findings";
    helpSince = "growth since the last run that wrote STATEFILE (outside the mailbox)";
    helpTop = "the N largest folders of all mailboxes as one list (in place of the folder lists)";
    helpMinSize = "leave smaller folders out of the lists; SIZE in bytes or with k, M, G, T (1k = 1024)";
    helpJobs = "read this many mailboxes at once (default: the number of processors)";
    helpLang = "language of the output: de or en (default from LC_ALL, LC_MESSAGES, LANG)";
    helpHelp = "show this help";
    helpVersion = "show the version";
    helpUsage = "Usage";
    helpOptions = "OPTIONS";
    helpPositionals = "POSITIONALS";
    helpRequired = "(required)";

    pageTitle = "Folder statistics";
    treemapHeading = "Folder tree by size";
    treemapOwnFiles = "%s (own files)";
    sortHint = "Click a column heading to sort; click it again to reverse the order.";
    filterLabel = "Filter (file name or folder name):";
    filterMatches = "%d matching rows";
    rowsShown = "%d of %d rows";
    moreRows = "%d more";
    allRows = "all";
}
