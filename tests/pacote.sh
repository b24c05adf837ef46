#!/bin/sh
# Unpacks the Debian packages into a throw-away root (dpkg -x), checks their files and runs the
# installed program on the example data: its output must be the build's own, byte for byte.
# Usage: pacote.sh <folder holding the .deb files> <source dir> <the build's sislin>
set -eu
pacotes=$(cd "$1" && pwd) src=$(cd "$2" && pwd) exe=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for d in "$pacotes"/sislin_*_amd64.deb "$pacotes"/sislin-dev_*_amd64.deb; do
    test -f "$d" || { echo "no package $d" >&2; exit 1; }
    dpkg -x "$d" "$tmp/raiz"
done
for f in bin/sislin share/man/man1/sislin.1 share/doc/sislin/guia.md share/doc/sislin/examples/a7.txt \
         include/sislin/util.h include/sislin/methods.h lib/libsislin_util.a lib/libsislin_methods.a \
         lib/cmake/sislin/sislinConfig.cmake; do
    test -f "$tmp/raiz/usr/$f" || { echo "missing from the packages: /usr/$f" >&2; exit 1; }
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
