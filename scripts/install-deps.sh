#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; skips what is already there.
set -euo pipefail

# libspng and TurboJPEG read and write PNG and JPEG files, nlohmann/json writes the GAF listing;
# the tests check our PCX and PNG files with ImageMagick and netpbm, so those are required too.
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang clang-format libclang-rt-14-dev libspng-dev libturbojpeg0-dev nlohmann-json3-dev imagemagick netpbm)
if [[ "${IW_WITH_XVFB:-1}" == 1 ]]; then
  # For the screenshot smoke test; it is skipped when these cannot be installed. openbox is a
  # light window manager, so that the screenshots show the window and its dialogs as a desktop
  # places and decorates them.
  optional=(xvfb xdotool x11-apps x11-utils openbox)
else
  optional=()
fi

missing=()
for p in "${packages[@]}" "${optional[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
if ((${#optional[@]})); then
  $SUDO apt-get install -y -qq --no-install-recommends "${optional[@]}" ||
    echo "Note: the screenshot tools could not be installed; the screenshot smoke test will be skipped."
fi
