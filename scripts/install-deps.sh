#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with.
# Idempotent and non-interactive: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libsqlite3-dev sqlite3
  qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-qpa-plugins libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libopus-dev libcodec2-dev
  libmp3lame-dev lame mpg123
  libxlsxwriter-dev libfreexl-dev libzip-dev libcsv-dev
  fonts-nanum xvfb xauth
  dbus-daemon desktop-file-utils shared-mime-info
  at-spi2-core python3-pyatspi
  espeak-ng sox
  libcurl4-openssl-dev libsecret-1-dev python3-aiosmtpd openssl
  curl
  dbus-bin gnome-keyring libsecret-tools
  dpkg-dev lintian appstream
  libusb-1.0-0-dev umockdev libumockdev-dev
  postgresql postgresql-contrib libpq-dev
  radicale slapd ldap-utils libldap-dev libphonenumber-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
