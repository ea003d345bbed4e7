; Installer of Tarvesk for 64-bit or 32-bit Windows. scripts/release builds it with:
;
;   makensis -DARCH=x64|x86 -DVERSION=1.2.3.4 -DPUBLISHER=... -DCOPYRIGHT=...
;            -DSTAGE=<folder holding the files to install> -DICON=<program.ico>
;            -DOUTFILE=<setup.exe> [-DPE_TIME=<seconds since 1970>] installer/tarvesk.nsi
;
; The installer puts the two programs, the help files, the README and the licence into
; one folder, adds a Start menu shortcut and the Apps and Features entry. It never
; registers automatic start: that stays the Configuration dialog's choice. The
; uninstaller removes all of it, and the automatic start registration too, machine-wide
; (in both registry views) and the current user's own; it keeps the user's settings
; unless told otherwise (answering No, or /REMOVESETTINGS).
;
; One Tarvesk per machine: on 64-bit Windows the x64 build keeps its entries in the
; registry's 64-bit view and the x86 build in the 32-bit view, so each build would see
; only itself, and two agents would start two copies at log-on. An install of either
; build therefore removes the other build first (its files, its Apps and Features entry
; and its automatic start value) and carries that build's automatic start over to its own
; agent.
;
; The finish page starts nothing: the installer runs with administrator rights, and a
; program it started would have them too. Such a copy gets no "TaskbarCreated" from the
; user's shell (so its icon would not come back after the shell restarts), and when a
; standard user typed an administrator's password it would run, keep its settings and
; register automatic start in the administrator's account. The page says where to start
; Tarvesk instead.
;
; The installer is a Unicode one: it runs on Windows NT 4.0, 2000, XP and later (the
; installer system's documentation says that Unicode installers do not work on Windows
; 95, 98 or ME; users there take the zip). README.txt says so.

Unicode true

!ifndef ARCH | VERSION | PUBLISHER | COPYRIGHT | STAGE | ICON | OUTFILE
  !error "define ARCH, VERSION, PUBLISHER, COPYRIGHT, STAGE, ICON and OUTFILE"
!endif
!if "${ARCH}" != "x64"
!if "${ARCH}" != "x86"
  !error "ARCH must be x64 or x86"
!endif
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Tarvesk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvesk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tarvesk"
!define SETTINGS_KEY "Software\Tarvesk"
; Every window of the main program (main window, About, Configuration) has this class.
!define WINDOW_CLASS "TarveskForm"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The installer carries the release's time (seconds since 1970) in its PE header, as the
; programs do: scripts/release passes -DPE_TIME=$SOURCE_DATE_EPOCH. (The uninstaller keeps
; the time of the installer system's own stub: stamping it too would make the installer
; carry a whole second stub, about 48 KB.)
!ifdef PE_TIME
  !finalize '"${__FILEDIR__}/stamp_pe_time" "%1" ${PE_TIME}' = 0
!endif
RequestExecutionLevel admin
; Crisp text on scaled displays: Windows does not stretch the pages' bitmap.
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
!if "${ARCH}" == "x64"
  !define DEFAULT_INSTDIR "$PROGRAMFILES64\${PRODUCT}"
!else
  !define DEFAULT_INSTDIR "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDir "${DEFAULT_INSTDIR}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup (${ARCH})"
VIAddVersionKey "InternalName" "${PRODUCT}-${ARCH}-setup"
VIAddVersionKey "OriginalFilename" "${PRODUCT}-${VERSION}-${ARCH}-setup.exe"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed on this computer.$\r$\n$\r$\nStart it from the Start menu: ${PRODUCT}.$\r$\n$\r$\nClick Finish to close Setup."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Waits until no window of the main program is left, asking the user to close it; gives
; up (aborts the install or uninstall) on Cancel. A silent run gives up at once.
!macro WAIT_UNTIL_TARVESK_CLOSED
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running.$\r$\n$\r$\nClose it (File, Exit in its window or in its tray icon's menu), then click Retry." /SD IDCANCEL IDRETRY`
      DetailPrint "${PRODUCT} is running; nothing was changed."
      Abort
    ${EndIf}
  ${Loop}
!macroend

; The registry view and the folders of this build: 64-bit programs register in the
; 64-bit view, and the shortcut is for all users.
!macro SELECT_VIEW
  SetShellVarContext all
  !if "${ARCH}" == "x64"
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

; The view in which the other build keeps its entries. A 32-bit Windows has one view only,
; so there the other build cannot be installed beside this one.
!if "${ARCH}" == "x64"
  !define OTHER_VIEW 32
  !define OTHER_DEFAULT_INSTDIR "$PROGRAMFILES32\${PRODUCT}"
!else
  !define OTHER_VIEW 64
  !define OTHER_DEFAULT_INSTDIR "$PROGRAMFILES64\${PRODUCT}"
!endif

; Deletes the machine-wide automatic start value in both views (the user's Run key is one
; for both builds).
!macro DELETE_RUN_VALUES
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} ${RunningX64}
    SetRegView ${OTHER_VIEW}
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro SELECT_VIEW
  ${EndIf}
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
!macroend

