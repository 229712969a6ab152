; Bistrope's Windows installer (NSIS 3, 64-bit Unicode). scripts/package.sh builds it:
;
;   makensis -DVERSION=<version> -DSTAGE=<the zip's files> -DOUTFILE=<setup.exe> bistrope.nsi
;
; Installs for the current user (no administrator rights; %LOCALAPPDATA%\Programs\Bistrope,
; HKCU) unless all users are chosen on the first page or with /AllUsers (Program Files,
; HKLM). /S installs silently with the default components. The uninstaller removes what was
; installed; the user's settings stay unless "Remove my settings" is ticked or /RemoveSettings
; is given. docs/packaging.md describes the options.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION | STAGE | OUTFILE
  !error "Define VERSION, STAGE and OUTFILE (scripts/package.sh does)"
!endif

!define PRODUCT "Bistrope"
!define PUBLISHER "Renvik"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bistrope"
!define PROGID "Bistrope.StereoPair"
; The program's own keys (app/reg_data.h: the settings; app/frame_layout.h: the window's
; place), always under the current user.
!define SETTINGS_KEY "Software\Bistrope1.2.1"
!define PLACEMENT_KEY "Software\Bistrope1.8.4"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION} - ${PUBLISHER}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; Per user by default; all users when chosen (the page asks for elevation where needed).
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

; makensis works in this folder, so the icon is found from here.
!define ICON "../resources/art/app.ico"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Bistrope.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Bistrope (program, bistrope-cli, Start-menu shortcut)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}/Bistrope.exe"
  File "${STAGE}/Bistrope.dll"
  File "${STAGE}/bistrope-cli.exe"
  File "${STAGE}/README.txt"
  SetOutPath "$INSTDIR\licences"
  File "${STAGE}/licences/*.txt"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; The shortcut starts in the install folder (the current output path).
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Bistrope.exe" "" "$INSTDIR\Bistrope.exe" 0

  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $0 "/AllUsers"
  ${Else}
    StrCpy $0 "/CurrentUser"
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Bistrope.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" $0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" $0 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; Offers Bistrope for .mpo and .jps files: always in "Open with", and as the program that
; opens them where no other program does yet.
Section "Open .mpo and .jps stereo files with Bistrope" SecAssociate
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Stereo pair"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\Bistrope.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\Bistrope.exe" "%1"'
  Push ".mpo"
  Call Associate
  Push ".jps"
  Call Associate
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
SectionEnd

Function Associate
  Exch $0
  WriteRegStr SHCTX "Software\Classes\$0\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $1 SHCTX "Software\Classes\$0" ""
  ${If} $1 == ""
    WriteRegStr SHCTX "Software\Classes\$0" "" "${PROGID}"
  ${EndIf}
  Pop $0
FunctionEnd

Section "un.Bistrope (program, shortcut, file types)" SecUnProgram
  SectionIn RO
  Delete "$INSTDIR\Bistrope.exe"
  Delete "$INSTDIR\Bistrope.dll"
  Delete "$INSTDIR\bistrope-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\licences\*.txt"
  RMDir "$INSTDIR\licences"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  Push ".mpo"
  Call un.Dissociate
  Push ".jps"
  Call un.Dissociate
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings (blending, folders, window place)" SecRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${PLACEMENT_KEY}"
SectionEnd

; Takes back what Associate added and leaves what other programs wrote.
Function un.Dissociate
  Exch $0
  DeleteRegValue SHCTX "Software\Classes\$0\OpenWithProgids" "${PROGID}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\$0\OpenWithProgids"
  ReadRegStr $1 SHCTX "Software\Classes\$0" ""
  ${If} $1 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\$0" ""
  ${EndIf}
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\$0"
  Pop $0
FunctionEnd

Function .onInit
  StrCpy $0 $INSTDIR  ; a folder given with /D=, which the install mode would replace
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  ; The uninstaller is started with the mode it was installed in (/AllUsers or /CurrentUser,
  ; see UninstallString), so it cleans the same hive.
  !insertmacro MULTIUSER_UNINIT
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecRemoveSettings}
  ${EndIf}
FunctionEnd
