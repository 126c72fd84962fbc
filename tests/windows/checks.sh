# Sourced by scripts/test-windows.sh: the checks of the Windows deliverables.
# Each check_* function prints what it saw and returns non-zero on failure;
# check() runs one, logs it and counts it. The caller sets repo, logs, work.

passed=0
failed=0
failures=()

record_failure() {
  failed=$((failed + 1))
  failures+=("$1")
  echo "FAIL $1"
}

# check <name> <function> <args...>
check() {
  local name=$1
  shift
  local log=$logs/${name// /-}.log
  local t0=$SECONDS
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "PASS $name ($((SECONDS - t0)) s): $(tail -n 1 "$log")"
  else
    record_failure "$name"
    sed 's/^/    /' "$log" | tail -n 25
  fi
}

# find_built <build dir> <file name>: the path of a built file, "" if none.
find_built() {
  find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*' 2>/dev/null | head -n 1
}

# build_tools <build dir> [cmake options...]: the helpers in tests/windows/tools.
build_tools() {
  local dir=$1
  shift
  cmake -G Ninja -S "$repo/tests/windows/tools" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" &&
    cmake --build "$dir" -j "$jobs"
}

# A Unix path as Wine's Z: drive shows it to Windows programs.
wine_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# run_wine <program.exe> <args...>: Wine passes the program's exit status on.
run_wine() {
  wine "$@"
}

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

# check_host <vorn-hostcheck.exe> <dll>
check_host() {
  local checker=$1 dll=$2
  if [ -z "$checker" ]; then
    echo "vorn-hostcheck.exe was not built"
    return 1
  fi
  run_wine "$checker" "$(wine_path "$dll")"
}
