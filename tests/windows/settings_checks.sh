# Sourced by scripts/test-windows.sh: the per-user settings file found through
# the shell's local application-data folder when that folder's name lies
# outside every ANSI code page, as it does for many user names.

kSettingsUserFolder='Vorn Ärger Юзер 用户'
kSettingsBankFolder='Bänke 音色'
kShellFoldersKey='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer'
# The first program of the start-up bank the settings file names.
kStartupProofName='Startup Proof'

# write_utf16_reg <file> <lines...>: a registry file as regedit reads it.
write_utf16_reg() {
  local file=$1
  shift
  { printf '\xff\xfe'; printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE; } >"$file"
}

# point_local_appdata <windows folder> <saved-values.reg>: saves both shell
# folder entries of the local application data, then points them at the folder.
point_local_appdata() {
  local folder=${1//\\/\\\\} saved=$2
  wine regedit /E "$saved.user" "$kShellFoldersKey\\User Shell Folders" >/dev/null 2>&1 &&
    wine regedit /E "$saved.cache" "$kShellFoldersKey\\Shell Folders" >/dev/null 2>&1 || return 1
  write_utf16_reg "$saved.ours" 'Windows Registry Editor Version 5.00' '' \
    "[$kShellFoldersKey\\User Shell Folders]" "\"Local AppData\"=\"$folder\"" '' \
    "[$kShellFoldersKey\\Shell Folders]" "\"Local AppData\"=\"$folder\"" ''
  wine regedit /S "$saved.ours" >/dev/null 2>&1
}

restore_local_appdata() {
  wine regedit /S "$1.user" >/dev/null 2>&1
  wine regedit /S "$1.cache" >/dev/null 2>&1
}

# check_settings_folder <vorn-render.exe> <dll> <linux make-factory-bank> <work folder>:
# with the local application-data folder under a name in three scripts, the
# plug-in reads its settings file there and loads the start-up bank that file
# names, itself in such a folder.
check_settings_folder() {
  local render=$1 dll=$2 make_bank=$3 scratch=$4/settings
  local root="$WINEPREFIX/drive_c/$kSettingsUserFolder"
  local windows_base="C:\\$kSettingsUserFolder\\AppData"
  local base=$root/AppData
  rm -rf "$root" "$scratch"
  mkdir -p "$base/PaperKiteSounds" "$base/$kSettingsBankFolder" "$scratch"
  sed "s/^\[Sync Heaven\]$/[$kStartupProofName]/" "$repo/resources/factory_bank.txt" >"$scratch/bank.txt"
  XDG_CONFIG_HOME=$scratch "$make_bank" "$scratch/bank.txt" "$base/$kSettingsBankFolder/start.fxb" \
    "$scratch/bank.cpp" || return 1
  printf '[Startup Bank]\r\nFile=%s\r\n' "$windows_base\\$kSettingsBankFolder\\start.fxb" \
    >"$base/PaperKiteSounds/vorn.ini"

  point_local_appdata "$windows_base" "$scratch/shell-folders" || {
    echo "could not save the shell folder entries"
    return 1
  }
  local listing status
  listing=$(list_programs run_wine "$render" --plugin "$(wine_path "$dll")")
  status=$?
  restore_local_appdata "$scratch/shell-folders"
  [ "$status" = 0 ] || return 1

  local first
  first=$(echo "$listing" | program_names | head -n 1)
  if [ "$first" != "$kStartupProofName" ]; then
    echo "first program \"$first\", expected \"$kStartupProofName\" from the start-up bank"
    return 1
  fi
  if ! grep -q 'start.fxb' "$base/PaperKiteSounds/vorn.ini"; then
    echo "the settings file lost its start-up bank entry"
    return 1
  fi
  echo "settings read from and start-up bank loaded in \"$windows_base\""
}
