; The Windows installer: the programs and every DLL they load, into Program Files, with a
; Start-menu entry and an uninstaller. scripts/windows passes VERSION, STAGE (the folder of
; files to install) and OUTFILE. "/S" installs silently.
; A 64-bit installer: the programs are 64-bit, and a 64-bit Wine runs no 32-bit stub.
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "sigcond ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\sigcond"
InstallDirRegKey HKLM "Software\sigcond" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\sigcond"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "sigcond needs 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Section "sigcond"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "Software\sigcond" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "sigcond ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The sigcond developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SetShellVarContext all
    IfFileExists "$INSTDIR\sigcond.exe" 0 +3
        CreateDirectory "$SMPROGRAMS\sigcond"
        CreateShortcut "$SMPROGRAMS\sigcond\sigcond.lnk" "$INSTDIR\sigcond.exe"
SectionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\sigcond\sigcond.lnk"
    RMDir "$SMPROGRAMS\sigcond"
    ; Only the files this installer put there: the operator's own files stay.
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\platforms\qwindows.dll"
    RMDir "$INSTDIR\platforms"
    Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
    RMDir "$INSTDIR\styles"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\sigcond"
SectionEnd
