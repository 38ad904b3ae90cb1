; The Windows installer: Quillet for one user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Quillet, with a Start-menu entry and an entry in the installed programs.
; Thai and English pages. Built by scripts/build-windows:
;   makensis -DVERSION=1.0.0 -DSOURCE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; SOURCE is an absolute folder holding quillet.exe, qlt.exe, Help!.html, TlwgMono-LICENSE.txt and examples\ (makensis reads
; relative paths from this file's folder); -DICON=<quillet.ico> gives the setup program the program's icon.

Target amd64-unicode ; a 64-bit installer: Wine without its 32-bit half cannot start a 32-bit one
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef VERSION
!error "makensis needs -DVERSION=, -DSOURCE= and -DOUTFILE="
!endif
!ifndef SOURCE
!error "makensis needs -DVERSION=, -DSOURCE= and -DOUTFILE="
!endif
!ifndef OUTFILE
!error "makensis needs -DVERSION=, -DSOURCE= and -DOUTFILE="
!endif

!define THAI_NAME "Quillet โปรแกรมวิเคราะห์ข้อสอบ" ; the menu entry's name on Linux desktops
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet"

Name "Quillet ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillet"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "Quillet ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Quillet"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Quillet ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "GNU General Public License, version 3 or later"

!include "MUI2.nsh"
!ifdef ICON ; the program's icon, when the build passes -DICON=<quillet.ico>
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillet.exe"
; Windows breaks lines only at blanks: the stock Thai welcome text is one long run and gets cut off.
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one a silent install and a Thai Windows get.
!insertmacro MUI_LANGUAGE "Thai"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString WelcomeText ${LANG_THAI} "ตัวติดตั้งนี้จะติดตั้ง Quillet ${VERSION} โปรแกรมวิเคราะห์ข้อสอบ ให้ผู้ใช้คนนี้ \
โดยไม่ต้องใช้สิทธิ์ผู้ดูแลระบบ$\r$\n$\r$\nกด ต่อไป เพื่อเริ่มการติดตั้ง"
LangString WelcomeText ${LANG_ENGLISH} "This installs Quillet ${VERSION}, the test analysis program, for this \
user; no administrator rights are needed.$\r$\n$\r$\nClick Next to continue."

Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Quillet"
    SetOutPath "$INSTDIR"
    File "${SOURCE}\quillet.exe"
    File "${SOURCE}\qlt.exe"
    File "${SOURCE}\Help!.html"
    File /oname=LICENSE.txt "..\..\LICENSE" ; makensis works in this file's folder
    File "${SOURCE}\TlwgMono-LICENSE.txt" ; the listing's font, built into quillet.exe
    File /r "${SOURCE}\examples"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    SetOutPath "$INSTDIR" ; the shortcut's working folder
    CreateShortcut "$SMPROGRAMS\${THAI_NAME}.lnk" "$INSTDIR\quillet.exe" "" "$INSTDIR\quillet.exe" 0

    ; The entry in Settings > Apps (and Programs and Features), for this user only.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${THAI_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillet.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0 ; in KiB, as EstimatedSize wants it
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put there and nothing else: a report the teacher saved beside the
; program stays, and so does the folder then.
Section "Uninstall"
    Delete "$SMPROGRAMS\${THAI_NAME}.lnk"
    Delete "$INSTDIR\quillet.exe"
    Delete "$INSTDIR\qlt.exe"
    Delete "$INSTDIR\Help!.html"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\TlwgMono-LICENSE.txt"
    RMDir /r "$INSTDIR\examples"
    Delete "$INSTDIR\Uninstall.exe"
    SetOutPath "$TEMP" ; a folder cannot be removed while it is the working folder
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
