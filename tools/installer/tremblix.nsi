; The installers of both editions, from one script:
;   EDITION=x86  Tremblix-setup-x86.exe, the 32-bit edition into the 32-bit
;                system folder (System32, or SysWOW64 on 64-bit Windows)
;   EDITION=x64  Tremblix-setup-x64.exe, the 64-bit edition into the real
;                System32 of 64-bit Windows
; Each puts Tremblix.scr and Tremblix.dll side by side, removes the other
; edition, selects the screen saver and leaves an uninstaller.
; Built by the installer target (cmake/installer.cmake):
;   makensis -INPUTCHARSET UTF8 -DEDITION=x64 -DVERSION=1.0.0
;     -DPROGRAMS=<folder of both programs> -DICON=<icon> -DOUTFILE=<setup.exe>
;     [-DSIGN=<tools/sign.sh>] tremblix.nsi
; With SIGN (the sign target, tools/sign-release.sh) the uninstaller is signed
; before it is packed in, and the installer once it is written.
;
; Rights: the installer starts as the user who runs it. Only the system
; folder and the machine's uninstall entry need an administrator, so that part
; runs in a copy of this program started with the "runas" verb and the switch
; /ELEVATED, and this process waits for it and takes its exit code. What
; belongs to the user (the saver selected, the display settings opened, the
; user's pictures) stays in this process: an administrator's copy may run as
; another account, and would open the display settings elevated.
; Exit codes: 0 done, 2 the programs could not be written, 3 the
; administrator's copy could not be started for another reason than a declined
; prompt (the reason is shown), 4 (the quiet uninstall only) the uninstaller's
; own file could be neither removed nor queued for the restart, 740 no
; administrator rights could be had, 3010 done, a file in use goes at the
; next restart.
;
; Every account that chose Tremblix is mended at its next logon when the
; programs leave the machine: an Active Setup component (ACTIVE_SETUP_KEY)
; whose command needs only what Windows has, its version raised at each
; removal so that accounts which ran it before run it again.

!ifndef EDITION | VERSION | PROGRAMS | ICON | OUTFILE
  !error "define EDITION (x86 or x64), VERSION, PROGRAMS, ICON and OUTFILE"
!endif

!if ${EDITION} == x64
  Target amd64-unicode
  !define BITS 64
  !define OTHER_BITS 32
!else if ${EDITION} == x86
  Target x86-unicode
  !define BITS 32
  !define OTHER_BITS 64
!else
  !error "EDITION is x86 or x64"
!endif

ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tremblix"
!define DESKTOP_KEY "Control Panel\Desktop"
!define POLICIES_KEY "Software\Microsoft\Windows\CurrentVersion\Policies\System"
!define UNINSTALLER "Tremblix-uninstall.exe"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_BROADCAST 3
!define ELEVATED_SWITCH "/ELEVATED"
!define ERROR_ELEVATION_REQUIRED 740
!define ERROR_CANCELLED 1223
!define EXIT_NO_ELEVATED_COPY 3
!define EXIT_UNINSTALLER_LEFT 4
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{148071DD-B072-49E3-8B81-93670AFFB2A8}"
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
; The companion (Tremblix.scr /w) starts at each account's logon from the
; account's own startup entries, where Task Manager lets the user turn it
; off. A second Active Setup component writes that entry into every account
; at its next logon, and takes it out again once the programs are removed;
; its version is raised each time so that every account runs it again.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define COMPANION_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{3B3BD63E-1E77-489B-BCDC-33876224C727}"
; Tells the uninstaller to do nothing but queue its own file for the restart:
; the quiet command's last step, where its delete left the file.
!define QUEUE_SELF_SWITCH "/QUEUESELF"
!define TokenElevationType 18
!define TokenElevationTypeFull 2

; SHELLEXECUTEINFOW as this edition lays it out: on x64 an int before a
; pointer is followed by four bytes of padding.
!if ${NSIS_PTR_SIZE} > 4
  !define SEI_SIZE 112
  !define SEI_PAD "i 0,"
  !define SEI_SKIP_PAD "i,"
!else
  !define SEI_SIZE 60
  !define SEI_PAD ""
  !define SEI_SKIP_PAD ""
!endif
; STARTUPINFOW and PROCESS_INFORMATION as this edition lays them out.
!if ${NSIS_PTR_SIZE} > 4
  !define STARTUPINFO_SIZE 104
  !define PROCESS_INFO_SIZE 24
!else
  !define STARTUPINFO_SIZE 68
  !define PROCESS_INFO_SIZE 16
!endif
!define SEE_MASK_NOCLOSEPROCESS 0x40
; Windows' own box for a failed start would stop a silent install: the
; installer tells the reason itself.
!define SEE_MASK_FLAG_NO_UI 0x400

Name "Tremblix"
OutFile "${OUTFILE}"
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
RequestExecutionLevel user
BrandingText "Tremblix ${VERSION} (${BITS} ビット)"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 ProductName "Tremblix"
VIAddVersionKey /LANG=1041 CompanyName "Tremblix"
VIAddVersionKey /LANG=1041 FileDescription "Tremblix セットアップ (${BITS} ビット版)"
VIAddVersionKey /LANG=1041 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 LegalCopyright "Tremblix"
VIAddVersionKey /LANG=1033 ProductName "Tremblix"
VIAddVersionKey /LANG=1033 CompanyName "Tremblix"
VIAddVersionKey /LANG=1033 FileDescription "Tremblix Setup (${BITS}-bit edition)"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 LegalCopyright "Tremblix"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

Var EditionNote

!define MUI_WELCOMEPAGE_TEXT "スクリーンセーバー Tremblix ${VERSION} (${BITS} ビット版) をインストールします。$EditionNote$\r$\n$\r$\nインストール先は ${BITS} ビットのシステム フォルダ$\r$\n$INSTDIR$\r$\nです。Tremblix.scr と Tremblix.dll をここに並べて置き、Tremblix をスクリーンセーバーに選びます。$\r$\n$\r$\n音楽は、画面のプロパティのスクリーンセーバーの「設定」ボタンで選べます。すでに選んである音楽 (Tremblix.ini) はそのまま残ります。$\r$\n$\r$\n実行するたびに画面の画像を 4 枚、次のフォルダに保存します。見ることができるのはあなただけです:$\r$\n$LOCALAPPDATA\Tremblix$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Tremblix をインストールし、スクリーンセーバーに選びました。$\r$\n$\r$\n音楽は、画面のプロパティのスクリーンセーバーの「設定」ボタンで選べます。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "画面のプロパティを開く"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenDisplaySettings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferDisplaySettings
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Tremblix.scr と Tremblix.dll、画面の画像 ($LOCALAPPDATA\Tremblix と、以前の版が C:\ に残したもの) を削除し、Tremblix が選ばれていればスクリーンセーバーを「なし」にします。選んだ音楽 (Tremblix.ini) は残します。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; --- Shared by the installer and the uninstaller ------------------------------

; $INSTDIR: where this edition lives. A 32-bit program on 64-bit Windows is
; shown System32 where the files land in SysWOW64; the registry is read by
; 64-bit Windows, so every path written there names SysWOW64.
!macro SetInstallFolder
  !if ${EDITION} == x64
    StrCpy $INSTDIR $SYSDIR
  !else
    System::Call 'kernel32::GetSystemWow64DirectoryW(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
    ${If} $1 = 0
      StrCpy $0 $SYSDIR
    ${EndIf}
    StrCpy $INSTDIR $0
  !endif
!macroend

; Appends to $R1 the names SCRNSAVE.EXE can give Tremblix.scr in folder
; FOLDER, each quoted: the long path and the short one, which the display
; settings and the installers write. $R3 is the long folder, $R4 the short.
!macro AddSaverNames folder
  StrCpy $R3 "${folder}"
  StrCpy $R1 `$R1 "$R3\Tremblix.scr"`
  GetFullPathName /SHORT $R4 $R3
  ${If} $R4 == ""
    StrCpy $R4 $R3
  ${EndIf}
  ${If} $R4 != $R3
    StrCpy $R1 `$R1 "$R4\Tremblix.scr"`
  ${EndIf}
!macroend

; The logon command of every account, written when the programs leave the
; machine, by the administrator's part. By then they are gone, so it needs
; only cmd.exe and reg.exe, and knows Tremblix by the text of SCRNSAVE.EXE,
; any case, never by the file. Where the value names Tremblix and the file it
; names is gone, it names the edition that is installed when the command
; runs, else no saver, off. A file still there (installed again since) keeps
; the choice. Both system folders are read with redirection off: the command
; runs in the 64-bit cmd.exe of 64-bit Windows.
!macro DefineWriteMendCommand un
Function ${un}WriteMendCommand
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  ; $R7 = 1 on 64-bit Windows.
  !if ${EDITION} == x64
    StrCpy $R7 1
  !else
    StrCpy $R7 0
    ${If} ${RunningX64}
      StrCpy $R7 1
    ${EndIf}
  !endif
  ${If} $R7 = 1
    SetRegView 64
    !if ${EDITION} == x86
      ${DisableX64FSRedirection}
    !endif
  ${EndIf}
  StrCpy $R0 "$WINDIR\System32\reg.exe"
  StrCpy $R5 `$R0 add "HKCU\${DESKTOP_KEY}" /v SCRNSAVE.EXE /f /d`
  StrCpy $R1 ""
  !insertmacro AddSaverNames "$WINDIR\System32"
  StrCpy $R6 `if exist "$R3\Tremblix.scr" ($R5 "$R4\Tremblix.scr" >nul 2>&1) else `
  ${If} $R7 = 1
    !insertmacro AddSaverNames "$WINDIR\SysWOW64"
    StrCpy $R6 `$R6if exist "$R3\Tremblix.scr" ($R5 "$R4\Tremblix.scr" >nul 2>&1) else `
    !if ${EDITION} == x86
      ${EnableX64FSRedirection}
    !endif
  ${EndIf}
  StrCpy $R6 `$R6($R0 delete "HKCU\${DESKTOP_KEY}" /v SCRNSAVE.EXE /f >nul 2>&1 & $R0 add "HKCU\${DESKTOP_KEY}" /v ScreenSaveActive /d 0 /f >nul 2>&1)`
  StrCpy $R6 `"$WINDIR\System32\cmd.exe" /d /q /s /c "for /f "tokens=2*" %a in ('$R0 query "HKCU\${DESKTOP_KEY}" /v SCRNSAVE.EXE 2^>nul') do for %n in ($R1) do (if /i "%b"==%n if not exist "%b" ($R6))"`

  ; Version "1,0,0,N": N counts the removals.
  ReadRegStr $R0 HKLM "${ACTIVE_SETUP_KEY}" Version
  StrLen $R2 $R0
  version_comma:
    IntOp $R2 $R2 - 1
    IntCmp $R2 0 0 version_number
    StrCpy $R3 $R0 1 $R2
    StrCmp $R3 "," version_number version_comma
  version_number:
  IntOp $R2 $R2 + 1
  StrCpy $R3 $R0 "" $R2
  IntOp $R3 $R3 + 1
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "Tremblix"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" ComponentID "Tremblix"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" StubPath $R6
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" Version "1,0,0,$R3"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" IsInstalled 1
  DetailPrint "ほかのアカウントのスクリーンセーバーは、次のログオンで直します (${ACTIVE_SETUP_KEY}, 1,0,0,$R3)"
  SetRegView ${BITS}
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro DefineWriteMendCommand ""
!insertmacro DefineWriteMendCommand "un."

; Ends every process, in every session, whose image is Tremblix.scr or
; Tremblix.dll in the folder on the stack: a running companion (every
; account's) holds Tremblix.scr open, a run both, and an image cannot be
; written or removed. Other accounts' processes are an administrator's only
; with the debugging privilege.
!macro DefineEndPrograms un
Function ${un}EndPrograms
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  System::Call 'advapi32::OpenProcessToken(p -1, i 0x28, *p .R1) i .R2'
  ${If} $R2 <> 0
    System::Call 'advapi32::LookupPrivilegeValueW(p 0, w "SeDebugPrivilege", *l .R3) i .R2'
    System::Call '*(i 1, l R3, i 2) p .R4'
    System::Call 'advapi32::AdjustTokenPrivileges(p R1, i 0, p R4, i 0, p 0, p 0)'
    System::Free $R4
    System::Call 'kernel32::CloseHandle(p R1)'
  ${EndIf}
  System::Alloc 16384
  Pop $R1
  System::Call 'psapi::EnumProcesses(p R1, i 16384, *i .R2) i .R3'
  ${If} $R3 <> 0
    IntOp $R2 $R2 / 4
    StrCpy $R3 0
    ${DoWhile} $R3 < $R2
      IntOp $R4 $R3 * 4
      IntPtrOp $R4 $R1 + $R4
      System::Call '*$R4(i .R5)'
      ; SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE
      System::Call 'kernel32::OpenProcess(i 0x100411, i 0, i R5) p .R6'
      ${If} $R6 P<> 0
        StrCpy $R7 ""
        ; Vista's call first: from a 32-bit installer it also names 64-bit images.
        System::Call 'kernel32::QueryFullProcessImageNameW(p R6, i 0, w .R7, *i ${NSIS_MAX_STRLEN}) i .R8'
        ; Not there (before Vista): "error", which counts as 0.
        ${If} $R8 = 0
          System::Call 'psapi::GetModuleFileNameExW(p R6, p 0, w .R7, i ${NSIS_MAX_STRLEN}) i .R8'
        ${EndIf}
        ${If} $R7 == "$R0\Tremblix.scr"
        ${OrIf} $R7 == "$R0\Tremblix.dll"
          DetailPrint "$R7 (プロセス $R5) を終了します"
          System::Call 'kernel32::TerminateProcess(p R6, i 0)'
          System::Call 'kernel32::WaitForSingleObject(p R6, i 5000)'
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p R6)'
      ${EndIf}
      IntOp $R3 $R3 + 1
    ${Loop}
  ${EndIf}
  System::Free $R1
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; The companion's logon component runs the command on the stack in every
; account at its next logon: the version "1,0,0,N" raised by one.
Function ${un}WriteCompanionComponent
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  !if ${EDITION} == x64
    SetRegView 64
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
  ReadRegStr $R1 HKLM "${COMPANION_SETUP_KEY}" Version
  StrLen $R2 $R1
  companion_version_comma:
    IntOp $R2 $R2 - 1
    IntCmp $R2 0 0 companion_version_number
    StrCpy $R3 $R1 1 $R2
    StrCmp $R3 "," companion_version_number companion_version_comma
  companion_version_number:
  IntOp $R2 $R2 + 1
  StrCpy $R3 $R1 "" $R2
  IntOp $R3 $R3 + 1
  WriteRegStr HKLM "${COMPANION_SETUP_KEY}" "" "Tremblix"
  WriteRegStr HKLM "${COMPANION_SETUP_KEY}" ComponentID "Tremblix companion"
  WriteRegStr HKLM "${COMPANION_SETUP_KEY}" StubPath $R0
  WriteRegStr HKLM "${COMPANION_SETUP_KEY}" Version "1,0,0,$R3"
  WriteRegDWORD HKLM "${COMPANION_SETUP_KEY}" IsInstalled 1
  SetRegView ${BITS}
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro DefineEndPrograms ""
!insertmacro DefineEndPrograms "un."

; The startup entry's command: the short path, which has no blank.
!macro CompanionCommand var
  GetFullPathName /SHORT ${var} "$INSTDIR\Tremblix.scr"
  ${If} ${var} == ""
    StrCpy ${var} "$INSTDIR\Tremblix.scr"
  ${EndIf}
  StrCpy ${var} "${var} /w"
!macroend

; Sets $0 to 1 in the administrator's copy this program started of itself.
!macro IsElevatedCopy
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "${ELEVATED_SWITCH}" $2
  ${If} ${Errors}
    StrCpy $0 0
  ${Else}
    StrCpy $0 1
  ${EndIf}
!macroend

Var ElevationFailure

; Runs PROGRAM (this program, or the installed uninstaller) with
; administrator rights for the part that needs them, waits for it and sets $0
; to its exit code. Before Vista there is no "runas" to ask with: an
; administrator does it here ($0 = -1), anyone else gets 740. $1: extra
; arguments for the copy.
!macro RunElevated program
  ${If} ${AtLeastWinVista}
    System::Call '*(i ${SEI_SIZE}, i ${SEE_MASK_NOCLOSEPROCESS}|${SEE_MASK_FLAG_NO_UI}, p $HWNDPARENT, w "runas", w "${program}", w "/S ${ELEVATED_SWITCH} $1", p 0, i 1, ${SEI_PAD} p 0, p 0, p 0, p 0, i 0, ${SEI_PAD} p 0, p 0) p .r9'
    System::Call 'shell32::ShellExecuteExW(p r9) i .r2 ?e'
    Pop $3
    ${If} $2 = 0
    ${AndIf} $3 = ${ERROR_CANCELLED}
      ; The user declined, or no administrator could be asked.
      DetailPrint "管理者の権限を得られませんでした (エラー $3)"
      StrCpy $0 ${ERROR_ELEVATION_REQUIRED}
    ${ElseIf} $2 = 0
      ; Anything else (this file unreadable for the administrator, say, on a
      ; network share) is not a matter of rights: its reason is told.
      System::Call 'kernel32::FormatMessageW(i 0x1200, p 0, i r3, i 0, w .r5, i ${NSIS_MAX_STRLEN}, p 0) i .r6'
      ${If} $6 = 0
        StrCpy $5 ""
      ${EndIf}
      ${Do}
        StrCpy $6 $5 1 -1
        ${If} $6 == "$\r"
        ${OrIf} $6 == "$\n"
        ${OrIf} $6 == " "
          StrCpy $5 $5 -1
        ${Else}
          ${ExitDo}
        ${EndIf}
      ${Loop}
      StrCpy $ElevationFailure "$5 (エラー $3)"
      DetailPrint "管理者の権限で実行するコピーを起動できませんでした: $ElevationFailure"
      StrCpy $0 ${EXIT_NO_ELEVATED_COPY}
    ${Else}
      System::Call '*$9(i, i, p, p, p, p, p, i, ${SEI_SKIP_PAD} p, p, p, p, i, ${SEI_SKIP_PAD} p, p .r4)'
      System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r0)'
      System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
    System::Free $9
  ${Else}
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
      StrCpy $0 -1
    ${Else}
      StrCpy $0 ${ERROR_ELEVATION_REQUIRED}
    ${EndIf}
  ${EndIf}
