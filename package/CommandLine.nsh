; The options of the installer and the uninstaller, read from the whole
; command line. NSIS itself sees /D= only unquoted and last; deployment tools
; and PowerShell quote an argument that holds a space ("/D=C:\Neu Ordner"),
; which NSIS then passes over without a word. Here an option is a word, or a
; quoted stretch, as Windows programs split their command lines; an unquoted
; /D= takes the rest of the line, as NSIS has it, so that an unquoted folder
; with spaces works too.
;
; CommandLine.nsh needs LogicLib.nsh.

Var OptDir         ; the folder of /D=, "" without one
Var OptAllUsers    ; 1 with /ALLUSERS
Var OptCurrentUser ; 1 with /CURRENTUSER
Var OptPath        ; 1 with /PATH
Var OptParent      ; the uninstaller's launcher's process id (/PARENT=), "" without
Var OptUnknown     ; the first word that is no option of ours

; Sets the Opt variables; a quoted or lower-case /S makes the run silent too.
; Call it from .onInit only: SetSilent works nowhere else.
Function ReadCommandLine
    Push $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    StrCpy $OptDir ""
    StrCpy $OptAllUsers 0
    StrCpy $OptCurrentUser 0
    StrCpy $OptPath 0
    StrCpy $OptParent ""
    StrCpy $OptUnknown ""
    System::Call 'kernel32::GetCommandLineW() w .R0'
    StrLen $R4 $R0
    StrCpy $R1 0
    Call NextWord  ; the program's own name
next:
    Call NextWord
    ${If} $R2 == ""
    ${AndIf} $R1 >= $R4
        Goto done
    ${EndIf}
    StrCpy $R3 $R2 3
    ${If} $R3 == "/D="
        StrCpy $OptDir $R2 "" 3
    ${ElseIf} $R2 == "/S"
        SetSilent silent
    ${ElseIf} $R2 == "/NCRC"
    ${ElseIf} $R2 == "/ALLUSERS"
        StrCpy $OptAllUsers 1
    ${ElseIf} $R2 == "/CURRENTUSER"
        StrCpy $OptCurrentUser 1
    ${ElseIf} $R2 == "/PATH"
        StrCpy $OptPath 1
    ${Else}
        StrCpy $R3 $R2 8
        ${If} $R3 == "/PARENT="
            StrCpy $OptParent $R2 "" 8
        ${ElseIf} $OptUnknown == ""
        ${AndIf} $R2 != ""
            StrCpy $OptUnknown $R2
        ${EndIf}
    ${EndIf}
    Goto next
done:
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd

; The word of $R0 (length $R4) at $R1 in $R2, and $R1 behind it. Spaces
; separate words; quotes enclose a stretch with spaces and are dropped, so
; that "/D=C:\Neu Ordner" and /D="C:\Neu Ordner" give the same word.
Function NextWord
    Push $R5
    Push $R6
    Push $R7
    StrCpy $R2 ""
    ${DoWhile} $R1 < $R4
        StrCpy $R5 $R0 1 $R1
        ${IfThen} $R5 != " " ${|} ${ExitDo} ${|}
        IntOp $R1 $R1 + 1
    ${Loop}
    StrCpy $R6 0  ; 1 inside quotes
    StrCpy $R7 0  ; 1 once the word had a quote
    ${DoWhile} $R1 < $R4
        StrCpy $R5 $R0 1 $R1
        ${If} $R5 == '"'
            IntOp $R6 1 - $R6
            StrCpy $R7 1
        ${ElseIf} $R5 == " "
        ${AndIf} $R6 = 0
            ; A /D= without quotes runs to the end of the line.
            StrCpy $R5 $R2 3
            ${If} $R5 != "/D="
            ${OrIf} $R7 = 1
                ${ExitDo}
            ${EndIf}
            StrCpy $R2 "$R2 "
        ${Else}
            StrCpy $R2 "$R2$R5"
        ${EndIf}
        IntOp $R1 $R1 + 1
    ${Loop}
    ; The spaces NSIS would have dropped at the end of an unquoted /D=.
    ${DoWhile} $R2 != ""
        StrCpy $R5 $R2 1 -1
        ${IfThen} $R5 != " " ${|} ${ExitDo} ${|}
        StrCpy $R2 $R2 -1
    ${Loop}
    Pop $R7
    Pop $R6
    Pop $R5
FunctionEnd
