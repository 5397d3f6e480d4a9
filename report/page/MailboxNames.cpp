#include "report/page/MailboxNames.h"

#include "report/model/ReportRun.h"
#include "report/page/HtmlText.h"
#include "report/text/Utf8.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Where each UTF-8 character starts, and the end.
std::vector<size_t> Starts(const std::string& utf8) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(utf8.size());
    return starts;
}

}  // namespace

MailboxNames::MailboxNames(const std::vector<MailboxReport>& mailboxes) {
    for (const MailboxReport& mailbox : mailboxes) names.push_back(Printable(ReportRun::PathText(mailbox)));
    if (names.size() < 2) return;
    size_t shared = names[0].size();
    for (const std::string& name : names) {
        size_t k = 0;
        while (k < shared && k < name.size() && name[k] == names[0][k]) ++k;
        shared = k;
    }
    // Back to the last separator all share, and never a whole path: each
    // keeps a name of its own.
    while (shared > 0 && !IsSeparator(names[0][shared - 1])) --shared;
    for (const std::string& name : names)
        if (shared >= name.size()) return;
    common = names[0].substr(0, shared);
    if (common.find_first_not_of("/\\") == std::string::npos) {
        common.clear();
        return;
    }
    for (std::string& name : names) name.erase(0, shared);
}

std::string MailboxNames::Shortened(const std::string& utf8, size_t most) {
    const std::vector<size_t> starts = Starts(utf8);
    const size_t length = starts.size() - 1;
    if (length <= most || most < 3) return utf8;
    const size_t head = (most - 1) / 2, tail = most - 1 - head;
    return utf8.substr(0, starts[head]) + "\u2026" + utf8.substr(starts[length - tail]);
}

std::string MailboxNames::Html(const std::string& utf8, size_t most) {
    const std::string shown = Shortened(utf8, most);
    if (shown == utf8) return HtmlText(utf8);
    return "<span title=\"" + HtmlText(utf8) + "\">" + HtmlText(shown) + "</span>";
}
