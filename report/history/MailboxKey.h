#pragma once

#include <string>

// The history knows a mailbox by its key: its full path as the system
// compares paths. On Windows that is without regard to case, with "/" and
// "\" alike and without a trailing separator, so that "C:\Mail\Jürgen" and
// "c:/mail/JÜRGEN/" are one mailbox with one history; elsewhere the path's
// exact bytes. (A drive letter and the same share's UNC path stay two.)
namespace MailboxKey {

// A path as a key holds it. On Windows, whose names are UTF-16, its UTF-8.
// Elsewhere the path itself when it is UTF-8; a name in another encoding
// (Latin-1 "\xE9t\xE9" beside UTF-8 "\u00E9t\u00E9") keeps its bytes: the path
// in double quotes, each byte that is not part of a UTF-8 character written
// \xHH and a quote or backslash after a backslash. A canonical path begins
// with "/", never with a quote, so no UTF-8 path has such a key, and the
// keys of UTF-8 paths are what they always were.
std::string TextOf(const std::string& osPath);

// The key of a mailbox directory as the command line names it: its
// canonical path as TextOf holds it, compared as the system compares it.
std::string Of(const std::string& mailboxPath);

// The key of a canonical path already in UTF-8, such as the history keeps.
std::string FromPath(const std::string& utf8Path);

// The canonical path the history shows for a mailbox, as UTF-8 (a name in
// another encoding read as code page 1252, so that it stays printable).
std::string PathOf(const std::string& mailboxPath);

}  // namespace MailboxKey
