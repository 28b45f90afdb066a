#!/usr/bin/env bash
# Runs the screen-reader test of the game on the desktop's real accessibility bus: a virtual X
# screen with a window manager, a D-Bus session of its own and the AT-SPI bus on it, as a screen
# reader finds them.
# Usage: sessao.sh JORNADA JORNADA_DADOS
# Exits 77 (CTest's "skipped") with the reason when something it needs is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

python=/usr/bin/python3
missing=()
for tool in Xvfb dbus-run-session xdotool icewm; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[[ -x /usr/libexec/at-spi-bus-launcher ]] || missing+=("at-spi2-core")
[[ -x $python ]] && "$python" -c 'import pyatspi' 2>/dev/null || missing+=("python3-pyatspi")
if (( ${#missing[@]} )); then
  echo "SKIP: faltam para o teste no barramento de acessibilidade: ${missing[*]}" \
       "(tools/pacotes.sh os instala)"
  exit 77
fi

scratch=$(mktemp -d)
wm=
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $scratch/display ]] && break; sleep 0.1; done
if [[ ! -s $scratch/display ]]; then
  echo "Xvfb não começou"
  exit 1
fi
export DISPLAY=:$(cat "$scratch/display")
export HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/run XDG_CONFIG_HOME=$scratch/config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
# A window manager, as on every desktop: it gives the activation back to a screen when the
# message box over it closes.
icewm >/dev/null 2>&1 &
wm=$!
# The game draws on the virtual screen, whatever platform the other tests use.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- "$python" "$here/jogo_no_barramento.py" "$@"
