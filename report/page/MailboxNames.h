#pragma once

#include <cstddef>
#include <string>
#include <vector>

class MailboxReport;

// The mailboxes' paths as the page shows them: the folder they all lie in
// said once, each path without it, and a long one shortened in the middle.
class MailboxNames {
public:
    // Names of more characters are shortened to this many.
    static constexpr size_t MostShown = 34;

    explicit MailboxNames(const std::vector<MailboxReport>& mailboxes);

    // The folder all lie in, with its separator; empty for a single mailbox
    // or where they share none.
    const std::string& Common() const { return common; }
    // The path without the common folder, as text for people.
    const std::string& Name(size_t mailbox) const { return names[mailbox]; }

    // The text with its middle left out for an ellipsis where it has more
    // than most characters, so that both ends stay readable.
    static std::string Shortened(const std::string& utf8, size_t most = MostShown);
    // The text as HTML, shortened, with the whole text as its tooltip.
    static std::string Html(const std::string& utf8, size_t most = MostShown);

private:
    std::string common;
    std::vector<std::string> names;
};
