#pragma once

#include "panel/CFolderListCtrl.h"
#include "panel/CResizableDlg.h"
#include "platform/CControl.h"
#include "refresh/MessagePoster.h"
#include "resources/HostMessages.h"
#include "settings/Settings.h"
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include <string>

class AppServices;

// The panel inside the host's window: the folder list above a summary line.
// It asks the host for its directories, refreshes the list, answers the
// host's messages and keeps its placement, columns and settings in the
// settings file.
class CMainDlg : public CResizableDlg {
public:
    CMainDlg();
    ~CMainDlg() override = default;

    // Creates the panel's window as a hidden child of the host's window.
    bool Create(AppServices& app, HWND parent);

    // What a refresh reads: every folder file (the user's own refresh and the
    // first one), or only the files whose listing entries changed since.
    enum RefreshReads { ReadEverything, ReadChanged };
    void OnRefresh(RefreshReads reads = ReadEverything);

    // The library is being unloaded, or the process ends (its other threads
    // are gone then). A window still open is destroyed now, while the
    // application object still exists, so that it saves its settings.
    void EndWithLibrary(bool processEnding);

    const std::string& MailboxDir() const { return mailboxDir; }
    const std::string& NewMailDir() const { return newMailDir; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void BindControls() override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnDestroy() override;
    void Measure() override;
    void Layout(int width, int height) override;

private:
    void GetMailboxPath();
    void GetNewmailPath();
    std::string AskHost(UINT message) const;
    void LoadSettings();
    void SaveSettings();
    // A new scan of the mailbox into scanned, read through the kept readings.
    ScanResult Scan(FolderList& scanned);
    void OnHostStart();
    void OnSizeLimits(WPARAM wParam, LPARAM lParam);
    void OnPositionQuery(LPARAM lParam) const;
    void TrackPlacement();
    void SuppressSelection(const NMLISTVIEW& change);
    void ShowContextMenu();
    void OnListKeyDown(const NMLVKEYDOWN& key);
    void RunCommand(int command);
    void OnSettings();
    void OnAbout();
    void ApplyAutoRefresh();
    // Runs what may run a modal loop, whose host messages may close the
    // panel; whether the window it started in is still the one open.
    template <class Loop>
    bool Survives(Loop loop) {
        unsigned serial = windowSerial;
        loop();
        return IsWindow() && serial == windowSerial;
    }
    // Takes further copies of a worker's message out of the queue: a thread
    // that went on posting while the panel was busy asks for one action.
    void DropQueued(UINT message) const;
    std::string SummaryText() const;
    AppServices& App() const { return *application; }

    AppServices* application = nullptr;  // set before the window exists
    // Counts the panel's windows, so that code that ran a modal loop can
    // tell whether its window is still the one it started with.
    unsigned windowSerial = 0;

    std::string mailboxDir;
    std::string newMailDir;
    int summaryHeight = 0;
    Settings settings;
    MessagePoster autoRefreshThread;
    MessagePoster tickerThread;
    int refreshing = 0;
    FolderList folderList;
    bool viewShowsList = false;  // folderView shows every record of folderList
    FolderCache folderCache;  // what the refreshes read, for the next ones
    int sizeAndPos[4] = {0, 0, 0, 0};
    CControl summaryLine;
    CFolderListCtrl folderView;
};
