#include "store/FolderCompare.h"

#include "platform/CaseFold.h"
#include "store/FolderInfo.h"

namespace FolderCompare {
namespace {

// Two pieces read as if they were one text.
class JoinedText {
public:
    JoinedText(const std::string& first, const std::string& second) : first(first), second(second) {}
    size_t Size() const { return first.size() + second.size(); }
    unsigned char FoldedAt(size_t i) const {
        return static_cast<unsigned char>(FoldCase(i < first.size() ? first[i] : second[i - first.size()]));
    }

private:
    const std::string& first;
    const std::string& second;
};

}  // namespace

int CompareText(const std::string& a, const std::string& b) { return CompareFolded(a, b); }

int CompareShownNames(const FolderInfo& a, const FolderInfo& b) {
    JoinedText x(a.folderPath, a.folderName), y(b.folderPath, b.folderName);
    size_t common = x.Size() < y.Size() ? x.Size() : y.Size();
    for (size_t i = 0; i < common; ++i) {
        unsigned char p = x.FoldedAt(i), q = y.FoldedAt(i);
        if (p != q) return p < q ? -1 : 1;
    }
    return x.Size() == y.Size() ? 0 : (x.Size() < y.Size() ? -1 : 1);
}

std::string ShownNameKey(const FolderInfo& record) {
    std::string key = record.folderPath + record.folderName;
    for (char& c : key) c = FoldCase(c);
    return key;
}

int CompareColumn(const FolderInfo& a, const FolderInfo& b, int column) {
    switch (column) {
    case FileNameColumn:
        return CompareText(a.fileName, b.fileName);
    case SizeColumn:
        return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
    case FolderNameColumn:
        return CompareShownNames(a, b);
    default:
        return 0;
    }
}

}  // namespace FolderCompare
