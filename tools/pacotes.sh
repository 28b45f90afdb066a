#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test. Asks apt only for what is
# missing, so a machine that already has everything is not touched.
set -euo pipefail

# Each was found missing on a brand-new minimal Debian 12 (see the README), where packages that
# are only recommended are not installed.
packages=(
  # build
  g++ cmake make pkg-config
  qt6-base-dev qt6-svg-dev
  libsqlite3-dev libjpeg62-turbo-dev libwmf-dev libemf2svg-dev
  libexpat1-dev        # on libwmf's link line, though libwmf-dev does not pull it in
  libcsv-dev           # reads the CSV files that jornada-dados imports
  libxlsxwriter-dev    # writes the spreadsheet workbooks that jornada-dados exports
  libminizip-dev       # unzips the .xlsx and .ods workbooks that jornada-dados imports (the zip
                       # library libxlsxwriter itself uses, so that one copy serves both)
  libpq-dev            # reaches a lab's question bank on a PostgreSQL server
  # run
  qt6-translations-l10n # Portuguese captions of Qt's own buttons
  fonts-urw-base35      # libwmf draws no metafile without these faces
  # tests
  sqlite3
  postgresql-15 postgresql-common # a throw-away server for the tests on a server (pg_virtualenv)
  desktop-file-utils appstream # validate the installed desktop entry and metadata
  libreoffice-calc-nogui # saves exported workbooks and CSV files again, as a teacher's Calc does
  # the screen-reader test: a virtual screen with a window manager, keys typed into it, a D-Bus
  # session with the accessibility bus, and the client a screen reader uses to read it
  xvfb icewm xdotool dbus-daemon at-spi2-core python3-pyatspi
  # fuzz targets: clang, and its runtime libraries (libFuzzer, the sanitizers), which clang only
  # recommends
  clang libclang-rt-14-dev
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
