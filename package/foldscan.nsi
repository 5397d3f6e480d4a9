; The installer of foldscan: German, for the current user or for every user
; of the PC, into the directory the user chooses. Only the user knows from
; which directory the mail client loads its extensions, so a per-user
; installation has no default but the last installation's directory, which the
; next update offers again; one for every user defaults to
; %ProgramFiles%\foldscan.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=2.6.0 -DFILE_VERSION=2.6.0.0
;          -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> foldscan.nsi
; The stage holds the package's files and the uninstaller, a program of its
; own (foldscan-deinstallieren.nsi), built and signed before this one.
;
; Silent use: setup.exe /S [/ALLUSERS | /CURRENTUSER] [/PATH] /D=<directory>
; (/D= last when unquoted; quoted anywhere). /ALLUSERS needs administrator
; rights; /PATH puts the directory in the user's search path (the machine's
; with /ALLUSERS). Exit code 0 when installed; 2 with a German message (a
; box, or in silent use the standard error output, when there is one) when
; nothing was changed or what was installed can still be removed by the
; uninstaller. An unknown option is refused: a typo must not install
; something else.
;
; One installation per PC: an installation into a second directory, or for
; the other set of users, is refused with the first one's directory, since the
; one uninstall entry would otherwise belong to the last only.
;
; The files are first written beside their places under temporary names and
; only then put in place, so that a full disk or a failed write leaves the
; previous installation as it was. The uninstaller removes exactly the files
; installed and the empty directories the installation made, and leaves
; everything else in the directory, above all the settings files KVT-FSCN.PM
; and foldscan.ini.

Unicode true
SetCompressor /SOLID lzma
; The installed files get the time of their installation, and the installer
; does not depend on the time the files were made.
SetDateSave off
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Shared.nsh
!include CommandLine.nsh
!include SearchPath.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show

