; The installer of foldscan: German, for the current user, into the directory
; the user chooses. Only the user knows from which directory the mail client
; loads its extensions, so there is no default but the user's own choice of the
; last installation, which the next update offers again.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=2.6.0 -DFILE_VERSION=2.6.0.0
;          -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> foldscan.nsi
;
; Silent use: setup.exe /S /D=<directory> (the /D option last, unquoted).
; Exit code 0 when installed; 2 with a German message (a box, or in silent
; use the standard error output, when there is one) when nothing was changed
; or what was installed can still be removed by the uninstaller.
;
; The files are first written beside their places under temporary names and
; only then put in place, so that a full disk or a failed write leaves the
; previous installation as it was. The uninstaller removes exactly the files
; installed and leaves everything else in the directory, above all the
; settings files KVT-FSCN.PM and foldscan.ini.

Unicode true
SetCompressor /SOLID lzma
; The installed files get the time of their installation, and the installer
; does not depend on the time the files were made.
SetDateSave off
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "foldscan"
!define SETTINGS_KEY "Software\foldscan"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\foldscan"
!define UNINSTALLER "foldscan-deinstallieren.exe"
!define PUBLISHER "Das foldscan-Team"
!define COPYRIGHT "© 2026 Das foldscan-Team. Alle Rechte vorbehalten."
; The name of the lock that keeps a second installer or uninstaller from running.
!define MUTEX "foldscan-setup"
; A new file waits under this suffix until all of them are written.
!define NEW ".neu"
!define ERROR_ALREADY_EXISTS 183
!define STD_ERROR_HANDLE -12

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDirRegKey HKCU "${SETTINGS_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include StrFunc.nsh
${StrStr}

Var Problem      ; what went wrong, for the box and the standard error output
Var CreatedDir   ; 1 when this installation made the target directory
Var Committing   ; 1 once files are being put in place: no more rolling back

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Willkommen bei foldscan ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Dieses Programm installiert foldscan ${VERSION}, die Ordnerstatistik für Ihr Mailprogramm:$\r$\n$\r$\n  foldscan.dll, die Erweiterung,$\r$\n  foldscan.chm, ihre Hilfe,$\r$\n  foldscan-report.exe, den Bericht für die Befehlszeile.$\r$\n$\r$\nBeenden Sie Ihr Mailprogramm, bevor Sie fortfahren."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LIZENZ.txt"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Wählen Sie das Verzeichnis, aus dem Ihr Mailprogramm seine Erweiterungen lädt. Das Installationsprogramm kennt es nicht: Sie finden es in der Dokumentation oder den Einstellungen Ihres Mailprogramms; meist liegen dort schon andere Erweiterungen (DLL-Dateien). Bei einer Aktualisierung steht hier das Verzeichnis der letzten Installation."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Verzeichnis der Erweiterungen"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "foldscan ${VERSION} ist installiert"
!define MUI_FINISHPAGE_TEXT "foldscan ist in $INSTDIR installiert.$\r$\n$\r$\nStarten Sie Ihr Mailprogramm, um die Erweiterung zu laden. Entfernen können Sie foldscan unter „Einstellungen > Apps“ oder in der Systemsteuerung unter „Programme und Features“."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Installation und Deinstallation von foldscan ${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${COPYRIGHT}"

; Functions that the installer and the uninstaller both need; NSIS wants the
; uninstaller's copies named with "un.".
!macro SharedFunctions UN
    ; In silent use no box appears: the message goes to the standard error
    ; output, if the caller gave one (a redirection does, a double click not).
    Function ${UN}WriteStdErr
        System::Call 'kernel32::GetStdHandle(i ${STD_ERROR_HANDLE}) p .r0'
        ${If} $0 P<> 0
        ${AndIf} $0 P<> -1
            FileWrite $0 "foldscan: $Problem$\r$\n"
        ${EndIf}
    FunctionEnd

    ; One installer or uninstaller at a time: a second one would write the same files.
    Function ${UN}TakeMutex
        System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${MUTEX}") p .r0 ?e'
        Pop $1
        ${If} $1 = ${ERROR_ALREADY_EXISTS}
            StrCpy $Problem "Das Installations- oder Deinstallationsprogramm von foldscan läuft bereits. Warten Sie, bis es fertig ist, und starten Sie dieses dann erneut."
            MessageBox MB_ICONSTOP "$Problem" /SD IDOK
            Call ${UN}WriteStdErr
            SetErrorLevel 2
            Quit
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; Shows the problem, or writes it in silent use, and ends with exit code 2.
!macro Fail TEXT
    StrCpy $Problem "${TEXT}"
    MessageBox MB_ICONSTOP "$Problem" /SD IDOK
    Call WriteStdErr
    SetErrorLevel 2
    Abort
!macroend

; --- Installer --------------------------------------------------------------

; Replaces a file by its new copy. A file that cannot be deleted sets the
; error flag, and so does the rename then.
!macro PutInPlace NAME
    Delete "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${NAME}${NEW}" "$INSTDIR\${NAME}"
!macroend

; Sets $Problem and returns from the calling function when an earlier
; installation's file cannot be opened for writing: a DLL that the mail client
; has loaded cannot.
!macro CheckNotInUse NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        ClearErrors
        FileOpen $0 "$INSTDIR\${NAME}" a
        ${If} ${Errors}
            StrCpy $Problem "Die Datei „$INSTDIR\${NAME}“ wird gerade verwendet oder ist schreibgeschützt. Beenden Sie Ihr Mailprogramm und alle Fenster der Hilfe und des Berichts, und versuchen Sie es erneut."
            Return
        ${EndIf}
        FileClose $0
    ${EndIf}
!macroend

Function .onInit
    Call TakeMutex
    StrCpy $CreatedDir 0
    StrCpy $Committing 0
    ; NSIS drops a /D= directory that is not a full path to a directory (a
    ; file, a relative path, a drive that does not exist) and quietly takes the
    ; last installation's directory instead. The directory given wins, so that
    ; CheckTarget can say what is wrong with it.
    System::Call 'kernel32::GetCommandLineW() w .r0'
    ${StrStr} $1 $0 " /D="
    ${If} $1 != ""
        StrCpy $INSTDIR $1 "" 4
    ${EndIf}
FunctionEnd

Section "foldscan" SectionMain
    SectionIn RO
    ; The uninstaller, written beside the files.
    AddSize 160
    Call CheckTarget
    ${If} $Problem != ""
        !insertmacro Fail "$Problem"
    ${EndIf}

    ; Writes every new file under its temporary name. SetOverwrite try turns a
    ; file that cannot be opened into an error flag instead of a box that
    ; asks; a write that fails half way (a full disk) ends the installation
    ; in .onInstFailed.
    SetOutPath "$INSTDIR"
    SetOverwrite try
    ClearErrors
    File "/oname=foldscan.dll${NEW}" "${STAGE}/foldscan.dll"
    File "/oname=foldscan.chm${NEW}" "${STAGE}/foldscan.chm"
    File "/oname=foldscan-report.exe${NEW}" "${STAGE}/foldscan-report.exe"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}${NEW}"
    ${If} ${Errors}
        Call RollBack
        !insertmacro Fail "Die Dateien konnten nicht nach $INSTDIR geschrieben werden. Es wurde nichts verändert."
    ${EndIf}

    ; The uninstaller and its entries come first: should a file not go in its
    ; place, what is installed by then can be removed.
    StrCpy $Committing 1
    !insertmacro PutInPlace "${UNINSTALLER}"
    Call Register
    !insertmacro PutInPlace "foldscan.dll"
    !insertmacro PutInPlace "foldscan.chm"
    !insertmacro PutInPlace "foldscan-report.exe"
    ${If} ${Errors}
        !insertmacro Fail "Die Installation in $INSTDIR ist unvollständig: eine Datei konnte nicht ersetzt werden. Beenden Sie Ihr Mailprogramm und installieren Sie erneut, oder entfernen Sie foldscan mit ${UNINSTALLER}."
    ${EndIf}