!macroend

; The administrator's copy refuses to go on without the rights it was started for.
!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
!macroend

; Tells the user why the administrator's part failed, sets the exit code and
; stops. $0: that part's exit code.
!macro ReportElevatedFailure what
  ${If} $0 = ${ERROR_ELEVATION_REQUIRED}
    MessageBox MB_ICONSTOP "Tremblix をシステム フォルダ${what}には、管理者の権限が必要です。管理者として実行してください。" /SD IDOK
  ${ElseIf} $0 = ${EXIT_NO_ELEVATED_COPY}
    MessageBox MB_ICONSTOP "Tremblix をシステム フォルダ${what}ため、管理者の権限でこのプログラムをもう一度起動しようとしましたが、起動できませんでした。$\r$\n$\r$\n$ElevationFailure" /SD IDOK
  ${ElseIf} $0 = 2
    MessageBox MB_ICONSTOP "$INSTDIR に Tremblix.scr と Tremblix.dll を書き込めませんでした。スクリーンセーバーが動いていれば終わらせてから、もう一度インストールしてください。" /SD IDOK
  ${Else}
    MessageBox MB_ICONSTOP "Tremblix をシステム フォルダ${what}ことができませんでした (コード $0)。" /SD IDOK
  ${EndIf}
  SetErrorLevel $0
  Abort
!macroend

; --- Installer -----------------------------------------------------------------

Var ElevatedCopy

Function .onInit
  !insertmacro SetInstallFolder
  !insertmacro IsElevatedCopy
  StrCpy $ElevatedCopy $0
  ${If} $ElevatedCopy = 1
    !insertmacro RequireAdmin
  ${EndIf}
  !if ${EDITION} == x86
    ${If} ${RunningX64}
      StrCpy $EditionNote "$\r$\n64 ビットの Windows には、64 ビット版 (Tremblix-setup-x64.exe) をお勧めします。"
    ${EndIf}
  !else
    StrCpy $EditionNote ""
  !endif
FunctionEnd

Section "Tremblix" SecTremblix
  ; $0 = -1: this process writes the system folder (it is the
  ; administrator's copy, or Windows has no "runas").
  StrCpy $0 -1
  ${If} $ElevatedCopy = 0
    DetailPrint "管理者の権限で $INSTDIR にインストールしています..."
    StrCpy $1 ""
    !insertmacro RunElevated "$EXEPATH"
  ${EndIf}

  ${If} $0 = -1
    Push $INSTDIR
    Call EndPrograms
    SetOutPath $INSTDIR
    ClearErrors
    File "${PROGRAMS}/Tremblix.scr"
    File "${PROGRAMS}/Tremblix.dll"
    ; A program that could not be replaced (it runs, say) would leave the pair
    ; mismatched: stop here and say so, also to a silent caller.
    ${If} ${Errors}
      MessageBox MB_ICONSTOP "$INSTDIR に Tremblix.scr と Tremblix.dll を書き込めませんでした。スクリーンセーバーが動いていれば終わらせてから、もう一度インストールしてください。" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
    ; Tremblix.ini beside them holds the user's music and is left as it is.
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    Call KeepUninstallerAtRestart
    Call WriteUninstallEntry
    Call RemoveOtherEdition
    !insertmacro CompanionCommand $1
    Push `"$WINDIR\System32\reg.exe" add "HKCU\${RUN_KEY}" /v Tremblix /d "$1" /f`
    Call WriteCompanionComponent
    ${If} $ElevatedCopy = 1
      ${If} ${RebootFlag}
        SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
      ${EndIf}
      Return
    ${EndIf}
  ${ElseIf} $0 = ${ERROR_SUCCESS_REBOOT_REQUIRED}
    SetRebootFlag true
  ${ElseIf} $0 <> 0
    !insertmacro ReportElevatedFailure "にインストールする"
  ${EndIf}
  DetailPrint "$INSTDIR: Tremblix.scr, Tremblix.dll, ${UNINSTALLER}"
  Call SelectSaver
  Call StartCompanion
  ; The administrator's copy's restart, or this process's own, is the caller's to know.
  ${If} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
SectionEnd

; An interactive uninstall leaves its own file for the restart to remove. An
; install before that restart takes it off Windows' list, or the restart
; would remove the uninstaller just written. The list is a REG_MULTI_SZ of
; pairs, a file and its new name (empty: removed).
!define SESSION_MANAGER_KEY "SYSTEM\CurrentControlSet\Control\Session Manager"
!define PENDING_VALUE "PendingFileRenameOperations"
Function KeepUninstallerAtRestart
  StrCpy $9 "\??\$INSTDIR\${UNINSTALLER}"
  ; HKEY_LOCAL_MACHINE; KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000002, w "${SESSION_MANAGER_KEY}", i 0, i 0x103, *p .r0) i .r1'
  ${If} $1 <> 0
    Return
  ${EndIf}
  System::Call 'advapi32::RegQueryValueExW(p r0, w "${PENDING_VALUE}", p 0, *i .r2, p 0, *i .r3) i .r1'
  ; REG_MULTI_SZ
  ${If} $1 = 0
  ${AndIf} $2 = 7
  ${AndIf} $3 > 0
    ; Room for two more empty strings, in case the list lacks its end.
    IntOp $1 $3 + 4
    System::Alloc $1
    Pop $4
    System::Alloc $1
    Pop $5
    System::Call 'advapi32::RegQueryValueExW(p r0, w "${PENDING_VALUE}", p 0, p 0, p r4, *i r3 r3) i .r1'
    IntPtrOp $8 $4 + $3
    System::Call '*$8(i 0)'
    ; $6 reads, $7 writes; $2 = 1 once a pair is left out.
    StrCpy $6 $4
    StrCpy $7 $5
    StrCpy $2 0
    ${DoWhile} $6 P< $8
      System::Call 'kernel32::lstrlenW(p r6) i .R0'
      ${If} $R0 = 0
        ${Break}
      ${EndIf}
      IntPtrOp $R1 $R0 + 1
      IntPtrOp $R1 $R1 * 2
      IntPtrOp $R2 $6 + $R1
      System::Call 'kernel32::lstrlenW(p R2) i .R3'
      IntPtrOp $R4 $R3 + 1
      IntPtrOp $R4 $R4 * 2
      IntPtrOp $R4 $R4 + $R1
      System::Call 'kernel32::lstrcmpiW(p r6, w r9) i .R5'
      ${If} $R5 = 0
      ${AndIf} $R3 = 0
        StrCpy $2 1
      ${Else}
        System::Call 'kernel32::RtlMoveMemory(p r7, p r6, p R4)'
        IntPtrOp $7 $7 + $R4
      ${EndIf}
      IntPtrOp $6 $6 + $R4
    ${Loop}
    ${If} $2 = 1
      ${If} $7 P= $5
        System::Call 'advapi32::RegDeleteValueW(p r0, w "${PENDING_VALUE}")'
      ${Else}
        System::Call '*$7(&i2 0)'
        IntPtrOp $7 $7 + 2
        IntPtrOp $1 $7 - $5
        System::Call 'advapi32::RegSetValueExW(p r0, w "${PENDING_VALUE}", i 0, i 7, p r5, i r1)'
      ${EndIf}
    ${EndIf}
    System::Free $4
    System::Free $5
  ${EndIf}
  System::Call 'advapi32::RegCloseKey(p r0)'
