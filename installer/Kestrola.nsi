; Kestrola's Windows installer.
;
; Built by CMake (target kestrola_release):
;   makensis -DVERSION=1.4 -DARCH=x86 -DEXE=Kestrola.exe -DLICENSE=LICENSE.txt
;            -DICON=printer.ico -DOUTFILE=Kestrola-1.4-x86-setup.exe Kestrola.nsi
; ARCH=x86 builds the 32-bit installer of the x86 program; ARCH=x64 a 64-bit installer of
; the x64 program, which installs into the 64-bit Program Files and registers in the
; 64-bit registry view.
;
; Silent use:
;   setup.exe /S [/CurrentUser | /AllUsers] [/ASSOCIATE=prn,pcl,zpl,ps,eps | /ASSOCIATE=none]
;             [/D=folder]
;   Uninstall.exe /S [/CurrentUser | /AllUsers] [/REMOVESETTINGS]
; Without /ASSOCIATE, .prn, .pcl and .zpl are taken over and .ps and .eps are not. Every
; one of the five types gets Kestrola under "Open with" whatever is chosen.
;
; There is one installation for every user and one for each user at most: installing
; either architecture's program where the other one (or the same one in another folder)
; is installed in the same mode uninstalls that one first, keeping the settings.

!ifndef ARCH
  !error "Define ARCH on the makensis command line (-DARCH=x86 or -DARCH=x64)."
!endif
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else if "${ARCH}" == "x86"
  Unicode true
!else
  !error "ARCH must be x86 or x64, not ${ARCH}."
!endif
SetCompressor /SOLID lzma

!macro RequireDefine NAME
  !ifndef ${NAME}
    !error "Define ${NAME} on the makensis command line (-D${NAME}=...)."
  !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine EXE
!insertmacro RequireDefine LICENSE
!insertmacro RequireDefine ICON
!insertmacro RequireDefine OUTFILE

!define PRODUCT "Kestrola"
!define PUBLISHER "Morrowick Design"
!define PROGID "Kestrola.PrintFile"
!define CLASSES "Software\Classes"
!define APPLICATION_KEY "${CLASSES}\Applications\Kestrola.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrola"
!define SETTINGS_KEY "Software\MorrowickDesign\Kestrola"
!define ACTIVE_SETUP_KEY \
    "Software\Microsoft\Active Setup\Installed Components\MorrowickDesign.Kestrola"
!define SENDTO_LINK "$SENDTO\${PRODUCT}.lnk"
!define OPEN_COMMAND '"$INSTDIR\Kestrola.exe" "%1"'

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

; For an administrator, every user of the computer by default: the program then lives in
; Program Files, where no user can put a file beside it. Without administrator rights, or
; with /CurrentUser, the user's own programs folder. A reinstallation keeps the mode of an
; earlier installation.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
; The uninstaller finds its own mode (un.onInit).
!define MULTIUSER_NOUNINSTALL
!if "${ARCH}" == "x64"
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Tick the file types that Kestrola should open from \
Explorer. It is listed under $\"Open with$\" for all five either way."

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------------------
; File types. Shell variable context "all" makes SHCTX the machine's classes, "current"
; the user's.

; Kestrola under "Open with" for a type, without touching who opens it.
!macro OfferOpenWith EXT
  WriteRegNone SHCTX "${CLASSES}\.${EXT}\OpenWithProgids" "${PROGID}"
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" ".${EXT}" ""
!macroend

; Makes Kestrola open the type, remembering the program that opened it before.
!macro TakeOverType EXT
  ReadRegStr $0 SHCTX "${CLASSES}\.${EXT}" ""
  ${If} $0 != "${PROGID}"
    ${If} $0 != ""
      WriteRegStr SHCTX "${UNINSTALL_KEY}" "PreviousProgID.${EXT}" $0
    ${Else}
      DeleteRegValue SHCTX "${UNINSTALL_KEY}" "PreviousProgID.${EXT}"
    ${EndIf}
    WriteRegStr SHCTX "${CLASSES}\.${EXT}" "" "${PROGID}"
  ${EndIf}
