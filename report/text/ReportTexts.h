#pragma once

#include "report/text/Language.h"
#include "store/FolderStatus.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Everything the report says in words, in German or English, as UTF-8; and
// the size texts, which follow the language's separators. Patterns hold "%s"
// (or "%d") where Fill puts its arguments.
class ReportTexts {
public:
    explicit ReportTexts(Language language);

    Language GetLanguage() const { return language; }

    // Puts the arguments in place of the pattern's "%s" and "%d", in order.
    static std::string Fill(const std::string& pattern, std::initializer_list<std::string> arguments);

    // Whether a line is seeHelp, in either language: the pointer to --help
    // that follows a message about a bad command line.
    static bool PointsToHelp(const std::string& line);

    // A byte count as the panel shows it: "1,5 kB" compact or "1.536" exact
    // in German, "1.5 kB" or "1,536" in English.
    std::string Size(uint64_t bytes, bool compact) const;
    // Tenths of 2^shift bytes in bytes, halves rounded up.
    static uint64_t TenthsOf(uint64_t bytes, unsigned shift);
    // The change from before to now with its sign: "+1,5 kB", "-512 Bytes".
    std::string Change(uint64_t before, uint64_t now, bool compact) const;
    // A share in tenths of a percent as people read it: "12,5 %" in German,
    // "12.5%" in English; without the sign, "12,5" or "12.5", for tables
    // that name the unit in their heading.
    std::string Share(unsigned permille, bool sign = true) const;
    // "%d Dateien, %s (%s Bytes)" for a count and a total.
    std::string Summary(uint64_t count, uint64_t total) const;
    // The status text shown in place of a folder's name, in code page 1252
    // like the names, so that it sorts among them as the panel sorts it.
    std::string StatusText(FolderStatus status) const;

    // The columns of the folder list.
    std::string fileNameColumn, sizeColumn, folderNameColumn, growthColumn, shareColumn;
    // The overview of mailboxes and the largest folders of all.
    std::string overviewHeading, mailboxColumn, countColumn, largestColumn, topHeading, hiddenPattern;
    // The columns of the folder tree.
    std::string treeFolderColumn, ownSizeColumn, cumulativeColumn, filesColumn;

    std::string newMailLabel;  // code page 1252, like the panel's
    std::string mailboxHeading;
    std::string totalHeading;
    std::string summaryPattern;

    // Growth since an earlier run.
    std::string added, removed, noEarlierState, noEarlierRun, growthPattern, removedPattern, unknownTime;

    // Findings of the consistency check.
    std::string findingsHeading, noFindings;
    std::string noHierarchy, keyNotInHierarchy, entryWithoutFile, parentMissing, unreadable, mbxWithoutPmg,
        pmgWithoutMbx, hierarchyLoop, samePath;

    // Messages on standard error.
    std::string mailboxUnreadable, badOption, seeHelp, stateInsideMailbox, stateUnreadable, stateUnwritable,
        oneTableOnly, badTop, badMinSize, progress, sameMailbox, outputUnwritable, historyInsideMailbox,
        historyUnreadable, historyUnwritable;
    // What is wrong with a command line.
    std::string unknownOption, valueMissing, flagWithValue, mailboxMissing, notUnderstood, badFormat, badSort,
        badLang, badJobs, badSince, emptyFile, exclusive, needs;

    // The help text's parts.
    std::string helpIntro, helpMailbox, helpFormat, helpSort, helpExact, helpCompact, helpNoPaths, helpNewMail,
        helpNoNewMail, helpTree, helpCheck, helpSince, helpHistory, helpGrowth, helpGrowthSince, helpExcel,
        helpTop, helpMinSize, helpJobs, helpFooter, helpLang, helpHelp, helpVersion, helpUsage,
        helpOptions, helpPositionals, helpRequired;

    // The HTML page.
    std::string pageTitle, treemapHeading, treemapOwnFiles, sortHint, filterLabel, filterMatches, rowsShown,
        moreRows, allRows;

    // The history read and kept: when an output was made and what it was
    // compared with, growth in the overview and its pictures.
    std::string generatedPattern, addedSince, historyTooShort, recordedPattern, notFoundSince, removedFolderPattern,
        movedPattern, totalGrowthHeading, growthTopHeading, historyChartHeading, sparkColumn, filterMatch,
        historyUnknown, badKeep, keepTooShort, helpFromHistory, helpKeep, topGrownHeading, topShrunkHeading;
    // A change in tenths of a percent with its sign: "+3,4 %", "-12.0%".
    std::string SignedShare(int64_t permille) const;

    // The administrator's routine: the output file.
    std::string helpOutput, outputFileUnwritable, outputInsideMailbox, sameFile;
    // Mailboxes from patterns, lists and directory trees.
    std::string helpMailboxesFrom, helpAllUnder, patternMatchesNothing, patternUnlistable, listUnreadable,
        listMissing, listDirectory, listNotFile, listTooLarge, listReadError, listNotText, listLineTooLong,
        listEmpty, standardInput, rootUnlistable, noMailboxUnder, directorySkipped, directoryFailed;
    // Monitoring: the options, the status line and its details.
    std::string helpMonitor, helpWarn, helpCrit, helpWarnFolder, helpCritFolder, badThreshold, warnAboveCrit,
        monitorSummary, monitorOver, monitorUnreadable, monitorRunFailed, monitorMore, monitorCritical,
        monitorWarning, monitorTotalOver, monitorFolderOver, monitorFoldersOver;
    // --timeout.
    std::string helpTimeout, badTimeout, timedOut, timedOutReading;
    // A mailbox not read whole, which is not recorded.
    std::string mailboxIncomplete, listingBroke, fileFailed, notRecorded;
    // Monitoring growth.
    std::string helpWarnGrowth, helpCritGrowth, monitorGrowthOver;
    // The history's format brought up to date.
    std::string helpMigrateHistory, historyMigrated;
    // The history's answers: mailboxes gone.
    std::string goneSince, historyTooShortOne, historyShortFor, historyShortMore;
    // --timeline, --changes and --rename-mailbox.
    std::string helpTimeline, helpChanges, helpFilter, helpRenameMailbox, renameDone, renameOverlap, renameNested,
        renameNeedsNew, renameLikely, recordedColumn, changeColumn, beforeColumn, changesHeading, noChanges;
    std::vector<std::string> changeNames;  // by HistoryChange::Kind

private:
    void German();
    void English();

    Language language;
};
