#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test. Asks apt only for what is
# missing, so a machine that already has everything is not touched.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-svg-dev qt6-translations-l10n
  libsqlite3-dev libjpeg62-turbo-dev libwmf-dev libemf2svg-dev
  sqlite3
)
# Extra packages named by the caller (for example the desktop tools of the screenshots).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
(( ${#missing[@]} == 0 )) && exit 0

echo "Instalando pacotes: ${missing[*]}"
sudo=()
(( EUID == 0 )) || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
