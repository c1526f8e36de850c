; The installer, built by makensis from the staged release folder.
;   makensis -DVERSION=1.1 -DSTAGE=<folder with KTRAVO.exe, help\, README.txt, LICENSE.txt, data\> -DOUTFILE=<setup.exe> ketravo.nsi
Unicode true
!include LogicLib.nsh
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware false

!define PRODUCT "Ketravo"
!define PUBLISHER "Orvall Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ketravo"
!define SETTINGS_KEY "Software\Orvall Software\Ketravo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The folder the program starts in: its first start puts its scheme folder ("data") here.
!define USER_FOLDER "$APPDATA\Ketravo"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Orvall Software"

LicenseData "${STAGE}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage components
UninstPage instfiles
ComponentText "Ketravo and its Start-menu entry are removed. Tick the box to remove your schemes and settings too."

; Shortcuts, the start folder and the Run value belong to the user who installs.
Function .onInit
  SetShellVarContext current
FunctionEnd
Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Ketravo"
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\KTRAVO.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  SetOutPath "$INSTDIR\help"
  File "${STAGE}\help\*.html"

  ; The sample scheme, never over a scheme of the same name.
  SetOutPath "${USER_FOLDER}\data"
  SetOverwrite off
  File "${STAGE}\data\button.dat"
  SetOverwrite on

  SetOutPath "${USER_FOLDER}"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\KTRAVO.exe" "" "$INSTDIR\KTRAVO.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KTRAVO.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "un.Ketravo"
  SectionIn RO
  ; A running copy holds KTRAVO.exe open: ask it to end first.
  FindWindow $0 "TButtonForm" "Ketravo"
  ${While} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONINFORMATION "Ketravo is running. End it (right-click its icon, Exit), then click Retry." /SD IDCANCEL IDRETRY +2
    Abort "Ketravo is running."
    FindWindow $0 "TButtonForm" "Ketravo"
  ${EndWhile}
  Delete "$INSTDIR\KTRAVO.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\help\*.html"
  RMDir "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegValue HKCU "${RUN_KEY}" "Ketravo"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless the user ticks it, and so off in a silent uninstall.
Section /o "un.Schemes and settings"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvall Software"
  RMDir /r "${USER_FOLDER}"
SectionEnd
