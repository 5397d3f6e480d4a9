#include "panel/CMainDlg.h"

#include "panel/KeyCommands.h"
#include "platform/CMenu.h"
#include "refresh/RefreshInterval.h"
#include "resources/resource.h"
#include "settings/CSettingsDlg.h"
#include "settings/ProfileStore.h"
#include "ui/AppServices.h"
#include "ui/CAboutDlg.h"
#include "ui/ShowMessage.h"
#include "ui/Trace.h"

#include <cstdio>
#include <vector>

namespace {

const int DefaultSizeAndPos[4] = {25, 25, 460, 444};
const UINT HostPathCapacity = 260;
const char PanelHelpTopic[] = "::/pages/ref_dlg_main.htm";

// Restores the cursor and the busy flag however a refresh ends. No tick is
// due while it runs; the next one comes an interval after its end, and not
// before the host has had its thread to itself for as long as the refresh
// held it (the time a warning stays open is the user's, not the refresh's).
class RefreshScope {
public:
    RefreshScope(int& flag, PeriodicWorker& ticks)
        : flag(flag), ticks(ticks), cursor(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))), start(::GetTickCount()) {
        flag = 1;
        ticks.Hold();
    }
    ~RefreshScope() {
        ::SetCursor(cursor);
        flag = 0;
        ticks.Resume(::GetTickCount() - start - paused);
    }
    // Leaves the time of a modal loop out of the refresh's.
    template <class Loop>
    void Pause(Loop loop) {
        DWORD begin = ::GetTickCount();
        loop();
        paused += ::GetTickCount() - begin;
    }

private:
    int& flag;
    PeriodicWorker& ticks;
    HCURSOR cursor;
    DWORD start;
    DWORD paused = 0;
};

}  // namespace

CMainDlg::CMainDlg() : CResizableDlg(IDD_PANEL), autoRefreshThread(true) {}

void CMainDlg::EndWithLibrary(bool processEnding) {
    if (processEnding) {
        tickerThread.AbandonThread();
        autoRefreshThread.AbandonThread();
    }
    if (IsWindow()) ::DestroyWindow(hwnd);
}

bool CMainDlg::Create(AppServices& app, HWND parent) {
    application = &app;
    return CResizableDlg::Create(parent);
}

void CMainDlg::BindControls() {
    Bind(IDC_SUMMARY, summaryLine);
    Bind(IDC_FOLDER_LIST, folderView);
}

BOOL CMainDlg::OnInitDialog() {
    ++windowSerial;
    CResizableDlg::OnInitDialog();
    App().SetMainWindow(this);
    GetMailboxPath();
    GetNewmailPath();
    App().SetSettingsFolder(mailboxDir);
    folderView.Setup(App(), IDS_COLUMN_FILE, IDS_COLUMN_SIZE, IDS_COLUMN_FOLDER);
    viewShowsList = false;
    LoadSettings();
    Move(0, 0, sizeAndPos[2], sizeAndPos[3], true);
    folderView.SetFocus();
    return FALSE;  // the focus is set
}