SectionEnd

Function Register
    WriteRegStr HKCU "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKCU "${SETTINGS_KEY}" "Version" "${VERSION}"
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "CreatedDir" $CreatedDir
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\foldscan.dll,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SectionMain} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; Removes the new copies of a failed installation, and the directory if this
; installation made it and it is empty again.
Function RollBack
    Delete "$INSTDIR\foldscan.dll${NEW}"
    Delete "$INSTDIR\foldscan.chm${NEW}"
    Delete "$INSTDIR\foldscan-report.exe${NEW}"
    Delete "$INSTDIR\${UNINSTALLER}${NEW}"
    ${If} $Committing = 0
    ${AndIf} $CreatedDir = 1
        RMDir "$INSTDIR"
    ${EndIf}
FunctionEnd

; A write that failed half way: NSIS has shown its own box by now.
Function .onInstFailed
    Call RollBack
    ${If} $Problem == ""
        StrCpy $Problem "Die Dateien konnten nicht nach $INSTDIR geschrieben werden (ist der Datenträger voll?). Es wurde nichts verändert."
        Call WriteStdErr
    ${EndIf}
    SetErrorLevel 2
FunctionEnd

; Checks the directory page's choice before the installation starts, so that
; the user can choose another one.
Function DirectoryLeave
    Call CheckTarget
    ${If} $Problem != ""
        MessageBox MB_ICONEXCLAMATION "$Problem"
        StrCpy $Problem ""
        Abort
    ${EndIf}
FunctionEnd