!macroend

; Gives the type back to the program that opened it before, if Kestrola still opens it.
; When the user has since chosen another program, that choice stays.
!macro ReleaseType EXT
  ReadRegStr $0 SHCTX "${CLASSES}\.${EXT}" ""
  ${If} $0 == "${PROGID}"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "PreviousProgID.${EXT}"
    ${If} $1 != ""
      WriteRegStr SHCTX "${CLASSES}\.${EXT}" "" $1
    ${Else}
      DeleteRegValue SHCTX "${CLASSES}\.${EXT}" ""
    ${EndIf}
  ${EndIf}
  DeleteRegValue SHCTX "${UNINSTALL_KEY}" "PreviousProgID.${EXT}"
!macroend

; Everything the installer wrote for a type; keys are removed only when nothing else
; is left in them.
!macro RemoveType EXT
  !insertmacro ReleaseType ${EXT}
  DeleteRegValue SHCTX "${CLASSES}\.${EXT}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.${EXT}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.${EXT}"
!macroend

; A selected type is taken over; on a reinstallation that no longer selects it, it is
; given back.
!macro ApplyTypeSection EXT ID
  ${If} ${SectionIsSelected} ${${ID}}
    !insertmacro TakeOverType ${EXT}
  ${Else}
    !insertmacro ReleaseType ${EXT}
  ${EndIf}
!macroend

!macro RefreshShell
  ; SHCNE_ASSOCCHANGED: Explorer rereads the associations and icons.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Var Windows64  ; 1 where 64-bit programs run, with a registry view of their own

; The x64 installer works in the 64-bit registry view, where a 64-bit program is looked
; up; it would not start on 32-bit Windows at all, and says so where the system lets it try.
!macro UseArchitecture
  StrCpy $Windows64 1
  ${IfNot} ${RunningX64}
    StrCpy $Windows64 0
  ${EndIf}
  !if "${ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP \
          "This is the installer of Kestrola for 64-bit Windows. On 32-bit Windows, use \
Kestrola-${VERSION}-x86-setup.exe." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    SetRegView 64
  !endif
!macroend

!macro UseOwnRegView
  !if "${ARCH}" == "x64"
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

; ---------------------------------------------------------------------------------------
; Send To. The folder is each account's own, and Windows has no common one.

; The current account's link to the program in FOLDER, unless the account has an
; installation of its own, whose link it keeps.
!macro GiveSendTo FOLDER
  ReadRegStr $R1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${IfThen} $R1 == "" ${|} CreateShortcut "${SENDTO_LINK}" "${FOLDER}\Kestrola.exe" ${|}
!macroend

; Active Setup runs StubPath once at sign-in for every account whose recorded Version of
; the component is lower, so COMMAND reaches every account; the Version written is above
; any that either architecture's installation wrote before.
!macro SetActiveSetup COMMAND
  SetRegView 32
  ReadRegStr $R1 HKLM "${ACTIVE_SETUP_KEY}" "Version"
  IntOp $R1 $R1 + 0
  ${If} $Windows64 == 1
    SetRegView 64
    ReadRegStr $R2 HKLM "${ACTIVE_SETUP_KEY}" "Version"
    ${IfThen} $R2 > $R1 ${|} IntOp $R1 $R2 + 0 ${|}
    ; The other view's entry belongs to an installation that is gone.
    !if "${ARCH}" == "x64"
      SetRegView 32
    !endif
    DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  ${EndIf}
  IntOp $R1 $R1 + 1
  !insertmacro UseOwnRegView
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "${PRODUCT}"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "$R1,0,0,0"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" '${COMMAND}'
!macroend

; ---------------------------------------------------------------------------------------
; Installation

