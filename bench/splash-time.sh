#!/usr/bin/env bash
# Measures how long the game takes from its process start until its splash window is mapped on
# the X display, beside a minimal Qt Widgets program that maps one window, run alternately in
# the same X server, N times each. Prints the medians and their ratio (target: at most 1.3).
#
#   bash bench/splash-time.sh [N]          (N = 15 by default)
#   BUILD=build-outro bash bench/splash-time.sh
#
# Needs, built in $BUILD (build/ by default): jornada, tools/jornada-dados,
# bench/jornada-bench-minimal and bench/jornada-bench-maptime; and Debian's xvfb.
#
# The display is a private Xvfb with no window manager: jornada-bench-maptime watches the root
# window for the MapNotify of the program's first top-level window (recognised by _NET_WM_PID),
# timed with the monotonic clock from just before fork(). Without a window manager, a window is
# mapped the moment the program asks for it, so the figure is the program's own work (loading
# libraries, connecting to the display, creating the window) and no window manager's latency.
# The game runs on a data directory made by jornada-dados in a temporary HOME, and is ended as
# soon as its splash is mapped.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
[[ $build = /* ]] || build=$root/$build
runs=${1:-15}

game=$build/jornada
dados=$build/tools/jornada-dados
minimal=$build/bench/jornada-bench-minimal
maptime=$build/bench/jornada-bench-maptime
for program in "$game" "$dados" "$minimal" "$maptime"; do
  if [[ ! -x $program ]]; then
    echo "splash-time: falta $program" >&2
    echo "  cmake -S . -B ${build#"$root/"} -DCMAKE_BUILD_TYPE=Release && cmake --build ${build#"$root/"} --target jornada jornada-dados jornada-bench-minimal jornada-bench-maptime" >&2
    exit 2
  fi
done
command -v Xvfb >/dev/null || { echo "splash-time: falta o Xvfb (apt-get install xvfb)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A data directory with the sample bank, in a HOME of its own.
mkdir -p "$work/home"
HOME=$work/home "$dados" >/dev/null

# Xvfb picks a free display number and writes it to fd 3 once it accepts connections; -noreset
# keeps it from resetting, and refusing connections meanwhile, each time its last client leaves.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  sleep 0.05
done
[[ -s $work/display ]] || { echo "splash-time: o Xvfb não começou:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb
# Both programs start with the same environment; the game's HOME only points at its data.
unset SESSION_MANAGER
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() {
  echo "splash-time: uma medida falhou; o que os programas disseram:" >&2
  cat "$work/programs.log" >&2
  exit 1
}

# The window waited for is the one whose title has the program's name: the splash for the game.
time_game() { HOME=$work/home "$maptime" -n "JORNADA DO SABER" "$game" 2>>"$work/programs.log" || fail; }
time_minimal() { HOME=$work/home "$maptime" -n "janela mínima" "$minimal" 2>>"$work/programs.log" || fail; }

# One run of each first, not counted: it brings the libraries into the page cache.
time_minimal >/dev/null
time_game >/dev/null

: >"$work/minimal.txt"
: >"$work/game.txt"
for _ in $(seq "$runs"); do
  time_minimal >>"$work/minimal.txt"
  time_game >>"$work/game.txt"
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n "$1" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.1f-%.1f", lo, hi }'; }

m_min=$(median "$work/minimal.txt")
m_game=$(median "$work/game.txt")
ratio=$(awk -v g="$m_game" -v m="$m_min" 'BEGIN { printf "%.2f", g / m }')
met=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.3) ? "sim" : "NÃO" }')

echo "splash-time: do início do processo até a janela mapeada (Xvfb sem gerenciador de janelas),"
echo "medianas de $runs execuções alternadas de cada programa, depois de uma de aquecimento"
echo
printf '%-40s  %9s  %13s\n' "Programa" "Mediana" "min-max (ms)"
printf '%-40s  %9s  %13s\n' "--------" "-------" "------------"
printf '%-40s  %6.1f ms  %13s\n' "jornada-bench-minimal (uma janela Qt)" "$m_min" "$(range "$work/minimal.txt")"
printf '%-40s  %6.1f ms  %13s\n' "jornada (splash mapeado)" "$m_game" "$(range "$work/game.txt")"
echo
echo "Razão jornada / mínimo: $ratio   meta: ≤ 1.3   atingida: $met"
