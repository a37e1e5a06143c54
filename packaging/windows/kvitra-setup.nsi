; The Windows setup program: KVITRA.EXE and VARDEN.EXE into the job directory
; ($INSTDIR, C:\ZEMBRANO unless chosen otherwise or given with /D=), the
; examples, the optional printer simulator and the uninstaller into a program
; folder of the user's own, the printer settings for this user, shortcuts.
;
; A per-user installation: the printer settings live under HKEY_CURRENT_USER
; of the user who runs Varden, and Varden starts from that user's Startup
; folder, so the setup runs as that user and needs no administrator rights.
;
; What the user already has is never changed: an existing PORT.CFG, any job
; file, any settings value. What the setup creates of the user's configuration
; (a PORT.CFG, settings values) is recorded under SETUP_KEY; the uninstaller
; removes it only while it is as the setup left it.
;
; Defines given by the build (makensis -D...): VERSION, KVITRA_EXE, VARDEN_EXE,
; SOURCE_DIR, OUTFILE, and SIMULATOR_EXE when the simulator is built.
;
; Silent installation: kvitra-setup.exe /S [/D=C:\JOBS] with the page's choices
;   /CODEPAGE=WIN1250|LATIN2|CP852|MAZOVIA  /SPEED=9600  /XONXOFF=0|1
;   /STARTUP=0|1  /NOSIM
; A bad option ends the setup with exit code 2 before anything is written.

