#!/bin/sh
# Checks the SCORM package of make scorm as a platform would take it: the zip passes unzip -t;
# imsmanifest.xml is well-formed XML (where xmllint is), says SCORM 1.2, has one item whose one
# resource is the SCO index.html, and lists every file of the zip and only those; turma.json holds
# the settings given (the environment's CHAVE, TIPO, N, METODOS, DIGITOS, APROVACAO, as make scorm
# got them); and every other file equals the built site's, which it holds whole (but the .gz).
# Usage: pacote_scorm.sh <the zip> <the site folder it was made from>
set -eu
command -v unzip >/dev/null 2>&1 || { echo "scorm zip: the check needs unzip (apt-get install unzip)" >&2; exit 1; }
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") site=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
falha() { echo "scorm zip: $1" >&2; exit 1; }

unzip -tq "$zip" >/dev/null || falha "unzip -t finds it damaged"
cd "$tmp"
unzip -q "$zip" -d pacote
cd pacote
m=imsmanifest.xml
test -f "$m" || falha "no $m at its root"
test -f turma.json || falha "no turma.json at its root"
if command -v xmllint >/dev/null 2>&1; then
    xmllint --noout "$m" || falha "$m is not well-formed XML"
fi
grep -q '<schema>ADL SCORM</schema>' "$m" || falha "$m: the metadata's schema is not ADL SCORM"
grep -q '<schemaversion>1.2</schemaversion>' "$m" || falha "$m: the schema version is not 1.2"
test "$(grep -c '<item ' "$m")" -eq 1 || falha "$m: not one item"
test "$(grep -c '<resource ' "$m")" -eq 1 || falha "$m: not one resource"
grep -q '<resource [^>]*type="webcontent" adlcp:scormtype="sco" href="index.html"' "$m" ||
    falha "$m: the resource is not the SCO index.html"

# The manifest's files against the zip's (names with no character a URL would encode).
sed -n 's|^ *<file href="\([^"]*\)"/>$|\1|p' "$m" | LC_ALL=C sort > ../listados
unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort > ../no-zip
diff ../listados ../no-zip >../diferenca || {
    sed -n 's/^</  only in the manifest: /p; s/^>/  only in the zip: /p' ../diferenca >&2
    falha "$m does not list exactly the zip's files"
}

# The site: every file of it (but the .gz copies) in the zip, equal; nothing else but the two added.
(cd "$site" && find . -type f ! -name '*.gz' | sed 's|^\./||' | LC_ALL=C sort) > ../site
printf '%s\n' imsmanifest.xml turma.json | cat - ../site | LC_ALL=C sort | diff - ../no-zip >/dev/null ||
    falha "it holds other files than the site's, turma.json and $m"
while read -r f; do
    cmp -s "$f" "$site/$f" || falha "$f differs from the site's"
done < ../site

# turma.json against the settings given.
node -e '
const t = JSON.parse(require("fs").readFileSync("turma.json", "utf8"));
const e = process.env;
const padrao = { D: "gauss", G: "gauss", M: "gauss", P: "gauss-pivoteado", S: "gauss-seidel", J: "jacobi" };
const tipo = (e.TIPO ?? "").trim().toUpperCase();
const digitos = !e.DIGITOS ? 4 : e.DIGITOS.trim().toLowerCase() === "exato" ? 0 : Number(e.DIGITOS);
const quer = {
  formato: 1, chave: e.CHAVE, tipo, n: Number(e.N),
  metodos: e.METODOS ? e.METODOS.split(",").map((m) => m.trim().toLowerCase()) : [padrao[tipo]],
  digitos, aprovacao: e.APROVACAO ? Number(e.APROVACAO) : 60,
};
if (JSON.stringify(t) !== JSON.stringify(quer)) {
  console.error(`scorm zip: turma.json is ${JSON.stringify(t)}, the settings ${JSON.stringify(quer)}`);
  process.exit(1);
}' || exit 1
echo "scorm zip: $(wc -l < ../no-zip) files, all listed in $m; turma.json $(cat turma.json | tr -d '\n'): ok"
