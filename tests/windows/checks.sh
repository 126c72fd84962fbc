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
# A program that hangs (a deadlock, a message box nobody can see) is stopped
# so that the test run ends; timeout then answers 124.
readonly kWineTimeoutSeconds=300
run_wine() {
  if [ -z "$1" ]; then
    echo "the program to run was not built"
    return 1
  fi
  timeout -k 10 "$kWineTimeoutSeconds" wine "$@"
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

# A plug-in's program list as vorn-render prints it: "*  0  Sync Heaven", one
# program a line, the star on the current one.
# list_programs <render command...>
list_programs() {
  "$@" --list-programs | tr -d '\r'
}

# The names alone.
program_names() {
  sed -n 's/^[ *][ 0-9]\{3\}  //p'
}

# check_factory_bank <vorn-render.exe> <dll> <linux vorn-render> <vorn.so>:
# the Windows library finds its factory bank through its resource, so it lists
# the same 64 programs as the Linux library, with the first one current. A
# missing resource would leave the slots "Empty".
check_factory_bank() {
  local render=$1 dll=$2 linux_render=$3 linux_plugin=$4
  local listing windows linux current
  listing=$(list_programs run_wine "$render" --plugin "$(wine_path "$dll")") || return 1
  windows=$(echo "$listing" | program_names)
  current=$(echo "$listing" | grep -c '^\*  0  ')
  linux=$(list_programs "$linux_render" --plugin "$linux_plugin" | program_names) || return 1
  local count
  count=$(echo "$windows" | grep -c .)
  if [ "$count" != 64 ]; then
    echo "$count programs listed, expected 64:"
    echo "$windows"
    return 1
  fi
  if echo "$windows" | grep -qx 'Empty'; then
    echo "slots left \"Empty\": the factory bank was not found:"
    echo "$windows"
    return 1
  fi
  if [ "$windows" != "$linux" ]; then
    echo "the program names differ from the Linux build's:"
    diff <(echo "$linux") <(echo "$windows")
    return 1
  fi
  if [ "$current" != 1 ]; then
    echo "program 0 is not the current one"
    return 1
  fi
  echo "64 factory programs from the resource, as on Linux: $(echo "$windows" | head -n 1) ... $(echo "$windows" | tail -n 1)"
}

# A file name for a program name: "Synced Lead 1" -> synced-lead-1.
program_file_name() {
  printf '%s' "$1" | tr 'A-Z' 'a-z' | tr -c 'a-z0-9' '-'
}

# check_demo_render <vorn-render.exe> <dll> <linux vorn-render> <vorn.so> <64|32> <demo.mid>:
# the demo piece through each comparison program matches the Linux render.
check_demo_render() {
  local render=$1 dll=$2 linux_render=$3 linux_plugin=$4 bits=$5 song=$6
  local program name linux_wav windows_wav result=0
  for program in "${kComparePrograms[@]}"; do
    name=$(program_file_name "$program")
    linux_wav=$work/linux-$name.wav
    windows_wav=$work/win$bits-$name.wav
    if [ ! -f "$linux_wav" ]; then
      "$linux_render" --plugin "$linux_plugin" --program "$program" "${kRenderOptions[@]}" -o "$linux_wav" "$song" ||
        return 1
    fi
    run_wine "$render" --plugin "$(wine_path "$dll")" --program "$program" "${kRenderOptions[@]}" \
      -o "$(wine_path "$windows_wav")" "$(wine_path "$song")" || return 1
    echo -n "$program: "
    "$tools/vorn-wavcompare" "$linux_wav" "$windows_wav" "$kRenderMaxDifference" "$kRenderMinDistanceDb" || result=1
  done
  [ $result = 0 ] && echo "all ${#kComparePrograms[@]} programs render as on Linux"
  return $result
}

# A Standard MIDI File with one note held for one second: format 0, 480 ticks
# a quarter at 120 beats a minute (960 ticks a second).
# write_one_note_midi <path> <note>
write_one_note_midi() {
  local note
  note=$(printf '\\x%02x' "$2")
  local header='MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0'
  # 20 bytes: tempo 500000 us, note on at 0, note off 960 ticks later, end.
  local track="MTrk\x00\x00\x00\x14\x00\xff\x51\x03\x07\xa1\x20\x00\x90${note}\x64\x87\x40\x80${note}\x00\x00\xff\x2f\x00"
  printf "$header$track" >"$1"
}

# render_note <vorn-render.exe> <dll> <out.wav>: the tuning note through the
# tuning program.
render_note() {
  local render=$1 dll=$2 wav=$3
  local song=$work/tuning-note.mid
  write_one_note_midi "$song" "$kTuningNote"
  run_wine "$render" --plugin "$(wine_path "$dll")" --program "$kTuningProgram" "${kRenderOptions[@]}" \
    -o "$(wine_path "$wav")" "$(wine_path "$song")"
}

# measure_note <wav> <expected Hz>: prints the tool's line, then the measured Hz
# alone on the last line.
measure_note() {
  local line
  line=$("$tools/vorn-wavpitch" "$1" "$kTuningWindowStart" "$kTuningWindowLength" "$2" "$kTuningToleranceCents")
  local status=$?
  echo "$line"
  echo "$line" | sed -n 's/^measured \([0-9.]*\) Hz.*/\1/p'
  return $status
}

# Hz of a note tuned some cents above equal temperament.
tuned_frequency() {
  awk -v n="$1" -v c="$2" 'BEGIN { printf "%.4f", 440 * 2 ^ ((n - 69) / 12 + c / 1200) }'
}

# Also called when the test run ends, in case it was interrupted in between.
remove_fake_tuning_library() {
  rm -f "$(vorn_wine_system_dir 64)/LIBMTS.dll" "$(vorn_wine_system_dir 32)/LIBMTS.dll"
}

# check_tuning <vorn-render.exe> <dll> <64|32> <fake LIBMTS.dll>: without
# LIBMTS.dll in the system folder a note starts at equal temperament; with the
# fake master there it starts at the master's pitch, which lies the master's
# offset above the first render. The fake library is in the prefix only for
# the second render.
check_tuning() {
  local render=$1 dll=$2 bits=$3 fake=$4
  local installed equal_wav=$work/win$bits-tuning-equal.wav master_wav=$work/win$bits-tuning-master.wav
  installed=$(vorn_wine_system_dir "$bits")/LIBMTS.dll
  remove_fake_tuning_library

  render_note "$render" "$dll" "$equal_wav" || return 1
  cp "$fake" "$installed" || return 1
  render_note "$render" "$dll" "$master_wav"
  local rendered=$?
  rm -f "$installed"
  [ $rendered = 0 ] || return 1

  local result=0 output equal_hz master_hz
  echo -n "without LIBMTS.dll: "
  output=$(measure_note "$equal_wav" "$(tuned_frequency "$kTuningNote" 0)") || result=1
  echo "$output" | head -n 1
  equal_hz=$(echo "$output" | tail -n 1)
  echo -n "with the fake master at +$kTuningMasterCents cents: "
  output=$(measure_note "$master_wav" "$(tuned_frequency "$kTuningNote" "$kTuningMasterCents")") || result=1
  echo "$output" | head -n 1
  master_hz=$(echo "$output" | tail -n 1)
  if [ -z "$equal_hz" ] || [ -z "$master_hz" ]; then
    return 1
  fi
  # Both renders carry the same oscillator detuning, so their distance shows
  # the master's offset more exactly than either pitch alone.
  awk -v e="$equal_hz" -v m="$master_hz" -v c="$kTuningMasterCents" -v t="$kTuningOffsetToleranceCents" 'BEGIN {
    d = 1200 * log(m / e) / log(2)
    printf "note %d: the master moved it %+.2f cents (expected %+d, tolerance %.2f)\n", '"$kTuningNote"', d, c, t
    exit (d - c > t || c - d > t) ? 1 : 0
  }' || result=1
  return $result
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

# check_measuring_tools: the comparison and pitch tools, on tones sox makes,
# pass what they should and refuse what they should, so that a pass of the
# checks above means something.
check_measuring_tools() {
  local tone=$work/tool-tone.wav quieter=$work/tool-tone-quieter.wav saw=$work/tool-saw.wav
  sox -n -r 48000 -c 2 -e floating-point -b 32 "$tone" synth 1 sine 329.628 vol 0.5 &&
    sox -n -r 48000 -c 2 -e floating-point -b 32 "$quieter" synth 1 sine 329.628 vol 0.49 &&
    sox -n -r 48000 -c 2 -b 16 "$saw" synth 1 saw 337.332 vol 0.5 || return 1
  local result=0
  "$tools/vorn-wavcompare" "$tone" "$tone" 0 200 || result=1
  ! "$tools/vorn-wavcompare" "$tone" "$quieter" "$kRenderMaxDifference" "$kRenderMinDistanceDb" || result=1
  "$tools/vorn-wavpitch" "$tone" 0.1 0.6 329.628 0.1 || result=1
  "$tools/vorn-wavpitch" "$saw" 0.1 0.6 337.332 0.5 || result=1
  ! "$tools/vorn-wavpitch" "$saw" 0.1 0.6 329.628 "$kTuningToleranceCents" || result=1
  [ $result = 0 ] && echo "the tools tell equal from different renders and measure pitch to half a cent"
  return $result
}
