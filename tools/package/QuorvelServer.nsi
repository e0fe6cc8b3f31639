; The setup program, per user and without administrator rights: the server under
; the user's local application data, a Start menu shortcut that starts it in a
; settings folder of the user's own, and an optional one at log-on. An elevated
; setup would put the shortcuts and settings in the administrator's profile.
;   makensis -DVERSION=1.72 -DSTAGE=dir-with-the-exe -DICON=file.ico -DOUTFILE=setup.exe QuorvelServer.nsi
; Switches of the setup program: /S silent, /AUTOSTART also start at log-on,
; /D=folder the program folder (last).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Quorvel Server"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The server keeps QuorvelServer.ini in its working directory, which must be
; writable by the user and survive an uninstall: not the program folder.
!define SETTINGS_DIR "$APPDATA\${PRODUCT}"
!define SHORTCUT "${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\QuorvelServer.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; A shortcut takes its working directory from the output folder.
  SetOutPath "${SETTINGS_DIR}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\QuorvelServer.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QuorvelServer.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start when I log on" SecStartup
  SetShellVarContext current
  SetOutPath "${SETTINGS_DIR}"
  CreateShortcut "$SMSTARTUP\${SHORTCUT}" "$INSTDIR\QuorvelServer.exe"
SectionEnd

; Setting up again without the log-on choice takes the log-on shortcut away.
Section "-RemoveStartup"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    SetShellVarContext current
    Delete "$SMSTARTUP\${SHORTCUT}"
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  ; An earlier choice to start at log-on stays chosen.
  ${If} ${FileExists} "$SMSTARTUP\${SHORTCUT}"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; Removes the program and its shortcuts; the user's settings stay.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$SMSTARTUP\${SHORTCUT}"
  Delete "$INSTDIR\QuorvelServer.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; Only an empty settings folder goes: one the server never wrote to.
  RMDir "${SETTINGS_DIR}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
