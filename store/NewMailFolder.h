#pragma once

#include "store/FolderInfo.h"

// The new-mail row: every ".CNM" file of the new-mail directory taken together.
class NewMailFolder : public FolderInfo {
public:
    // newMailDir ends with a path separator; it is used as a prefix as it stands.
    void Analyze(const std::string& newMailDir, const std::string& label);
};
