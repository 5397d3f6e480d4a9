#include "report/text/ReportTexts.h"

#include "report/text/Utf8.h"

namespace {

std::string Grouped(uint64_t value, char separator) {
    std::string digits = std::to_string(value), text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
        text += digits[i];
    }
    return text;
}

}  // namespace

uint64_t ReportTexts::TenthsOf(uint64_t bytes, unsigned shift) {
    // 100 * bytes / 2^shift without overflow: the whole units and the rest apart.
    const uint64_t whole = bytes >> shift, rest = bytes & ((uint64_t{1} << shift) - 1);
    const uint64_t hundredths = 100 * whole + ((100 * rest) >> shift);
    return (hundredths + 5) / 10;
}

ReportTexts::ReportTexts(Language language) : language(language) {
    if (language == Language::German)
        German();
    else
        English();
}

namespace {

const char* const HelpCommand = "foldscan-report --help";

}  // namespace

bool ReportTexts::PointsToHelp(const std::string& line) {
    return line == std::string("Hilfe: ") + HelpCommand || line == std::string("Help: ") + HelpCommand;
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
// The panel's rules (BigInt::ToSizeText) in 64-bit arithmetic, which a
// million rows need: tenths of the largest unit reached, halves up.
std::string ReportTexts::Size(uint64_t bytes, bool compact) const {
    const bool german = language == Language::German;
    const char separator = compact == german ? ',' : '.';
    if (!compact) return Grouped(bytes, separator);
    static const struct {
        unsigned shift;
        const char* text;
    } units[] = {{40, " TB"}, {30, " GB"}, {20, " MB"}, {10, " kB"}};
    for (const auto& unit : units) {
        if (bytes >> unit.shift == 0) continue;
        const uint64_t tenths = TenthsOf(bytes, unit.shift);
        return std::to_string(tenths / 10) + separator + std::to_string(tenths % 10) + unit.text;
    }
    return std::to_string(bytes) + (bytes == 1 ? " Byte" : " Bytes");
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
    noEarlierRun = "Kein fr\u00FCherer Lauf mit diesem Postfach in der Historie.";
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
    seeHelp = std::string("Hilfe: ") + HelpCommand;
    stateInsideMailbox =
        "foldscan-report: Die Zustandsdatei %s liegt im Postfach %s; sie geh\u00F6rt nicht in den Mailspeicher.";
    stateUnreadable = "foldscan-report: Die Zustandsdatei %s kann nicht gelesen werden: %s";
    stateUnwritable = "foldscan-report: Die Zustandsdatei %s kann nicht geschrieben werden.";
    oneTableOnly = "--format %s zeigt nur eine Tabelle: --tree, --check oder --top, nur eines davon.";
    badTop = "--top %s: erwartet wird eine ganze Zahl ab 1.";
    badMinSize = "--min-size %s: erwartet wird eine ganze Zahl von Bytes, auch mit k, M, G oder T (1k = 1024).";
    progress = "foldscan-report: %d von %d Postf\u00E4chern gelesen";
    sameMailbox = "foldscan-report: %s ist dasselbe Postfach wie %s und wird einmal gezeigt.";
    outputUnwritable = "foldscan-report: Die Ausgabe kann nicht geschrieben werden.";
    historyInsideMailbox =
        "foldscan-report: Die Historie %s liegt im Postfach %s; sie geh\u00F6rt nicht in den Mailspeicher.";
    historyUnreadable = "foldscan-report: Die Historie %s kann nicht gelesen werden. %s.";
    historyUnwritable = "foldscan-report: Der Lauf kann nicht in die Historie %s geschrieben werden. %s.";
    unknownOption = "unbekannte Option %s";
    valueMissing = "%s ohne Wert";
    flagWithValue = "%s nimmt keinen Wert";
    mailboxMissing = "MAILBOX fehlt";
    notUnderstood = "nicht verstanden (%s)";
    badFormat = "--format %s: erwartet wird table, tsv, csv, json oder html.";
    badSort = "--sort %s: erwartet wird name, size, folder oder growth, mit :desc absteigend.";
    badLang = "--lang %s: erwartet wird de oder en.";
    badJobs = "--jobs %s: erwartet wird eine ganze Zahl ab 0.";
    badSince = "--growth-since %s: erwartet wird eine Dauer wie 12h, 7d, 2w oder ein Datum wie 2026-11-01 oder "
               "01.11.2026.";
    emptyFile = "%s ohne Dateinamen";
    exclusive = "%s und %s schlie\u00DFen einander aus";
    needs = "%s braucht %s";

    helpIntro = "Zeigt f\u00FCr jedes Postfach (MAILBOX) die Ordnerliste des foldscan-Panels: Dateiname, "
                "Gr\u00F6\u00DFe, Ordnername und die Summenzeile.";
    helpMailbox = "Postfachverzeichnis (eines oder mehrere)";
    helpFormat = "Ausgabeformat: table, tsv, csv, json oder html";
    helpSort = "Sortierung: name, size, folder oder growth, mit :desc absteigend";
    helpExact = "Gr\u00F6\u00DFen genau in Bytes";
    helpCompact = "Gr\u00F6\u00DFen kompakt (kB, MB, GB; Vorgabe)";
    helpNoPaths = "Ordnernamen ohne Pfad aus hierarch.pm";
    helpNewMail = "Zeile f\u00FCr den Posteingang aus den .CNM-Dateien von DIR (relativ zum Postfach)";
    helpNoNewMail = "keine Posteingangszeile";
    helpTree = "Ordnerbaum mit eigener und Gesamtgr\u00F6\u00DFe";
    helpCheck = "Konsistenzpr\u00FCfung (nur lesend); Exit-Code 1 bei Befunden";
    helpSince = "Zuwachs seit dem letzten Lauf, der STATEFILE schrieb (au\u00DFerhalb des Postfachs)";
    helpHistory = "jeden Lauf in der SQLite-Datenbank FILE festhalten (au\u00DFerhalb des Postfachs)";
    helpGrowth = "Zuwachs seit dem vorigen Lauf in der Historie (mit --history)";
    helpGrowthSince = "Zuwachs seit dem Lauf, der SINCE am n\u00E4chsten liegt: 12h, 7d, 2w oder ein Datum wie "
                      "2026-11-01 oder 01.11.2026 (mit --history oder --from-history)";
    helpExcel = "mit --format csv: f\u00FCr Tabellenkalkulationen (Semikolon, BOM, CR LF, keine Formeln)";
    helpTop = "die N gr\u00F6\u00DFten Ordner aller Postf\u00E4cher als eine Liste (statt der Ordnerlisten)";
    helpMinSize = "kleinere Ordner nicht auflisten; SIZE in Bytes oder mit k, M, G, T (1k = 1024)";
    helpJobs = "so viele Ordnerdateien und Postf\u00E4cher gleichzeitig lesen, h\u00F6chstens 256 (Vorgabe und 0: "
               "Anzahl der Prozessoren)";
    helpLang = "Sprache der Ausgabe: de oder en (Vorgabe aus LC_ALL, LC_MESSAGES, LANG)";
    helpHelp = "diese Hilfe zeigen";
    helpVersion = "Version zeigen";
    helpFooter = "Beispiele:\n"
                 "  foldscan-report ~/Mail                                  Ordnerliste eines Postfachs\n"
                 "  foldscan-report --top 20 /srv/mail/*                    die 20 gr\u00F6\u00DFten Ordner "
                 "aller Postf\u00E4cher\n"
                 "  foldscan-report --history h.db --growth-since 7d --sort growth:desc /srv/mail/*\n"
                 "                                                          was in einer Woche gewachsen ist\n"
                 "\n"
                 "Exit-Codes:\n"
                 "  0  erfolgreich\n"
                 "  1  --check hat Befunde\n"
                 "  2  ung\u00FCltiger Aufruf, oder ein Postfach, die Ausgabe, die Zustandsdatei oder die\n"
                 "     Historie konnte nicht gelesen oder geschrieben werden, oder --timeout lief ab\n"
                 "  Mit --monitor der Status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN\n";
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

    // The history read and kept.
    generatedPattern = "Erstellt: %s";
    addedSince = "neu seit %s";
    historyTooShortOne = "F\u00FCr %d Postfach reicht die Historie nicht bis %s zur\u00FCck; verglichen wird mit "
                         "seinem fr\u00FChesten Lauf: %s.";
    historyTooShort = "F\u00FCr %d Postf\u00E4cher reicht die Historie nicht bis %s zur\u00FCck; verglichen wird "
                      "jeweils mit dem fr\u00FChesten Lauf: %s.";
    historyShortFor = "%s (ab %s)";
    historyShortMore = " und %d weitere";
    recordedPattern = "Aufgezeichnet: %s";
    notFoundSince = "Zuletzt aufgezeichnet: %s; nicht mehr gefunden seit %s.";
    goneSince = "nicht mehr gefunden seit %s";
    helpTimeline = "mit --from-history: die aufgezeichneten L\u00E4ufe jedes Postfachs (MAILBOX oder alle), mit "
                   "--growth-since ab dann";
    helpChanges = "mit --from-history: was an Ordnern und Postf\u00E4chern kam, ging und verschoben wurde, seit "
                  "--growth-since (sonst in den letzten 7 Tagen), das \u00C4lteste zuerst";
    helpFilter = "mit --changes: nur \u00C4nderungen, deren Dateiname, Ordnername oder Pfad TEXT enth\u00E4lt, "
                 "gleich ob gro\u00DF oder klein geschrieben";
    helpRenameMailbox = "mit --history: die L\u00E4ufe des Postfachs OLD denen von NEW voranstellen, das OLD nach "
                        "einer Umbenennung ist";
    renameDone = "foldscan-report: Die L\u00E4ufe von %s geh\u00F6ren nun zu %s.";
    renameOverlap = "foldscan-report: %s hat schon L\u00E4ufe aus der Zeit von %s: es ist kein umbenanntes Postfach.";
    renameNested = "foldscan-report: %s und %s sind dasselbe Postfach, oder eines liegt im anderen.";
    renameNeedsNew = "%s OLD NEW: nach OLD genau ein neuer Pfad NEW, und kein anderes Postfach";
    renameLikely = "foldscan-report: Das neue Postfach %s hat die Ordner von %s, das in diesem Lauf fehlt. Wurde es "
                   "umbenannt, verbindet foldscan-report --history %s --rename-mailbox %s %s ihre L\u00E4ufe.";
    recordedColumn = "Aufgezeichnet";
    changeColumn = "\u00C4nderung";
    beforeColumn = "Vorher";
    changesHeading = "\u00C4nderungen seit %s";
    noChanges = "Keine \u00C4nderungen.";
    changeNames = {"neu", "entfernt", "verschoben", "Postfach neu", "Postfach fehlt", "Postfach umbenannt"};
    removedFolderPattern = "Entfernt: %s (%s), zuvor %s";
    movedPattern = "Verschoben: %s von %s nach %s";
    totalGrowthHeading = "Gesamt: %s; Zuwachs %s";
    growthTopHeading = "Gr\u00F6\u00DFte Zuw\u00E4chse";
    historyChartHeading = "Gesamtgr\u00F6\u00DFe im Verlauf";
    sparkColumn = "Verlauf";
    filterMatch = "%d passende Zeile";
    historyUnknown = "foldscan-report: Das Postfach %s ist nicht in der Historie.";
    badKeep = "--keep %s: erwartet wird eine Dauer in Tagen, Wochen oder Jahren wie 90d, 52w oder 1y.";
    keepTooShort = "--keep %s: Minuten (m) und Stunden (h) sind keine Aufbewahrungsdauer; erwartet werden Tage, "
                   "Wochen oder Jahre wie 90d, 52w oder 1y (zw\u00F6lf Monate: 1y).";
    helpFromHistory = "den Bericht allein aus der Historie FILE, ohne ein Postfach zu lesen: der letzte Lauf jedes "
                      "Postfachs (MAILBOX oder alle), verglichen mit dem vorigen oder dem von --growth-since";
    topGrownHeading = "Die %d Ordner mit dem gr\u00F6\u00DFten Zuwachs";
    topShrunkHeading = "Die %d Ordner, die am meisten geschrumpft sind";
    helpKeep = "mit --history: L\u00E4ufe, die \u00E4lter als SPAN sind, nach dem Festhalten l\u00F6schen (nie "
               "den letzten eines Postfachs): Tage, Wochen oder Jahre wie 90d, 52w, 1y";

    // The administrator's routine.
    helpOutput = "den Bericht in die Datei FILE schreiben, erst wenn er ganz ist (au\u00DFerhalb des Postfachs)";
    outputFileUnwritable = "foldscan-report: Die Ausgabedatei %s kann nicht geschrieben werden.";
    outputInsideMailbox =
        "foldscan-report: Die Ausgabedatei %s liegt im Postfach %s; sie geh\u00F6rt nicht in den Mailspeicher.";
    sameFile = "%s und %s nennen dieselbe Datei";
    helpMailboxesFrom = "Postfachpfade aus FILE, einer je Zeile (UTF-8; - f\u00FCr die Standardeingabe; "
                        "# leitet Kommentare ein)";
    helpAllUnder = "jedes Verzeichnis unter DIR, das Ordnerdateien oder hierarch.pm enth\u00E4lt (Verkn\u00FCpfungen "
                   "werden nicht verfolgt)";
    patternMatchesNothing = "foldscan-report: Das Muster %s passt auf kein Verzeichnis.";
    patternUnlistable = "foldscan-report: Das Verzeichnis %s kann nicht gelesen werden (Muster %s).";
    listUnreadable = "foldscan-report: Die Postfachliste %s kann nicht gelesen werden: %s.";
    listMissing = "Sie fehlt";
    listDirectory = "Sie ist ein Verzeichnis";
    listNotFile = "Sie ist keine gew\u00F6hnliche Datei (- liest die Standardeingabe)";
    listTooLarge = "Sie ist gr\u00F6\u00DFer als 64 MB";
    listReadError = "Lesefehler";
    listNotText = "Zeile %d ist kein Text in UTF-8";
    listLineTooLong = "Zeile %d ist l\u00E4nger, als ein Pfad sein kann";
    listEmpty = "foldscan-report: Die Postfachliste %s nennt kein Postfach.";
    standardInput = "(Standardeingabe)";
    rootUnlistable = "foldscan-report: Das Verzeichnis %s kann nicht gelesen werden.";
    noMailboxUnder = "foldscan-report: Unter %s liegt kein Postfach.";
    directorySkipped = "foldscan-report: Das Verzeichnis %s kann nicht gelesen werden und wird \u00FCbergangen.";
    directoryFailed = "foldscan-report: Das Verzeichnis %s war wegen eines Ein-/Ausgabefehlers nicht lesbar: "
                      "die Postf\u00E4cher darin fehlen in diesem Lauf.";
    helpMonitor = "eine Statuszeile f\u00FCr \u00DCberwachungssysteme; Exit-Code 0 OK, 1 WARNING, 2 CRITICAL, "
                  "3 UNKNOWN";
    helpWarn = "mit --monitor: Warnung, wenn ein Postfach zusammen mehr als SIZE belegt";
    helpCrit = "mit --monitor: kritisch, wenn ein Postfach zusammen mehr als SIZE belegt";
    helpWarnFolder = "mit --monitor: Warnung, wenn ein Ordner mehr als SIZE belegt";
    helpCritFolder = "mit --monitor: kritisch, wenn ein Ordner mehr als SIZE belegt";
    badThreshold = "%s %s: erwartet wird eine ganze Zahl von Bytes, auch mit k, M, G oder T (1k = 1024).";
    warnAboveCrit = "%s %s liegt \u00FCber %s %s";
    monitorSummary = "%d Postf\u00E4cher, zusammen %s";
    monitorOver = "%d von %d Postf\u00E4chern \u00FCber einer Schwelle: %s";
    monitorUnreadable = "%d von %d Postf\u00E4chern nicht lesbar: %s";
    monitorRunFailed = "Der Lauf ist nicht vollst\u00E4ndig festgehalten (siehe unten)";
    monitorMore = "und %d weitere";
    monitorCritical = "kritisch";
    monitorWarning = "Warnung";
    monitorTotalOver = "zusammen %s, \u00FCber %s (%s)";
    monitorFolderOver = "Ordner %s mit %s, \u00FCber %s (%s)";
    monitorFoldersOver = "%d Ordner \u00FCber %s, der gr\u00F6\u00DFte %s mit %s (%s)";
    helpTimeout = "nach so vielen Sekunden abbrechen, ohne etwas zu schreiben oder festzuhalten";
    badTimeout = "--timeout %s: erwartet wird eine ganze Zahl von Sekunden von 1 bis 86400.";
    timedOut = "foldscan-report: Nach %d s abgebrochen; nichts wurde geschrieben oder festgehalten.";
    timedOutReading =
        "foldscan-report: Nach %d s abgebrochen beim Lesen von %s; nichts wurde geschrieben oder festgehalten.";
    mailboxIncomplete = "foldscan-report: Postfach %s nicht vollst\u00E4ndig gelesen (%s).";
    notRecorded = "foldscan-report: Nicht festgehalten, ihr letzter festgehaltener Stand bleibt g\u00FCltig: %s";
    listingBroke = "die Liste seiner Ordnerdateien brach ab";
    fileFailed = "%s war wegen eines Ein-/Ausgabefehlers nicht lesbar";
    helpWarnGrowth = "mit --monitor und --history: Warnung, wenn ein Postfach um mehr als SIZE gewachsen ist";
    helpCritGrowth = "mit --monitor und --history: kritisch, wenn ein Postfach um mehr als SIZE gewachsen ist";
    monitorGrowthOver = "Zuwachs %s seit %s, \u00FCber %s (%s)";
    helpMigrateHistory = "mit --history: die Historie auf das Format dieser Version bringen, auch unter --timeout; "
                         "ohne MAILBOX nur das";
    historyMigrated = "foldscan-report: Die Historie %s hat das Format dieser Version.";
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
    noEarlierRun = "No earlier run with this mailbox in the history.";
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
    seeHelp = std::string("Help: ") + HelpCommand;
    stateInsideMailbox =
        "foldscan-report: the state file %s lies in the mailbox %s; it does not belong in the mail store.";
    stateUnreadable = "foldscan-report: the state file %s cannot be read: %s";
    stateUnwritable = "foldscan-report: the state file %s cannot be written.";
    oneTableOnly = "--format %s shows one table only: one of --tree, --check and --top.";
    badTop = "--top %s: a whole number from 1 on is expected.";
    badMinSize = "--min-size %s: a whole number of bytes is expected, also with k, M, G or T (1k = 1024).";
    progress = "foldscan-report: %d of %d mailboxes read";
    sameMailbox = "foldscan-report: %s is the same mailbox as %s and is shown once.";
    outputUnwritable = "foldscan-report: the output cannot be written.";
    historyInsideMailbox =
        "foldscan-report: the history %s lies in the mailbox %s; it does not belong in the mail store.";
    historyUnreadable = "foldscan-report: the history %s cannot be read: %s.";
    historyUnwritable = "foldscan-report: the run cannot be written to the history %s: %s.";
    unknownOption = "unknown option %s";
    valueMissing = "%s needs a value";
    flagWithValue = "%s takes no value";
    mailboxMissing = "MAILBOX is missing";
    notUnderstood = "not understood (%s)";
    badFormat = "--format %s: table, tsv, csv, json or html is expected.";
    badSort = "--sort %s: name, size, folder or growth is expected, with :desc for descending.";
    badLang = "--lang %s: de or en is expected.";
    badJobs = "--jobs %s: a whole number from 0 up is expected.";
    badSince = "--growth-since %s: a span such as 12h, 7d, 2w or a date such as 2026-11-01 or 01.11.2026 is "
               "expected.";
    emptyFile = "%s without a file name";
    exclusive = "%s and %s exclude each other";
    needs = "%s needs %s";

    helpIntro = "Shows for each MAILBOX the folder list of the foldscan panel: file name, size, folder name "
                "and the summary line.";
    helpMailbox = "mailbox directory (one or more)";
    helpFormat = "output format: table, tsv, csv, json or html";
    helpSort = "order: name, size, folder or growth, descending with :desc";
    helpExact = "sizes exact in bytes";
    helpCompact = "sizes compact (kB, MB, GB; the default)";
    helpNoPaths = "folder names without their path from hierarch.pm";
    helpNewMail = "a row for new mail from the .CNM files of DIR (relative to the mailbox)";
    helpNoNewMail = "no row for new mail";
    helpTree = "the folder tree with own and total sizes";
    helpCheck = "consistency check (read only); exit code 1 on findings";
    helpSince = "growth since the last run that wrote STATEFILE (outside the mailbox)";
    helpHistory = "keep every run in the SQLite database FILE (outside the mailbox)";
    helpGrowth = "growth since the previous run in the history (with --history)";
    helpGrowthSince = "growth since the run nearest to SINCE: 12h, 7d, 2w or a date such as 2026-11-01 or "
                      "01.11.2026 (with --history or --from-history)";
    helpExcel = "with --format csv: for spreadsheets (semicolons, BOM, CR LF, no formulas)";
    helpTop = "the N largest folders of all mailboxes as one list (in place of the folder lists)";
    helpMinSize = "leave smaller folders out of the lists; SIZE in bytes or with k, M, G, T (1k = 1024)";
    helpJobs = "read this many folder files and mailboxes at once, at most 256 (default and 0: the number of "
               "processors)";
    helpLang = "language of the output: de or en (default from LC_ALL, LC_MESSAGES, LANG)";
    helpHelp = "show this help";
    helpVersion = "show the version";
    helpFooter = "Examples:\n"
                 "  foldscan-report ~/Mail                                  the folder list of one mailbox\n"
                 "  foldscan-report --top 20 /srv/mail/*                    the 20 largest folders of all mailboxes\n"
                 "  foldscan-report --history h.db --growth-since 7d --sort growth:desc /srv/mail/*\n"
                 "                                                          what grew in a week\n"
                 "\n"
                 "Exit codes:\n"
                 "  0  success\n"
                 "  1  --check found something\n"
                 "  2  a bad command line, or a mailbox, the output, the state file or the history could\n"
                 "     not be read or written, or --timeout ran out\n"
                 "  With --monitor the state: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN\n";
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

    // The history read and kept.
    generatedPattern = "Generated: %s";
    addedSince = "new since %s";
    historyTooShortOne = "For %d mailbox the history does not reach back to %s; it is compared with its earliest "
                         "run: %s.";
    historyTooShort = "For %d mailboxes the history does not reach back to %s; each is compared with its earliest "
                      "run: %s.";
    historyShortFor = "%s (from %s)";
    historyShortMore = " and %d more";
    recordedPattern = "Recorded: %s";
    notFoundSince = "Last recorded: %s; not found since %s.";
    goneSince = "not found since %s";
    helpTimeline = "with --from-history: each mailbox's (MAILBOX or all) recorded runs, from --growth-since on";
    helpChanges = "with --from-history: the folders and mailboxes that came, went or moved since --growth-since "
                  "(else in the last 7 days), oldest first";
    helpFilter = "with --changes: only the changes whose file name, folder name or path holds TEXT, whatever its case";
    helpRenameMailbox = "with --history: put the runs of the mailbox OLD before those of NEW, which OLD became by a "
                        "rename";
    renameDone = "foldscan-report: the runs of %s now belong to %s.";
    renameOverlap = "foldscan-report: %s has runs from the time of %s already: it is no renamed mailbox.";
    renameNested = "foldscan-report: %s and %s are one mailbox, or one lies inside the other.";
    renameNeedsNew = "%s OLD NEW: exactly one new path NEW after OLD, and no other mailbox";
    renameLikely = "foldscan-report: the new mailbox %s has the folders of %s, which this run found no more. Where it "
                   "was renamed, foldscan-report --history %s --rename-mailbox %s %s joins their runs.";
    recordedColumn = "Recorded";
    changeColumn = "Change";
    beforeColumn = "Before";
    changesHeading = "Changes since %s";
    noChanges = "No changes.";
    changeNames = {"new", "removed", "moved", "mailbox new", "mailbox gone", "mailbox renamed"};
    removedFolderPattern = "Removed: %s (%s), before %s";
    movedPattern = "Moved: %s from %s to %s";
    totalGrowthHeading = "Total: %s; growth %s";
    growthTopHeading = "Largest growth";
    historyChartHeading = "Total size over time";
    sparkColumn = "Trend";
    filterMatch = "%d matching row";
    historyUnknown = "foldscan-report: the mailbox %s is not in the history.";
    badKeep = "--keep %s: a span in days, weeks or years such as 90d, 52w or 1y is expected.";
    keepTooShort = "--keep %s: minutes (m) and hours (h) are no retention period; days, weeks or years such as 90d, "
                   "52w or 1y are expected (twelve months: 1y).";
    helpFromHistory = "the report from the history FILE alone, reading no mailbox: each mailbox's (MAILBOX or all) "
                      "latest run, compared with the previous one or the one of --growth-since";
    topGrownHeading = "The %d folders that grew most";
    topShrunkHeading = "The %d folders that shrank most";
    helpKeep = "with --history: delete runs older than SPAN after recording (never a mailbox's latest): days, weeks "
               "or years such as 90d, 52w, 1y";

    // The administrator's routine.
    helpOutput = "write the report to FILE, only once it is whole (outside the mailbox)";
    outputFileUnwritable = "foldscan-report: the output file %s cannot be written.";
    outputInsideMailbox =
        "foldscan-report: the output file %s lies in the mailbox %s; it does not belong in the mail store.";
    sameFile = "%s and %s name the same file";
    helpMailboxesFrom = "mailbox paths from FILE, one a line (UTF-8; - for standard input; # begins a comment)";
    helpAllUnder = "every directory below DIR that holds folder files or hierarch.pm (links are not followed)";
    patternMatchesNothing = "foldscan-report: the pattern %s matches no directory.";
    patternUnlistable = "foldscan-report: the directory %s cannot be read (pattern %s).";
    listUnreadable = "foldscan-report: the mailbox list %s cannot be read: %s.";
    listMissing = "it is missing";
    listDirectory = "it is a directory";
    listNotFile = "it is not a regular file (- reads standard input)";
    listTooLarge = "it is larger than 64 MB";
    listReadError = "read error";
    listNotText = "line %d is not UTF-8 text";
    listLineTooLong = "line %d is longer than a path can be";
    listEmpty = "foldscan-report: the mailbox list %s names no mailbox.";
    standardInput = "(standard input)";
    rootUnlistable = "foldscan-report: the directory %s cannot be read.";
    noMailboxUnder = "foldscan-report: there is no mailbox below %s.";
    directorySkipped = "foldscan-report: the directory %s cannot be read and is passed over.";
    directoryFailed = "foldscan-report: the directory %s could not be read for an input/output error: "
                      "the mailboxes in it are missing from this run.";
    helpMonitor = "one status line for monitoring systems; exit code 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN";
    helpWarn = "with --monitor: warning when a mailbox takes more than SIZE in all";
    helpCrit = "with --monitor: critical when a mailbox takes more than SIZE in all";
    helpWarnFolder = "with --monitor: warning when a folder takes more than SIZE";
    helpCritFolder = "with --monitor: critical when a folder takes more than SIZE";
    badThreshold = "%s %s: a whole number of bytes is expected, also with k, M, G or T (1k = 1024).";
    warnAboveCrit = "%s %s is above %s %s";
    monitorSummary = "%d mailboxes, %s in all";
    monitorOver = "%d of %d mailboxes over a threshold: %s";
    monitorUnreadable = "%d of %d mailboxes not readable: %s";
    monitorRunFailed = "the run is not fully recorded (see below)";
    monitorMore = "and %d more";
    monitorCritical = "critical";
    monitorWarning = "warning";
    monitorTotalOver = "%s in all, above %s (%s)";
    monitorFolderOver = "folder %s at %s, above %s (%s)";
    monitorFoldersOver = "%d folders above %s, the largest %s at %s (%s)";
    helpTimeout = "stop after this many seconds, writing and recording nothing";
    badTimeout = "--timeout %s: a whole number of seconds from 1 to 86400 is expected.";
    timedOut = "foldscan-report: stopped after %d s; nothing was written or recorded.";
    timedOutReading = "foldscan-report: stopped after %d s while reading %s; nothing was written or recorded.";
    mailboxIncomplete = "foldscan-report: mailbox %s not read whole (%s).";
    notRecorded = "foldscan-report: not recorded, their latest recorded state stays: %s";
    listingBroke = "the listing of its folder files broke off";
    fileFailed = "%s could not be read for an input/output error";
    helpWarnGrowth = "with --monitor and --history: warning when a mailbox grew by more than SIZE";
    helpCritGrowth = "with --monitor and --history: critical when a mailbox grew by more than SIZE";
    monitorGrowthOver = "grew %s since %s, above %s (%s)";
    helpMigrateHistory = "with --history: bring the history to the format of this version, also under --timeout; "
                         "without MAILBOX only that";
    historyMigrated = "foldscan-report: the history %s is in the format of this version.";
}

std::string ReportTexts::SignedShare(int64_t permille) const {
    const uint64_t magnitude = permille < 0 ? 0 - static_cast<uint64_t>(permille) : static_cast<uint64_t>(permille);
    const bool german = language == Language::German;
    return (permille < 0 ? "-" : "+") + std::to_string(magnitude / 10) + (german ? ',' : '.') +
           std::to_string(magnitude % 10) + (german ? " %" : "%");
}