Var AllUsers       ; 1 for every user of the PC (HKLM, %ProgramFiles%), 0 for the current one
Var AddPath        ; 1 when the directory is to be in the search path
Var PathAdded      ; 1 when the registered installation put it there
Var MadeFrom       ; the highest directory this run made, "" for none
Var CreatedFrom    ; the highest directory the installation made, as registered
Var Committing     ; 1 once files are being put in place: no more rolling back
Var DirectoryHint  ; the directory page's text for the chosen users
Var ScopeUser      ; the scope page's controls
Var ScopeAll
Var ScopePath

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Willkommen bei foldscan ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Dieses Programm installiert foldscan ${VERSION}, die Ordnerstatistik für Ihr Mailprogramm:$\r$\n$\r$\n  foldscan.dll, die Erweiterung,$\r$\n  foldscan.chm, ihre Hilfe,$\r$\n  foldscan-report.exe, den Bericht für die Befehlszeile,$\r$\n  LIESMICH.txt, LIZENZ.txt und foldscan-report.txt.$\r$\n$\r$\nBeenden Sie Ihr Mailprogramm, bevor Sie fortfahren."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LIZENZ.txt"
Page custom ScopePage ScopeLeave
!define MUI_DIRECTORYPAGE_TEXT_TOP "$DirectoryHint"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Verzeichnis der Erweiterungen"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "foldscan ${VERSION} ist installiert"
!define MUI_FINISHPAGE_TEXT "foldscan ist in $INSTDIR installiert.$\r$\n$\r$\nStarten Sie Ihr Mailprogramm, um die Erweiterung zu laden. Entfernen können Sie foldscan unter „Einstellungen > Apps“ oder in der Systemsteuerung unter „Programme und Features“."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Installation von foldscan ${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${COPYRIGHT}"

; Replaces a file by its new copy. A file that cannot be deleted sets the
; error flag, and so does the rename then.
!macro PutInPlace NAME
    Delete "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${NAME}${NEW}" "$INSTDIR\${NAME}"
!macroend

; Sets $Problem and returns from the calling function when an earlier
; installation's file is held by a program: a DLL that the mail client has
; loaded cannot be replaced.
!macro CheckNotInUse NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        !insertmacro IsBusy "$INSTDIR\${NAME}"
        ${If} $0 = 1
            StrCpy $Problem "Die Datei „$INSTDIR\${NAME}“ wird gerade verwendet oder ist schreibgeschützt. Beenden Sie Ihr Mailprogramm und alle Fenster der Hilfe und des Berichts, und versuchen Sie es erneut."
            Return
        ${EndIf}
    ${EndIf}
!macroend

!macro WriteNew NAME
    File "/oname=${NAME}${NEW}" "${STAGE}/${NAME}"
!macroend

!macro PutNewInPlace NAME
    !insertmacro PutInPlace "${NAME}"
!macroend

!macro DeleteNew NAME
    Delete "$INSTDIR\${NAME}${NEW}"
!macroend

!macro CheckInstalledNotInUse NAME
    !insertmacro CheckNotInUse "${NAME}"
!macroend

Function .onInit
    Call ReadCommandLine
    ${If} $OptUnknown != ""
    ${OrIf} $OptParent != ""
        !insertmacro FailNow "Die Angabe „$OptUnknown$OptParent“ kennt das Installationsprogramm nicht. Es versteht /S, /ALLUSERS, /CURRENTUSER, /PATH und /D=Verzeichnis (ohne Anführungszeichen als letzte Angabe)."
    ${EndIf}
    ${If} $OptAllUsers = 1
    ${AndIf} $OptCurrentUser = 1
        !insertmacro FailNow "/ALLUSERS und /CURRENTUSER schließen einander aus: Geben Sie nur eine der beiden Angaben an."
    ${EndIf}
    Call TakeLock
    StrCpy $Committing 0
    StrCpy $MadeFrom ""
    ; The dialog offers the users of an installation for every user when
    ; there is one; silent use installs for the current user unless told.
    StrCpy $AllUsers $OptAllUsers
    ${If} $OptCurrentUser = 0
    ${AndIfNot} ${Silent}
        ReadRegStr $0 HKLM "${SETTINGS_KEY}" "InstallDir"
        ReadRegStr $1 HKCU "${SETTINGS_KEY}" "InstallDir"
        ${If} $0 != ""
        ${AndIf} $1 == ""
            StrCpy $AllUsers 1
        ${EndIf}
    ${EndIf}
    Call UseScope
    ; The directory of /D= wins even when NSIS dropped it (quoted, or no full
    ; path), so that CheckTarget can say what is wrong with it.
    ${If} $OptDir != ""
        StrCpy $INSTDIR $OptDir
    ${EndIf}
    ${If} $OptPath = 1
        StrCpy $AddPath 1
    ${EndIf}
FunctionEnd

; Sets the registry's root, the default directory and what the registered
; installation of these users did, for $AllUsers. An installation for every
; user needs administrator rights.
Function UseScope
    ${If} $AllUsers = 1
        SetShellVarContext all
        StrCpy $DirectoryHint "Wählen Sie das Verzeichnis, aus dem Ihr Mailprogramm seine Erweiterungen lädt. foldscan wird für alle Benutzer dieses Computers installiert. Bei einer Aktualisierung steht hier das Verzeichnis der letzten Installation."
    ${Else}
        SetShellVarContext current
        StrCpy $DirectoryHint "Wählen Sie das Verzeichnis, aus dem Ihr Mailprogramm seine Erweiterungen lädt. Das Installationsprogramm kennt es nicht: Sie finden es in der Dokumentation oder den Einstellungen Ihres Mailprogramms; meist liegen dort schon andere Erweiterungen (DLL-Dateien). Bei einer Aktualisierung steht hier das Verzeichnis der letzten Installation."
    ${EndIf}
    ReadRegStr $INSTDIR SHCTX "${SETTINGS_KEY}" "InstallDir"
    ${If} $INSTDIR == ""
    ${AndIf} $AllUsers = 1
        StrCpy $INSTDIR "$PROGRAMFILES\foldscan"
    ${EndIf}
    ReadRegDWORD $PathAdded SHCTX "${SETTINGS_KEY}" "PathAdded"
    IntOp $PathAdded $PathAdded + 0
    StrCpy $AddPath $PathAdded
    !insertmacro UseSearchPathOf $AllUsers
FunctionEnd

; The page that asks for whom to install, and whether in the search path.
Function ScopePage
    !insertmacro MUI_HEADER_TEXT "Installationsart" "Für wen soll foldscan installiert werden?"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 0 100% 12u "Nur für &mich (ohne Administratorrechte)"
    Pop $ScopeUser
    ${NSD_CreateRadioButton} 0 16u 100% 12u "Für &alle Benutzer dieses Computers (mit Administratorrechten)"
    Pop $ScopeAll
    ${If} $AllUsers = 1
        ${NSD_Check} $ScopeAll
    ${Else}
        ${NSD_Check} $ScopeUser
    ${EndIf}
    ${NSD_CreateCheckBox} 0 44u 100% 12u "Das Verzeichnis in den &Suchpfad (Path) aufnehmen"
    Pop $ScopePath
    ${NSD_SetState} $ScopePath $AddPath
    ${NSD_CreateLabel} 12u 58u 95% 24u "Dann startet foldscan-report.exe in jeder neuen Eingabeaufforderung ohne Angabe seines Verzeichnisses. Bei einer Installation für alle Benutzer gilt das für alle."
    Pop $0
    nsDialogs::Show
FunctionEnd

Function ScopeLeave
    ${NSD_GetState} $ScopeAll $0
    StrCpy $1 0
    ${IfThen} $0 = ${BST_CHECKED} ${|} StrCpy $1 1 ${|}
    ${If} $1 = 1
        !insertmacro IsAdmin
        ${If} $0 = 0
            MessageBox MB_ICONEXCLAMATION "Für eine Installation für alle Benutzer sind Administratorrechte nötig. Starten Sie das Installationsprogramm mit Rechtsklick „Als Administrator ausführen“, oder installieren Sie foldscan nur für sich."
            Abort
        ${EndIf}
    ${EndIf}
    ${If} $1 <> $AllUsers
        StrCpy $AllUsers $1
        Call UseScope
        ${If} $OptDir != ""
            StrCpy $INSTDIR $OptDir
        ${EndIf}
    ${EndIf}
    ${NSD_GetState} $ScopePath $0
    StrCpy $AddPath 0
    ${IfThen} $0 = ${BST_CHECKED} ${|} StrCpy $AddPath 1 ${|}
FunctionEnd

Section "foldscan" SectionMain
    SectionIn RO
    ${If} $AllUsers = 1
        !insertmacro IsAdmin
        ${If} $0 = 0
            !insertmacro Fail "Für eine Installation für alle Benutzer (/ALLUSERS) sind Administratorrechte nötig. Starten Sie das Installationsprogramm als Administrator, oder installieren Sie ohne /ALLUSERS nur für sich. Es wurde nichts verändert."
        ${EndIf}
    ${EndIf}
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
    !insertmacro ForEachInstalledFile WriteNew
    !insertmacro WriteNew "${UNINSTALLER}"
    ${If} ${Errors}
        Call RollBack
        !insertmacro Fail "Die Dateien konnten nicht nach $INSTDIR geschrieben werden. Es wurde nichts verändert."
    ${EndIf}

    ; The uninstaller and its entries come first: should a file not go in its
    ; place, what is installed by then can be removed.
    !insertmacro PutInPlace "${UNINSTALLER}"
    ${If} ${Errors}
        Call RollBack
        !insertmacro Fail "Das Deinstallationsprogramm in $INSTDIR konnte nicht ersetzt werden. Es wurde nichts verändert."
    ${EndIf}
    StrCpy $Committing 1
    Call Register
    ClearErrors
    !insertmacro ForEachInstalledFile PutNewInPlace
    ${If} ${Errors}
        !insertmacro Fail "Die Installation in $INSTDIR ist unvollständig: eine Datei konnte nicht ersetzt werden. Beenden Sie Ihr Mailprogramm und installieren Sie erneut, oder entfernen Sie foldscan mit ${UNINSTALLER}."
    ${EndIf}
    Call UpdateSearchPath
    ${If} $Problem != ""
        !insertmacro Fail "foldscan ist in $INSTDIR installiert, aber: $Problem"
    ${EndIf}
SectionEnd

Function Register
    ; An earlier registration of these users whose directory is gone: its
    ; entry in the search path goes with it.
    ReadRegStr $0 SHCTX "${SETTINGS_KEY}" "InstallDir"
    ${If} $0 != ""
    ${AndIf} $0 != $INSTDIR
    ${AndIf} $PathAdded = 1
        StrCpy $1 $INSTDIR
        StrCpy $INSTDIR $0
        Call RemoveFromSearchPath
        StrCpy $INSTDIR $1
        StrCpy $Problem ""
        StrCpy $PathAdded 0
    ${EndIf}
    WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr SHCTX "${SETTINGS_KEY}" "Version" "${VERSION}"
    WriteRegStr SHCTX "${SETTINGS_KEY}" "CreatedFrom" "$CreatedFrom"
    WriteRegDWORD SHCTX "${SETTINGS_KEY}" "PathAdded" $PathAdded
    ; Version 2.6.0 noted only whether it made the install directory itself.
    DeleteRegValue SHCTX "${SETTINGS_KEY}" "CreatedDir"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\foldscan.dll,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SectionMain} $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; Puts the directory in the search path, or takes it out when the dialog's
