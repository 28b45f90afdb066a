#!/usr/bin/env bash
# Sets everything up and starts the game: packages, build, and (only when there is none yet) a
# data directory with the sample question bank.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/pacotes.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" --target jornada jornada-dados

# A machine whose settings name a server for the bank keeps no data folder.
if [[ $(build/tools/jornada-dados --banco-em-uso) != servidor* ]] && [[ ! -e "$HOME/BDPerguntas" ]]; then
  build/tools/jornada-dados
fi
exec build/jornada
