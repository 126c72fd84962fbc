# Sourced by scripts/test-windows.sh: running and counting the checks, and
# running Windows programs under Wine. Each check_* function (here and in the
# other files of this folder) prints what it saw and returns non-zero on
# failure; check() runs one, logs it and counts it. The caller sets repo,
# logs, work, jobs and tools.

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

# find_built <build dir> <file name>: the path of a built file, "" if none;
# the one nearest the top when tests keep copies further down.
find_built() {
  find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*' -printf '%d %p\n' 2>/dev/null |
    sort -n | head -n 1 | cut -d ' ' -f 2-
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
