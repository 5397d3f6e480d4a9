// Arbitrary bytes as the folder tree file: reading them and asking for the
// path of every key must neither crash nor hang, and every look-up must find
// the first entry with its key, as a search from the first line would.
#include "store/pmHierarch.h"
#include "tests/support/TempDir.h"
#include "ui/Trace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

void Discard(const std::string&) {}

std::string Folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

bool EndsWithBackslash(const std::string& path) { return !path.empty() && path.back() == '\\'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TempDir mailbox;
    static TraceSink previous = SetTraceSink(Discard);
    (void)previous;
    {
        std::ofstream out(fs::path(mailbox.Path()) / "hierarch.pm", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    pmHierarch table;
    Check(table.Fill(mailbox.Path()) == 1);

    const pmHierarch::Entries& entries = table.GetEntries();
    std::map<std::string, int> first;
    for (size_t i = 0; i < entries.size(); ++i) first.emplace(Folded(entries[i].key), static_cast<int>(i));

    const std::string unknown = "<??" "?>";
    for (const HierarchEntry& entry : entries) {
        for (const std::string* key : {&entry.key, &entry.parentKey}) {
            auto it = first.find(Folded(*key));
            Check(table.Find(*key) == (it == first.end() ? -1 : it->second));
            std::string path = table.GetPath(*key);
            Check(path.empty() || path == unknown || EndsWithBackslash(path));
            std::string named = table.GetPath(*key, true);
            Check(named.size() >= path.size());
        }
    }
    if (table.Find("") < 0) Check(table.GetPath("") == unknown);
    return 0;
}
