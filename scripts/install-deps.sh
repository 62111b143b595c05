#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test, fuzz, package and run.
# Idempotent: installs only what is missing, and refreshes the package lists only then.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  valgrind mtools time
  python3 python3-jsonschema
  xvfb xauth imagemagick xdotool fonts-noto-cjk
  librsvg2-bin gzip
  desktop-file-utils appstream libxml2-utils shared-mime-info man-db
  dpkg-dev file lintian
  g++-mingw-w64-x86-64-posix wine64 googletest
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
  SUDO=()
else
  SUDO=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
