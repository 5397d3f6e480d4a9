; The uninstaller of foldscan, foldscan-deinstallieren.exe in the install
; directory: a program of its own, not one that the installer writes. An
; uninstaller that NSIS writes starts a copy of itself and ends at once, with
; exit code 0 whatever the copy then does; a silent uninstallation must wait
; for its work and tell how it went.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=2.6.0 -DFILE_VERSION=2.6.0.0
;          -DOUTFILE=<foldscan-deinstallieren.exe> foldscan-deinstallieren.nsi
;
; foldscan-deinstallieren.exe [/S]: exit code 0 when foldscan is removed; 2
; with a German message (a box, or in silent use the standard error output)
; when nothing was removed, or what is left can be removed by running it
; again; 1 when the user cancelled.
;
; It runs twice. Started by the user, by Windows' Apps or by a deployment
; tool, it is the launcher: it copies itself to %TEMP%, starts the copy (the
; worker) and waits for the worker's answer, which becomes its exit code. The
; worker removes the files, the search path entry, the registration and the
; directories the installation made, and moves the launcher's file, which no
; one may delete while it runs, out of the install directory, all before it
; answers. Settings files (KVT-FSCN.PM, foldscan.ini) and anything else in the
; directory stay.

Unicode true
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Shared.nsh
!include CommandLine.nsh
!define SEARCH_PATH_REMOVE_ONLY
!include SearchPath.nsh

Name "${PRODUCT} ${VERSION}"
Caption "foldscan ${VERSION} entfernen"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show

!define SYNCHRONIZE 0x00100000
!define EVENT_MODIFY_STATE 0x0002
!define STARTF_USESTDHANDLES 0x100
!define SEE_MASK_NOCLOSEPROCESS_NOASYNC 0x140
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
; The worker's answer to the launcher: all is done.
!define DONE_EVENT "foldscan-deinstalliert-"

Var AllUsers     ; 1 registered for every user, 0 for the current one, -1 not registered
Var Missing      ; files that were already gone
Var Busy         ; files that a program holds
Var Left         ; files that could not be removed
Var CreatedFrom  ; the highest directory the installation made
Var Launcher     ; the launcher's process, to wait for

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_WELCOMEPAGE_TITLE "foldscan ${VERSION} entfernen"
!define MUI_WELCOMEPAGE_TEXT "Dieses Programm entfernt foldscan aus$\r$\n$\r$\n  $INSTDIR$\r$\n$\r$\nmit der Erweiterung, ihrer Hilfe, dem Bericht und ihren Texten. Ihre Einstellungen (KVT-FSCN.PM, foldscan.ini) bleiben erhalten.$\r$\n$\r$\nBeenden Sie Ihr Mailprogramm, bevor Sie fortfahren."
!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "foldscan wird entfernt"
!define MUI_PAGE_HEADER_SUBTEXT "Bitte warten Sie, während foldscan entfernt wird."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "foldscan ist entfernt"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT " "
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "foldscan wurde nicht entfernt"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT " "
!insertmacro MUI_PAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Deinstallation von foldscan ${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${COPYRIGHT}"

Function WelcomeShow
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:&Entfernen"
FunctionEnd

Function .onInit
    Call ReadCommandLine
    ${If} $OptParent == ""
        ${If} $OptUnknown != ""
        ${OrIf} $OptDir != ""
        ${OrIf} $OptAllUsers = 1
        ${OrIf} $OptCurrentUser = 1
        ${OrIf} $OptPath = 1
            !insertmacro FailNow "Das Deinstallationsprogramm versteht nur /S (ohne Dialog). Es wurde nichts entfernt."
        ${EndIf}
        Call Launch
    ${EndIf}

    Call TakeLock
    StrCpy $INSTDIR $OptDir
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i $OptParent) p .r0'
    StrCpy $Launcher $0
    ReadRegStr $0 HKLM "${SETTINGS_KEY}" "InstallDir"
    ReadRegStr $1 HKCU "${SETTINGS_KEY}" "InstallDir"
    ${If} $0 == $INSTDIR
        StrCpy $AllUsers 1
        SetShellVarContext all
        !insertmacro IsAdmin
        ${If} $0 = 0
            !insertmacro FailNow "foldscan ist für alle Benutzer installiert: Zum Entfernen sind Administratorrechte nötig. Starten Sie die Deinstallation als Administrator. Es wurde nichts entfernt."
        ${EndIf}
    ${ElseIf} $1 == $INSTDIR
        StrCpy $AllUsers 0
        SetShellVarContext current
    ${Else}
        StrCpy $AllUsers -1
        ${IfNot} ${FileExists} "$INSTDIR\foldscan.dll"
        ${AndIfNot} ${FileExists} "$INSTDIR\foldscan-report.exe"
            !insertmacro FailNow "In „$INSTDIR“ ist foldscan nicht installiert. Es wurde nichts entfernt."
        ${EndIf}
    ${EndIf}
