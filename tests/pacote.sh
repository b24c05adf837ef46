#!/bin/sh
# Unpacks the Debian packages into a throw-away root (dpkg -x), checks their files (the copyright
# file of each: LICENSE in Debian's machine-readable format, with the license of the test
# vectors; the changelog of this version) and runs the installed program on the example data:
# its output must be the build's own, byte for byte.
# Usage: pacote.sh <folder holding the .deb files> <source dir> <the build's sislin>
set -eu
pacotes=$(cd "$1" && pwd) src=$(cd "$2" && pwd) exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for d in "$pacotes"/sislin_*_amd64.deb "$pacotes"/sislin-dev_*_amd64.deb; do
    test -f "$d" || { echo "no package $d" >&2; exit 1; }
    dpkg -x "$d" "$tmp/raiz"
done
for f in bin/sislin share/man/man1/sislin.1.gz bin/sislin-aula share/man/man1/sislin-aula.1.gz \
         share/doc/sislin/guia.md share/doc/sislin/imagens/pagina-exercicio.png \
         share/doc/sislin/imagens/pagina-praticar.png \
         share/doc/sislin/examples/a7.txt include/sislin/util.h include/sislin/methods.h \
         lib/libsislin_util.a lib/libsislin_methods.a lib/cmake/sislin/sislinConfig.cmake \
         share/doc/sislin/copyright share/doc/sislin-dev/copyright \
         share/doc/sislin/changelog.gz share/doc/sislin-dev/changelog.gz; do
    test -f "$tmp/raiz/usr/$f" || { echo "missing from the packages: /usr/$f" >&2; exit 1; }
done
# The permission text of LICENSE as the copyright file's Expat paragraph holds it.
sed -n '/^Permission/,$p' "$src/LICENSE" | sed 's/^$/./; s/^/ /' > "$tmp/expat"
versao=$(dpkg-deb -f "$pacotes"/sislin_*_amd64.deb Version)
falha() { echo "package $p: $1" >&2; exit 1; }
for p in sislin sislin-dev; do
    c=$tmp/raiz/usr/share/doc/$p/copyright
    formato='Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
    head -n 1 "$c" | grep -qxF "$formato" ||
        falha "its copyright file is not in the machine-readable format"
    awk 'BEGIN { RS = "" } /^License: Expat\n/' "$c" | sed 1d | cmp -s - "$tmp/expat" ||
        falha "the Expat paragraph of its copyright file is not the text of LICENSE"
    awk 'BEGIN { RS = "" } /^Files: tests\/dados\/conversao\/\*\n/' "$c" |
        grep -qx 'License: Apache-2.0' || falha "its copyright file names no Apache-2.0 for the test vectors"
    gzip -dc "$tmp/raiz/usr/share/doc/$p/changelog.gz" | head -n 1 | grep -q "^sislin ($versao) " ||
        falha "its changelog does not begin with version $versao"
done
mkdir "$tmp/trabalho"
cp "$src/examples/a7.txt" "$src/examples/b7.txt" "$tmp/trabalho"
cd "$tmp/trabalho"
# Gauss, LU with pivoting and the residual, then leave.
entrada='4\n1\n4\n7\n\n0\n'
printf "$entrada" | "$tmp/raiz/usr/bin/sislin" > instalado || { echo "installed program: status $?" >&2; exit 1; }
printf "$entrada" | "$exe" > construido
cmp instalado construido
grep -q "Vetor solucao" instalado
echo "package ok"
