; SPDX-License-Identifier: MIT
; The per-user installer of the Lunavant add-in: no administrator rights, into the user's programs
; folder, the add-in registered for this user by its own DllRegisterServer, an entry in the user's
; list of installed programs, and an uninstaller that takes back every file and key. Built by
; CMake (windows/installer/CMakeLists.txt):
;   makensis -DARCH=32|64 -DVERSION=x.y.z -DBIN_DIR=<folder of Lunavant.dll> -DOUTFILE=<setup.exe>
; ARCH=64 makes the variant for 64-bit hosts: the same 32-bit installer program, which registers
; the 64-bit DLL with the 64-bit regsvr32.
Unicode true
!include LogicLib.nsh
!include x64.nsh
!include MUI2.nsh

!ifndef ARCH | VERSION | BIN_DIR | OUTFILE
  !error "define ARCH, VERSION, BIN_DIR and OUTFILE"
!endif
!if "${ARCH}" != "32"
!if "${ARCH}" != "64"
  !error "ARCH is 32 or 64"
!endif
!endif

!define PRODUCT "Lunavant"
!define PUBLISHER "Lunavant"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
!define HOST_KEY "Software\Microsoft\Office"

Name "${PRODUCT} ${VERSION} (${ARCH}-bit)"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; A second installation goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A DLL the running host holds cannot be replaced: the update stops there (Retry once the host is
; closed) rather than leave the old add-in and report success.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${ARCH}-bit installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Runs regsvr32 of the DLL's own width on Lunavant.dll in $INSTDIR with ARGS; its exit code in
; $0. The installer is a 32-bit program: for the 64-bit DLL it turns off the file system
; redirection, so $SYSDIR is the 64-bit System32.
!macro Regsvr32 ARGS
  !if "${ARCH}" == "64"
    ${DisableX64FSRedirection}
  !endif
  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s ${ARGS} "$INSTDIR\Lunavant.dll"' $0
  ${If} ${Errors}
    StrCpy $0 "not started"
  ${EndIf}
  !if "${ARCH}" == "64"
    ${EnableX64FSRedirection}
  !endif
!macroend

!macro RemoveFiles
  Delete "$INSTDIR\Lunavant.dll"
  Delete "$INSTDIR\Orbelune.dll"
  Delete "$INSTDIR\Lunavant_Add.bmp"
  Delete "$INSTDIR\Lunavant_Remove.bmp"
  Delete "$INSTDIR\Lunavant_Refresh.bmp"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: what the user put there stays. The programs folder goes too when nothing
  ; else is in it; Windows makes it again for the next program that needs it.
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
!macroend

; The keys in the registry view of the DLL, as its registration writes them.
!macro UseTheDllsRegistryView
  !if "${ARCH}" == "64"
    SetRegView 64
  !endif
!macroend

Function .onInit
  !if "${ARCH}" == "64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This installer is for 64-bit Windows. Use the 32-bit installer." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  !endif
  !insertmacro UseTheDllsRegistryView
FunctionEnd

Function un.onInit
  !insertmacro UseTheDllsRegistryView
FunctionEnd

Section "Lunavant"
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/Lunavant.dll"
  File "${BIN_DIR}/Orbelune.dll"
  File "${BIN_DIR}/Lunavant_Add.bmp"
  File "${BIN_DIR}/Lunavant_Remove.bmp"
  File "${BIN_DIR}/Lunavant_Refresh.bmp"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  !insertmacro Regsvr32 ""
  ${If} $0 != 0
    ; Whatever the registration wrote, the files and (for an update) the entry of the installation
    ; before go: a failed installation leaves no add-in behind that points at nothing.
    StrCpy $1 $0
    DetailPrint "Registering the add-in failed: regsvr32 exited $1."
    !insertmacro Regsvr32 "/u"
    SetOutPath "$TEMP"
    !insertmacro RemoveFiles
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    MessageBox MB_OK|MB_ICONSTOP "The add-in could not be registered (regsvr32 exited $1). Lunavant is not installed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro Regsvr32 "/u"
  ${If} $0 != 0
    ; The files go all the same: a registration left behind points at nothing and the host skips it.
    DetailPrint "Unregistering the add-in failed: regsvr32 exited $0."
    SetErrorLevel 2
  ${EndIf}
  ; The uninstaller cannot delete its own folder while it runs there.
  SetOutPath "$TEMP"
  !insertmacro RemoveFiles
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The add-in's registration made the host's add-ins key when there was none (no host yet): it
  ; goes when nothing else is in it.
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}\MS Project\Addins"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}\MS Project"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${HOST_KEY}"
SectionEnd
