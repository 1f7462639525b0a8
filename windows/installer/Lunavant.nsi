; SPDX-License-Identifier: MIT
; The per-user installer of the Lunavant add-in, one for both widths of the host: no administrator
; rights, into the user's programs folder, the 32-bit add-in and its converter there and (on 64-bit
; Windows) the 64-bit ones in its x64 folder, each registered for this user by its own
; DllRegisterServer in its own registry view, so whichever host the user has finds a class of its
; width; one entry in the user's list of installed programs, and an uninstaller that takes back
; every file and key of both. Built by CMake (windows/installer/CMakeLists.txt):
;   makensis -DVERSION=x.y.z -DBIN32=<folder of the 32-bit Lunavant.dll>
;            -DBIN64=<folder of the 64-bit one> -DFACES=<folder of the button faces>
;            -DABOUT_URL=<the product's web page> -DOUTFILE=<setup.exe>
; Exit codes, silent or not: 0 done; 1 cancelled by the user; 2 the add-in could not be
; registered (nothing is installed); 3 a running host holds the add-in (nothing is changed: close
; the scheduler and retry).
Unicode true
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include MUI2.nsh

!ifndef VERSION | BIN32 | BIN64 | FACES | ABOUT_URL | OUTFILE
  !error "define VERSION, BIN32, BIN64, FACES, ABOUT_URL and OUTFILE"
!endif

!define PRODUCT "Lunavant"
!define PUBLISHER "Lunavant"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
!define HOST_KEY "Software\Microsoft\Office"
!define ADDIN_KEY "${HOST_KEY}\MS Project\Addins\Lunavant.Connect"
!define CLASS_KEY "Software\Classes\CLSID\{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}"
!define PROGID_KEY "Software\Classes\Lunavant.Connect"
!define FOLDER_64 "x64"
!define EXIT_NOT_REGISTERED 2
!define EXIT_IN_USE 3

Name "${PRODUCT}" "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; A second installation goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be written stops the installation rather than leave the old one in place.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License"

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${PRODUCT} shows the task dates of your project schedules in the Hijri (Umm al-Qura) calendar beside their Gregorian dates.$\r$\n$\r$\nSetup installs it for you alone, for the 32-bit and the 64-bit scheduler alike; no administrator rights are needed.$\r$\n$\r$\nClose the scheduler before you continue.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} ${VERSION} is installed"
!define MUI_FINISHPAGE_TEXT "Start the scheduler: ${PRODUCT} connects at its start. Show its toolbar with View > Toolbars > ${PRODUCT}.$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Runs regsvr32 of width BITS on DLL with ARGS; its exit code in $0. Setup is a 32-bit program:
; for the 64-bit DLL it turns off the file system redirection, so $SYSDIR is the 64-bit System32.
!macro Regsvr32 BITS ARGS DLL
  !if "${BITS}" == "64"
    ${DisableX64FSRedirection}
  !endif
  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s ${ARGS} "${DLL}"' $0
  ${If} ${Errors}
    StrCpy $0 "not started"
  ${EndIf}
  !if "${BITS}" == "64"
    ${EnableX64FSRedirection}
  !endif
!macroend

; Sets $0 to PATH when a running program holds it (a host that loaded the add-in or its
; converter): Windows then refuses to open it for writing. $0 stays as it is otherwise.
!macro NoteWhenHeld PATH
  ${If} $0 == ""
  ${AndIf} ${FileExists} "${PATH}"
    ClearErrors
    FileOpen $1 "${PATH}" a
    ${If} ${Errors}
      StrCpy $0 "${PATH}"
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
!macroend

; Waits, before anything is changed, until no host holds a file of either width: the user closes
; the scheduler and retries, or cancels, and then nothing has changed (silently: exit code 3).
!macro WaitUntilNoHostHolds un WHAT
Function ${un}WaitUntilNoHostHolds
  ${Do}
    StrCpy $0 ""
    !insertmacro NoteWhenHeld "$INSTDIR\Lunavant.dll"
    !insertmacro NoteWhenHeld "$INSTDIR\Orbelune.dll"
    !insertmacro NoteWhenHeld "$INSTDIR\${FOLDER_64}\Lunavant.dll"
    !insertmacro NoteWhenHeld "$INSTDIR\${FOLDER_64}\Orbelune.dll"
    ${If} $0 == ""
      Return
    ${EndIf}
    DetailPrint "In use: $0"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} cannot be ${WHAT} while the scheduler holds it:$\r$\n$0$\r$\n$\r$\nClose the scheduler and retry. Nothing has been changed." /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_IN_USE}
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitUntilNoHostHolds "" "updated"
!insertmacro WaitUntilNoHostHolds "un." "removed"