FunctionEnd

; Programs and Features lists the edition in its own registry view.
Function WriteUninstallEntry
  SetRegView ${BITS}
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Tremblix"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "Tremblix"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Tremblix.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"'
  ; The quiet command runs the installed uninstaller in place (_?=), never a
  ; copy in a %TEMP% another user could change (SYSTEM's is C:\Windows\Temp),
  ; and waits for it. A failed uninstall ends there with its code, its
  ; uninstaller kept. Else the command deletes the uninstaller and looks
  ; whether it is gone (del's own code says nothing of that); a file still
  ; there is queued for the restart by the uninstaller itself, which then
  ; ends with 3010, or with why it could not. Its cmd.exe is the edition's
  ; own: everything it starts lies in that one folder.
  StrCpy $0 "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString `"$INSTDIR\cmd.exe" /d /q /v:on /s /c ""$0" /S _?=$INSTDIR& set rc=!errorlevel!& (if !rc! neq 0 if !rc! neq ${ERROR_SUCCESS_REBOOT_REQUIRED} exit !rc!)& del "$0" >nul 2>&1& (if exist "$0" ("$0" /S ${QUEUE_SELF_SWITCH} _?=$INSTDIR& set rc=!errorlevel!& if !rc! equ 0 set rc=${EXIT_UNINSTALLER_LEFT}))& exit !rc!"`
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  SectionGetSize ${SecTremblix} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
FunctionEnd

; Both editions in the system folders would show Tremblix twice in the
; screen-saver list: the other one goes, its programs, uninstaller and entry.
; Its Tremblix.ini stays (the 64-bit edition takes the 32-bit one's choice
; over from it).
Function RemoveOtherEdition
  !if ${EDITION} == x64
    StrCpy $0 "$WINDIR\SysWOW64"
  !else
    ${IfNot} ${RunningX64}
      Return
    ${EndIf}
    ; The real System32, with redirection off: a removal queued for the
    ; restart is done by 64-bit Windows, which knows no Sysnative.
    StrCpy $0 "$WINDIR\System32"
    ${DisableX64FSRedirection}
  !endif
  Push $0
  Call EndPrograms
  StrCpy $1 0
  ${If} ${FileExists} "$0\Tremblix.scr"
  ${OrIf} ${FileExists} "$0\Tremblix.dll"
  ${OrIf} ${FileExists} "$0\${UNINSTALLER}"
    DetailPrint "${OTHER_BITS} ビット版を削除します: $0"
    StrCpy $1 1
  ${EndIf}
  Delete /REBOOTOK "$0\Tremblix.scr"
  Delete /REBOOTOK "$0\Tremblix.dll"
  Delete /REBOOTOK "$0\${UNINSTALLER}"
  !if ${EDITION} == x86
    ${EnableX64FSRedirection}
  !endif
  ${If} $1 = 1
    Call WriteMendCommand
  ${EndIf}
  SetRegView ${OTHER_BITS}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetRegView ${BITS}
FunctionEnd

; What the display settings write when the user picks a saver: its short path.
; Windows keeps its own copy of the on/off switch, hence the call beside the value.
Function SelectSaver
  GetFullPathName /SHORT $0 "$INSTDIR\Tremblix.scr"
  ${If} $0 == ""
    StrCpy $0 "$INSTDIR\Tremblix.scr"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE $0
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_BROADCAST})'
  WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive 1
  DetailPrint "スクリーンセーバー: $0"
