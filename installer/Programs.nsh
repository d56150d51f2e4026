; Ending and starting the installed programs, for the installer and the uninstaller alike.
; NSIS keeps the two apart: every function exists once plain and once with the "un." prefix.

!define SYNCHRONIZE_TERMINATE 0x100001            ; SYNCHRONIZE | PROCESS_TERMINATE
!define QUERY_SYNCHRONIZE_TERMINATE 0x101001      ; the same | PROCESS_QUERY_LIMITED_INFORMATION
!define THREAD_QUERY_LIMITED_INFORMATION 0x0800
!define PROCESSENTRY32W_SIZE 568                  ; on 64-bit Windows

!macro THERMOWL_PROGRAM_FUNCTIONS un

; $0 := the monitor's window: top-level, or in the desktop placement a child of the desktop's
; program manager; 0 when no monitor runs.
Function ${un}FindMonitorWindow
  System::Call 'user32::FindWindowW(w "TMainForm", w "Thermowl") p .r0'
  ${If} $0 P= 0
    System::Call 'user32::FindWindowW(w "Progman", w "Program Manager") p .r1'
    ${If} $1 P<> 0
      System::Call 'user32::FindWindowExW(p r1, p 0, w "TMainForm", w "Thermowl") p .r0'
    ${EndIf}
  ${EndIf}
FunctionEnd

; Waits at most $1 ms for the process of the handle $2 to end, terminates it if it is still
; running then, and closes the handle.
Function ${un}EndProcess
  System::Call 'kernel32::WaitForSingleObject(p r2, i r1) i .r3'
  ${If} $3 <> 0
    System::Call 'kernel32::TerminateProcess(p r2, i 1)'
    System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r2)'
FunctionEnd

; Closes every running monitor the way its Exit command does, so that it saves its settings.
; One that has not ended after 15 seconds (a dialog in its way) is terminated.
; Sets MonitorWasRunning when there was one.
Function ${un}StopMonitor
  ${For} $4 1 8
    Call ${un}FindMonitorWindow
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    StrCpy $MonitorWasRunning 1
    DetailPrint "Closing Thermowl"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE_TERMINATE}, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
    ${If} $2 P<> 0
      StrCpy $1 15000
      Call ${un}EndProcess
    ${Else}
      Sleep 1000
    ${EndIf}
  ${Next}
FunctionEnd

; Ends the temperature service named in "hsid.dat" with a quit message to its thread (the
; end of its message loop, after which it tidies up), or after 10 seconds the hard way. An id
; that now names a thread of another program (the file of a service that ended long ago)
; is left alone.
Function ${un}StopService
  ${DisableX64FSRedirection}
  ClearErrors
  FileOpen $0 "$SYSDIR\hsid.dat" r
  ${EnableX64FSRedirection}
  ${If} ${Errors}
    Return
  ${EndIf}
  ; the thread id: 4 bytes, little-endian
  StrCpy $1 0
  ${For} $2 0 3
    FileReadByte $0 $3
    ${If} ${Errors}
      FileClose $0
      Return
    ${EndIf}
    IntOp $4 $2 * 8
    IntOp $3 $3 << $4
    IntOp $1 $1 | $3
  ${Next}
  FileClose $0

  System::Call 'kernel32::OpenThread(i ${THREAD_QUERY_LIMITED_INFORMATION}, i 0, i r1) p .r2'
  ${If} $2 P= 0
    Return
  ${EndIf}
  System::Call 'kernel32::GetProcessIdOfThread(p r2) i .r3'
  System::Call 'kernel32::CloseHandle(p r2)'
  System::Call 'kernel32::OpenProcess(i ${QUERY_SYNCHRONIZE_TERMINATE}, i 0, i r3) p .r2'
  ${If} $2 P= 0
    Return
  ${EndIf}
  System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r4, *i ${NSIS_MAX_STRLEN}) i .r5'
  ${GetFileName} $4 $4
  ${If} $5 <> 0
  ${AndIf} $4 == "thermowl-service.exe"
    DetailPrint "Ending the Thermowl temperature service"
    System::Call 'user32::PostThreadMessageW(i r1, i ${WM_QUIT}, p 0, p 0)'
    StrCpy $1 10000
    Call ${un}EndProcess
  ${Else}
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
FunctionEnd

