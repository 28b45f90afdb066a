#!/usr/bin/env bash
# Checks the Debian package as a new user meets it, on a machine where it may be installed for
# real (a fresh Debian 12, for instance): builds it, installs it with apt-get, creates a data
# directory with the installed jornada-dados, imports a question whose photo is a metafile (which
# the installed metafile decoder reads), starts the installed game under Xvfb until its start
# screen is on the display (tools/tela-inicial.sh), has a brand-new account open the game from
# the menu entry, with no data directory of its own (tools/primeiro-inicio.sh), then removes the
# package and checks that the data directory is still there. Needs root or sudo; it installs and
# removes packages and creates (and removes) a user account.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sudo=()
(( EUID == 0 )) || sudo=(sudo)

bash tools/pacote-deb.sh
deb=$(ls out/jornada_*_amd64.deb | head -1)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -qq "./$deb"

data=$(mktemp -d)/BDPerguntas
/usr/games/jornada-dados --version
/usr/games/jornada-dados "$data"

# A question whose photo is a Windows metafile: the installed jornada-dados checks the photo
# through the installed metafile decoder, which must be in the package and start.
wmf=$(mktemp -d)
printf '%s\r\n' 'Pergunta;Resp1;Resp2;Resp3;Resp4;Correta;Foto' \
  "Qual destas figuras é um desenho?;Esta;Aquela;Outra;Nenhuma;Esta;$root/fuzz/corpus/fuzz_wmf/padrao-sem-largura.wmf" \
  > "$wmf/desenho.csv"
/usr/games/jornada-dados --importar "$wmf/desenho.csv" "$data"
rm -r "$wmf"

# The game reads its data directory from HOME.
HOME=$(dirname "$data") bash tools/tela-inicial.sh /usr/games/jornada

# A new account, started from the applications menu, meets the start screen and not an error.
bash tools/primeiro-inicio.sh

"${sudo[@]}" apt-get remove -y -qq jornada
[[ ! -e /usr/games/jornada ]]
[[ -f $data/Perguntas.DB && -f $data/inicial.db ]]
echo "Pacote removido; a pasta de dados $data continua intacta."