FunctionEnd

; The companion of this user: its startup entry, and started at once from
; this, the user's own process. Not where the user started the installer
; elevated, nor as SYSTEM (a deployment tool): it would run with those
; rights, or in no one's session; it starts at the next logon.
Function StartCompanion
  !insertmacro CompanionCommand $1
  StrCpy $2 $PROFILE
  StrLen $3 "\config\systemprofile"
  StrCpy $2 $2 "" -$3
  ${If} $2 == "\config\systemprofile"
    Return
  ${EndIf}
  WriteRegStr HKCU "${RUN_KEY}" Tremblix $1
  Call IsElevatedByUac
  ${If} $0 = 1
    DetailPrint "Tremblix.scr /w は次のログオンで起動します"
    Return
  ${EndIf}
  ; It inherits no handle: a caller that reads the installer's output would
  ; wait for the companion's end.
  System::Alloc ${STARTUPINFO_SIZE}
  Pop $2
  ; STARTF_USESTDHANDLES, each of them none.
  System::Call '*$2(i ${STARTUPINFO_SIZE}, ${SEI_PAD} p 0, p 0, p 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0x100)'
  System::Alloc ${PROCESS_INFO_SIZE}
  Pop $3
  System::Call 'kernel32::CreateProcessW(w "$INSTDIR\Tremblix.scr", w `"$INSTDIR\Tremblix.scr" /w`, p 0, p 0, i 0, i 0, p 0, p 0, p r2, p r3) i .r4'
  ${If} $4 <> 0
    System::Call '*$3(p .r5, p .r6)'
    System::Call 'kernel32::CloseHandle(p r5)'
    System::Call 'kernel32::CloseHandle(p r6)'
  ${EndIf}
  System::Free $2
  System::Free $3
  DetailPrint "起動しました: Tremblix.scr /w"
