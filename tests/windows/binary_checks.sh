# Sourced by scripts/test-windows.sh: checks of the built DLLs themselves
# (imports, exports, calling convention, compiler flags) and of the host
# conformance checker run against them.

# Only libraries that every Windows installation carries: the system DLLs the
# plug-in calls and the C runtime that ships with Windows (msvcrt, or the
# universal CRT's api-ms-win-crt-* forwarders). The C++ runtime, libgcc and
# winpthread must be linked in statically.
readonly kSystemDllPattern='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|comctl32|wininet|ole32|oleaut32|oledlg|olepro32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'

# check_imports <objdump> <dll> <64|32>
check_imports() {
  local objdump=$1 dll=$2 bits=$3
  local format expected_format
  format=$("$objdump" -f "$dll" | sed -n 's/.*file format //p')
  if [ "$bits" = 64 ]; then expected_format=pei-x86-64; else expected_format=pei-i386; fi
  if [ "$format" != "$expected_format" ]; then
    echo "file format $format, expected $expected_format"
    return 1
  fi
  local imports foreign
  imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f)
  if [ -z "$imports" ]; then
    echo "no import table found"
    return 1
  fi
  foreign=$(echo "$imports" | tr 'A-Z' 'a-z' | grep -Ev "$kSystemDllPattern")
  if [ -n "$foreign" ]; then
    echo "imports beyond the system DLLs:" $foreign
    return 1
  fi
  echo "$format, imports only system DLLs:" $imports
}

# check_exports <objdump> <dll>: exactly VSTPluginMain and main, undecorated,
# both naming the same function.
check_exports() {
  local objdump=$1 dll=$2
  local table names
  # The name pointer table lists "[ordinal] +base[n] <name hint> <name>".
  table=$("$objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed '1d;/^$/d')
  names=$(echo "$table" | awk '{print $NF}' | sort | tr '\n' ' ')
  if [ "$names" != "VSTPluginMain main " ]; then
    echo "exports: ${names:-none}; expected exactly VSTPluginMain and main"
    return 1
  fi
  # Both names must lead to one address in the export address table.
  local addresses
  addresses=$("$objdump" -p "$dll" | sed -n '/^Export Address Table/,/^$/p' |
    awk '/Export RVA/ {print $(NF-2)}' | sort -u | wc -l)
  if [ "$addresses" != 1 ]; then
    echo "VSTPluginMain and main lead to $addresses different addresses"
    "$objdump" -p "$dll" | sed -n '/^Export Address Table/,/^$/p'
    return 1
  fi
  echo "exports exactly: $names(one function)"
}

# check_png_resources <dll> <image folder>: the editor's eight images, byte for
# byte, as the library's "PNG" resources 101 to 108.
check_png_resources() {
  python3 "$(dirname "${BASH_SOURCE[0]}")/tools/png_resources.py" "$1" "$2"
}

# check_host <vorn-hostcheck.exe> <dll>
check_host() {
  run_wine "$1" "$(wine_path "$2")"
}

# check_sse2_flags <build dir>: every C and C++ source of the 32-bit build is
# compiled for SSE2 arithmetic, so it rounds as the 64-bit and Linux builds do
# instead of carrying x87's 80-bit intermediates.
check_sse2_flags() {
  local db=$1/compile_commands.json
  local total without compiles
  # The compiler's commands, not the resource compiler's.
  compiles=$(grep '"command":' "$db" | grep -e '-w64-mingw32-g++' -e '-w64-mingw32-gcc')
  total=$(echo "$compiles" | grep -c .)
  without=$(echo "$compiles" | grep -c -v -- '-mfpmath=sse')
  if [ "$total" = 0 ] || [ "$without" != 0 ]; then
    echo "$without of $total compile commands lack -mfpmath=sse"
    return 1
  fi
  without=$(echo "$compiles" | grep -c -v -- '-msse2')
  if [ "$without" != 0 ]; then
    echo "$without of $total compile commands lack -msse2"
    return 1
  fi
  echo "all $total compile commands use -msse2 -mfpmath=sse"
}

# check_cdecl_entry <objdump> <dll>: on 32-bit x86 the VST 2 entry point is
# __cdecl: the caller removes the argument, so the function returns with a
# plain "ret". A __stdcall entry point ("ret $0x4") exported under the
# undecorated name would link and load, and then unbalance every host's stack.
# The first return after the entry address is the function's own: the compiler
# lays out the body first and moves rare paths elsewhere.
check_cdecl_entry() {
  local objdump=$1 dll=$2
  local base rva entry first_return
  base=$("$objdump" -p "$dll" | awk '$1 == "ImageBase" {print $2}')
  rva=$("$objdump" -p "$dll" | awk '/Export RVA/ {print $(NF-2); exit}')
  if [ -z "$base" ] || [ -z "$rva" ]; then
    echo "no image base or export address found"
    return 1
  fi
  entry=$((16#$base + 16#$rva))
  first_return=$("$objdump" -d --start-address="$entry" --stop-address="$((entry + 4096))" "$dll" |
    grep -m 1 -P '\t(repz |bnd )?ret')
  echo "entry point at 0x$(printf '%x' "$entry"), first return:${first_return#*:}"
  if ! echo "$first_return" | grep -qP '\tret\s*$|\t(repz|bnd) ret\s*$'; then
    echo "VSTPluginMain does not return as a __cdecl function"
    return 1
  fi
  echo "VSTPluginMain returns as a __cdecl function"
}
