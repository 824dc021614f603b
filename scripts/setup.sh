#!/usr/bin/env bash
# Installs every Debian package NYLuxora needs to build, test and run. Idempotent: packages
# already installed are skipped, and nothing is done when all are there.
set -euo pipefail

PACKAGES=(
  # build and tests
  cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang-format
  # libraries
  libsqlite3-dev sqlite3 libdxflib-dev libsimpleini-dev libicu-dev libzip-dev libpugixml-dev
  libxlsxwriter-dev libfmt-dev libcli11-dev nlohmann-json3-dev mdbtools mdbtools-dev libglib2.0-dev
  libpolyclipping-dev
  # desktop front-end and pictures
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-wqy-microhei xvfb xauth
  # checking our output with programs we did not write
  librecad poppler-utils imagemagick python3-ezdxf libreoffice-calc-nogui libreoffice-writer-nogui
  # fuzzing: libFuzzer and the sanitizers' runtime come with clang's compiler-rt
  clang libclang-rt-14-dev llvm-14
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#PACKAGES[@]} packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
