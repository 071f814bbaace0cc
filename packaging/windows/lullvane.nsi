; Lullvane's installer: per user, without administrator rights. The programs go to the user's
; own programs folder, where Lullvane.ini beside them can be written, and the choice of saver and
; the uninstall entry go to the user's part of the registry. The build hands over VERSION,
; PUBLISHER, COPYRIGHT, SCR, DLL, ICON and OUTFILE.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lullvane"

Name "Lullvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lullvane"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Lullvane"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Lullvane setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for systems that speak neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Section
  ; Lullvane.ini, if an earlier install left one, stays as it is.
  SetOutPath "$INSTDIR"
  File "/oname=Lullvane.scr" "${SCR}"
  File "/oname=Lullvane.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Lullvane.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lullvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lullvane.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; An interactive install ends in the system's screen-saver settings with Lullvane chosen; a
; silent one (/S) has only written the registry.
Function .onInstSuccess
  ${IfNot} ${Silent}
    Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $INSTDIR\Lullvane.scr'
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The system's choice of saver is cleared only while it still names this Lullvane, in the long
  ; form written above or the short form the system's settings write; another saver chosen since
  ; stays chosen. The short form exists only while the file does.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\Lullvane.scr"
  ${If} $0 == "$INSTDIR\Lullvane.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  Delete "$INSTDIR\Lullvane.scr"
  Delete "$INSTDIR\Lullvane.dll"
  Delete "$INSTDIR\Lullvane.ini"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
