#include "tests/panel/PanelHarness.h"

#include "host/PanelReader.h"

#include <commctrl.h>

#include <filesystem>
#include <system_error>
#include <thread>

namespace {

namespace fs = std::filesystem;

// Once it has shown its panel the library stays loaded until the process
// ends. So that each test starts with a library of its own, each harness loads
// a copy of it, with its help file, from a directory of its own; copies of
// ended runs are removed.
std::string PrivateCopyOfLibrary() {
    static unsigned serial = 0;
    std::error_code ignored;
    fs::path temp = fs::temp_directory_path(ignored);
    std::string mine = "foldscan-dll-" + std::to_string(::GetCurrentProcessId());
    if (serial == 0)
        for (const fs::directory_entry& entry : fs::directory_iterator(temp, ignored))
            if (entry.path().filename().string().rfind("foldscan-dll-", 0) == 0 && entry.path().filename() != mine)
                fs::remove_all(entry.path(), ignored);
    fs::path dir = temp / mine / std::to_string(serial++);
    fs::create_directories(dir, ignored);
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    fs::path beside = fs::path(program).parent_path();
    fs::copy_file(beside / "foldscan.chm", dir / "foldscan.chm", fs::copy_options::overwrite_existing, ignored);
    fs::path copy = dir / "foldscan.dll";
    fs::copy_file(beside / "foldscan.dll", copy, fs::copy_options::overwrite_existing, ignored);
    return copy.string();
}

}  // namespace

PanelHarness::PanelHarness() {
    libraryPath = PrivateCopyOfLibrary();
    module = ::LoadLibraryA(libraryPath.c_str());
    if (module)
        formInit = reinterpret_cast<FormInit>(reinterpret_cast<void*>(::GetProcAddress(module, "FORMINIT")));
}

PanelHarness::~PanelHarness() {
    Close();
    // A panel still in the host goes with it, while its library is loaded.
    if (Host()) ::DestroyWindow(Host());
    HandlePending();
    if (module) ::FreeLibrary(module);
}

HWND PanelHarness::List() const { return ::GetDlgItem(panel, IDC_FOLDER_LIST); }

bool PanelHarness::Create() {
    if (!formInit || !formInit(0, 0, Host(), 0, &panel, 0)) return false;
    ::ShowWindow(panel, SW_SHOW);
    return true;
}

bool PanelHarness::Open() {
    if (!Create()) return false;
    Send(HostMessages::Start);
    HandlePending();
    return true;
}

void PanelHarness::Close() {
    if (panel && ::IsWindow(panel)) ::DestroyWindow(panel);
    panel = nullptr;
    HandlePending();
}

void PanelHarness::Unload(bool fromAnotherThread) {
    if (!module) return;
    if (fromAnotherThread)
        std::thread([library = module] { ::FreeLibrary(library); }).join();
    else
        ::FreeLibrary(module);
    module = nullptr;
}

LRESULT PanelHarness::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(panel, message, wParam, lParam);
}

void PanelHarness::Command(int id) const {
    Send(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    HandlePending();
}

void PanelHarness::ClickColumn(int column) const {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = IDC_FOLDER_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    Send(WM_NOTIFY, IDC_FOLDER_LIST, reinterpret_cast<LPARAM>(&click));
    HandlePending();
}

std::vector<int> PanelHarness::Order() const { return PanelReader(panel).DisplayOrder(); }

std::vector<int> PanelHarness::Widths() const {
    std::vector<int> widths;
    for (size_t column = 0; column < Order().size(); ++column)
        widths.push_back(static_cast<int>(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0)));
    return widths;
}

std::vector<std::string> PanelHarness::Titles() const { return PanelReader(panel).ColumnTitles(); }

std::vector<std::string> PanelHarness::Column(int index) const {
    PanelReader reader(panel);
    std::vector<std::string> cells;
    for (int row = 0; row < reader.RowCount(); ++row) cells.push_back(reader.Cell(row, index));
    return cells;
}

std::vector<std::vector<std::string>> PanelHarness::Rows() const {
    PanelReader reader(panel);
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < reader.RowCount(); ++row) rows.push_back(reader.Row(row));
    return rows;
}

std::string PanelHarness::Summary() const { return PanelReader(panel).Summary(); }

RECT PanelHarness::PanelRect() const {
    RECT rect{};
    ::GetWindowRect(panel, &rect);
    ::MapWindowPoints(nullptr, Host(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
