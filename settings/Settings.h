#pragma once

#include <string>

class ProfileStore;

// The user's choices. Each field is stored under its own name in the open
// section of the settings store.
class Settings {
public:
    Settings() = default;
    virtual ~Settings() = default;
    Settings(const Settings&) = default;
    Settings& operator=(const Settings&) = default;

    // Reads every field, passing its current value as the default, so that
    // fields whose keys are missing keep their values.
    void Load(ProfileStore& store);
    // Writes every field; a failed write is not reported.
    void Save(ProfileStore& store) const;

    int AutoRefresh = 0;
    int AutoRefreshRate = 10;  // seconds
    int ShowFolderPath = 1;
    int WarnFolderPath = 1;
    int MailboxPathManual = 0;
    std::string MailboxPath;
    std::string NewmailPath;
    int CompactFileSizes = 1;
    int ShowNewMailFolder = 1;
};