; A 64-bit setup for 64-bit programs (and Wine's 64-bit prefixes).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kvitra"
!define SETUP_KEY "Software\Kvitra\Setup"
!define SETTINGS_PARENT_KEY "SOFTWARE\NORVEL"
!define SETTINGS_KEY "SOFTWARE\NORVEL\PrnSetup"
!define PROGRAM_DIR "$LOCALAPPDATA\Programs\Kvitra"
!define SIMULATOR_ADDRESS "127.0.0.1:6001"
; Shortcut names are the same in every language, so the uninstaller finds them.
!define VARDEN_LINK "Varden.lnk"
!define SIMULATOR_LINK "thermal-sim.lnk"
!define EXAMPLES_LINK "Examples - Przyklady.lnk"
!define UNINSTALL_LINK "Uninstall - Odinstaluj.lnk"

Name "Kvitra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "C:\ZEMBRANO"
InstallDirRegKey HKCU "${SETUP_KEY}" "JobDirectory"
BrandingText "Kvitra ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Kvitra"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Kvitra setup"
VIAddVersionKey /LANG=1033 "CompanyName" "the Kvitra authors"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence, the Kvitra authors"

Var CodePage
Var ComSpeed
Var XonXoff
Var StartAtLogon
Var StartMenuFolder
; Which settings values the user already has (1) and which the setup may write (0).
Var HasCodePage
Var HasComSpeed
Var HasXonXoff
Var CodePageList
Var SpeedField
Var XonXoffBox
Var StartupBox

!define MUI_ABORTWARNING
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${SETUP_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Language"

!insertmacro MUI_PAGE_LICENSE "${SOURCE_DIR}/LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP $(JobDirectoryText)
!insertmacro MUI_PAGE_DIRECTORY
Page custom SettingsPage SettingsPageLeave
!define MUI_STARTMENUPAGE_REGISTRY_ROOT HKCU
!define MUI_STARTMENUPAGE_REGISTRY_KEY "${SETUP_KEY}"
!define MUI_STARTMENUPAGE_REGISTRY_VALUENAME "StartMenuFolder"
!define MUI_STARTMENUPAGE_DEFAULTFOLDER "Kvitra"
!insertmacro MUI_PAGE_STARTMENU Application $StartMenuFolder
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Polish first: the default language.
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "English"
!include /CHARSET=UTF8 "strings-pl.nsh"
!include /CHARSET=UTF8 "strings-en.nsh"
!insertmacro MUI_RESERVEFILE_LANGDLL

; ---------------------------------------------------------------------------
; Settings values

; Pushes 1 when HKCU\SETTINGS_KEY has the value NAME (of any type), else 0.
; Value names are compared without regard to letter case, as the registry does.
!macro SettingExists NAME
  StrCpy $R7 0
  StrCpy $R8 0
  ${Do}
    ClearErrors
    EnumRegValue $R9 HKCU "${SETTINGS_KEY}" $R8
    ${If} ${Errors}
    ${OrIf} $R9 == ""
      ${ExitDo}
    ${EndIf}
    ${IfThen} $R9 == "${NAME}" ${|} StrCpy $R7 1 ${|}
    IntOp $R8 $R8 + 1
  ${Loop}
  Push $R7
!macroend

; The values the user already has are the page's values, and stay as they are.
Function ReadExistingSettings
  !insertmacro SettingExists "Code_Page"
  Pop $HasCodePage
  ${If} $HasCodePage == 1
    ReadRegStr $CodePage HKCU "${SETTINGS_KEY}" "Code_Page"
  ${EndIf}
  !insertmacro SettingExists "COM_Speed"
  Pop $HasComSpeed
  ${If} $HasComSpeed == 1
    ReadRegDWORD $ComSpeed HKCU "${SETTINGS_KEY}" "COM_Speed"
  ${EndIf}
  !insertmacro SettingExists "Flow_Ctrl_Xon_Xoff"
  Pop $HasXonXoff
  ${If} $HasXonXoff == 1
    ReadRegDWORD $XonXoff HKCU "${SETTINGS_KEY}" "Flow_Ctrl_Xon_Xoff"
  ${EndIf}
FunctionEnd

; Pushes 1 when TEXT is a whole number greater than zero, else 0.
Function IsPositiveNumber
  Exch $0
  IntOp $1 $0 + 0
  ${If} "$1" == "$0"
  ${AndIf} $1 > 0
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Exch $0
FunctionEnd

; Writes each value the user does not have yet (Code_Page a string,
; COM_Speed and Flow_Ctrl_Xon_Xoff DWORDs, as Kvitra reads them), and records
; what it wrote so that the uninstaller can tell it from the user's own.
Function WriteNewSettings
  ClearErrors
  EnumRegKey $0 HKCU "${SETTINGS_KEY}" 0
  ${If} ${Errors}
    WriteRegDWORD HKCU "${SETUP_KEY}" "CreatedSettingsKey" 1
  ${EndIf}
  ${If} $HasCodePage == 0
    WriteRegStr HKCU "${SETTINGS_KEY}" "Code_Page" $CodePage
    WriteRegStr HKCU "${SETUP_KEY}" "Wrote_Code_Page" $CodePage
  ${EndIf}
  ${If} $HasComSpeed == 0
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "COM_Speed" $ComSpeed
    WriteRegStr HKCU "${SETUP_KEY}" "Wrote_COM_Speed" $ComSpeed
  ${EndIf}
  ${If} $HasXonXoff == 0
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "Flow_Ctrl_Xon_Xoff" $XonXoff
    WriteRegStr HKCU "${SETUP_KEY}" "Wrote_Flow_Ctrl_Xon_Xoff" $XonXoff
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------
; The settings page

Function SettingsPage
  !insertmacro MUI_HEADER_TEXT $(SettingsTitle) $(SettingsSubtitle)
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 12u $(CodePageLabel)
  Pop $0
  ${NSD_CreateDropList} 0 13u 40% 80u ""
  Pop $CodePageList
  ${NSD_CB_AddString} $CodePageList "WIN1250"
  ${NSD_CB_AddString} $CodePageList "LATIN2"
  ${NSD_CB_AddString} $CodePageList "CP852"
  ${NSD_CB_AddString} $CodePageList "MAZOVIA"
  ${NSD_CB_SelectString} $CodePageList $CodePage
  ${NSD_CreateLabel} 0 34u 100% 12u $(SpeedLabel)
  Pop $0
  ${NSD_CreateNumber} 0 47u 40% 12u $ComSpeed
  Pop $SpeedField
  ${NSD_CreateCheckbox} 0 68u 100% 12u $(XonXoffLabel)
  Pop $XonXoffBox
  ${IfThen} $XonXoff != 0 ${|} ${NSD_Check} $XonXoffBox ${|}
  ${NSD_CreateCheckbox} 0 88u 100% 12u $(StartupLabel)
  Pop $StartupBox
  ${IfThen} $StartAtLogon == 1 ${|} ${NSD_Check} $StartupBox ${|}
  ${If} $HasCodePage == 1
  ${OrIf} $HasComSpeed == 1
  ${OrIf} $HasXonXoff == 1
    ${NSD_CreateLabel} 0 110u 100% 24u $(SettingsKeptNote)
    Pop $0
  ${EndIf}
  ${IfThen} $HasCodePage == 1 ${|} EnableWindow $CodePageList 0 ${|}
  ${IfThen} $HasComSpeed == 1 ${|} EnableWindow $SpeedField 0 ${|}
  ${IfThen} $HasXonXoff == 1 ${|} EnableWindow $XonXoffBox 0 ${|}
  nsDialogs::Show
FunctionEnd

Function SettingsPageLeave
  ${If} $HasCodePage == 0
    ${NSD_GetText} $CodePageList $CodePage
  ${EndIf}
  ${If} $HasComSpeed == 0
    ${NSD_GetText} $SpeedField $0
    Push $0
    Call IsPositiveNumber
    Pop $1
    ${If} $1 == 0
      MessageBox MB_OK|MB_ICONEXCLAMATION $(SpeedInvalid)
      Abort
    ${EndIf}
    IntOp $ComSpeed $0 + 0
  ${EndIf}
  ${If} $HasXonXoff == 0
    ${NSD_GetState} $XonXoffBox $0
    ${If} $0 == ${BST_CHECKED}
      StrCpy $XonXoff 1
    ${Else}
      StrCpy $XonXoff 0
    ${EndIf}
  ${EndIf}
  ${NSD_GetState} $StartupBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $StartAtLogon 1
  ${Else}
    StrCpy $StartAtLogon 0
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------
; Installation


; A running program cannot be replaced: rather than leave the old one in place
; and report success, the setup stops (exit code 2) before it changes anything.
Function RefuseProgramInUse
  Exch $0
  ${If} ${FileExists} $0
    ClearErrors
    FileOpen $1 $0 a
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "$(ProgramInUse)$\r$\n$0" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
    FileClose $1
  ${EndIf}
  Pop $0
FunctionEnd

Section "!$(SecProgramsName)" SecPrograms
  SectionIn RO
  Push "$INSTDIR\VARDEN.EXE"
  Call RefuseProgramInUse
  Push "$INSTDIR\KVITRA.EXE"
  Call RefuseProgramInUse
  SetOutPath "$INSTDIR"
  File "/oname=KVITRA.EXE" "${KVITRA_EXE}"
  File "/oname=VARDEN.EXE" "${VARDEN_EXE}"
  ; The job directory gets a PORT.CFG only when it has none; the example
  ; names 127.0.0.1:6001, where the simulator's shortcut listens.
  ${IfNot} ${FileExists} "$INSTDIR\PORT.CFG"
    File "/oname=PORT.CFG" "${SOURCE_DIR}/examples/PORT.CFG.network"
    GetFileTime "$INSTDIR\PORT.CFG" $0 $1
    WriteRegStr HKCU "${SETUP_KEY}" "Wrote_PORT.CFG" "$0 $1"
  ${EndIf}

  SetOutPath "${PROGRAM_DIR}\examples"
  File "${SOURCE_DIR}/examples/PORT.CFG.network"
  File "${SOURCE_DIR}/examples/PORT.CFG.serial"
  File "${SOURCE_DIR}/examples/PrnSetup-win1250.reg"
  File "${SOURCE_DIR}/examples/PrnSetup-latin2.reg"
  File "${SOURCE_DIR}/examples/PrnSetup-cp852.reg"
  File "${SOURCE_DIR}/examples/PrnSetup-mazovia.reg"
  File "${SOURCE_DIR}/examples/receipt-FAK_DANE.DAT"
  File "${SOURCE_DIR}/examples/payout-FAK_DANE.DAT"
  File "${SOURCE_DIR}/examples/daily-report-FAK_DANE.DAT"
  File "${SOURCE_DIR}/examples/cash-state-FAK_DANE.DAT"
  File "${SOURCE_DIR}/examples/PARAGNIP.DAT"
  File "${SOURCE_DIR}/examples/PLATNOSC.DAT"
  SetOutPath "${PROGRAM_DIR}"
  File "/oname=LICENSE.txt" "${SOURCE_DIR}/LICENSE"
  File "/oname=README.txt" "${SOURCE_DIR}/packaging/windows/README.txt"

  Call WriteNewSettings
  WriteRegStr HKCU "${SETUP_KEY}" "JobDirectory" "$INSTDIR"
  WriteUninstaller "${PROGRAM_DIR}\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kvitra ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the Kvitra authors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VARDEN.EXE"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"${PROGRAM_DIR}\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"${PROGRAM_DIR}\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

!ifdef SIMULATOR_EXE
Section "$(SecSimulatorName)" SecSimulator
  SetOutPath "${PROGRAM_DIR}"
  File "/oname=thermal-sim.exe" "${SIMULATOR_EXE}"
SectionEnd
!endif

; Shortcuts, after the sections so that they know the simulator's choice.
Section "-Shortcuts"
  ; Varden is always given its job directory: a ZEMBRANO_DIR in the
  ; environment would otherwise change where it looks.
  SetOutPath "$INSTDIR"
  ${If} $StartAtLogon == 1
    CreateShortCut "$SMSTARTUP\${VARDEN_LINK}" "$INSTDIR\VARDEN.EXE" '"$INSTDIR"'
  ${Else}
    Delete "$SMSTARTUP\${VARDEN_LINK}"
  ${EndIf}
  !insertmacro MUI_STARTMENU_WRITE_BEGIN Application
    CreateDirectory "$SMPROGRAMS\$StartMenuFolder"
    CreateShortCut "$SMPROGRAMS\$StartMenuFolder\${VARDEN_LINK}" "$INSTDIR\VARDEN.EXE" '"$INSTDIR"'
    CreateShortCut "$SMPROGRAMS\$StartMenuFolder\${EXAMPLES_LINK}" "${PROGRAM_DIR}\examples"
    CreateShortCut "$SMPROGRAMS\$StartMenuFolder\${UNINSTALL_LINK}" "${PROGRAM_DIR}\uninstall.exe"
    Delete "$SMPROGRAMS\$StartMenuFolder\${SIMULATOR_LINK}"
    !ifdef SIMULATOR_EXE
      ${If} ${SectionIsSelected} ${SecSimulator}
        ; A console window that shows each receipt as the simulator prints it,
        ; in the printer's character set as the settings now name it. Run
        ; through cmd /k, so that the window stays open with the simulator's
        ; message when it cannot start (the port taken by another program).
        Call SimulatorCharset
        Pop $0
        SetOutPath "${PROGRAM_DIR}"
        CreateShortCut "$SMPROGRAMS\$StartMenuFolder\${SIMULATOR_LINK}" "$SYSDIR\cmd.exe" \
          '/k ""${PROGRAM_DIR}\thermal-sim.exe" --tcp ${SIMULATOR_ADDRESS} --charset $0"' \
          "${PROGRAM_DIR}\thermal-sim.exe" 0
      ${EndIf}
    !endif
  !insertmacro MUI_STARTMENU_WRITE_END
SectionEnd

!ifdef SIMULATOR_EXE
; The simulator's --charset for the Code_Page the settings now hold (pushed).
Function SimulatorCharset
  ReadRegStr $0 HKCU "${SETTINGS_KEY}" "Code_Page"
  ${If} $0 == "WIN1250"
    Push "win1250"
  ${ElseIf} $0 == "LATIN2"
    Push "latin2"
  ${ElseIf} $0 == "CP852"
    Push "cp852"
  ${Else}
    Push "mazovia"
  ${EndIf}
FunctionEnd
!endif

; ---------------------------------------------------------------------------
; The command line

Function ReadOptions
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CODEPAGE=" $1
  ${IfNot} ${Errors}
  ${AndIf} $HasCodePage == 0
    ; StrCmp is blind to letter case; the value is written in capitals.
    ${If} $1 == "WIN1250"
      StrCpy $CodePage "WIN1250"
    ${ElseIf} $1 == "LATIN2"
      StrCpy $CodePage "LATIN2"
    ${ElseIf} $1 == "CP852"
      StrCpy $CodePage "CP852"
    ${ElseIf} $1 == "MAZOVIA"
      StrCpy $CodePage "MAZOVIA"
    ${Else}
      Call BadOption
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/SPEED=" $1
  ${IfNot} ${Errors}
  ${AndIf} $HasComSpeed == 0
    Push $1
    Call IsPositiveNumber
    Pop $2
    ${IfThen} $2 == 0 ${|} Call BadOption ${|}
    IntOp $ComSpeed $1 + 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/XONXOFF=" $1
  ${IfNot} ${Errors}
  ${AndIf} $HasXonXoff == 0
    ${If} $1 == "0"
    ${OrIf} $1 == "1"
      StrCpy $XonXoff $1
    ${Else}
      Call BadOption
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/STARTUP=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "0"
    ${OrIf} $1 == "1"
      StrCpy $StartAtLogon $1
    ${Else}
      Call BadOption
    ${EndIf}
  ${EndIf}
  !ifdef SIMULATOR_EXE
    ClearErrors
    ${GetOptions} $0 "/NOSIM" $1
    ${IfNot} ${Errors}
      !insertmacro UnselectSection ${SecSimulator}
    ${EndIf}
  !endif
FunctionEnd

Function BadOption
  MessageBox MB_OK|MB_ICONSTOP "Kvitra setup: bad option $1 in: $0" /SD IDOK
  ; Abort in .onInit ends the setup before any page, with exit code 2.
  SetErrorLevel 2
  Abort
FunctionEnd

; Needs the sections above: /NOSIM unselects one.
Function .onInit
  ; Polish unless the user chose otherwise before, whatever the system's language.
  StrCpy $LANGUAGE ${LANG_POLISH}
  !insertmacro MUI_LANGDLL_DISPLAY
  StrCpy $CodePage "WIN1250"
  StrCpy $ComSpeed 9600
  StrCpy $XonXoff 0
  ; Over an installation, Varden at log-on stays as it is.
  StrCpy $StartAtLogon 1
  ClearErrors
  ReadRegStr $0 HKCU "${SETUP_KEY}" "JobDirectory"
  ${IfNot} ${Errors}
  ${AndIfNot} ${FileExists} "$SMSTARTUP\${VARDEN_LINK}"
    StrCpy $StartAtLogon 0
  ${EndIf}
  Call ReadExistingSettings
  Call ReadOptions
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} $(SecProgramsText)
  !ifdef SIMULATOR_EXE
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} $(SecSimulatorText)
  !endif
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------
; Uninstallation: exactly what the setup put there. The job directory keeps
; its jobs, result lines, looku.dat and anything else; the archive under
; Documents is not touched.

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Deletes the settings value NAME when the setup wrote it and it still holds
; what the setup wrote; forgets the record either way.
!macro RemoveWrittenSetting NAME READ
  ClearErrors
  ReadRegStr $1 HKCU "${SETUP_KEY}" "Wrote_${NAME}"
  ${IfNot} ${Errors}
    ClearErrors
    ${READ} $2 HKCU "${SETTINGS_KEY}" "${NAME}"
    ${IfNot} ${Errors}
    ${AndIf} "$2" == "$1"
      DeleteRegValue HKCU "${SETTINGS_KEY}" "${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  ReadRegStr $R0 HKCU "${SETUP_KEY}" "JobDirectory"

  ; The PORT.CFG the setup wrote, while unchanged since.
  ClearErrors
  ReadRegStr $1 HKCU "${SETUP_KEY}" "Wrote_PORT.CFG"
  ${IfNot} ${Errors}
  ${AndIf} $R0 != ""
    ClearErrors
    GetFileTime "$R0\PORT.CFG" $2 $3
    ${IfNot} ${Errors}
    ${AndIf} "$2 $3" == "$1"
      Delete "$R0\PORT.CFG"
    ${EndIf}
  ${EndIf}
  ${If} $R0 != ""
    Delete "$R0\KVITRA.EXE"
    Delete "$R0\VARDEN.EXE"
    RMDir "$R0"
  ${EndIf}

  !insertmacro RemoveWrittenSetting "Code_Page" ReadRegStr
  !insertmacro RemoveWrittenSetting "COM_Speed" ReadRegDWORD
  !insertmacro RemoveWrittenSetting "Flow_Ctrl_Xon_Xoff" ReadRegDWORD
  ReadRegDWORD $1 HKCU "${SETUP_KEY}" "CreatedSettingsKey"
  ${If} $1 == 1
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT_KEY}"
  ${EndIf}

  Delete "$SMSTARTUP\${VARDEN_LINK}"
  !insertmacro MUI_STARTMENU_GETFOLDER Application $StartMenuFolder
  StrCpy $1 $StartMenuFolder 1
  ${If} $StartMenuFolder != ""
  ${AndIf} $1 != ">"
    Delete "$SMPROGRAMS\$StartMenuFolder\${VARDEN_LINK}"
    Delete "$SMPROGRAMS\$StartMenuFolder\${SIMULATOR_LINK}"
    Delete "$SMPROGRAMS\$StartMenuFolder\${EXAMPLES_LINK}"
    Delete "$SMPROGRAMS\$StartMenuFolder\${UNINSTALL_LINK}"
    RMDir "$SMPROGRAMS\$StartMenuFolder"
  ${EndIf}

  Delete "$INSTDIR\examples\PORT.CFG.network"
  Delete "$INSTDIR\examples\PORT.CFG.serial"
  Delete "$INSTDIR\examples\PrnSetup-win1250.reg"
  Delete "$INSTDIR\examples\PrnSetup-latin2.reg"
  Delete "$INSTDIR\examples\PrnSetup-cp852.reg"
  Delete "$INSTDIR\examples\PrnSetup-mazovia.reg"
  Delete "$INSTDIR\examples\receipt-FAK_DANE.DAT"
  Delete "$INSTDIR\examples\payout-FAK_DANE.DAT"
  Delete "$INSTDIR\examples\daily-report-FAK_DANE.DAT"
  Delete "$INSTDIR\examples\cash-state-FAK_DANE.DAT"
  Delete "$INSTDIR\examples\PARAGNIP.DAT"
  Delete "$INSTDIR\examples\PLATNOSC.DAT"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\thermal-sim.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${SETUP_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Kvitra"
  ; Last: a caller waiting for the uninstaller watches this key go.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
