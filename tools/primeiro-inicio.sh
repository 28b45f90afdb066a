#!/usr/bin/env bash
# Opens the installed game the way a brand-new account does from the applications menu, and checks
# that it meets the start screen, not an error. Creates a user (useradd -m) whose home has a space
# in its path and no data directory, runs the command of the desktop entry's Exec line as that user,
# in a login's environment, under Xvfb until the start screen is on the display
# (tools/tela-inicial.sh; the picture is saved as out/primeiro-inicio.png), then checks that the
# user's ~/BDPerguntas now holds the tables and belongs to the user. The account and its home are
# removed at the end. Needs root or sudo.
#   bash tools/primeiro-inicio.sh [ENTRADA.desktop]
# The desktop entry is by default the one the Debian package installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sudo=()
(( EUID == 0 )) || sudo=(sudo)
entry=${1:-/usr/share/applications/br.jornadadosaber.jornada.desktop}

# The Exec line as the menu runs it. Field codes (%U, %f and the like) stand for the files the menu
# hands over, and it hands over none; "%%" is a percent sign. The line has no quoting of its own, so
# the shell that runs it splits it as the menu would.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
command=$(printf '%s\n' "$exec_line" | sed -e 's/%[fFuUdDnNickvm]//g' -e 's/%%/%/g' -e 's/[[:space:]]*$//')
case $command in
  */jornada-iniciar | */jornada-iniciar\ *) ;;
  *) echo "primeiro-inicio: a entrada de menu não abre o jogo por jornada-iniciar (Exec=$exec_line)" >&2; exit 1 ;;
esac

user=jornada-novo-$$
home="/home/Conta nova $$"
"${sudo[@]}" useradd --create-home --home-dir "$home" --shell /bin/sh "$user"
# userdel refuses an account while a process still runs as it: the game and the login's shell end
# a moment after the display does.
remove_account() {
  for _ in $(seq 50); do
    "${sudo[@]}" userdel --remove "$user" 2>/dev/null && return
    sleep 0.2
  done
  echo "primeiro-inicio: a conta $user ficou; remova com userdel --remove $user" >&2
}
trap remove_account EXIT
data=$home/BDPerguntas
if "${sudo[@]}" test -e "$data"; then
  echo "primeiro-inicio: a conta nova já tem $data" >&2
  exit 1
fi

echo "primeiro-inicio: $user abre o menu: $command"
# A login's environment (runuser --login), with the display of tools/tela-inicial.sh.
FOTO=$root/out/primeiro-inicio.png ESPERA=${ESPERA:-90} bash tools/tela-inicial.sh \
  "${sudo[@]}" runuser --login --whitelist-environment=DISPLAY --command="$command" "$user"

for table in Perguntas.DB inicial.db; do
  if ! "${sudo[@]}" test -s "$data/$table"; then
    echo "primeiro-inicio: o primeiro início não criou $data/$table" >&2
    exit 1
  fi
done
owner=$("${sudo[@]}" stat -c %U "$data")
if [[ $owner != "$user" ]]; then
  echo "primeiro-inicio: $data pertence a $owner, não a $user" >&2
  exit 1
fi
echo "primeiro-inicio: o primeiro início pelo menu criou $data e mostrou a tela inicial"