; An installation of this mode in another folder, found in either registry view, is
; removed by its own uninstaller; one whose uninstaller is gone leaves only its entry.
!macro ReplaceInView VIEW
  SetRegView ${VIEW}
  ReadRegStr $R1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} $R1 != $INSTDIR
    ${If} ${FileExists} "$R1\Uninstall.exe"
      ClearErrors
      ExecWait '"$R1\Uninstall.exe" /$MultiUser.InstallMode /S _?=$R1' $R2
      ${If} ${Errors}
      ${OrIf} $R2 != 0
        MessageBox MB_OK|MB_ICONSTOP \
            "The earlier installation of ${PRODUCT} in $R1 could not be removed." /SD IDOK
        SetErrorLevel 2
        Quit
      ${EndIf}
      Delete "$R1\Uninstall.exe"
      RMDir "$R1"
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${EndIf}
!macroend

Function ReplaceEarlierInstallation
  !insertmacro ReplaceInView 32
  ${If} $Windows64 == 1
    !insertmacro ReplaceInView 64
  ${EndIf}
  !insertmacro UseOwnRegView
FunctionEnd

Section "-${PRODUCT}" SecProgram
  Call ReplaceEarlierInstallation
  SetOutPath "$INSTDIR"
  File "/oname=Kestrola.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "Printer data file"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\Kestrola.exe,0"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '${OPEN_COMMAND}'

  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\Kestrola.exe,0"
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open\command" "" '${OPEN_COMMAND}'
  !insertmacro OfferOpenWith prn
  !insertmacro OfferOpenWith pcl
  !insertmacro OfferOpenWith zpl
  !insertmacro OfferOpenWith ps
  !insertmacro OfferOpenWith eps

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Kestrola.exe"
  ${If} $MultiUser.InstallMode == "AllUsers"
    ; Every other account gets its Send To link at its next sign-in.
    !insertmacro SetActiveSetup '"$INSTDIR\Uninstall.exe" /SENDTO _?=$INSTDIR'
    !insertmacro GiveSendTo "$INSTDIR"
  ${Else}
    CreateShortcut "${SENDTO_LINK}" "$INSTDIR\Kestrola.exe"
  ${EndIf}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kestrola.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
      '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
      '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The type sections only carry the choice; "-Associations" acts on it.
SectionGroup /e "Open these file types with ${PRODUCT}"
  Section "Printer files (.prn)" SecPrn
  SectionEnd
  Section "PCL files (.pcl)" SecPcl
  SectionEnd
  Section "ZPL label files (.zpl)" SecZpl
  SectionEnd
  ; Usually opened by a viewer: offered, not chosen.
  Section /o "PostScript files (.ps)" SecPs
  SectionEnd
  Section /o "Encapsulated PostScript files (.eps)" SecEps
  SectionEnd
SectionGroupEnd

Section "-Associations"
  !insertmacro ApplyTypeSection prn SecPrn
  !insertmacro ApplyTypeSection pcl SecPcl
  !insertmacro ApplyTypeSection zpl SecZpl
  !insertmacro ApplyTypeSection ps SecPs
  !insertmacro ApplyTypeSection eps SecEps
  !insertmacro RefreshShell
SectionEnd

; Selects the type sections named in a comma-separated list (case does not matter;
; "none" or an empty list selects none). $R9 receives the first unknown name, or "".
Function ApplyTypeList
  Exch $R1
  Push $R2
  Push $R3
  Push $R4
  !insertmacro UnselectSection ${SecPrn}
  !insertmacro UnselectSection ${SecPcl}
  !insertmacro UnselectSection ${SecZpl}
  !insertmacro UnselectSection ${SecPs}
  !insertmacro UnselectSection ${SecEps}
  StrCpy $R9 ""
  StrCpy $R1 "$R1,"
  ${Do}
    ${IfThen} $R1 == "" ${|} ${ExitDo} ${|}
    StrCpy $R2 0
    ${Do}
      StrCpy $R3 $R1 1 $R2
      ${IfThen} $R3 == "," ${|} ${ExitDo} ${|}
      IntOp $R2 $R2 + 1
    ${Loop}
    StrCpy $R4 $R1 $R2
    IntOp $R2 $R2 + 1
    StrCpy $R1 $R1 "" $R2
    ${Select} $R4
      ${Case} "prn"
        !insertmacro SelectSection ${SecPrn}
      ${Case} "pcl"
        !insertmacro SelectSection ${SecPcl}
      ${Case} "zpl"
        !insertmacro SelectSection ${SecZpl}
      ${Case} "ps"
        !insertmacro SelectSection ${SecPs}
      ${Case} "eps"
        !insertmacro SelectSection ${SecEps}
      ${Case2} "" "none"
      ${CaseElse}
        ${IfThen} $R9 == "" ${|} StrCpy $R9 $R4 ${|}
    ${EndSelect}
  ${Loop}
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd

