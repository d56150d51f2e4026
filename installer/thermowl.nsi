; Thermowl's installer: a per-machine, 64-bit install of the monitor and its temperature service.
;   makensis -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer/thermowl.nsi
; STAGE holds thermowl.exe, thermowl-service.exe and clear.scf; the version comes from
; thermowl.exe's version record. scripts/package builds it; the installer test too.
;
; Command line: /S silent, /D=<folder> the installation folder (last, unquoted). The uninstaller
; takes /S and /REMOVESETTINGS (remove the user's settings too).

Unicode true
; 64-bit, like the programs: the registry and the system directory are the native ones, and a
; 32-bit Windows refuses the file instead of getting a program it cannot run.
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef STAGE
  !error "define STAGE, the folder of the programs"
!endif
!ifndef OUTFILE
  !error "define OUTFILE, the installer to make"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh
!include nsDialogs.nsh

!getdllversion "${STAGE}\thermowl.exe" THERMOWL_VERSION_
!define VERSION "${THERMOWL_VERSION_1}.${THERMOWL_VERSION_2}.${THERMOWL_VERSION_3}"

!define MACHINE_KEY "Software\Vantrell\Thermowl"
!define USER_KEY "Software\Vantrell\Thermowl"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Thermowl"
; The monitor's probe of whether the machine-wide registry is writable: created and deleted at
; once, left behind only when the monitor was killed in between.
!define PROBE_KEY "Software\Thermowl"
!define SERVICE_LINK "Start the temperature service.lnk"
!define MENU_FOLDER "$SMPROGRAMS\Thermowl"
; The service files: full access for the system and administrators; users may read them and
; write their data, which their own service rewrites, and nothing more: no delete (a user could
; not create them again), no attributes (a read-only file would stop every user's service) and
; no permission changes.
!define SERVICE_FILE_SDDL "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12008b;;;BU)"
!define ERROR_ELEVATION_REQUIRED 740
; The exit code of an installation whose new service did not start within a minute.
!define ERROR_SERVICE_NOT_STARTED 3
!define SERVICE_NOT_STARTED "Thermowl is installed, but its temperature service did not start within a minute. It starts at the next logon; Thermowl can be started then."

Name "Thermowl"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vantrell\Thermowl"
BrandingText "Thermowl ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
; A file that cannot be replaced (a program still running) stops the install instead of being skipped.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Thermowl"
VIAddVersionKey /LANG=1033 CompanyName "Vantrell"
VIAddVersionKey /LANG=1033 FileDescription "Thermowl Setup"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 LegalCopyright "Vantrell"

Var MonitorWasRunning   ; a monitor was running when the install or uninstall began
Var PreviousDir         ; folder of an earlier installation, upgraded in place
Var RemoveSettings      ; uninstall: remove the user's settings too
Var RemoveSettingsBox

!include "${__FILEDIR__}\Programs.nsh"

!define MUI_ICON "${__FILEDIR__}\..\resources\thermowl.ico"
!define MUI_UNICON "${__FILEDIR__}\..\resources\thermowl.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Thermowl"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMonitor
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.RemoveSettingsPage un.RemoveSettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!define RUN_AS_ADMINISTRATOR "Please start it again as an administrator (right-click it and choose Run as administrator)."
!macro REQUIRE_ADMINISTRATOR text
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "${text}$\r$\n${RUN_AS_ADMINISTRATOR}" /SD IDOK
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
!macroend

!macro FAIL text
  DetailPrint "${text}"
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  Abort "${text}"
!macroend

Function .onInit
  !insertmacro REQUIRE_ADMINISTRATOR "Thermowl can only be installed by an administrator."
  SetRegView 64
  ; An earlier installation is upgraded where it is, unless /D names another folder.
  ReadRegStr $PreviousDir HKLM "${MACHINE_KEY}" "PATH"
  ${If} $PreviousDir != ""
    StrCpy $0 $PreviousDir 1 -1
    ${If} $0 == "\"
      StrCpy $PreviousDir $PreviousDir -1
    ${EndIf}
    ; NSIS has taken /D= out of $CMDLINE by now; the process's own command line still has it.
    System::Call 'kernel32::GetCommandLineW() w .r1'
    ClearErrors
    ${GetOptions} $1 "/D=" $0
    ${If} ${Errors}
      StrCpy $INSTDIR $PreviousDir
    ${EndIf}
  ${EndIf}
FunctionEnd

; "hsid.dat" or "hdinfo.dat" ($0, a full path): empty, and writable by the users' services.
Function CreateServiceFile
  ; A user may have made it read-only, which would stop the write below and every service.
  SetFileAttributes $0 NORMAL
  ClearErrors
  FileOpen $1 $0 w
  ${If} ${Errors}
    !insertmacro FAIL "Could not create $0."
  ${EndIf}
  FileClose $1
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${SERVICE_FILE_SDDL}", i 1, *p .r1, p 0) i .r2'
  ${If} $2 = 0
    !insertmacro FAIL "Could not make $0 writable for the temperature service."
  ${EndIf}
  System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r3, *p .r4, *i .r5) i .r2'
  ; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION: exactly these entries
  System::Call 'advapi32::SetNamedSecurityInfoW(w r0, i 1, i 0x80000004, p 0, p 0, p r4, p 0) i .r3'
  System::Call 'kernel32::LocalFree(p r1)'
  ${If} $2 = 0
  ${OrIf} $3 <> 0
    !insertmacro FAIL "Could not make $0 writable for the temperature service."
  ${EndIf}
FunctionEnd

Section "Thermowl"
  SetShellVarContext all
  SetRegView 64
  Call StopPrograms
  ; Copies in other sessions, which neither the window nor the id file reached, hold their
  ; programs open: end them by their path, so that no file below is left unreplaced.
  ${If} $PreviousDir != ""
    StrCpy $0 $PreviousDir
    Call EndProgramsIn
  ${EndIf}
  StrCpy $0 $INSTDIR
  Call EndProgramsIn

  SetOutPath "$INSTDIR"
  File "${STAGE}\thermowl.exe"
  File "${STAGE}\thermowl-service.exe"
  File "${STAGE}\clear.scf"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The service's files in the 64-bit system directory, where the programs look for them; reset
  ; only now that the new programs are in place.
  ${DisableX64FSRedirection}
  StrCpy $0 "$SYSDIR\hsid.dat"
  Call CreateServiceFile
  StrCpy $0 "$SYSDIR\hdinfo.dat"
  Call CreateServiceFile
  ${EnableX64FSRedirection}

  ; An upgrade into another folder leaves nothing in the old one.
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
    Delete "$PreviousDir\thermowl.exe"
    Delete "$PreviousDir\thermowl-service.exe"
    Delete "$PreviousDir\clear.scf"
    Delete "$PreviousDir\${SERVICE_LINK}"
    Delete "$PreviousDir\uninstall.exe"
    RMDir "$PreviousDir"
  ${EndIf}

  ; The monitor appends file names to "PATH" as they are: it ends with a backslash.
  WriteRegStr HKLM "${MACHINE_KEY}" "PATH" "$INSTDIR\"
  ; Every user's own service, in the user's own session (a service in another session could
  ; not answer the user's monitor).
  WriteRegStr HKLM "${RUN_KEY}" "Thermowl Service" '"$INSTDIR\thermowl-service.exe" --background'

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Thermowl.lnk" "$INSTDIR\thermowl.exe"
  CreateShortcut "${MENU_FOLDER}\Uninstall Thermowl.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Thermowl"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vantrell"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\thermowl.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Run by no user (a deployment tool as SYSTEM, in session 0): the Run value starts the service
  ; at each user's logon, and there is nobody to show a monitor to.
  System::Call 'kernel32::GetCurrentProcessId() i .r0'
  System::Call 'kernel32::ProcessIdToSessionId(i r0, *i .r1) i .r2'
  ${If} $2 <> 0
  ${AndIf} $1 = 0
    DetailPrint "Installed without a signed-in user: the temperature service starts at the next logon."
    Return
  ${EndIf}
  Call StartService
  ${If} $0 <> 1
    ; Installed, but not running: the monitor would only say that no service runs.
    DetailPrint "${SERVICE_NOT_STARTED}"
    MessageBox MB_OK|MB_ICONEXCLAMATION "${SERVICE_NOT_STARTED}" /SD IDOK
    SetErrorLevel ${ERROR_SERVICE_NOT_STARTED}
    Return
  ${EndIf}
  ; A monitor that ran before comes back; interactively the finish page offers to start it.
  ${If} ${Silent}
  ${AndIf} $MonitorWasRunning = 1
    Call StartMonitor
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMINISTRATOR "Thermowl can only be removed by an administrator."
  SetRegView 64
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

!define UNINSTALL_TEXT "Thermowl and its temperature service will be ended and removed from $INSTDIR.$\r$\n$\r$\nYour settings (window place, colours, alarms) are kept for a later installation unless you tick the box below."
Function un.RemoveSettingsPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Thermowl" "Remove Thermowl from this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "${UNINSTALL_TEXT}"
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "&Remove my settings as well"
  Pop $RemoveSettingsBox
  ${If} $RemoveSettings = 1
    ${NSD_Check} $RemoveSettingsBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.RemoveSettingsPageLeave
  ${NSD_GetState} $RemoveSettingsBox $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Call un.StopPrograms
  StrCpy $0 $INSTDIR
  Call un.EndProgramsIn

  ${DisableX64FSRedirection}
  Delete "$SYSDIR\hsid.dat"
  Delete "$SYSDIR\hdinfo.dat"
  ${EnableX64FSRedirection}

  Delete "${MENU_FOLDER}\Thermowl.lnk"
  Delete "${MENU_FOLDER}\Uninstall Thermowl.lnk"
  RMDir "${MENU_FOLDER}"

  DeleteRegValue HKLM "${RUN_KEY}" "Thermowl"
  DeleteRegValue HKLM "${RUN_KEY}" "Thermowl Service"
  DeleteRegKey HKLM "${MACHINE_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Vantrell"
  DeleteRegKey /ifempty HKLM "${PROBE_KEY}"
  ${If} $RemoveSettings = 1
    DeleteRegKey HKCU "${USER_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Vantrell"
  ${EndIf}

  Delete /REBOOTOK "$INSTDIR\thermowl.exe"
  Delete /REBOOTOK "$INSTDIR\thermowl-service.exe"
  Delete "$INSTDIR\clear.scf"
  Delete "$INSTDIR\${SERVICE_LINK}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ; the company folder, when it was ours and is empty now
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Vantrell"
    RMDir "$0"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
