# Sourced by scripts/test-windows.sh: the chaos host against a DLL.

# Seconds of chaos per DLL.
readonly kChaosSeconds=60

# chaos_seed: a fresh seed for a run; the caller prints it before the run.
chaos_seed() {
  echo $(((RANDOM << 30) ^ (RANDOM << 15) ^ RANDOM ^ ($(date +%s%N) & 0x3fffffff)))
}

# check_chaos <vorn-chaos.exe> <dll> <seed>: the seeded stream of bad host
# behaviour for kChaosSeconds against three instances, with the host's second
# thread calling them too. Success ends with the number of calls made and
# how allocations were counted (the line the console shows); a failure names the seed and the command that
# replays it.
check_chaos() {
  local program=$1 dll=$2 seed=$3 output status
  local options=(--seed "$seed" --seconds "$kChaosSeconds" --instances 3 --second-thread)
  output=$(run_wine "$program" "${options[@]}" "$(wine_path "$dll")" 2>&1)
  status=$?
  echo "$output"
  if [ $status = 0 ]; then
    echo "$(echo "$output" | grep 'calls into' | sed 's/^chaos: //');" \
      "allocations $(echo "$output" | grep 'allocations in process calls' | sed 's/^.*process calls: //')"
    return 0
  fi
  echo "the chaos host failed (status $status) with seed $seed; replay it with:"
  echo "  wine $program ${options[*]} $(wine_path "$dll")"
  return 1
}

# Seconds of the chaos host's editor cases per DLL.
readonly kChaosEditorSeconds=30

# check_chaos_editor <vorn-chaos.exe> <dll> <seed>: editors of the DLL opened,
# driven and closed while their audio runs, on the editor checks' display
# (editor_checks.sh has started it). Success ends with the cycles and calls
# made; a failure names the seed and the command that replays it.
check_chaos_editor() {
  local program=$1 dll=$2 seed=$3 output status
  output=$(DISPLAY=$editor_display run_wine "$program" --editor --seed "$seed" --seconds "$kChaosEditorSeconds" \
    "$(wine_path "$dll")" 2>&1)
  status=$?
  echo "$output"
  if [ $status = 0 ]; then
    echo "$output" | grep 'editor:' | sed 's/^chaos: //'
    return 0
  fi
  echo "the chaos host's editor cases failed (status $status) with seed $seed; replay them on an X server with:"
  echo "  wine $program --editor --seed $seed --seconds $kChaosEditorSeconds $(wine_path "$dll")"
  return 1
}
