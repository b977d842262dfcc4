#!/usr/bin/env bash
# Installs the Debian packages Velmora needs, split by use; skips apt when all are present.
#   install-deps.sh [--run] [--build] [--test]   (no flag: all three)
#     --run    what the program needs to run
#     --build  what building it needs
#     --test   what the test command and the benchmarks need
set -euo pipefail

run=(libqt6sql6-sqlite libqt6sql6-psql libpq5 libqt6charts6 fonts-liberation2 qt6-translations-l10n)
build=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-tools-dev qt6-l10n-tools libsqlite3-dev mdbtools-dev
       libglib2.0-dev libpq-dev libzstd-dev)
test=(cups printer-driver-cups-pdf poppler-utils xvfb xauth x11-utils imagemagick clang libbenchmark-dev dpkg-dev
      desktop-file-utils appstream postgresql-15 openssl lintian)

wanted=()
[ $# -gt 0 ] || set -- --run --build --test
for use in "$@"; do
  case "$use" in
    --run) wanted+=("${run[@]}") ;;
    --build) wanted+=("${build[@]}") ;;
    --test) wanted+=("${test[@]}") ;;
    *) echo "usage: $0 [--run] [--build] [--test]" >&2; exit 2 ;;
  esac
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
apt_install() {
  "${sudo_cmd[@]}" apt-get install -y -o DPkg::Lock::Timeout=300 --no-install-recommends "$@"
}

missing=()
for p in "${wanted[@]}"; do installed "$p" || missing+=("$p"); done
updated=0
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  updated=1
  apt_install "${missing[@]}"
fi

# The fuzzers need the runtime of the clang Debian ships as its default, whatever its version: the
# package's name is looked up rather than written with one release's number.
if [[ " $* " == *" --test "* ]]; then
  version=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
  if ! installed "libclang-rt-${version}-dev"; then
    [ "$updated" = 1 ] || "${sudo_cmd[@]}" apt-get update
    apt_install "libclang-rt-${version}-dev"
  fi
fi
