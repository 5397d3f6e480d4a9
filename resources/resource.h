#pragma once

// Resource, control and command ids of the module. They are fixed: the host,
// the help file and stored settings rely on none of them changing.

// Icon, dialogs, menu and accelerator table.
#define IDI_FOLDSCAN          24001
#define IDD_PANEL             24002
#define IDM_CONTEXT           24004
#define IDD_ABOUT             24005
#define IDD_SETTINGS          24006
#define IDA_SETTINGS          24008

// Controls of the panel.
#define IDC_FOLDER_LIST       24001
#define IDC_SUMMARY           24002

// Controls of the About box.
#define IDC_ABOUT_DESCRIPTION 24003
#define IDC_ABOUT_COPYRIGHT   24004
#define IDC_ABOUT_MAILBOX     24005
#define IDC_ABOUT_VERSION     24006
#define IDC_ABOUT_ICON        24007
#define IDC_ABOUT_NEWMAIL     24015

// Controls of the settings dialog.
#define IDC_AUTO_REFRESH      24008
#define IDC_RATE_BEFORE       24009
#define IDC_RATE_AFTER        24010
#define IDC_RATE              24011
#define IDC_WARN_FOLDER_PATH  24012
#define IDC_WARN_SECOND_LINE  24013
#define IDC_SHOW_FOLDER_PATH  24014

// The help button of the settings dialog and of the message boxes.
#define IDC_HELP_BUTTON       9

// Commands of the context menu and the keyboard.
#define ID_REFRESH            40001
#define ID_SETTINGS           40002
#define ID_HELP_CONTENTS      40003
#define ID_HELP_PANEL         40004
#define ID_ABOUT              40005
#define ID_COMPACT_SIZES      40006
#define ID_SHOW_NEWMAIL       40007

// Strings.
#define IDS_COLUMN_FILE       2001
#define IDS_COLUMN_SIZE       2002
#define IDS_COLUMN_FOLDER     2003
#define IDS_SUMMARY           2004
#define IDS_NEWMAIL_LABEL     2005
#define IDS_ERROR_UNEXPECTED  2101
#define IDS_ERROR_NO_HELP     2102
#define IDS_ERROR_START_AUTO  2103
#define IDS_ERROR_STOP_AUTO   2104
#define IDS_ERROR_RATE        2105
#define IDS_ERROR_START_TICK  2106
#define IDS_WARN_NO_MAILBOX   2601
#define IDS_WARN_NO_HIERARCHY 2602
#define IDS_WARN_NO_NEWMAIL   2603
