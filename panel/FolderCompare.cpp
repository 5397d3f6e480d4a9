#include "panel/FolderCompare.h"

#include "store/FolderInfo.h"

namespace FolderCompare {
namespace {

unsigned char Fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// Walks two texts given as two pieces each, as if each were joined.
class JoinedText {
public:
    JoinedText(const std::string& first, const std::string& second) : first(first), second(second) {}
    size_t Size() const { return first.size() + second.size(); }
    char At(size_t i) const { return i < first.size() ? first[i] : second[i - first.size()]; }

private:
    const std::string& first;
    const std::string& second;
};

template <typename Text>
int CompareFolded(const Text& a, size_t aSize, const Text& b, size_t bSize) {
    size_t common = aSize < bSize ? aSize : bSize;
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = Fold(a.At(i)), y = Fold(b.At(i));
        if (x != y) return x < y ? -1 : 1;
    }
    if (aSize == bSize) return 0;
    return aSize < bSize ? -1 : 1;
}

struct PlainText {
    const std::string& text;
    char At(size_t i) const { return text[i]; }
};

}  // namespace

int CompareText(const std::string& a, const std::string& b) {
    return CompareFolded(PlainText{a}, a.size(), PlainText{b}, b.size());
}

int CompareShownNames(const FolderInfo& a, const FolderInfo& b) {
    JoinedText x(a.folderPath, a.folderName), y(b.folderPath, b.folderName);
    return CompareFolded(x, x.Size(), y, y.Size());
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