FunctionEnd

; The display settings, opened as the shell's Install verb of a .scr does:
;   rundll32.exe desk.cpl,InstallScreenSaver PATH
; from this process, the user's. Where the user started the installer itself
; elevated (UAC on and this token the elevated one) nothing here could start
; it unelevated, so it is not offered; the saver is selected all the same.
; Wine has no desk.cpl: there the box is not offered either.
Var DisplaySettingsFolder

Function OfferDisplaySettings
  !if ${EDITION} == x64
    StrCpy $DisplaySettingsFolder $SYSDIR
  !else
    ; The verb runs the 64-bit rundll32, which a 32-bit program reaches
    ; through Sysnative.
    StrCpy $DisplaySettingsFolder $SYSDIR
    ${If} ${FileExists} "$WINDIR\Sysnative\desk.cpl"
      StrCpy $DisplaySettingsFolder "$WINDIR\Sysnative"
    ${EndIf}
  !endif
  Call IsElevatedByUac
  ${If} $0 = 1
  ${OrIfNot} ${FileExists} "$DisplaySettingsFolder\desk.cpl"
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    StrCpy $DisplaySettingsFolder ""
  ${EndIf}
FunctionEnd

; $0 = 1 when this process runs with the elevated half of a UAC split token.
; With UAC off (EnableLUA 0) there is no other half: the user's own programs
; run with this very token.
Function IsElevatedByUac
  StrCpy $0 0
  ${IfNot} ${AtLeastWinVista}
    Return
  ${EndIf}
  !if ${EDITION} == x86
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !else
    SetRegView 64
  !endif
  ClearErrors
  ReadRegDWORD $1 HKLM "${POLICIES_KEY}" EnableLUA
  SetRegView ${BITS}
  ${If} ${Errors}
    StrCpy $1 1
  ${EndIf}
  ${If} $1 = 0
    Return
  ${EndIf}
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r2) i .r3'
  ${If} $3 = 0
    Return
  ${EndIf}
  System::Call 'advapi32::GetTokenInformation(p r2, i ${TokenElevationType}, *i .r4, i 4, *i .r5) i .r3'
  System::Call 'kernel32::CloseHandle(p r2)'
  ${If} $3 <> 0
  ${AndIf} $4 = ${TokenElevationTypeFull}
    StrCpy $0 1
  ${EndIf}
