#!/usr/bin/env bash
# The WebAssembly build under Node.js, with the portable micro-kernels (SISLIN_ISA=generico)
# against the SIMD128 ones: a diagonally dominant system of size N, four dialogues of growing
# length (start-up alone; LU with pivoting; LU and the inverse; the whole run of corrida.sh),
# each the best of two runs, the outputs of both sets compared byte for byte.
# Usage: bench/wasm.sh [N] [path/to/sislin.wasm]   (make wasm builds build-wasm/sislin.wasm)
set -euo pipefail
N=${1:-1000}
WASM=$(realpath "${2:-build-wasm/sislin.wasm}")
LANCADOR=$(realpath "$(dirname "$0")/../web/ferramentas/lancador.mjs")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 "$(dirname "$0")/gera_sistema.py" "$N" "$dir"
cd "$dir"
melhor() {  # melhor ISA: the best wall time of two runs, in seconds; the output in saida_ISA
    local m=""
    for _ in 1 2; do
        local s e
        s=$(date +%s.%N)
        SISLIN_ISA=$1 node --no-warnings --experimental-wasi-unstable-preview1 "$LANCADOR" \
            "$WASM" < entrada > "saida_$1"
        e=$(date +%s.%N)
        m=$(python3 -c "print(min(float('${m:-inf}'), $e - $s))")
    done
    echo "$m"
}
for dialogo in '0' '4\n0' '3\n8\n0' '4\n5\n6\n7\n\n8\n9\n0\n50\n0'; do
    printf "%s\n$dialogo\n" "$N" > entrada
    g=$(melhor generico)
    s=$(melhor simd128)
    cmp -s saida_generico saida_simd128 || { echo "outputs: DIFFER"; exit 1; }
    printf 'n=%s  dialogue %-28s generico %6.3f s  simd128 %6.3f s  ratio %.2fx\n' "$N" \
        "$(printf '%s' "$dialogo" | sed 's/\\n/,/g')" "$g" "$s" "$(python3 -c "print($g / $s)")"
done
