#pragma once

#include <string>

// The history knows a mailbox by its key: its full path as the system
// compares paths. On Windows that is without regard to case, with "/" and
// "\" alike and without a trailing separator, so that "C:\Mail\Jürgen" and
// "c:/mail/JÜRGEN/" are one mailbox with one history; elsewhere the path's
// exact text. (A drive letter and the same share's UNC path stay two.)
namespace MailboxKey {

// The key of a mailbox directory as the command line names it: its
// canonical path, as UTF-8, compared as the system compares it.
std::string Of(const std::string& mailboxPath);

// The key of a canonical path already in UTF-8, such as the history keeps.
std::string FromPath(const std::string& utf8Path);

// The canonical path the history shows for a mailbox, as UTF-8.
std::string PathOf(const std::string& mailboxPath);

}  // namespace MailboxKey