; box was cleared; without /PATH a silent update keeps what there is.
Function UpdateSearchPath
    StrCpy $Problem ""
    ${If} $AddPath = 1
        Call AddToSearchPath
        ; Found there: ours from an earlier installation, or the user's own.
        ${If} $PathFound = 0
            StrCpy $PathAdded 1
        ${EndIf}
    ${ElseIf} $PathAdded = 1
        Call RemoveFromSearchPath
        StrCpy $PathAdded 0
    ${EndIf}
    ${If} $Problem == ""
        WriteRegDWORD SHCTX "${SETTINGS_KEY}" "PathAdded" $PathAdded
    ${EndIf}
FunctionEnd

; Removes the new copies of a failed installation, and the directories this
; run made if they are empty again.
Function RollBack
    !insertmacro ForEachInstalledFile DeleteNew
    !insertmacro DeleteNew "${UNINSTALLER}"
    ${If} $Committing = 0
        !insertmacro RemoveMadeFolders $MadeFrom
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
    ; The installation makes the directories again, and notes them then; the
    ; user may still go back and choose another one.
    !insertmacro RemoveMadeFolders $MadeFrom
    StrCpy $MadeFrom ""
    ${If} $Problem != ""
        MessageBox MB_ICONEXCLAMATION "$Problem"
        StrCpy $Problem ""
        Abort
    ${EndIf}
