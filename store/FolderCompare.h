#pragma once

#include <string>

class FolderInfo;

// How folder records are ordered by the columns of the folder list: file
// name, size, shown name. Plain functions, so that the panel and the report
// order alike and the rules are tested without a window.
namespace FolderCompare {

enum Column { FileNameColumn = 0, SizeColumn = 1, FolderNameColumn = 2 };

// Bytes compared as unsigned values with the ASCII letters A-Z folded to a-z;
// every other byte (accented letters included) stands for itself. A prefix
// sorts first. Returns -1, 0 or +1.
int CompareText(const std::string& a, const std::string& b);

// The folder's shown name is folderPath followed by folderName; this compares
// it as CompareText would without joining the two.
int CompareShownNames(const FolderInfo& a, const FolderInfo& b);

// The shown name with its ASCII letters folded: two keys compared byte by
// byte as unsigned values (std::string::compare) order as CompareShownNames
// orders their records. For sorting many records by name, made once each.
std::string ShownNameKey(const FolderInfo& record);

// One column of the folder list; an unknown column compares equal.
int CompareColumn(const FolderInfo& a, const FolderInfo& b, int column);

}  // namespace FolderCompare
