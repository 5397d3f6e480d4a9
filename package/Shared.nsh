; What the installer and the uninstaller share: the names, the files, where
; an installation is registered, the lock that lets one of them run at a time,
; and how they report a problem.
;
; Shared.nsh needs LogicLib.nsh.

!define PRODUCT "foldscan"
!define SETTINGS_KEY "Software\foldscan"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\foldscan"
!define UNINSTALLER "foldscan-deinstallieren.exe"
!define PUBLISHER "Das foldscan-Team"
!define COPYRIGHT "© 2026 Das foldscan-Team. Alle Rechte vorbehalten."
; The name of the lock that keeps a second installer or uninstaller from running.
!define MUTEX "foldscan-setup"
; How long one waits for the other's lock: an uninstaller keeps it for a
; moment after its caller has its exit code, to remove itself.
!define MUTEX_WAIT_MS 5000
; A new file waits under this suffix until all of them are written.
!define NEW ".neu"
; The longest install folder: every file written there, the longest being the
; uninstaller's new copy, keeps its path below MAX_PATH (260), which the host
; loads the DLL with and the DLL refuses from.
!define MAX_FOLDER_LENGTH 227
!define STD_ERROR_HANDLE -12
!define WAIT_TIMEOUT 0x102

Var Problem  ; what went wrong, for the box and the standard error output

; The files an installation holds beside the uninstaller, in the order the
; uninstaller checks and removes them.
!macro ForEachInstalledFile MACRO
    !insertmacro ${MACRO} "foldscan.dll"
    !insertmacro ${MACRO} "foldscan.chm"
    !insertmacro ${MACRO} "foldscan-report.exe"
    !insertmacro ${MACRO} "foldscan-report.txt"
    !insertmacro ${MACRO} "LIESMICH.txt"
    !insertmacro ${MACRO} "LIZENZ.txt"
!macroend

; In silent use no box appears: the message goes to the standard error
; output, if the caller gave one (a redirection does, a double click not).
Function WriteStdErr
    System::Call 'kernel32::GetStdHandle(i ${STD_ERROR_HANDLE}) p .r0'
    ${If} $0 P<> 0
    ${AndIf} $0 P<> -1
        FileWrite $0 "foldscan: $Problem$\r$\n"
    ${EndIf}
FunctionEnd

; Shows the problem, or writes it in silent use, and sets exit code 2.
!macro Tell ICON
    MessageBox ${ICON} "$Problem" /SD IDOK
    Call WriteStdErr
!macroend

; In a section: tells the problem and ends the run with exit code 2.
!macro Fail TEXT
    StrCpy $Problem "${TEXT}"
    !insertmacro Tell MB_ICONSTOP
    SetErrorLevel 2
    Abort
!macroend

; In .onInit, before any page: the same.
!macro FailNow TEXT
    StrCpy $Problem "${TEXT}"
    !insertmacro Tell MB_ICONSTOP
    SetErrorLevel 2
    Quit
!macroend

; One installer or uninstaller at a time: a second one would write the same
; files. The lock belongs to the thread of .onInit, which lives as long as
; the program, and goes with the process.
Function TakeLock
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${MUTEX}") p .r0'
    System::Call 'kernel32::WaitForSingleObject(p r0, i ${MUTEX_WAIT_MS}) i .r1'
    ${If} $0 P= 0
    ${OrIf} $1 = ${WAIT_TIMEOUT}
        !insertmacro FailNow "Das Installations- oder Deinstallationsprogramm von foldscan läuft bereits. Warten Sie, bis es fertig ist, und starten Sie dieses dann erneut."
    ${EndIf}
FunctionEnd

; $0 is 1 when the program runs with administrator rights. UserInfo reads
; the token's groups as Windows grants them: a group that is only there to
; deny, as the administrators' group of an account that has not been
; elevated, does not count.
!macro IsAdmin
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
!macroend

; $0 is 1 when a program holds the file so that it could not be replaced or
; removed now: a DLL that the host has loaded cannot be opened for writing,
; a file opened without leave to delete it not for deleting.
!macro IsBusy FILE
    System::Call 'kernel32::CreateFileW(w "${FILE}", i 0x40010000, i 7, p 0, i 3, i 0, p 0) p .r0'
    ${If} $0 P= -1
        StrCpy $0 1
    ${Else}
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $0 0
    ${EndIf}
!macroend

; Removes $INSTDIR and the folders above it up to TOP, each only while it is
; empty: the folders an installation made itself (TOP "" for none).
!macro RemoveMadeFolders TOP
    Push "${TOP}"
    Call RemoveMadeFolders
!macroend
Function RemoveMadeFolders
    Exch $0  ; the highest folder made
    Push $1
    Push $2
    Push $3
    StrLen $3 $0
    ${If} $0 != ""
        StrCpy $1 "$INSTDIR"
        ${Do}
            ; Only $INSTDIR and the folders above it up to the highest made,
            ; never one beside: $1 is $0 or lies in it.
            StrCpy $2 $1 $3
            ${IfThen} $2 != $0 ${|} ${ExitDo} ${|}
            StrCpy $2 $1 1 $3
            ${If} $2 != ""
            ${AndIf} $2 != "\"
                ${ExitDo}
            ${EndIf}
            ClearErrors
            RMDir $1
            ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
            ${IfThen} $1 == $0 ${|} ${ExitDo} ${|}
            ${GetParent} $1 $1
        ${LoopUntil} $1 == ""
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
