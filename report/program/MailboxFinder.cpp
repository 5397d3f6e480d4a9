#include "report/program/MailboxFinder.h"

#include "platform/CaseFold.h"
#include "platform/Directory.h"
#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"
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

MailboxFinder::MailboxFinder(const ReportTexts& texts, std::istream* input, std::ostream& err)
    : texts(texts), input(input), err(err) {}

bool MailboxFinder::IsPattern(const std::string& argument) {
    return argument.find_first_of("*?", FileSystem::NameStart(argument)) != std::string::npos;
}

bool MailboxFinder::Find(ReportOptions& options) {
    std::vector<std::string> found;
    for (const std::string& argument : options.mailboxes) {
        if (!IsPattern(argument))
            found.push_back(argument);
        else if (!Expand(argument, found))
            return false;
    }
    for (const std::string& file : options.mailboxLists)
        if (!ReadList(file, found)) return false;
    for (const std::string& root : options.mailboxRoots)
        if (!Walk(root, found)) return false;
    options.mailboxes = std::move(found);
    return true;
}

bool MailboxFinder::Fail(const std::string& pattern, std::initializer_list<std::string> arguments) {
    err << ReportTexts::Fill(pattern, arguments) << '\n';
    return false;
}

// A name that begins with '.' (on Windows also one marked hidden or system)
// is matched only by a pattern that begins with '.', as shells have it. A
// directory whose own name looks like a pattern is taken as it stands when
// the pattern matches nothing.
bool MailboxFinder::Expand(const std::string& pattern, std::vector<std::string>& found) {
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
        found.push_back(pattern);
        return true;
    }
    SortNames(names);
    for (const std::string& name : names) found.push_back(directory + name);
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
bool MailboxFinder::ReadList(const std::string& file, std::vector<std::string>& found) {
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
            found.push_back(path);
        else if (!Expand(path, found))
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
// may be anything, "lost+found" or another user's files.
bool MailboxFinder::Walk(const std::string& root, std::vector<std::string>& found) {
    std::vector<Directory::Entry> entries;
    if (!Directory::List(root, entries)) return Fail(texts.rootUnlistable, {ShownPath(root)});
    const size_t before = found.size();
    std::vector<std::string> pending{root};
    for (bool listed = true; !pending.empty(); listed = false) {
        const std::string directory = std::move(pending.back());
        pending.pop_back();
        if (!listed && !Directory::List(directory, entries)) {
            err << ReportTexts::Fill(texts.directorySkipped, {ShownPath(directory)}) << '\n';
            continue;
        }
        if (HoldsMailbox(entries)) found.push_back(directory);
        std::vector<std::string> below;
        for (const Directory::Entry& entry : entries)
            if (entry.isDirectory && !entry.isLink && !entry.isHidden) below.push_back(entry.name);
        SortNames(below);
        for (auto name = below.rbegin(); name != below.rend(); ++name) pending.push_back(Joined(directory, *name));
    }
    if (found.size() == before) return Fail(texts.noMailboxUnder, {ShownPath(root)});
    return true;
}
