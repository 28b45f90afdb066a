#!/usr/bin/env bash
# Builds the Debian package out/jornada_<version>_<arch>.deb with Debian's own tools
# (dpkg-buildpackage and debhelper, from packaging/debian), then checks it with lintian.
# The package is built from a copy of the source tree, so the tree itself is left as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/pacotes.sh build-essential debhelper dpkg-dev lintian

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/jornada"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./out --exclude=./obj-* -cf - . \
  | tar -C "$work/jornada" -xf -
cp -r packaging/debian "$work/jornada/debian"
(cd "$work/jornada" && dpkg-buildpackage -b -us -uc -j"$(nproc)")

mkdir -p out
deb=$(find "$work" -maxdepth 1 -name 'jornada_*.deb' -print -quit)
cp "$deb" out/
echo "Pacote: out/$(basename "$deb")"
# lintian returns a failure for errors only; its warnings are printed for whoever reads.
lintian --fail-on error "out/$(basename "$deb")"