; Ends every process, in any session, whose program is thermowl.exe or thermowl-service.exe in
; the folder $0, and waits (bounded) until each is gone.
Function ${un}EndProgramsIn
  StrCpy $5 $0
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r6'   ; TH32CS_SNAPPROCESS
  ${If} $6 P= -1
    Return
  ${EndIf}
  ; PROCESSENTRY32W, its size first; the process id at offset 8
  System::Alloc ${PROCESSENTRY32W_SIZE}
  Pop $7
  System::Call '*$7(i ${PROCESSENTRY32W_SIZE})'
  System::Call 'kernel32::Process32FirstW(p r6, p r7) i .r8'
  ${DoWhile} $8 <> 0
    System::Call '*$7(i, i, i .r9)'
    System::Call 'kernel32::OpenProcess(i ${QUERY_SYNCHRONIZE_TERMINATE}, i 0, i r9) p .r2'
    ${If} $2 P<> 0
      StrCpy $4 ""
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r4, *i ${NSIS_MAX_STRLEN}) i .r3'
      ; NSIS compares strings without regard to case, as Windows compares paths
      ${If} $4 == "$5\thermowl.exe"
      ${OrIf} $4 == "$5\thermowl-service.exe"
        DetailPrint "Ending $4 (process $9)"
        System::Call 'kernel32::TerminateProcess(p r2, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r2, i 10000)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    System::Call '*$7(i ${PROCESSENTRY32W_SIZE})'
    System::Call 'kernel32::Process32NextW(p r6, p r7) i .r8'
  ${Loop}
  System::Free $7
  System::Call 'kernel32::CloseHandle(p r6)'
FunctionEnd

; The monitor first, so that it does not lose its service while it still runs.
Function ${un}StopPrograms
  StrCpy $MonitorWasRunning 0
  Call ${un}StopMonitor
  Call ${un}StopService
FunctionEnd

!macroend

!insertmacro THERMOWL_PROGRAM_FUNCTIONS ""
!insertmacro THERMOWL_PROGRAM_FUNCTIONS "un."

; Opens $0 (a program or a shortcut) through the shell (explorer), so that it runs as the
; signed-in user and not with the installer's administrator rights: an elevated service would
; not take requests from a monitor the user starts, and an elevated monitor would keep the
; settings of whoever typed the administrator's password.
Function StartAsUser
  Exec '"$WINDIR\explorer.exe" "$0"'
FunctionEnd

; How long the installer waits for a new service to publish its id, in polls of 100 ms: one
; minute. A busy machine can take many seconds to start a program through the shell, and the
; monitor, started after it, looks for the service for only 10 seconds of its own.
!define SERVICE_START_POLLS 600

; $0 := the size of the file $0 names, -1 if it cannot be asked. Asked without opening the
; file: an open by the installer (NSIS's FileOpen shares reading only) would make the service's
; write of its id fail at that moment, and the service end.
Function FileSizeUnopened
  System::Call '*(i, i, i, i, i, i, i, i, i) p .r9'
  ; GetFileExInfoStandard: WIN32_FILE_ATTRIBUTE_DATA, the size's high and low halves last
  System::Call 'kernel32::GetFileAttributesExW(w r0, i 0, p r9) i .r8'
  ${If} $8 <> 0
    System::Call '*$9(i, i, i, i, i, i, i, i .r7, i .r8)'
    ${If} $7 <> 0
      StrCpy $0 2147483647
    ${Else}
      StrCpy $0 $8
    ${EndIf}
  ${Else}
    StrCpy $0 -1
  ${EndIf}
  System::Free $9
FunctionEnd

; Waits at most a minute for the service to write its thread id into "hsid.dat" (which is empty
; before it starts). $0 := 1 when it did.
Function WaitForServiceId
  ${DisableX64FSRedirection}
  ${For} $1 1 ${SERVICE_START_POLLS}
    StrCpy $0 "$SYSDIR\hsid.dat"
    Call FileSizeUnopened
    ${If} $0 >= 4
      ${Break}
    ${EndIf}
    Sleep 100
  ${Next}
  ${EnableX64FSRedirection}
  ${If} $0 >= 4
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
FunctionEnd

; Starts the service in the background as the signed-in user (as its Run value does at logon)
; through a shortcut, the one way explorer passes it its option, and waits for its id.
; $0 := 1 when it runs.
Function StartService
  CreateShortcut "$INSTDIR\${SERVICE_LINK}" "$INSTDIR\thermowl-service.exe" "--background"
  StrCpy $0 "$INSTDIR\${SERVICE_LINK}"
  Call StartAsUser
  Call WaitForServiceId
  ${If} $0 = 1
    Delete "$INSTDIR\${SERVICE_LINK}"
  ${EndIf}
  ; otherwise the shell may still open it; the uninstaller removes it
FunctionEnd

Function StartMonitor
  StrCpy $0 "$INSTDIR\thermowl.exe"
  Call StartAsUser
FunctionEnd