; Leaves $Problem empty when $INSTDIR can take the files: a full path to a
; directory (made when missing) that can be written, with room enough, whose
; files of an earlier installation no program holds open.
Function CheckTarget
    StrCpy $Problem ""
    ${If} "$INSTDIR" == ""
        StrCpy $Problem "Es ist kein Zielverzeichnis angegeben. Ohne Dialog: foldscan-${VERSION}-setup.exe /S /D=Verzeichnis"
        Return
    ${EndIf}
    StrCpy $0 "$INSTDIR" 2 1
    StrCpy $1 "$INSTDIR" 2
    ${If} $0 != ":\"
    ${AndIf} $1 != "\\"
        StrCpy $Problem "Das Zielverzeichnis „$INSTDIR“ ist kein vollständiger Pfad wie C:\Mailprogramm\Erweiterungen."
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        ${If} ${FileExists} "$INSTDIR"
            StrCpy $Problem "„$INSTDIR“ ist eine Datei, kein Verzeichnis. Wählen Sie ein Verzeichnis."
            Return
        ${EndIf}
        ClearErrors
        CreateDirectory "$INSTDIR"
        ${If} ${Errors}
        ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
            StrCpy $Problem "Das Zielverzeichnis „$INSTDIR“ kann nicht angelegt werden: Das Laufwerk fehlt oder ist schreibgeschützt, oder Ihnen fehlt die Berechtigung. Wählen Sie ein anderes Verzeichnis."
            Return
        ${EndIf}
        StrCpy $CreatedDir 1
    ${EndIf}

    ClearErrors
    FileOpen $0 "$INSTDIR\foldscan-setup.tmp" w
    ${If} ${Errors}
        StrCpy $Problem "In das Verzeichnis „$INSTDIR“ kann nicht geschrieben werden: Es ist schreibgeschützt, oder Ihnen fehlt die Berechtigung. Wählen Sie ein anderes Verzeichnis, oder starten Sie die Installation mit Rechtsklick „Als Administrator ausführen“."
        Goto undo
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\foldscan-setup.tmp"

    ; Room for all new files: the old ones go only once the new ones are written.
    SectionGetSize ${SectionMain} $2
    IntOp $2 $2 / 1024
    IntOp $2 $2 + 1
    System::Call 'kernel32::GetDiskFreeSpaceExW(w "$INSTDIR", *l .r3, *l, *l) i .r4'
    ${If} $4 <> 0
        System::Int64Op $3 >> 20
        Pop $3
        ${If} $3 < $2
            StrCpy $Problem "Auf dem Laufwerk von „$INSTDIR“ ist nicht genug Platz frei: foldscan braucht $2 MB, frei sind $3 MB. Schaffen Sie Platz, oder wählen Sie ein anderes Verzeichnis."
            Goto undo
        ${EndIf}
    ${EndIf}

    !insertmacro CheckNotInUse "foldscan.dll"
    !insertmacro CheckNotInUse "foldscan.chm"
    !insertmacro CheckNotInUse "foldscan-report.exe"
    Return
undo:
    ${If} $CreatedDir = 1
        RMDir "$INSTDIR"
        StrCpy $CreatedDir 0
    ${EndIf}
FunctionEnd

; --- Uninstaller ------------------------------------------------------------

Var Missing  ; files that were already gone
Var Busy     ; files that could not be removed

Function un.onInit
    Call un.TakeMutex
FunctionEnd

; Removes one installed file, noting one that is gone already or held open.
!macro RemoveInstalled NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        Delete "$INSTDIR\${NAME}"
        ${If} ${FileExists} "$INSTDIR\${NAME}"
            StrCpy $Busy "$Busy$\r$\n  ${NAME}"
        ${EndIf}
    ${Else}
        StrCpy $Missing "$Missing$\r$\n  ${NAME}"
    ${EndIf}
    Delete "$INSTDIR\${NAME}${NEW}"
!macroend

Section "Uninstall"
    StrCpy $Missing ""
    StrCpy $Busy ""
    !insertmacro RemoveInstalled "foldscan.dll"
    !insertmacro RemoveInstalled "foldscan.chm"
    !insertmacro RemoveInstalled "foldscan-report.exe"
    ${If} $Busy != ""
        StrCpy $Problem "Diese Dateien in $INSTDIR werden noch verwendet und wurden nicht entfernt:$Busy$\r$\n$\r$\nBeenden Sie Ihr Mailprogramm, und starten Sie die Deinstallation erneut."
        MessageBox MB_ICONSTOP "$Problem" /SD IDOK
        Call un.WriteStdErr
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "$INSTDIR\${UNINSTALLER}${NEW}"

    ; The entries belong to this directory only while the last installation went there.
    ReadRegStr $0 HKCU "${SETTINGS_KEY}" "InstallDir"
    ReadRegDWORD $1 HKCU "${SETTINGS_KEY}" "CreatedDir"
    ${If} $0 == "$INSTDIR"
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        ; Only when empty: the settings files and anything else stay.
        ${If} $1 = 1
            RMDir "$INSTDIR"
        ${EndIf}
    ${EndIf}

    ${If} $Missing != ""
        StrCpy $Problem "Diese Dateien in $INSTDIR waren schon entfernt:$Missing$\r$\n$\r$\nfoldscan ist nun vollständig entfernt."
        MessageBox MB_ICONINFORMATION "$Problem" /SD IDOK
        Call un.WriteStdErr
    ${EndIf}
SectionEnd
