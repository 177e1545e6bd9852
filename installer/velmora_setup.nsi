; VelmoraSetup.exe and VelmoraSetup-x64.exe: install Velmora's 32-bit or
; x64 edition for the current machine and register an uninstaller. Built by
; the normal build of each edition:
;   makensis -DVERSION=<x.y.z> -DBIN=<folder of the built programs> -DHELP=<Velmora.chm>
;            -DICON=<velmora.ico> -DOUTFILE=<VelmoraSetup.exe> [-DX64] velmora_setup.nsi
;
; The x64 edition's setup program (-DX64) is itself a 64-bit program, like
; its Velmora.scr: nothing is redirected for it. $SYSDIR is the real system
; folder (System32), where the 64-bit Velmora.scr looks for its 64-bit
; Trapline.dll; $PROGRAMFILES64 is "Program Files"; its registry keys are in
; the 64-bit view, so its Apps & Features entry is its own beside one of the
; 32-bit edition. 32-bit Windows cannot start a 64-bit program at all (the
; system says so itself); where one is started all the same under a 32-bit
; system's compatibility layer, the setup program says it needs 64-bit
; Windows and ends. Everything below about Velmora.scr in the Windows folder
; and Velmora.ini holds for both editions.
;
; Where the files go, on 32-bit and on 64-bit Windows.
;
; The setup program is itself a 32-bit process, and so is Velmora.scr. On
; 64-bit Windows a 32-bit process that names the system folder
; (C:\Windows\System32, which is also what GetSystemDirectoryA tells it)
; is sent to C:\Windows\SysWOW64 by the file system redirector; the Windows
; folder itself is not redirected.
;
; - Velmora.scr goes to the Windows folder ($WINDIR). The screensaver
;   settings of Windows list the screensavers of the Windows folder on every
;   version, and it is the one such folder that a 64-bit program (the
;   settings dialog, Windows starting the screensaver) and a 32-bit one (this
;   setup program, Velmora.exe) name alike: SCRNSAVE.EXE then holds one path
;   that means the same file to all of them. Put into $SYSDIR by this 32-bit
;   setup program it would land in SysWOW64 on 64-bit Windows, while the
;   path it wrote would read "System32" to a 64-bit reader.
; - Trapline.dll goes to the system folder as this 32-bit process sees it
;   ($SYSDIR, redirection left on): System32 on 32-bit Windows, SysWOW64 on
;   64-bit Windows. Velmora.scr looks for it in GetSystemDirectoryA's folder,
;   which for the 32-bit Velmora.scr is redirected the same way, so it finds
;   the 32-bit library and never a 64-bit one it could not load.
; - Velmora.exe and Velmora.chm go to a Program Files folder: the 32-bit one
;   ($PROGRAMFILES, "Program Files (x86)" on 64-bit Windows). The program
;   opens its help file by bare name from its current folder, so the Start
;   menu shortcut starts it in its own folder.
; - Velmora.ini lives in the Windows folder, where the profile functions put
;   a bare file name; the setup program writes General/ProgramPath there.
;   Vista and later give a program that is not elevated, and whose manifest
;   says nothing of elevation, a copy of its own of a Windows-folder file
;   once it writes one (in the user's VirtualStore); both Velmora programs
;   are such programs, so they share that copy. The installing user's copy
;   is kept in step with the real file; other users' copies are out of reach.

!ifdef X64
Target amd64-unicode
!else
Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define PRODUCT "Velmora"
!define PUBLISHER "Kestrune"
; The installing user's copy of Velmora.ini on Vista and later (the shell
; folders must be the user's, not all users', where it is used).
!define USER_INI "$LOCALAPPDATA\VirtualStore\Windows\Velmora.ini"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define DESKTOP_KEY "Control Panel\Desktop"

; Removes ProgramPath from a settings file where it names this installation.
!macro ForgetProgramPath FILE
  ReadINIStr $0 "${FILE}" "General" "ProgramPath"
  ${If} $0 == "$INSTDIR\Velmora.exe"
    DeleteINIStr "${FILE}" "General" "ProgramPath"
  ${EndIf}
!macroend

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef X64
InstallDir "$PROGRAMFILES64\Velmora"
!else
InstallDir "$PROGRAMFILES\Velmora"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velmora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open the Velmora configuration program"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Section "Velmora (required)" SecProgram
  SectionIn RO
  SetOverwrite on

  SetOutPath "$INSTDIR"
  File "${BIN}\Velmora.exe"
  File "${HELP}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetOutPath "$WINDIR"
  File "${BIN}\Velmora.scr"
  SetOutPath "$SYSDIR"
  File "${BIN}\Trapline.dll"

  ; The first Settings press opens the program without asking for its folder.
  WriteINIStr "$WINDIR\Velmora.ini" "General" "ProgramPath" "$INSTDIR\Velmora.exe"
  ; The programs read the user's own copy where there is one.
  SetShellVarContext current
  ${If} ${FileExists} "${USER_INI}"
    WriteINIStr "${USER_INI}" "General" "ProgramPath" "$INSTDIR\Velmora.exe"
  ${EndIf}

  ; The shortcut's working folder is the folder current at its creation.
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Apps & Features shows the size in KB: the program folder and the two
  ; files in the Windows folders.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$WINDIR" "/M=Velmora.scr /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  ${GetSize} "$SYSDIR" "/M=Trapline.dll /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Make Velmora my screensaver" SecActivate
  ; What was there before, so that the uninstaller can put it back.
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${IfNot} ${Errors}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreensaver" $0
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${IfNot} ${Errors}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $0
  ${EndIf}

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$WINDIR\Velmora.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Section "un.Velmora (required)" SecUnProgram
  SectionIn RO

  ; The screensaver setting goes back to what it was, unless the user has
  ; chosen another screensaver since.
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${IfNot} ${Errors}
    ${GetFileName} $0 $1
    ${If} $1 == "Velmora.scr"
      ClearErrors
      ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreensaver"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
      ${EndIf}
      ClearErrors
      ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ; ProgramPath would name a program that is gone.
  SetShellVarContext current
  !insertmacro ForgetProgramPath "$WINDIR\Velmora.ini"
  !insertmacro ForgetProgramPath "${USER_INI}"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Velmora.lnk"
  Delete "$WINDIR\Velmora.scr"
  Delete "$SYSDIR\Trapline.dll"
  Delete "$INSTDIR\Velmora.exe"
  Delete "$INSTDIR\Velmora.chm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings" SecUnSettings
  Delete "$WINDIR\Velmora.ini"
  SetShellVarContext current
  Delete "${USER_INI}"
SectionEnd

!ifdef X64
Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "This setup program installs Velmora for 64-bit Windows, and this Windows is a 32-bit one.$\r$\nTake VelmoraSetup.exe, the setup program of the 32-bit edition." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd
!endif

; A silent uninstall keeps the settings too, unless /REMOVESETTINGS asks
; for the box to be ticked.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd
