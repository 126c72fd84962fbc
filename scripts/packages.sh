# Sourced by the set-up scripts. install_missing <what for> <package>...
# installs the Debian packages that are not installed yet; without root it
# names them and fails. Packages of a foreign architecture ("name:i386")
# enable that architecture first. Recommended packages are never installed.
# The package lists are refreshed once per run: a caller that runs several
# set-up scripts exports VORN_APT_UPDATED_STAMP, a file that is empty until
# the first refresh.
install_missing() {
  local purpose=$1
  shift
  local missing=() package architectures=()
  for package in "$@"; do
    [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = "install ok installed" ] || missing+=("$package")
    case "$package" in
      *:*) dpkg --print-foreign-architectures | grep -qx "${package#*:}" || architectures+=("${package#*:}") ;;
    esac
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "error: missing for $purpose: ${missing[*]}" >&2
    echo "run this script as root to install them" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # Another install may hold the lock (a parallel set-up); wait for it.
  local apt_get=(apt-get -y --no-install-recommends -o DPkg::Lock::Timeout=900)
  local architecture
  for architecture in "${architectures[@]}"; do dpkg --add-architecture "$architecture"; done
  echo "Installing for $purpose: ${missing[*]}"
  # A newly enabled architecture needs its own package lists.
  if [ ${#architectures[@]} -gt 0 ] || [ -z "${VORN_APT_UPDATED_STAMP:-}" ] || [ ! -s "$VORN_APT_UPDATED_STAMP" ]; then
    "${apt_get[@]}" update
    [ -z "${VORN_APT_UPDATED_STAMP:-}" ] || date >"$VORN_APT_UPDATED_STAMP"
  fi
  "${apt_get[@]}" install "${missing[@]}"
}