; Unregisters both widths and removes what either registration wrote, in both registry views
; (the add-in's record is shared by both); the keys are the add-in's alone.
!macro Unregister un
Function ${un}Unregister
  ${If} ${RunningX64}
  ${AndIf} ${FileExists} "$INSTDIR\${FOLDER_64}\Lunavant.dll"
    !insertmacro Regsvr32 64 "/u" "$INSTDIR\${FOLDER_64}\Lunavant.dll"
    DetailPrint "regsvr32 /u (64-bit): $0"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Lunavant.dll"
    !insertmacro Regsvr32 32 "/u" "$INSTDIR\Lunavant.dll"
    DetailPrint "regsvr32 /u (32-bit): $0"
  ${EndIf}
  ; What an unregistration that failed, or an older installation of the other width, left.
  ${If} ${RunningX64}
    SetRegView 64
    !insertmacro DeleteOurKeys
  ${EndIf}
  SetRegView 32
  !insertmacro DeleteOurKeys
  SetRegView default
FunctionEnd
!macroend
; The add-in's registration made the host's add-ins key when there was none (no host yet): it
; goes when nothing else is in it.
!macro DeleteHostKeysWhenEmpty
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}\MS Project\Addins"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}\MS Project"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}"
!macroend
!macro DeleteOurKeys
  DeleteRegKey HKCU "${ADDIN_KEY}"
  DeleteRegKey HKCU "${CLASS_KEY}"
  DeleteRegKey HKCU "${PROGID_KEY}"
!macroend
!insertmacro Unregister ""
!insertmacro Unregister "un."

!macro RemoveFiles
  !insertmacro RemoveAddInFiles
  !insertmacro RemoveUninstallerAndFolders
!macroend
!macro RemoveAddInFiles
  !insertmacro RemoveFilesIn "$INSTDIR\${FOLDER_64}"
  !insertmacro RemoveFilesIn "$INSTDIR"
!macroend
!macro RemoveUninstallerAndFolders
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: what the user put there stays. The programs folder goes too when nothing
  ; else is in it; Windows makes it again for the next program that needs it.
  RMDir "$INSTDIR\${FOLDER_64}"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
!macroend
!macro RemoveFilesIn FOLDER
  Delete "${FOLDER}\Lunavant.dll"
  Delete "${FOLDER}\Orbelune.dll"
  Delete "${FOLDER}\Lunavant_Add.bmp"
  Delete "${FOLDER}\Lunavant_Remove.bmp"
  Delete "${FOLDER}\Lunavant_Refresh.bmp"
!macroend

!macro InstallFiles BIN FOLDER
  SetOutPath "${FOLDER}"
  File "${BIN}/Lunavant.dll"
  File "${BIN}/Orbelune.dll"
  File "${FACES}/Lunavant_Add.bmp"
  File "${FACES}/Lunavant_Remove.bmp"
  File "${FACES}/Lunavant_Refresh.bmp"
!macroend

; Takes back a failed installation and ends Setup: whatever the registrations wrote, the files and
; (for an update) the entry of the installation before go, so no add-in is left that points at
; nothing.
!macro GiveUp WIDTH
  StrCpy $1 $0
  DetailPrint "Registering the ${WIDTH} add-in failed: regsvr32 exited $1."
  Call Unregister
  SetOutPath "$TEMP"
  !insertmacro RemoveFiles
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  !insertmacro DeleteHostKeysWhenEmpty
  MessageBox MB_OK|MB_ICONSTOP "The ${WIDTH} add-in could not be registered (regsvr32 exited $1). ${PRODUCT} is not installed." /SD IDOK
  SetErrorLevel ${EXIT_NOT_REGISTERED}
  Quit
!macroend

Section "Lunavant"
  Call WaitUntilNoHostHolds
  !insertmacro InstallFiles "${BIN32}" "$INSTDIR"
  ${If} ${RunningX64}
    !insertmacro InstallFiles "${BIN64}" "$INSTDIR\${FOLDER_64}"
  ${EndIf}
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  !insertmacro Regsvr32 32 "" "$INSTDIR\Lunavant.dll"
  ${If} $0 != 0
    !insertmacro GiveUp "32-bit"
  ${EndIf}
  ${If} ${RunningX64}
    !insertmacro Regsvr32 64 "" "$INSTDIR\${FOLDER_64}\Lunavant.dll"
    ${If} $0 != 0
      !insertmacro GiveUp "64-bit"
    ${EndIf}
  ${EndIf}

  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${UNINSTALLER},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${ABOUT_URL}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.WaitUntilNoHostHolds
  Call un.Unregister
  ; The uninstaller cannot delete its own folder while it runs there.
  SetOutPath "$TEMP"
  !insertmacro RemoveAddInFiles
  ; A file a host took in the meantime stays: the uninstaller and its entry stay with it, so the
  ; user can retry.
  ${If} ${FileExists} "$INSTDIR\Lunavant.dll"
  ${OrIf} ${FileExists} "$INSTDIR\Orbelune.dll"
  ${OrIf} ${FileExists} "$INSTDIR\${FOLDER_64}\Lunavant.dll"
  ${OrIf} ${FileExists} "$INSTDIR\${FOLDER_64}\Orbelune.dll"
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} could not be removed completely: the scheduler holds it. Close the scheduler and run the uninstaller again." /SD IDOK
    SetErrorLevel ${EXIT_IN_USE}
    Quit
  ${EndIf}
  !insertmacro RemoveUninstallerAndFolders
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  !insertmacro DeleteHostKeysWhenEmpty
SectionEnd