std::string CMainDlg::AskHost(UINT message) const {
    char buffer[HostPathCapacity + 1] = {};
    Parent().Send(message, HostPathCapacity, reinterpret_cast<LPARAM>(buffer));
    buffer[HostPathCapacity] = '\0';  // whatever the host wrote, the text ends here
    std::string path(buffer);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

void CMainDlg::GetMailboxPath() {
    mailboxDir = AskHost(HostMessages::AskMailboxPath);
    Trace("[foldscan::CMainDlg::GetMailboxPath] \"%s\"\n", mailboxDir.c_str());
}

void CMainDlg::GetNewmailPath() {
    newMailDir = AskHost(HostMessages::AskNewmailPath);
    Trace("[foldscan::CMainDlg::GetNewmailPath] \"%s\"\n", newMailDir.c_str());
}

void CMainDlg::LoadSettings() {
    ProfileStore* store = App().SettingsStore();
    if (!store || !store->Open("MainDlg")) return;
    store->ReadIntList("SizeAndPos", 4, DefaultSizeAndPos, sizeAndPos);
    folderView.LoadColumns(*store);
    settings.Load(*store);
    store->Close();
}

void CMainDlg::SaveSettings() {
    ProfileStore* store = App().SettingsStore();
    if (!store || !store->Open("MainDlg")) return;
    store->WriteIntList("SizeAndPos", 4, sizeAndPos);
    folderView.SaveColumns(*store);
    settings.Save(*store);
    store->Close();
}

// The order of a refresh: the view lets go of the rows whose records are
// about to go, the list takes in the new scan's records, a warning may run a
// modal loop (whose host messages may close the panel), and only a panel
// that survived it shows the rows.
void CMainDlg::OnRefresh(RefreshReads reads) {
    Trace("[foldscan::CMainDlg::OnRefresh]\n");
    if (refreshing) return;
    RefreshScope busy(refreshing, autoRefreshThread);

    if (reads == ReadEverything) folderCache.ReadEverythingNext();
    bool warn = false;
    RowUpdate update = RowUpdate::Unchanged;
    {
        // The records that go leave with scanned, before the warning or the fill.
        FolderList scanned;
        warn = !Scan(scanned).hierarchyRead && settings.WarnFolderPath != 0;
        // The list stays empty while the warning is open.
        update = FolderList::ChooseRowUpdate(folderList, scanned, warn || !viewShowsList);
        if (update == RowUpdate::Rebuild) {
            folderView.LetGo();
            viewShowsList = false;
            folderList.SwapRows(scanned);
        } else if (update == RowUpdate::InPlace) {
            folderList.UpdateRows(scanned);
        }
    }
    if (warn && !Survives([&] { busy.Pause([this] { ShowWarning(App(), IDS_WARN_NO_HIERARCHY); }); })) return;
    folderView.ShowRows(folderList, update, settings.CompactFileSizes != 0);
    viewShowsList = true;
    summaryLine.SetText(SummaryText());
}

ScanResult CMainDlg::Scan(FolderList& scanned) {
    scanned.UseReader(&folderCache);
    ScanOptions options;
    options.mailboxDir = mailboxDir;
    options.showFolderPath = settings.ShowFolderPath != 0;
    options.showNewMailFolder = settings.ShowNewMailFolder != 0;
    options.newMailDir = newMailDir;
    options.newMailLabel = App().LoadString(IDS_NEWMAIL_LABEL);
    return scanned.Scan(options);
}

std::string CMainDlg::SummaryText() const {
    std::string format = App().LoadString(IDS_SUMMARY);
    std::string compact = folderList.TotalText(true);
    std::string exact = folderList.TotalText(false);
    int needed = std::snprintf(nullptr, 0, format.c_str(), folderList.GetCount(), compact.c_str(), exact.c_str());
    if (needed <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(needed) + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), folderList.GetCount(), compact.c_str(), exact.c_str());
    return std::string(text.data(), static_cast<size_t>(needed));
}

void CMainDlg::OnHostStart() {
    if (!Survives([this] { OnRefresh(); }) || !Survives([this] { ApplyAutoRefresh(); })) return;
    if (tickerThread.Start(hwnd, HostMessages::Ticker, true, 0) != PeriodicWorker::Started)
        ShowError(App(), IDS_ERROR_START_TICK);
}

void CMainDlg::ApplyAutoRefresh() {
    autoRefreshThread.SetInterval(RefreshIntervalMs(settings.AutoRefreshRate), true);
    PeriodicWorker::State state = autoRefreshThread.GetState();
    if (settings.AutoRefresh != 0 && state == PeriodicWorker::Idle) {
        if (autoRefreshThread.Start(hwnd, HostMessages::AutoRefresh, false, 0) != PeriodicWorker::Started)
            ShowError(App(), IDS_ERROR_START_AUTO);
    } else if (settings.AutoRefresh == 0 && state == PeriodicWorker::Running) {
        if (autoRefreshThread.Stop() != PeriodicWorker::Stopped) ShowError(App(), IDS_ERROR_STOP_AUTO);
    }
}

void CMainDlg::DropQueued(UINT message) const {
    // Removes without dispatching anything: this is no message pump.
    MSG queued;
    while (::PeekMessageA(&queued, hwnd, message, message, PM_REMOVE | PM_NOYIELD)) {
    }
}

void CMainDlg::OnSizeLimits(WPARAM wParam, LPARAM lParam) {
    Send(WM_GETMINMAXINFO, wParam, lParam);
    MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!limits) return;
    limits->ptMinTrackSize.x = minWindowWidth;
    limits->ptMinTrackSize.y = minWindowHeight;
}

void CMainDlg::OnPositionQuery(LPARAM lParam) const {
    int* position = reinterpret_cast<int*>(lParam);
    if (!position) return;
    position[0] = sizeAndPos[0];
    position[1] = sizeAndPos[1];
}

void CMainDlg::TrackPlacement() {
    CWindow host = Parent();
    if (!host.IsWindow() || host.IsIconic() || host.IsZoomed()) return;
    // A top-level host window has the desktop as its parent: screen coordinates.
    RECT frame = host.WindowRect();
    ::MapWindowPoints(nullptr, ::GetAncestor(host.Handle(), GA_PARENT), reinterpret_cast<POINT*>(&frame), 2);
    RECT client = host.ClientRect();
    sizeAndPos[0] = frame.left;
    sizeAndPos[1] = frame.top;
    sizeAndPos[2] = client.right - client.left;
    sizeAndPos[3] = client.bottom - client.top + (3 * metrics.unitY) / 8;
}

void CMainDlg::SuppressSelection(const NMLISTVIEW& change) {
    // The rows are for reading only; the list never shows a selection.
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED))
        folderView.SetItemState(change.iItem, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void CMainDlg::ShowContextMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    CMenu menu, popup;
    if (!menu.Load(ResourceModule(), IDM_CONTEXT) || !popup.BorrowSubMenu(menu, 0)) return;
    popup.CheckItem(ID_COMPACT_SIZES, settings.CompactFileSizes != 0);
    popup.CheckItem(ID_SHOW_NEWMAIL, settings.ShowNewMailFolder != 0);
    popup.TrackPopup(0, cursor.x, cursor.y, hwnd);
}

void CMainDlg::OnListKeyDown(const NMLVKEYDOWN& key) {
    bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    bool alt = ::GetKeyState(VK_MENU) < 0;
    int command = KeyCommands::CommandForKey(key.wVKey, ctrl, alt);
    if (command) RunCommand(command);
}

void CMainDlg::RunCommand(int command) {
    switch (command) {
    case ID_COMPACT_SIZES:
        settings.CompactFileSizes = settings.CompactFileSizes ? 0 : 1;
        OnRefresh(ReadChanged);
        break;
    case ID_SHOW_NEWMAIL:
        settings.ShowNewMailFolder = settings.ShowNewMailFolder ? 0 : 1;
        OnRefresh(ReadChanged);
        break;
    case ID_REFRESH:
        OnRefresh();
        break;
    case ID_SETTINGS:
        OnSettings();
        break;
    case ID_HELP_CONTENTS:
        App().DisplayHelp(nullptr);
        break;
    case ID_HELP_PANEL:
        App().DisplayHelp(PanelHelpTopic);
        break;
    case ID_ABOUT:
        OnAbout();
        break;
    default:
        break;
    }
}

void CMainDlg::OnAbout() {
    CAboutDlg about(hwnd, App().ModulePath());
    about.mailboxDir = mailboxDir;
    about.newMailDir = newMailDir;
    App().RunModal(about);
}

