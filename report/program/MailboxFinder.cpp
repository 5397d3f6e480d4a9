#include "report/program/MailboxFinder.h"

#include "platform/CaseFold.h"
#include "platform/Directory.h"
#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"
#include "report/history/MailboxKey.h"
#include "report/model/ReportOptions.h"
#include "report/text/ReportTexts.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <iterator>

namespace {

bool HasExtension(const std::string& name, const std::string& extension) {
    return name.size() > extension.size() &&
           CompareFolded(name.substr(name.size() - extension.size()), extension) == 0;
}

// A directory that holds a folder tree file or a folder file is a mailbox.
bool HoldsMailbox(const std::vector<Directory::Entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), [](const Directory::Entry& entry) {
        return !entry.isDirectory && (CompareFolded(entry.name, "hierarch.pm") == 0 ||
                                      HasExtension(entry.name, ".pmm") || HasExtension(entry.name, ".mbx"));
    });
}

std::string Joined(const std::string& directory, const std::string& name) {
    if (directory.empty() || FileSystem::IsSeparator(directory.back())) return directory + name;
    return directory + FileSystem::Separator() + name;
}

void SortNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), Directory::SortsBefore);
}

}  // namespace

MailboxFinder::MailboxFinder(const ReportTexts& texts, std::istream* input, std::ostream& err, Canonical canonical)
    : texts(texts), input(input), err(err), canonical(canonical ? std::move(canonical) : Directory::Canonical) {}

bool MailboxFinder::IsPattern(const std::string& argument) {
    return argument.find_first_of("*?", FileSystem::NameStart(argument)) != std::string::npos;
}

bool MailboxFinder::Find(ReportOptions& options) {
    std::vector<Found> found;
    options.scopes.clear();
    for (const std::string& argument : options.mailboxes) {
        if (!IsPattern(argument)) {
            found.push_back({argument, -1, false});
            continue;
        }
        const size_t cut = FileSystem::NameStart(argument);
        const std::string directory = cut == 0 ? std::string(".") : argument.substr(0, cut);
        if (!Expand(argument, Scope(options, "pattern", directory, argument.substr(cut)), found)) return false;
    }
    for (const std::string& file : options.mailboxLists)
        if (!ReadList(file, file == "-" ? Scope(options, "list", "-") : Scope(options, "list", file), found))
            return false;
    for (const std::string& root : options.mailboxRoots) {
        const int scope = Scope(options, "under", root);
        if (!Walk(root, options.scopes[static_cast<size_t>(scope)], scope, found)) return false;
    }
    options.mailboxes.clear();
    options.places.clear();
    for (Found& mailbox : found) {
        MailboxPlace place;
        const std::string resolved = canonical(mailbox.path);
        const std::string& os = resolved.empty() ? mailbox.path : resolved;
        place.path = Utf8FromOsText(os);
        place.stateKey = MailboxKey::TextOf(os);
        place.key = MailboxKey::FromPath(place.stateKey);
        place.canonical = resolved;
        place.scope = mailbox.scope;
        place.unlisted = mailbox.unlisted;
        options.mailboxes.push_back(std::move(mailbox.path));
        options.places.push_back(std::move(place));
    }
    return true;
}

// A scope's text names it alike from run to run: its kind, then the key of
// its directory or file, then a pattern's wildcard as the system compares
// names. Standard input is one list whatever it holds.
int MailboxFinder::Scope(ReportOptions& options, const char* kind, const std::string& where,
                         const std::string& rest) {
    std::string text = std::string(kind) + ':' + (where == "-" ? where : MailboxKey::Of(where));
    if (!rest.empty()) text += FileSystem::Separator() + MailboxKey::FromPath(rest);
    options.scopes.push_back({std::move(text), true});
    return static_cast<int>(options.scopes.size() - 1);
}

bool MailboxFinder::Fail(const std::string& pattern, std::initializer_list<std::string> arguments) {
    err << ReportTexts::Fill(pattern, arguments) << '\n';
    return false;
}

// A name that begins with '.' (on Windows also one marked hidden or system)
// is matched only by a pattern that begins with '.', as shells have it. A
// directory whose own name looks like a pattern is taken as it stands when
// the pattern matches nothing.
bool MailboxFinder::Expand(const std::string& pattern, int scope, std::vector<Found>& found) {
    const size_t cut = FileSystem::NameStart(pattern);
    const std::string directory = pattern.substr(0, cut), wildcard = pattern.substr(cut);
    std::vector<Directory::Entry> entries;
    if (!Directory::List(directory.empty() ? "." : directory, entries))
        return Fail(texts.patternUnlistable, {ShownPath(directory.empty() ? "." : directory), ShownPath(pattern)});
    std::vector<std::string> names;
    for (const Directory::Entry& entry : entries)
        if (entry.isDirectory && (!entry.isHidden || wildcard[0] == '.') &&
            FileSystem::MatchesPattern(wildcard, entry.name))
            names.push_back(entry.name);
    if (names.empty()) {
        if (!Directory::IsListable(pattern)) return Fail(texts.patternMatchesNothing, {ShownPath(pattern)});
        found.push_back({pattern, -1, false});
        return true;
    }
    SortNames(names);
    for (const std::string& name : names) found.push_back({directory + name, scope, false});
    return true;
}

