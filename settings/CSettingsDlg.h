#pragma once

#include "panel/CAccelDlg.h"
#include "platform/CButton.h"
#include "platform/CEdit.h"
#include "settings/Settings.h"

class AppServices;

// The dialog "Einstellungen": automatic refresh and its rate, folder paths
// and the warning about the hierarchy file. It works on its own copy of the
// settings, which the panel takes back only when the dialog ends with OK.
class CSettingsDlg : public CAccelDlg {
public:
    CSettingsDlg(AppServices& app, HWND parent);

    Settings settings;

protected:
    BOOL OnInitDialog() override;
    void BindControls() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void UpdateRefreshControls();
    void UpdateFolderPathControls();
    // The rate as typed, by the C library's rules; 0 when it holds no number.
    int ReadRateField() const;
    void FocusRate();
    void OnAutoRefreshClicked();

    AppServices& app;
    CButton autoRefresh;
    CControl rateBefore;
    CEdit rate;
    CControl rateAfter;
    CButton showFolderPath;
    CButton warnFolderPath;
    CControl warnSecondLine;
};