FunctionEnd

; The launcher: starts the worker from a copy in %TEMP% and ends with its
; answer. An installation for every user started from Apps without
; administrator rights asks for them; a silent one is told so by the worker.
Function Launch
    ; The caller may have started it in the install directory; the worker removes it.
    SetOutPath $TEMP
    StrCpy $R0 ""
    ${IfThen} ${Silent} ${|} StrCpy $R0 "/S " ${|}
    System::Call 'kernel32::GetCurrentProcessId() i .R1'
    StrCpy $R2 "$TEMP\foldscan-deinstallieren"
    CreateDirectory $R2
    ; What earlier runs left; a copy that still runs stays.
    Delete "$R2\*.exe"
    StrCpy $R3 "$R2\$R1.exe"
    System::Call 'kernel32::CopyFileW(w "$EXEPATH", w "$R3", i 0) i .r0'
    ${If} $0 = 0
        !insertmacro FailNow "Das Deinstallationsprogramm kann sich nicht nach „$R2“ kopieren. Es wurde nichts entfernt."
    ${EndIf}
    System::Call 'kernel32::CreateEventW(p 0, i 1, i 0, w "${DONE_EVENT}$R1") p .R4'
    StrCpy $R5 '$R0/PARENT=$R1 /D=$EXEDIR'

    StrCpy $R6 0
    ${IfNot} ${Silent}
        ReadRegStr $0 HKLM "${SETTINGS_KEY}" "InstallDir"
        ${If} $0 == $EXEDIR
            !insertmacro IsAdmin
            ${IfThen} $0 = 0 ${|} StrCpy $R6 1 ${|}
        ${EndIf}
    ${EndIf}
    ${If} $R6 = 1
        Call StartElevated
    ${Else}
        Call StartWorker
    ${EndIf}
    ${If} $R7 P= 0
        !insertmacro FailNow "Das Deinstallationsprogramm kann seine Kopie „$R3“ nicht starten (Fehler $0). Es wurde nichts entfernt."
    ${EndIf}

    System::Call '*(p R4, p R7) p .r1'
    System::Call 'kernel32::WaitForMultipleObjects(i 2, p r1, i 0, i -1) i .r0'
    System::Free $1
    ${If} $0 <> 0
        System::Call 'kernel32::GetExitCodeProcess(p R7, *i .r0)'
    ${EndIf}
    SetErrorLevel $0
    Quit
FunctionEnd

; Starts $R3 with the parameters $R5 and the launcher's standard handles, so
; that the worker's messages reach the caller; the process in $R7, 0 when it
; could not be started ($0 says why).
Function StartWorker
    System::Call 'kernel32::GetStdHandle(i -10) p .r1'
    System::Call 'kernel32::GetStdHandle(i -11) p .r2'
    System::Call 'kernel32::GetStdHandle(i -12) p .r3'
    System::Call '*(i 68, p 0, p 0, p 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i ${STARTF_USESTDHANDLES}, &i2 0, &i2 0, p 0, p r1, p r2, p r3) p .r4'
    System::Call '*(p, p, i, i) p .r5'
    StrCpy $R8 '"$R3" $R5'
    System::Call 'kernel32::CreateProcessW(w "$R3", w R8, p 0, p 0, i 1, i 0, p 0, w "$R2", p r4, p r5) i .r6 ?e'
    Pop $0
    StrCpy $R7 0
    ${If} $6 <> 0
        System::Call '*$5(p .R7, p .r6)'
        System::Call 'kernel32::CloseHandle(p r6)'
    ${EndIf}
    System::Free $4
    System::Free $5
FunctionEnd

; The same through the shell, which asks for administrator rights.
Function StartElevated
    System::Call '*(&w${NSIS_MAX_STRLEN} "$R3") p .r1'
    System::Call '*(&w${NSIS_MAX_STRLEN} "$R5") p .r2'
    System::Call '*(&w6 "runas") p .r3'
    System::Call '*(i 60, i ${SEE_MASK_NOCLOSEPROCESS_NOASYNC}, p 0, p r3, p r1, p r2, p 0, i 1, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .r5'
    System::Call 'shell32::ShellExecuteExW(p r5) i .r6 ?e'
    Pop $0
    StrCpy $R7 0
    ${If} $6 <> 0
        System::Call '*$5(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .R7)'
    ${EndIf}
    System::Free $1
    System::Free $2
    System::Free $3
    System::Free $5
FunctionEnd

