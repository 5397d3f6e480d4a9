#include "settings/Settings.h"

#include "settings/ProfileStore.h"

void Settings::Load(ProfileStore& store) {
    AutoRefresh = store.ReadBool("AutoRefresh", AutoRefresh);
    AutoRefreshRate = store.ReadInt("AutoRefreshRate", AutoRefreshRate);
    ShowFolderPath = store.ReadBool("ShowFolderPath", ShowFolderPath);
    WarnFolderPath = store.ReadBool("WarnFolderPath", WarnFolderPath);
    MailboxPathManual = store.ReadBool("MailboxPathManual", MailboxPathManual);
    MailboxPath = store.ReadString("MailboxPath", MailboxPath);
    NewmailPath = store.ReadString("NewmailPath", NewmailPath);
    CompactFileSizes = store.ReadBool("CompactFileSizes", CompactFileSizes);
    ShowNewMailFolder = store.ReadBool("ShowNewMailFolder", ShowNewMailFolder);
}

void Settings::Save(ProfileStore& store) const {
    store.WriteBool("AutoRefresh", AutoRefresh);
    store.WriteInt("AutoRefreshRate", AutoRefreshRate);
    store.WriteBool("ShowFolderPath", ShowFolderPath);
    store.WriteBool("WarnFolderPath", WarnFolderPath);
    store.WriteBool("MailboxPathManual", MailboxPathManual);
    store.WriteString("MailboxPath", MailboxPath);
    store.WriteString("NewmailPath", NewmailPath);
    store.WriteBool("CompactFileSizes", CompactFileSizes);
    store.WriteBool("ShowNewMailFolder", ShowNewMailFolder);
}
