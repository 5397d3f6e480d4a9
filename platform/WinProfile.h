#pragma once

#include "platform/ProfileBackend.h"

// The Windows private-profile functions. Writes that could break the file's
// layout are refused before they reach them: the functions themselves would
// write a line break or a '=' in a key straight into the file.
class WinProfile : public ProfileBackend {
public:
    size_t Read(const char* section, const char* key, const char* defaultText, char* buffer, size_t size,
                const char* path) override;
    bool Write(const char* section, const char* key, const char* text, const char* path) override;
};
