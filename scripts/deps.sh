#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Installs, through apt-get, whatever the build, the tests and the desktop run need and this machine lacks.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev
  # tests, benchmarks, fuzzing (procps: pkill, to stop the background check with the run)
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev procps
  # GoogleTest's sources, compiled for the Windows tests
  googletest
  # the desktop: X server, window managers (openbox, Xfce's, GNOME's on X11, KDE's) with a session bus for them,
  # input, screenshots, the Chinese font
  python3 xvfb openbox xfwm4 metacity kwin-x11 dbus xdotool xclip imagemagick librsvg2-bin x11-utils libx11-dev libxtst-dev
  fonts-wqy-zenhei
  # real desktops: a session manager's protocol, a Wayland compositor and Qt's Wayland plugin
  libsm-dev libice-dev weston qt6-wayland
  # translations: Qt's own for the user's locale, the tools for ours, the locale to try them in
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n locales
  # style check; packaging and its validators
  clang-format dpkg-dev desktop-file-utils appstream binutils-mingw-w64-x86-64 lintian groff-base man-db
  # the Windows program: cross-built with mingw-w64 (posix threads), run and tested under Wine, where a Song face
  # with half-width digits stands in for Windows' SimSun
  g++-mingw-w64-x86-64-posix wine wine64 fonts-arphic-gbsn00lp
  # the Windows installer
  nsis
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
