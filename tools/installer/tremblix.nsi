; Tremblix-setup.exe: puts Tremblix.scr and Tremblix.dll side by side in the
; 32-bit system folder, selects the screen saver and leaves an uninstaller.
; Built by the installer target (cmake/installer.cmake):
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAMS=<folder of both
;     programs> -DICON=<icon> -DOUTFILE=<setup.exe> tremblix.nsi

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!ifndef VERSION | PROGRAMS | ICON | OUTFILE
  !error "define VERSION, PROGRAMS, ICON and OUTFILE"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tremblix"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALLER "Tremblix-uninstall.exe"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_BROADCAST 3

Name "Tremblix"
OutFile "${OUTFILE}"
; The system folder is writable for administrators only.
RequestExecutionLevel admin
BrandingText "Tremblix ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 ProductName "Tremblix"
VIAddVersionKey /LANG=1041 CompanyName "Tremblix"
VIAddVersionKey /LANG=1041 FileDescription "Tremblix セットアップ"
VIAddVersionKey /LANG=1041 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 LegalCopyright "Tremblix"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TEXT "スクリーンセーバー Tremblix ${VERSION} をインストールします。$\r$\n$\r$\nインストール先は 32 ビットのシステム フォルダ$\r$\n$INSTDIR$\r$\nです。Tremblix.scr と Tremblix.dll をここに並べて置き、Tremblix をスクリーンセーバーに選びます。$\r$\n$\r$\n音楽は、画面のプロパティのスクリーンセーバーの「設定」ボタンで選べます。すでに選んである音楽 (Tremblix.ini) はそのまま残ります。$\r$\n$\r$\n実行するたびに、画面の画像を C:\ に保存します。このコンピュータを使う人は誰でも見ることができます:$\r$\nC:\Tremblix1.bmp ～ C:\Tremblix4.bmp$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Tremblix をインストールし、スクリーンセーバーに選びました。$\r$\n$\r$\n音楽は、画面のプロパティのスクリーンセーバーの「設定」ボタンで選べます。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "画面のプロパティを開く"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenDisplaySettings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferDisplaySettings
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Tremblix.scr と Tremblix.dll、実行のたびに C:\ に残った画面の画像 (C:\Tremblix1.bmp ～ C:\Tremblix4.bmp) を削除し、Tremblix が選ばれていればその選択を解除します。選んだ音楽 (Tremblix.ini) は残します。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; A 32-bit program on 64-bit Windows is shown System32 where the files land
; in SysWOW64. The registry is read by 64-bit Windows, so every path written
; there names SysWOW64.
Function .onInit
  System::Call 'kernel32::GetSystemWow64DirectoryW(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 = 0
    StrCpy $0 $SYSDIR
  ${EndIf}
  StrCpy $INSTDIR $0

  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP "Tremblix はシステム フォルダにインストールします。管理者として実行してください。" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd

Section "Tremblix" SecTremblix
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

  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Tremblix"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "Tremblix"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Tremblix.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  SectionGetSize ${SecTremblix} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0

  Call SelectSaver
SectionEnd

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

; The display settings, opened as the shell's Install verb of a .scr does:
;   rundll32.exe desk.cpl,InstallScreenSaver PATH
; On 64-bit Windows the verb runs the 64-bit rundll32, which a 32-bit program
; reaches through Sysnative. Wine has no desk.cpl: there the box is not
; offered, and the saver is selected all the same.
Var DisplaySettingsFolder

Function OfferDisplaySettings
  StrCpy $DisplaySettingsFolder $SYSDIR
  ${If} ${FileExists} "$WINDIR\Sysnative\desk.cpl"
    StrCpy $DisplaySettingsFolder "$WINDIR\Sysnative"
  ${EndIf}
  ${IfNot} ${FileExists} "$DisplaySettingsFolder\desk.cpl"
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function OpenDisplaySettings
  Exec '"$DisplaySettingsFolder\rundll32.exe" desk.cpl,InstallScreenSaver $INSTDIR\Tremblix.scr'
FunctionEnd

Function un.onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP "Tremblix をシステム フォルダから削除するには、管理者として実行してください。" /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Asked while the file is still there to tell its short name.
  Call un.ForgetSelection
  Delete /REBOOTOK "$INSTDIR\Tremblix.scr"
  Delete /REBOOTOK "$INSTDIR\Tremblix.dll"
  ; The pictures each run leaves; without a manifest Windows may have put a
  ; user's copies in their VirtualStore.
  ${ForEach} $0 1 4 + 1
    Delete "C:\Tremblix$0.bmp"
    Delete "$LOCALAPPDATA\VirtualStore\Tremblix$0.bmp"
  ${Next}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  ${If} ${RebootFlag}
    MessageBox MB_ICONINFORMATION "使用中のファイルは、コンピュータを再起動したときに削除されます。" /SD IDOK
  ${EndIf}
SectionEnd

; Only while the selected saver is still this one: another saver's stays.
Function un.ForgetSelection
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  ${If} $0 == ""
    Return
  ${EndIf}
  StrCpy $3 0
  ${If} $0 == "$INSTDIR\Tremblix.scr"
    StrCpy $3 1
  ${EndIf}
  ; The same file by any spelling: long or short, any case.
  GetFullPathName /SHORT $1 "$INSTDIR\Tremblix.scr"
  GetFullPathName /SHORT $2 $0
  ${If} $1 != ""
  ${AndIf} $2 == $1
    StrCpy $3 1
  ${EndIf}
  ${If} $3 = 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
    DetailPrint "スクリーンセーバーの選択を解除しました"
  ${EndIf}
FunctionEnd
