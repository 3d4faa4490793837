#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those missing.
set -euo pipefail

packages=(
  build-essential cmake make
  clang  # make test-sanitize, make fuzz
  qt6-base-dev qt6-base-dev-tools libgl-dev libglx-dev
  qt6-translations-l10n  # Qt's own texts in Russian
  xvfb xauth
  util-linux  # unshare: the store tests mount a small tmpfs in a private namespace
  libpugixml-dev  # the store's fast reader of its own files
  bindfs fuse3  # two mounts of one folder whose locks do not meet, for the writers' lock tests
  clang libclang-rt-14-dev  # make fuzz: libFuzzer and the sanitizers' runtime
  dpkg-dev lintian  # make package: dpkg-shlibdeps for its dependencies, Debian's checker over it
  libgit2-dev  # the configuration's history
  libdeflate-dev libssl-dev  # its blobs of large files, compressed and hashed quickly
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