Function .onInit
  !if "${ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit ${PRODUCT}; this Windows is 32-bit. Use the x86 setup instead." /SD IDOK
      SetErrorLevel 4
      Quit
    ${EndIf}
  !endif
  !insertmacro SELECT_VIEW
  ; An update goes into the folder of the installed copy, unless another was asked for;
  ; one that replaces the other build goes into that build's folder if the user chose it
  ; (not that build's default, which is another Program Files folder).
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${AndIf} ${RunningX64}
    SetRegView ${OTHER_VIEW}
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    !insertmacro SELECT_VIEW
    ${If} $0 == "${OTHER_DEFAULT_INSTDIR}"
      StrCpy $0 ""
    ${EndIf}
  ${EndIf}
  ${If} $0 != ""
  ${AndIf} $INSTDIR == "${DEFAULT_INSTDIR}"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; Removes the other build, when it is installed: through its own uninstaller, silently,
; which keeps the user's settings, or, when that is missing, its entries alone. Its
; automatic start (machine-wide, or the user's) is registered again for this build's agent,
; as the Configuration dialog writes it, quoted. $R0 the other build's folder, $R1 and $R2
; whether Tarvesk started at log-on for every user (either build) and for this user.
Function RemoveOtherBuild
  ${IfNot} ${RunningX64}
    Return
  ${EndIf}
  SetRegView ${OTHER_VIEW}
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == ""
    !insertmacro SELECT_VIEW
    Return
  ${EndIf}
  DetailPrint "Removing the other build of ${PRODUCT} from $R0"
  ; Its uninstaller deletes the machine-wide values of both views, this build's too.
  StrCpy $R1 ""
  ClearErrors
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
    StrCpy $R1 "yes"
  ${EndIf}
  !insertmacro SELECT_VIEW
  ClearErrors
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
    StrCpy $R1 "yes"
  ${EndIf}
  SetRegView ${OTHER_VIEW}
  StrCpy $R2 ""
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
    StrCpy $R2 "yes"
  ${EndIf}
  ${If} ${FileExists} "$R0\Uninstall.exe"
    ; _?= runs it in place and waits for it; it cannot delete itself then.
    ExecWait '"$R0\Uninstall.exe" /S _?=$R0'
    Delete "$R0\Uninstall.exe"
    RMDir "$R0"
  ${EndIf}
  ; Whatever its uninstaller left (or when there was none).
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  !insertmacro SELECT_VIEW
  ${If} $R1 == "yes"
    WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\TarveskA.exe"'
  ${EndIf}
  ${If} $R2 == "yes"
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\TarveskA.exe"'
  ${EndIf}
FunctionEnd

Section "Install"
  !insertmacro WAIT_UNTIL_TARVESK_CLOSED
  Call RemoveOtherBuild

  SetOutPath "$INSTDIR"
  File "${STAGE}\Tarvesk.exe"
  File "${STAGE}\TarveskA.exe"
  File "${STAGE}\tarvesk.hlp"
  File "${STAGE}\tarvesk.html"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tarvesk.exe" "" "$INSTDIR\Tarvesk.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvesk.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  !insertmacro SELECT_VIEW
FunctionEnd

Section "Uninstall"
  !insertmacro WAIT_UNTIL_TARVESK_CLOSED

  ; Settings stay unless the user says otherwise; a silent run keeps them.
  StrCpy $1 "keep"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $2
  ${IfNot} ${Errors}
    StrCpy $1 "remove"
  ${ElseIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Keep your ${PRODUCT} settings?$\r$\n$\r$\nChoose Yes if you may install ${PRODUCT} again, No to remove them." /SD IDYES IDNO`
    StrCpy $1 "remove"
  ${EndIf}

  ; Windows would otherwise try to start the removed agent at every log-on. Tarvesk
  ; registers for the current user where it may not write the machine-wide value; a value
  ; of the other build (in the other registry view) would start an agent just as well.
  !insertmacro DELETE_RUN_VALUES

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  Delete "$INSTDIR\Tarvesk.exe"
  Delete "$INSTDIR\TarveskA.exe"
  Delete "$INSTDIR\tarvesk.hlp"
  Delete "$INSTDIR\tarvesk.html"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} $1 == "remove"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DetailPrint "Settings removed."
  ${Else}
    DetailPrint "Settings kept in HKEY_CURRENT_USER\${SETTINGS_KEY}."
  ${EndIf}
SectionEnd
