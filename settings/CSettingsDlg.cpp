#include "settings/CSettingsDlg.h"

#include "resources/resource.h"
#include "settings/ProfileFile.h"
#include "ui/AppServices.h"
#include "ui/ShowMessage.h"

#include <string>

namespace {

const char HelpTopic[] = "::/pages/ref_dlg_einst.htm";
const int RateDigits = 3;
const int DefaultRate = 10;

}  // namespace

CSettingsDlg::CSettingsDlg(AppServices& app, HWND parent)
    : CAccelDlg(IDA_SETTINGS, IDD_SETTINGS, parent), app(app) {}

void CSettingsDlg::BindControls() {
    Bind(IDC_AUTO_REFRESH, autoRefresh);
    Bind(IDC_RATE_BEFORE, rateBefore);
    Bind(IDC_RATE, rate);
    Bind(IDC_RATE_AFTER, rateAfter);
    Bind(IDC_SHOW_FOLDER_PATH, showFolderPath);
    Bind(IDC_WARN_FOLDER_PATH, warnFolderPath);
    Bind(IDC_WARN_SECOND_LINE, warnSecondLine);
}

BOOL CSettingsDlg::OnInitDialog() {
    CAccelDlg::OnInitDialog();
    CenterOnParent();
    rate.LimitText(RateDigits);
    UpdateRefreshControls();
    UpdateFolderPathControls();
    autoRefresh.SetFocus();
    return FALSE;  // the focus is set
}

void CSettingsDlg::UpdateRefreshControls() {
    bool on = settings.AutoRefresh == 1;
    autoRefresh.SetCheck(on);
    rate.SetText(on ? std::to_string(settings.AutoRefreshRate) : std::string());
    rateBefore.Enable(on);
    rate.Enable(on);
    rateAfter.Enable(on);
}

void CSettingsDlg::UpdateFolderPathControls() {
    bool on = settings.ShowFolderPath == 1;
    showFolderPath.SetCheck(on);
    // Without folder paths the warning shows unchecked but keeps its value.
    warnFolderPath.SetCheck(on && settings.WarnFolderPath == 1);
    warnFolderPath.Enable(on);
    warnSecondLine.Enable(on);
}

int CSettingsDlg::ReadRateField() const { return ProfileFile::ToInt(rate.Text()); }

void CSettingsDlg::FocusRate() {
    rate.SelectAll();
    rate.ScrollCaret();
    rate.SetFocus();
}

void CSettingsDlg::OnAutoRefreshClicked() {
    settings.AutoRefresh = autoRefresh.IsChecked() ? 1 : 0;
    if (!settings.AutoRefresh) {
        // What was typed comes back when the box is checked again.
        int typed = ReadRateField();
        settings.AutoRefreshRate = typed > 0 ? typed : DefaultRate;
    }
    UpdateRefreshControls();
    if (settings.AutoRefresh) FocusRate();
}

bool CSettingsDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_AUTO_REFRESH:
        if (code == BN_CLICKED) OnAutoRefreshClicked();
        return true;
    case IDC_SHOW_FOLDER_PATH:
        if (code != BN_CLICKED) return true;
        settings.ShowFolderPath = showFolderPath.IsChecked() ? 1 : 0;
        UpdateFolderPathControls();
        return true;
    case IDC_WARN_FOLDER_PATH:
        if (code == BN_CLICKED) settings.WarnFolderPath = warnFolderPath.IsChecked() ? 1 : 0;
        return true;
    case IDC_HELP_BUTTON:
        app.DisplayHelp(HelpTopic);
        return true;
    default:
        return CAccelDlg::OnCommand(id, code, control);
    }
}

void CSettingsDlg::OnOK() {
    if (settings.AutoRefresh == 1) {
        int typed = ReadRateField();
        if (typed <= 0) {
            ShowError(app, IDS_ERROR_RATE);
            FocusRate();
            return;
        }
        settings.AutoRefreshRate = typed;
    }
    EndDialog(IDOK);
}
