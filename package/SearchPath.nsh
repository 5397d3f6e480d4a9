; The install folder in the search path (the Path of the user, or of the
; machine for an installation for all users), so that foldscan-report.exe
; starts from any prompt. A Path runs to thousands of characters, more than an
; NSIS variable holds (1024): it is read, changed and written in buffers of its
; own size and never passes through a variable, or a long Path would come back
; cut. Every other entry stays as it was, empty ones and the value's type
; (REG_EXPAND_SZ or REG_SZ) included.
;
; SearchPath.nsh needs LogicLib.nsh and WinMessages.nsh, and $Problem.

!define HKEY_CURRENT_USER 0x80000001
!define HKEY_LOCAL_MACHINE 0x80000002
!define USER_ENVIRONMENT "Environment"
!define MACHINE_ENVIRONMENT "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define KEY_QUERY_AND_SET 0x0003
!define REG_SZ 1
!define REG_EXPAND_SZ 2
!define ERROR_FILE_NOT_FOUND 2

Var PathRoot   ; HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
Var PathKey    ; the environment's key under it
Var PathFound  ; 1 when the folder was in the Path

; Uses the user's Path, or with ALL = 1 the machine's.
!macro UseSearchPathOf ALL
    ${If} ${ALL} = 1
        StrCpy $PathRoot ${HKEY_LOCAL_MACHINE}
        StrCpy $PathKey "${MACHINE_ENVIRONMENT}"
    ${Else}
        StrCpy $PathRoot ${HKEY_CURRENT_USER}
        StrCpy $PathKey "${USER_ENVIRONMENT}"
    ${EndIf}
!macroend

; Adds $INSTDIR at the end of the Path unless it is there already:
; $PathFound says which. $Problem when the Path cannot be read or written.
; The uninstaller, which only removes, defines SEARCH_PATH_REMOVE_ONLY.
!ifndef SEARCH_PATH_REMOVE_ONLY
Function AddToSearchPath
    StrCpy $PathFound 0
    Push 0
    Call EditSearchPath
FunctionEnd
!endif

; Takes the first entry that names $INSTDIR out of the Path; $PathFound says
; whether there was one. $Problem when the Path cannot be read or written.
Function RemoveFromSearchPath
    StrCpy $PathFound 0
    Push 1
    Call EditSearchPath
FunctionEnd

; Walks the entries of the value at $5, whose separators become zeros, and
; sets $PathFound to 1 when one names $INSTDIR (with or without a closing
; backslash). With $9 = 1 it appends the others to $6 with their separators:
; every entry but the first that names $INSTDIR, in their order.
; Uses $0, $3, $4 and $7 of EditSearchPath.
!macro SearchPathEntries
    StrCpy $7 1  ; at the first entry
    StrCpy $3 $5
    ${Do}
        System::Call 'shlwapi::StrChrW(p r3, i 59) p .r4'
        ${If} $4 P<> 0
            System::Call '*$4(&i2 0)'
        ${EndIf}
        System::Call 'kernel32::lstrcmpiW(p r3, w "$INSTDIR") i .r0'
        ${If} $0 <> 0
            System::Call 'kernel32::lstrcmpiW(p r3, w "$INSTDIR\") i .r0'
        ${EndIf}
        ${If} $0 = 0
        ${AndIf} $PathFound = 0
            StrCpy $PathFound 1
        ${ElseIf} $9 = 1
            ${If} $7 = 0
                System::Call 'kernel32::lstrcatW(p r6, w ";")'
            ${EndIf}
            System::Call 'kernel32::lstrcatW(p r6, p r3)'
            StrCpy $7 0
        ${EndIf}
        ${IfThen} $4 P= 0 ${|} ${ExitDo} ${|}
        IntOp $3 $4 + 2
    ${Loop}
!macroend

; Pop: 0 to add, 1 to remove.
Function EditSearchPath
    Exch $9
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    System::Call 'advapi32::RegCreateKeyExW(p $PathRoot, w "$PathKey", i 0, p 0, i 0, i ${KEY_QUERY_AND_SET}, p 0, *p .r1, p 0) i .r0'
    ${If} $0 <> 0
        StrCpy $Problem "Der Suchpfad (Path) kann nicht geöffnet werden (Fehler $0)."
        Goto done
    ${EndIf}
    System::Call 'advapi32::RegQueryValueExW(p r1, w "Path", p 0, *i .r2, p 0, *i 0 r3) i .r0'
    ${If} $0 = ${ERROR_FILE_NOT_FOUND}
        StrCpy $2 ${REG_EXPAND_SZ}
        StrCpy $3 0
    ${ElseIf} $0 <> 0
        StrCpy $Problem "Der Suchpfad (Path) kann nicht gelesen werden (Fehler $0); er wurde nicht geändert."
        Goto close
    ${ElseIf} $2 <> ${REG_SZ}
    ${AndIf} $2 <> ${REG_EXPAND_SZ}
        StrCpy $Problem "Der Suchpfad (Path) ist kein Text (Typ $2); er wurde nicht geändert."
        Goto close
    ${EndIf}
    ; Room for the value, a separator, the folder and the terminating zero.
    StrLen $4 "$INSTDIR"
    IntOp $4 $4 * 2
    IntOp $4 $4 + $3
    IntOp $4 $4 + 8
    System::Alloc $4
    Pop $5  ; the value as read; its separators become zeros below
    System::Alloc $4
    Pop $6  ; the value without the folder
    ${If} $3 > 0
        System::Call 'advapi32::RegQueryValueExW(p r1, w "Path", p 0, p 0, p r5, *i r3 r3) i .r0'
        ${If} $0 <> 0
            StrCpy $Problem "Der Suchpfad (Path) kann nicht gelesen werden (Fehler $0); er wurde nicht geändert."
            Goto free
        ${EndIf}
    ${EndIf}
    System::Call 'kernel32::lstrcpyW(p r6, p r5)'  ; the value to add to
    ${If} $9 = 1
        System::Call 'kernel32::lstrcpyW(p r6, w "")'
    ${EndIf}
    !insertmacro SearchPathEntries
    ${If} $9 = 0
        ${IfThen} $PathFound = 1 ${|} Goto free ${|}
        System::Call 'kernel32::lstrlenW(p r6) i .r7'
        ${If} $7 > 0
            System::Call 'kernel32::lstrcatW(p r6, w ";")'
        ${EndIf}
        System::Call 'kernel32::lstrcatW(p r6, w "$INSTDIR")'
    ${Else}
        ${IfThen} $PathFound = 0 ${|} Goto free ${|}
    ${EndIf}
    System::Call 'kernel32::lstrlenW(p r6) i .r7'
    ${If} $7 = 0
        ; An empty Path means the same as none.
        System::Call 'advapi32::RegDeleteValueW(p r1, w "Path") i .r0'
    ${Else}
        IntOp $7 $7 + 1
        IntOp $7 $7 * 2
        System::Call 'advapi32::RegSetValueExW(p r1, w "Path", i 0, i r2, p r6, i r7) i .r0'
    ${EndIf}
    ${If} $0 <> 0
        StrCpy $Problem "Der Suchpfad (Path) kann nicht geschrieben werden (Fehler $0)."
        Goto free
    ${EndIf}
    ; Programs started from now on, the prompt among them, see the new Path.
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
free:
    System::Free $5
    System::Free $6
close:
    System::Call 'advapi32::RegCloseKey(p r1)'
done:
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
    Pop $9
FunctionEnd