!macro NoteBusyOrMissing NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        !insertmacro IsBusy "$INSTDIR\${NAME}"
        ${IfThen} $0 = 1 ${|} StrCpy $Busy "$Busy$\r$\n  ${NAME}" ${|}
    ${Else}
        StrCpy $Missing "$Missing$\r$\n  ${NAME}"
    ${EndIf}
!macroend

!macro RemoveInstalled NAME
    Delete "$INSTDIR\${NAME}"
    ${IfThen} ${FileExists} "$INSTDIR\${NAME}" ${|} StrCpy $Left "$Left$\r$\n  ${NAME}" ${|}
    Delete "$INSTDIR\${NAME}${NEW}"
!macroend

Section "Entfernen"
    StrCpy $Missing ""
    StrCpy $Busy ""
    StrCpy $Left ""
    ; Every file is checked before the first is removed: a DLL that the mail
    ; client has loaded keeps the whole installation as it is.
    !insertmacro ForEachInstalledFile NoteBusyOrMissing
    ${If} $Busy != ""
        !insertmacro Fail "Diese Dateien in $INSTDIR werden gerade verwendet:$Busy$\r$\n$\r$\nEs wurde nichts entfernt. Beenden Sie Ihr Mailprogramm und alle Fenster der Hilfe und des Berichts, und starten Sie die Deinstallation erneut."
    ${EndIf}
    !insertmacro ForEachInstalledFile RemoveInstalled
    ${If} $Left != ""
        !insertmacro Fail "Diese Dateien in $INSTDIR konnten nicht entfernt werden:$Left$\r$\n$\r$\nBeenden Sie die Programme, die sie verwenden, und starten Sie die Deinstallation erneut."
    ${EndIf}

    StrCpy $CreatedFrom ""
    ${If} $AllUsers >= 0
        ReadRegDWORD $0 SHCTX "${SETTINGS_KEY}" "PathAdded"
        ${If} $0 = 1
            !insertmacro UseSearchPathOf $AllUsers
            Call RemoveFromSearchPath
            ${If} $Problem != ""
                !insertmacro Fail "foldscan ist entfernt, aber $INSTDIR steht noch im Suchpfad: $Problem"
            ${EndIf}
        ${EndIf}
        ReadRegStr $CreatedFrom SHCTX "${SETTINGS_KEY}" "CreatedFrom"
        ; Version 2.6.0 noted only whether it made the install directory itself.
        ReadRegDWORD $0 SHCTX "${SETTINGS_KEY}" "CreatedDir"
        ${If} $CreatedFrom == ""
        ${AndIf} $0 = 1
            StrCpy $CreatedFrom $INSTDIR
        ${EndIf}
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
        DeleteRegKey SHCTX "${SETTINGS_KEY}"
    ${EndIf}

    Call RemoveLauncher
    ; Only when empty: the settings files and anything else stay.
    !insertmacro RemoveMadeFolders $CreatedFrom

    ${If} $Missing != ""
        StrCpy $Problem "Diese Dateien in $INSTDIR waren schon entfernt:$Missing$\r$\n$\r$\nfoldscan ist nun vollständig entfernt."
        !insertmacro Tell MB_ICONINFORMATION
    ${EndIf}
    Call Answer
SectionEnd

; Moves the launcher's file beside this copy in %TEMP%: Windows lets no one
; delete a program's file while it runs, but lets it be renamed. From there
; the next run deletes it, or Windows at the next start when it may. Across
; drives it cannot move: then it is deleted once the launcher has ended.
Function RemoveLauncher
    Delete "$INSTDIR\${UNINSTALLER}${NEW}"
    ${IfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Return
    ${EndIf}
    StrCpy $0 "$EXEDIR\$OptParent-abgelegt.exe"
    System::Call 'kernel32::MoveFileExW(w "$INSTDIR\${UNINSTALLER}", w "$0", i ${MOVEFILE_REPLACE_EXISTING}) i .r1'
    ${If} $1 <> 0
        System::Call 'kernel32::MoveFileExW(w "$0", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i'
    ${EndIf}
FunctionEnd

; Tells the launcher that all is done, which then ends with exit code 0. A
; launcher file that could not be moved goes once the launcher has ended.
Function Answer
    System::Call 'kernel32::OpenEventW(i ${EVENT_MODIFY_STATE}, i 0, w "${DONE_EVENT}$OptParent") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::SetEvent(p r0)'
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        System::Call 'kernel32::WaitForSingleObject(p $Launcher, i 10000) i'
        Delete "$INSTDIR\${UNINSTALLER}"
        !insertmacro RemoveMadeFolders $CreatedFrom
    ${EndIf}
    System::Call 'kernel32::MoveFileExW(w "$EXEPATH", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i'
FunctionEnd

Function .onInstFailed
    SetErrorLevel 2
FunctionEnd
