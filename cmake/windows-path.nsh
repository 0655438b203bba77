; Kelvane's folder on the system's PATH, so that kelvane-attach runs in a new
; Command Prompt. Only the registry value is edited, never the PATH of the
; installer's own process, which holds the user's entries and expanded
; variables too. A value too long for this installer's strings is left as it
; is rather than cut.
!include WinMessages.nsh
!include WordFunc.nsh

!define /math KELVANE_LONGEST ${NSIS_MAX_STRLEN} - 1
!define KELVANE_ENVIRONMENT 'HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"'

; $0: the Path value; error flag set when it could not be read whole.
!macro KelvaneReadPath
  ClearErrors
  ReadRegStr $0 ${KELVANE_ENVIRONMENT} "Path"
  StrLen $1 $0
  IntCmp $1 ${KELVANE_LONGEST} 0 +2 0
    SetErrors
  IntCmp $1 0 0 +2 +2
    SetErrors
!macroend

!macro KelvaneWritePath
  WriteRegExpandStr ${KELVANE_ENVIRONMENT} "Path" $0
  ; Explorer starts new Command Prompts with the new value.
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Function AddKelvaneToPath
  !insertmacro KelvaneReadPath
  IfErrors 0 kelvane_read
    DetailPrint "PATH left as it is: it could not be read whole."
    Return
  kelvane_read:
  ; Already there: nothing to add.
  ${WordReplace} ";$0;" ";$INSTDIR;" ";" "+" $2
  StrCmp $2 ";$0;" 0 kelvane_add_done
  StrLen $1 "$0;$INSTDIR"
  IntCmp $1 ${KELVANE_LONGEST} 0 kelvane_fits 0
    DetailPrint "PATH left as it is: it is too long to add $INSTDIR."
    Return
  kelvane_fits:
  StrCpy $1 $0 1 -1
  StrCmp $1 ";" 0 +2
    StrCpy $0 $0 -1
  StrCpy $0 "$0;$INSTDIR"
  !insertmacro KelvaneWritePath
  DetailPrint "Added to PATH: $INSTDIR"
  kelvane_add_done:
FunctionEnd

Function un.RemoveKelvaneFromPath
  !insertmacro KelvaneReadPath
  IfErrors kelvane_remove_done
  ${WordReplace} ";$0;" ";$INSTDIR;" ";" "+" $2
  StrCmp $2 ";$0;" kelvane_remove_done
  ; The separators added around the value come off again.
  StrCpy $0 $2 -1 1
  !insertmacro KelvaneWritePath
  kelvane_remove_done:
FunctionEnd

; The finish page's "Add Kelvane to PATH" checkbox is field 5 of its page,
; below "Start Kelvane", placed one line high (110 to 120 dialog units down)
; though its label takes two: it reaches down one line more.
Function KelvaneFinishPagePre
  !insertmacro MUI_INSTALLOPTIONS_WRITE "ioSpecial.ini" "Field 5" "Bottom" "130"
FunctionEnd