Function .onInit
  !insertmacro UseArchitecture
  ; Only /D= sets the folder this early; the mode's default must not replace it.
  StrCpy $R8 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${IfThen} $R8 != "" ${|} StrCpy $INSTDIR $R8 ${|}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ASSOCIATE=" $1
  ${IfNot} ${Errors}
    Push $1
    Call ApplyTypeList
    ${If} $R9 != ""
      MessageBox MB_OK|MB_ICONSTOP \
          'Unknown file type "$R9" in /ASSOCIATE. Known types: prn, pcl, zpl, ps, eps, none.' \
          /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------
; Uninstallation

Section "-un.${PRODUCT}"
  !insertmacro RemoveType prn
  !insertmacro RemoveType pcl
  !insertmacro RemoveType zpl
  !insertmacro RemoveType ps
  !insertmacro RemoveType eps
  DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\Applications"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ${If} $MultiUser.InstallMode == "AllUsers"
    ; Every other account loses its link at its next sign-in, unless it has an
    ; installation of its own.
    !insertmacro SetActiveSetup '"$SYSDIR\cmd.exe" /d /q /c reg query HKCU\${UNINSTALL_KEY} \
>nul 2>nul & if errorlevel 1 del /f /q "%APPDATA%\Microsoft\Windows\SendTo\${PRODUCT}.lnk"'
    ReadRegStr $R1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${IfThen} $R1 == "" ${|} Delete "${SENDTO_LINK}" ${|}
  ${Else}
    Delete "${SENDTO_LINK}"
    ; An installation for every user gives this account its link back.
    StrCpy $R0 ""
    ${If} $Windows64 == 1
      SetRegView 64
      ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    SetRegView 32
    ${IfThen} $R0 == "" ${|} ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation" ${|}
    !insertmacro UseOwnRegView
    ${If} $R0 != ""
    ${AndIf} ${FileExists} "$R0\Kestrola.exe"
      CreateShortcut "${SENDTO_LINK}" "$R0\Kestrola.exe"
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\Kestrola.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: files the user put there stay.
  RMDir "$INSTDIR"
  !insertmacro RefreshShell
SectionEnd

; The user's own settings (printer, options, recent files) stay unless asked for.
Section /o "un.Remove my ${PRODUCT} settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\MorrowickDesign"
SectionEnd

Section "-un.Registration"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  !insertmacro UseArchitecture
  ${GetParameters} $0
  ; An account's sign-in step of an installation for every user (Active Setup), with the
  ; account's own rights.
  ClearErrors
  ${GetOptions} $0 "/SENDTO" $1
  ${IfNot} ${Errors}
    !insertmacro GiveSendTo "$INSTDIR"
    SetErrorLevel 0
    Quit
  ${EndIf}
  UserInfo::GetAccountType
  Pop $2
  ; The mode comes from the command line, or else from where this uninstaller lives.
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${If} ${Errors}
    ClearErrors
    ${GetOptions} $0 "/CurrentUser" $1
    ${If} ${Errors}
      ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
      StrCpy $3 "CurrentUser"
      ${IfThen} $1 == $INSTDIR ${|} StrCpy $3 "AllUsers" ${|}
    ${Else}
      StrCpy $3 "CurrentUser"
    ${EndIf}
  ${Else}
    StrCpy $3 "AllUsers"
  ${EndIf}

  ${If} $3 == "AllUsers"
    ${If} $2 != "Admin"
    ${AndIf} $2 != "Power"
      MessageBox MB_OK|MB_ICONSTOP \
          "$(^Name) was installed for all users; removing it needs administrator rights." \
          /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  StrCpy $MultiUser.InstallMode $3

  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
