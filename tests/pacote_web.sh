#!/bin/sh
# Unpacks the page's zip into a throw-away folder and checks what a teacher who puts it on a
# static host gets: the page, its program and example files at the zip's root, every file of
# the built site but the precompressed copies, byte for byte, and every file the page's offline
# cache lists.
# Usage: pacote_web.sh <the zip> <the site folder it was made from>
set -eu
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") site=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
cmake -E tar xf "$zip"
falha() { echo "page zip: $1" >&2; exit 1; }
for f in index.html sw.js sislin.wasm sislin-aula.wasm a7.txt b7.txt manifest.webmanifest; do
    test -f "$f" || falha "$f is not at its root"
done
! find . -name '*.gz' | grep -q . || falha "it holds precompressed copies"
(cd "$site" && find . -type f ! -name '*.gz') | while read -r f; do
    cmp -s "$f" "$site/$f" || falha "$f differs from the site's or is missing"
done
# The offline list is the service worker's ARQUIVOS, a JSON array of names ('./' is the page).
lista=$(sed -n 's/^const ARQUIVOS = \[\(.*\)\];$/\1/p' sw.js | tr ',' '\n' | tr -d '"' | grep -v '^\./$' || true)
test -n "$lista" || falha "sw.js has no list of files to cache"
for f in $lista; do
    test -f "$f" || falha "the offline list names $f, which is not in the zip"
done
echo "page zip: $(find . -type f | wc -l) files, the offline list's $(echo "$lista" | wc -w) among them: ok"
