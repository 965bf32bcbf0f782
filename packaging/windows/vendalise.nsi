; The Windows installer of Vendalise, in French. scripts/package-windows
; defines VERSION, STAGE (the installed program's folder), FILES and
; REMOVALS (the File and Delete lines of its files), ICON and OUTFILE.
; /S installs silently. The shortcuts start the program in the default data
; directory, C:\Vendalise, made here and writable by the PC's users.
; Uninstalling removes the program and its entries, never the data
; directory nor the user's settings.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendalise"
!define DATA_DIR "C:\Vendalise"
!define COMMENT "Gérer la boutique du club : adhérents, achats, stock, dettes et caisses"

Name "Vendalise"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vendalise"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Vendalise ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "Vendalise"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de Vendalise"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "CompanyName" "Vendalise"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Vendalise, GNU GPL version 3 ou ultérieure"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vendalise.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Lancer Vendalise"

!insertmacro MUI_PAGE_WELCOME
; The GNU GPL, version 3 or later, which Qt Charts asks for.
!define MUI_LICENSEPAGE_TEXT_TOP "Vendalise est un logiciel libre, distribué selon les termes de la licence publique générale GNU, version 3 ou toute version ultérieure."
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Section "Vendalise"
    SetShellVarContext all
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\Désinstaller Vendalise.exe"

    ; The default data directory, where a first start's chooser opens and
    ; "Création des fichiers" settles the club: the users (by their SID,
    ; whatever the system's language) may write in it. It is the folder
    ; the shortcuts, and the finish page's start, work in.
    CreateDirectory "${DATA_DIR}"
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${DATA_DIR}" /grant *S-1-5-32-545:(OI)(CI)M'
    Pop $0
    SetOutPath "${DATA_DIR}"
    CreateShortcut "$SMPROGRAMS\Vendalise.lnk" "$INSTDIR\vendalise.exe" "" "$INSTDIR\vendalise.exe" 0 \
        SW_SHOWNORMAL "" "${COMMENT}"
    CreateShortcut "$DESKTOP\Vendalise.lnk" "$INSTDIR\vendalise.exe" "" "$INSTDIR\vendalise.exe" 0 \
        SW_SHOWNORMAL "" "${COMMENT}"

    ; "Programmes et fonctionnalités"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vendalise"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vendalise"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vendalise.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Désinstaller Vendalise.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Désinstaller Vendalise.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    ; Only the files the installer put there: the folder may have been
    ; chosen beside the club's data. The data directory stays.
    !include "${REMOVALS}"
    Delete "$INSTDIR\Désinstaller Vendalise.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Vendalise.lnk"
    Delete "$DESKTOP\Vendalise.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