MailboxFinder::ListProblem MailboxFinder::ParseList(const std::string& bytes, std::vector<std::string>& paths,
                                                    size_t& line) {
    paths.clear();
    line = 0;
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < bytes.size()) {
        ++line;
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find('\0') != std::string::npos || !IsUtf8(text)) return ListProblem::NotText;
        if (text.find_first_not_of(" \t") == std::string::npos || text[0] == '#') continue;
        if (!FileSystem::WithinPathLimit(text)) return ListProblem::TooLong;
        paths.push_back(std::move(text));
    }
    line = 0;
    return ListProblem::None;
}

// Each line stands for a MAILBOX argument: a pattern in it is expanded.
bool MailboxFinder::ReadList(const std::string& file, int scope, std::vector<Found>& found) {
    const std::string shown = file == "-" ? texts.standardInput : ShownPath(file);
    std::string bytes, reason;
    if (!ReadBytes(file, bytes, reason)) return Fail(texts.listUnreadable, {shown, reason});
    std::vector<std::string> paths;
    size_t line = 0;
    switch (ParseList(bytes, paths, line)) {
    case ListProblem::NotText:
        return Fail(texts.listUnreadable, {shown, ReportTexts::Fill(texts.listNotText, {std::to_string(line)})});
    case ListProblem::TooLong:
        return Fail(texts.listUnreadable, {shown, ReportTexts::Fill(texts.listLineTooLong, {std::to_string(line)})});
    case ListProblem::None:
        break;
    }
    if (paths.empty()) return Fail(texts.listEmpty, {shown});
    for (const std::string& path : paths) {
        if (!IsPattern(path))
            found.push_back({path, scope, false});
        else if (!Expand(path, scope, found))
            return false;
    }
    return true;
}

bool MailboxFinder::ReadBytes(const std::string& file, std::string& bytes, std::string& reason) {
    if (file == "-") {
        if (input) {
            std::istreambuf_iterator<char> at(*input), end;
            for (; at != end && bytes.size() <= MaxListSize; ++at) bytes += *at;
        }
        reason = texts.listTooLarge;
        return bytes.size() <= MaxListSize;
    }
    switch (FileSystem::TypeOf(file)) {
    case FileSystem::EntryType::Missing:
        reason = texts.listMissing;
        return false;
    case FileSystem::EntryType::Directory:
        reason = texts.listDirectory;
        return false;
    case FileSystem::EntryType::Other:
        reason = texts.listNotFile;
        return false;
    case FileSystem::EntryType::File:
        break;
    }
    ReadOnlyFile list;
    reason = texts.listReadError;
    if (!list.Open(file)) return false;
    if (list.Length() > MaxListSize) {
        reason = texts.listTooLarge;
        return false;
    }
    bytes.resize(static_cast<size_t>(list.Length()));
    return list.ReadHead(&bytes[0], bytes.size()) == bytes.size();
}

// Depth first, each directory's subdirectories in name order; links are not
// followed, and hidden directories (as patterns have them) not entered. A
// directory below root that cannot be listed is passed over with a note: it
// may be anything, "lost+found" or another user's files. One whose listing
// failed for an I/O error (a share that dropped out) may hold mailboxes: it
// stays as a place the run misses, and the scope is not whole.
bool MailboxFinder::Walk(const std::string& root, MailboxScope& scope, int index, std::vector<Found>& found) {
    std::vector<Directory::Entry> entries;
    if (!Directory::List(root, entries)) return Fail(texts.rootUnlistable, {ShownPath(root)});
    const size_t before = found.size();
    std::vector<std::string> pending{root};
    for (bool listed = true; !pending.empty(); listed = false) {
        std::string directory = std::move(pending.back());
        pending.pop_back();
        bool ioError = false;
        if (!listed && !Directory::List(directory, entries, &ioError)) {
            if (ioError) {
                err << ReportTexts::Fill(texts.directoryFailed, {ShownPath(directory)}) << '\n';
                found.push_back({std::move(directory), index, true});
                scope.whole = false;
            } else {
                err << ReportTexts::Fill(texts.directorySkipped, {ShownPath(directory)}) << '\n';
            }
            continue;
        }
        if (HoldsMailbox(entries)) found.push_back({directory, index, false});
        std::vector<std::string> below;
        for (const Directory::Entry& entry : entries)
            if (entry.isDirectory && !entry.isLink && !entry.isHidden) below.push_back(entry.name);
        SortNames(below);
        for (auto name = below.rbegin(); name != below.rend(); ++name) pending.push_back(Joined(directory, *name));
    }
    if (found.size() == before) return Fail(texts.noMailboxUnder, {ShownPath(root)});
    return true;
}