FunctionEnd

; $1 is 1 when foldscan's DLL or uninstaller is in directory $0.
!macro IsInstalledIn
    StrCpy $1 0
    ${If} ${FileExists} "$0\foldscan.dll"
    ${OrIf} ${FileExists} "$0\${UNINSTALLER}"
        StrCpy $1 1
    ${EndIf}
!macroend

; Sets $Problem when foldscan is installed elsewhere: by the MSI package, for
; the other users, or for these users in another directory. A registration
; whose directory holds no installation any more does not count: this one
; takes its place.
Function CheckOtherInstallations
    ReadRegStr $0 HKLM "${SETTINGS_KEY}" "MsiInstallDir"
    ${If} $0 != ""
        StrCpy $Problem "foldscan ist bereits mit dem MSI-Paket in „$0“ installiert. Aktualisieren Sie es mit dem MSI-Paket der neuen Version, oder entfernen Sie es zuerst unter „Einstellungen > Apps“."
        Return
    ${EndIf}
    ${If} $AllUsers = 1
        ReadRegStr $0 HKCU "${SETTINGS_KEY}" "InstallDir"
        StrCpy $2 "nur für Sie"
        StrCpy $3 "/CURRENTUSER"
    ${Else}
        ReadRegStr $0 HKLM "${SETTINGS_KEY}" "InstallDir"
        StrCpy $2 "für alle Benutzer"
        StrCpy $3 "/ALLUSERS"
    ${EndIf}
    ${If} $0 != ""
        !insertmacro IsInstalledIn
        ${If} $1 = 1
            StrCpy $Problem "foldscan ist bereits $2 in „$0“ installiert. Aktualisieren Sie diese Installation (ohne Dialog mit $3), oder entfernen Sie sie zuerst unter „Einstellungen > Apps“."
            Return
        ${EndIf}
    ${EndIf}
    ReadRegStr $0 SHCTX "${SETTINGS_KEY}" "InstallDir"
    ${If} $0 != ""
    ${AndIf} $0 != $INSTDIR
        !insertmacro IsInstalledIn
        ${If} $1 = 1
            StrCpy $Problem "foldscan ist bereits in „$0“ installiert; eine zweite Installation in „$INSTDIR“ ist nicht möglich. Wählen Sie „$0“, um foldscan zu aktualisieren, oder entfernen Sie foldscan zuerst unter „Einstellungen > Apps“."
        ${EndIf}
    ${EndIf}
