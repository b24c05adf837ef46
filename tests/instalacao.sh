#!/bin/sh
# Installs a build tree into a temporary prefix, then configures, builds and runs the consumer
# project in tests/consumidor against it.
# Usage: instalacao.sh <build dir> <source dir> <cmake> <C++ compiler> "<C++ flags>"
set -eu
build=$1 src=$2 cmake=$3 cxx=$4 flags=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$cmake" --install "$build" --prefix "$tmp/prefixo" >/dev/null
for f in bin/sislin share/man/man1/sislin.1 bin/sislin-aula share/man/man1/sislin-aula.1 \
         include/sislin/util.h include/sislin/methods.h \
         lib/libsislin_util.a lib/libsislin_methods.a; do
    test -f "$tmp/prefixo/$f" || { echo "missing after install: $f" >&2; exit 1; }
done
"$cmake" -S "$src/tests/consumidor" -B "$tmp/consumidor" -DCMAKE_PREFIX_PATH="$tmp/prefixo" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
"$cmake" --build "$tmp/consumidor" >/dev/null
saida=$("$tmp/consumidor/consumidor")
esperado="det 7395.0
x1 1.0000
x2 2.0000
x3 -1.0000
x4 1.0000"
if [ "$saida" != "$esperado" ]; then
    printf 'consumer printed:\n%s\nexpected:\n%s\n' "$saida" "$esperado" >&2
    exit 1
fi
echo "consumer ok"
