# Sourced by scripts/test-windows.sh: checks of what the DLLs do under Wine,
# seen through vorn-render.exe: the factory bank, renders against the Linux
# build, and microtuning through a fake LIBMTS.dll; and the self-check of the
# tools that measure the renders.

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

# check_measuring_tools: the comparison and pitch tools, on tones sox makes,
# pass what they should and refuse what they should, so that a pass of the
# render and tuning checks means something.
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