FunctionEnd

; Sets $MadeFrom to the highest directory that making $INSTDIR will make:
; $INSTDIR itself or one above it.
Function FindFoldersToMake
    StrCpy $MadeFrom ""
    StrCpy $0 $INSTDIR
    ${Do}
        ${IfThen} ${FileExists} "$0\*.*" ${|} ${ExitDo} ${|}
        StrCpy $MadeFrom $0
        ${GetParent} $0 $0
    ${LoopUntil} $0 == ""
FunctionEnd

; Leaves $Problem empty when $INSTDIR can take the files: a full path to a
; directory (made when missing) short enough for the host to load the DLL
; from, where no other installation is in the way, that can be written, with
; room enough, whose files of an earlier installation no program holds open.
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
    StrLen $0 "$INSTDIR"
    ${If} $0 > ${MAX_FOLDER_LENGTH}
        StrCpy $Problem "Der Pfad des Zielverzeichnisses ist mit $0 Zeichen zu lang: Ihr Mailprogramm kann foldscan.dll nur aus einem Verzeichnis laden, dessen Pfad höchstens ${MAX_FOLDER_LENGTH} Zeichen hat. Wählen Sie ein kürzeres Verzeichnis. Es wurde nichts verändert."
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
    ${AndIf} ${FileExists} "$INSTDIR"
        StrCpy $Problem "„$INSTDIR“ ist eine Datei, kein Verzeichnis. Wählen Sie ein Verzeichnis."
        Return
    ${EndIf}
    Call CheckOtherInstallations
    ${IfThen} $Problem != "" ${|} Return ${|}

    ; What an earlier installation into this directory made stays its own.
    ReadRegStr $0 SHCTX "${SETTINGS_KEY}" "InstallDir"
    StrCpy $CreatedFrom ""
    ${If} $0 == $INSTDIR
        ReadRegStr $CreatedFrom SHCTX "${SETTINGS_KEY}" "CreatedFrom"
        ReadRegDWORD $1 SHCTX "${SETTINGS_KEY}" "CreatedDir"
        ${If} $CreatedFrom == ""
        ${AndIf} $1 = 1
            StrCpy $CreatedFrom $INSTDIR
        ${EndIf}
    ${EndIf}

    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        Call FindFoldersToMake
        ClearErrors
        CreateDirectory "$INSTDIR"
        ${If} ${Errors}
        ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
            StrCpy $Problem "Das Zielverzeichnis „$INSTDIR“ kann nicht angelegt werden: Das Laufwerk fehlt oder ist schreibgeschützt, oder Ihnen fehlt die Berechtigung. Wählen Sie ein anderes Verzeichnis."
            Goto undo
        ${EndIf}
        StrCpy $CreatedFrom $MadeFrom
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

    !insertmacro ForEachInstalledFile CheckInstalledNotInUse
    Return
undo:
    !insertmacro RemoveMadeFolders $MadeFrom
    StrCpy $MadeFrom ""
FunctionEnd
