#!/usr/bin/env bash
# Runs COMMAND (which starts the game) on a display of its own (Xvfb) and waits until the game's
# start screen is on it; saves a picture of the display as FOTO (default out/tela-inicial.png),
# ends the game and exits 0. Exits 1 if the start screen does not appear within ESPERA seconds
# (default 60), or if the game is no longer running once it has appeared.
#   bash tools/tela-inicial.sh COMMAND [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
(( $# )) || { echo "uso: tools/tela-inicial.sh COMANDO [ARGUMENTOS...]" >&2; exit 2; }
bash "$root/tools/pacotes.sh" xvfb xdotool x11-apps netpbm

export DISPLAY=:57
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill -- "$xvfb" 2>/dev/null || true' EXIT
# The game can only start once the display answers.
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { echo "tela-inicial: o Xvfb não começou" >&2; exit 1; }
"$@" &
game=$!
trap 'kill -- "$game" "$xvfb" 2>/dev/null || true' EXIT

# The start screen comes after the splash's pause of four seconds.
if ! timeout "${ESPERA:-60}" xdotool search --sync --onlyvisible \
    --name '^0RB1T4 & CR1ST4L: JORNADA DO SABER$' >/dev/null; then
  echo "tela-inicial: a tela inicial não apareceu" >&2
  exit 1
fi
sleep 1
foto=${FOTO:-$root/out/tela-inicial.png}
mkdir -p "$(dirname "$foto")"
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$foto"
kill -0 "$game"
echo "tela-inicial: a tela inicial apareceu ($foto)"