FunctionEnd

Function OpenDisplaySettings
  ${If} $DisplaySettingsFolder != ""
    Exec '"$DisplaySettingsFolder\rundll32.exe" desk.cpl,InstallScreenSaver $INSTDIR\Tremblix.scr'
  ${EndIf}
FunctionEnd

; --- Uninstaller ---------------------------------------------------------------

; Tells the administrator's copy that no caller will delete the uninstaller
; after it: it queues its own file for the restart.
!define SELF_AT_RESTART_SWITCH "/SELFATRESTART"
!define MOVEFILE_DELAY_UNTIL_REBOOT 4

Var UnElevatedCopy
Var UnSelfAtRestart
Var UnSelectedTremblix

Function un.onInit
  SetRegView ${BITS}
  !insertmacro IsElevatedCopy
  StrCpy $UnElevatedCopy $0
  ${If} $UnElevatedCopy = 1
    !insertmacro RequireAdmin
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "${SELF_AT_RESTART_SWITCH}" $2
  ${If} ${Errors}
    StrCpy $UnSelfAtRestart 0
  ${Else}
    StrCpy $UnSelfAtRestart 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "${QUEUE_SELF_SWITCH}" $2
  ${IfNot} ${Errors}
    Call un.QueueOwnFileAndQuit
  ${EndIf}
FunctionEnd

; Queues the installed uninstaller for removal at the restart, in the
; administrator's part (Windows keeps that list for the machine), and ends
; with 3010 once Windows has taken it, else with why not.
Function un.QueueOwnFileAndQuit
  ${If} $UnElevatedCopy = 0
    StrCpy $1 "${QUEUE_SELF_SWITCH} _?=$INSTDIR"
    !insertmacro RunElevated "$INSTDIR\${UNINSTALLER}"
    ${If} $0 <> -1
      SetErrorLevel $0
      Quit
    ${EndIf}
  ${EndIf}
  System::Call 'kernel32::MoveFileExW(w "$INSTDIR\${UNINSTALLER}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .r0'
  ${If} $0 <> 0
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${Else}
    SetErrorLevel ${EXIT_UNINSTALLER_LEFT}
  ${EndIf}
  Quit
FunctionEnd