void CMainDlg::OnSettings() {
    CSettingsDlg dialog(App(), hwnd);
    dialog.settings = settings;
    INT_PTR answer = IDCANCEL;
    if (!Survives([&] { answer = App().RunModal(dialog); }) || answer != IDOK) return;
    settings = dialog.settings;
    SaveSettings();
    ApplyAutoRefresh();
    // The refresh comes once the dialog has gone.
    Post(WM_COMMAND, MAKEWPARAM(ID_REFRESH, 0));
}

bool CMainDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (id >= ID_REFRESH && id <= ID_SHOW_NEWMAIL) {
        RunCommand(id);
        return true;
    }
    return CResizableDlg::OnCommand(id, code, control);
}

bool CMainDlg::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_FOLDER_LIST) return false;
    switch (header.code) {
    case NM_RCLICK:
        ShowContextMenu();
        break;
    case LVN_ITEMCHANGED:
        SuppressSelection(reinterpret_cast<NMLISTVIEW&>(header));
        break;
    case LVN_ODSTATECHANGED:  // a range of rows, as a shift-click selects
        if (reinterpret_cast<NMLVODSTATECHANGE&>(header).uNewState & LVIS_SELECTED)
            folderView.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        break;
    case LVN_KEYDOWN:
        OnListKeyDown(reinterpret_cast<NMLVKEYDOWN&>(header));
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

void CMainDlg::OnDestroy() {
    SaveSettings();
    folderCache.Clear();  // a new window reads everything at its start anyway
    tickerThread.Stop();
    autoRefreshThread.Stop();
    App().ClearMainWindow();
}

void CMainDlg::Measure() {
    CResizableDlg::Measure();
    minWindowWidth += 2 * ::GetSystemMetrics(SM_CXFRAME);
    minWindowHeight += 2 * ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION);
    RECT summary = summaryLine.WindowRect();
    summaryHeight = summary.bottom - summary.top;
}

void CMainDlg::Layout(int width, int height) {
    CResizableDlg::Layout(width, height);
    if (!folderView.IsWindow()) return;
    PanelLayout::PanelBoxes boxes = PanelLayout::LayOutPanel(metrics, summaryHeight, width, height,
                                                             initialClientWidth, initialClientHeight);
    folderView.Move(boxes.list.left, boxes.list.top, boxes.list.Width(), boxes.list.Height(), true);
    summaryLine.Move(boxes.summary.left, boxes.summary.top, boxes.summary.Width(), boxes.summary.Height(), true);
}

bool CMainDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_RBUTTONDOWN:
        ShowContextMenu();
        return true;
    case HostMessages::Start:
        OnHostStart();
        return true;
    case HostMessages::Resize:  // the kind of resize in wParam, the new size in lParam
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) Move(0, 0, LOWORD(lParam), HIWORD(lParam), true);
        return true;
    case HostMessages::SizeLimits:
        OnSizeLimits(wParam, lParam);
        return true;
    case HostMessages::PositionQuery:
        OnPositionQuery(lParam);
        result = 1;
        return true;
    case HostMessages::Activate:
    case HostMessages::Focus:
        folderView.SetFocus();
        return true;
    case HostMessages::DpiChanged:
        folderView.OnDpiChanged(LOWORD(wParam));
        return true;
    case HostMessages::AutoRefresh:
        DropQueued(HostMessages::AutoRefresh);
        // A tick that a refresh overtook in the queue is not one the worker
        // waits for: the next one counts from that refresh.
        if (autoRefreshThread.GetState() == PeriodicWorker::Running && !autoRefreshThread.Held()) return true;
        OnRefresh(ReadChanged);
        return true;
    case HostMessages::Ticker:
        DropQueued(HostMessages::Ticker);
        TrackPlacement();
        return true;
    default:
        return CResizableDlg::OnMessage(message, wParam, lParam, result);
    }
}
