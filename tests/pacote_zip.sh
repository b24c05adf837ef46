#!/bin/sh
# Unpacks the Windows zip into a throw-away folder and checks what a student who unzips it meets:
# sislin.exe beside the example files at the zip's root, LEIA-ME.txt and LICENSE.txt in plain
# ASCII with Windows line ends, and the program, started in that folder as a double-click starts
# it, showing the example system.
# Usage: pacote_zip.sh <the zip> <source dir> [<command that runs a Windows program>, default wine]
set -eu
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") src=$(cd "$2" && pwd) lancador=${3:-wine}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/zip"
cd "$tmp/zip"
cmake -E tar xf "$zip"
falha() { echo "zip: $1" >&2; exit 1; }
for f in sislin.exe sislin-aula.exe a7.txt b7.txt LEIA-ME.txt LICENSE.txt guia.md imagens/pagina-exercicio.png \
         imagens/pagina-praticar.png; do
    test -f "$f" || falha "$f is not at its root"
done
cmp -s a7.txt "$src/examples/a7.txt" && cmp -s b7.txt "$src/examples/b7.txt" ||
    falha "a7.txt and b7.txt are not the example system"
cr=$(printf '\r')
for f in LEIA-ME.txt LICENSE.txt; do
    test -s "$f" && ! grep -qv "$cr\$" "$f" || falha "$f has a line without a Windows line end"
    test "$(tr -d '\r\n -~' < "$f" | wc -c)" -eq 0 || falha "$f holds more than printable ASCII"
done
tr -d '\r' < LICENSE.txt | cmp -s - "$src/LICENSE" || falha "LICENSE.txt is not LICENSE"
! grep -q '@' LEIA-ME.txt || falha "LEIA-ME.txt holds an unreplaced @VARIABLE@"

# The run a double-click starts (the current folder is the zip's root): the dimension, then 0.
status=0
printf '4\n0\n' | $lancador ./sislin.exe > saida 2>/dev/null || status=$?
test "$status" -eq 0 || falha "sislin.exe ended with status $status"
printf 'Entre com a dimensao da matriz = Matriz lida:\n10 \t-1 \t2 \t0 \t\n' > esperado
head -c "$(wc -c < esperado)" saida | cmp -s - esperado &&
    grep -q '^Vetor de termos independentes lido:$' saida ||
    { cat saida >&2; falha "sislin.exe did not show the example system"; }
echo "zip ok"