; $0 = 1 when this process is the installed uninstaller, run in place (_?=),
; and not the copy in %TEMP% it hands over to when run by itself.
Function un.RunsInPlace
  StrCpy $0 0
  ${If} $EXEPATH == "$INSTDIR\${UNINSTALLER}"
    StrCpy $0 1
    Return
  ${EndIf}
  GetFullPathName /SHORT $1 $EXEPATH
  GetFullPathName /SHORT $2 "$INSTDIR\${UNINSTALLER}"
  ${If} $1 != ""
  ${AndIf} $1 == $2
    StrCpy $0 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  StrCpy $0 -1
  ${If} $UnElevatedCopy = 0
    ; Asked while the file is still there to tell its short name.
    Call un.SelectionNamesTremblix
    ; Run in place, this uninstaller is its caller's to delete (the quiet
    ; command); a copy's original is left to the administrator's copy.
    Call un.RunsInPlace
    StrCpy $1 "_?=$INSTDIR"
    ${If} $0 = 0
      StrCpy $1 "${SELF_AT_RESTART_SWITCH} $1"
    ${EndIf}
    ; The installed file, which only an administrator can change, in place:
    ; never this process's own file, which may be a copy in the user's %TEMP%.
    !insertmacro RunElevated "$INSTDIR\${UNINSTALLER}"
  ${EndIf}

  ${If} $0 = -1
    Call un.RemovePrograms
    ${If} $UnElevatedCopy = 1
      ${If} ${RebootFlag}
        SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
      ${EndIf}
      Return
    ${EndIf}
  ${ElseIf} $0 = ${ERROR_SUCCESS_REBOOT_REQUIRED}
    SetRebootFlag true
  ${ElseIf} $0 <> 0
    !insertmacro ReportElevatedFailure "から削除する"
  ${EndIf}
  DetailPrint "$INSTDIR から Tremblix.scr と Tremblix.dll を削除しました"

  ${If} $UnSelectedTremblix = 1
    Call un.SwitchSaverOff
  ${EndIf}
  DeleteRegValue HKCU "${RUN_KEY}" Tremblix
  ; This user's pictures of every monitor, each with its file for the next
  ; run's write and one cut short, and the list of them; the folder goes
  ; once nothing else is in it.
  Delete "$LOCALAPPDATA\Tremblix\Tremblix*.bmp*"
  Delete "$LOCALAPPDATA\Tremblix\Tremblix.monitors"
  Delete "$LOCALAPPDATA\Tremblix\Tremblix.monitors.tmp"
  RMDir "$LOCALAPPDATA\Tremblix"
  ; Earlier versions wrote them to C:\; without a manifest Windows may have
  ; put this user's copies in their VirtualStore.
  ${ForEach} $0 1 4 + 1
    Delete "$LOCALAPPDATA\VirtualStore\Tremblix$0.bmp"
  ${Next}
  ${If} ${RebootFlag}
    MessageBox MB_ICONINFORMATION "使用中のファイルは、コンピュータを再起動したときに削除されます。" /SD IDOK
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
SectionEnd

; The administrator's part: both programs, the pictures earlier versions left
; in C:\ (any user's), the entry and the uninstaller itself.
Function un.RemovePrograms
  Push $INSTDIR
  Call un.EndPrograms
  Push `"$WINDIR\System32\reg.exe" delete "HKCU\${RUN_KEY}" /v Tremblix /f`
  Call un.WriteCompanionComponent
  Delete /REBOOTOK "$INSTDIR\Tremblix.scr"
  Delete /REBOOTOK "$INSTDIR\Tremblix.dll"
  ${ForEach} $0 1 4 + 1
    Delete "C:\Tremblix$0.bmp"
  ${Next}
  SetRegView ${BITS}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Call un.RemoveOwnFile
  Call un.WriteMendCommand
FunctionEnd

; A copy deletes the installed uninstaller. Run in place it cannot: it
; leaves its file to its caller, or queues it for the restart when told
; nobody will delete it. Nothing runs it then, so no restart is asked for.
; (It cannot rename itself first: it holds its own file open to read it.)
Function un.RemoveOwnFile
  Call un.RunsInPlace
  ${If} $0 = 0
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  ${ElseIf} $UnSelfAtRestart = 1
    System::Call 'kernel32::MoveFileExW(w "$INSTDIR\${UNINSTALLER}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT})'
  ${EndIf}
FunctionEnd

; $UnSelectedTremblix = 1 while the selected saver is this one, by any
; spelling: long or short, any case. Another saver's selection stays.
Function un.SelectionNamesTremblix
  StrCpy $UnSelectedTremblix 0
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  ${If} $0 == ""
    Return
  ${EndIf}
  ${If} $0 == "$INSTDIR\Tremblix.scr"
    StrCpy $UnSelectedTremblix 1
  ${EndIf}
  GetFullPathName /SHORT $1 "$INSTDIR\Tremblix.scr"
  GetFullPathName /SHORT $2 $0
  ${If} $1 != ""
  ${AndIf} $2 == $1
    StrCpy $UnSelectedTremblix 1
  ${EndIf}
FunctionEnd

; What choosing "(None)" in the display settings does: no saver named, and
; the saver off, in Windows' own copy of the switch as in the registry.
Function un.SwitchSaverOff
  DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_BROADCAST})'
  WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive 0
  DetailPrint "スクリーンセーバーを「なし」にしました"
FunctionEnd
