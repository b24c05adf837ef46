#!/usr/bin/env bash
# Whole-run benchmark: a diagonally dominant system of size N, the dialogue
# "N, 4, 5, 6, 7, pause, 8, 9 (precision 0, limit 50), 0", output to a file; prints the wall time.
# With a second program (e.g. the plain build, sislin_simples), runs both on the same data,
# checks that their outputs are byte-identical and prints the ratio of the wall times.
# With INICIO=1 the dialogue is only "N, 0": the start-up alone (reading the files, echoing the
# system).
# Usage: [INICIO=1] bench/corrida.sh [N] [path/to/sislin] [path/to/other]
set -euo pipefail
N=${1:-2000}
EXES=("$(realpath "${2:-build/sislin}")")
[[ $# -ge 3 ]] && EXES+=("$(realpath "$3")")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 "$(dirname "$0")/gera_sistema.py" "$N" "$dir"
if [[ ${INICIO:-0} == 1 ]]; then
    printf '%s\n0\n' "$N" > "$dir/entrada"
else
    printf '%s\n4\n5\n6\n7\n\n8\n9\n0\n50\n0\n' "$N" > "$dir/entrada"
fi
cd "$dir"
tempos=()
for k in "${!EXES[@]}"; do
    start=$(date +%s.%N)
    "${EXES[$k]}" < entrada > "saida$k"
    end=$(date +%s.%N)
    t=$(python3 -c "print($end - $start)")
    tempos+=("$t")
    printf 'n=%s  %s  wall=%.2f s  output=%s bytes\n' "$N" "$(basename "${EXES[$k]}")" "$t" \
        "$(stat -c %s "saida$k")"
done
if [[ ${#EXES[@]} -eq 2 ]]; then
    cmp -s saida0 saida1 && echo "outputs: identical" || { echo "outputs: DIFFER"; exit 1; }
    python3 -c "import sys; print(f'ratio: {float(sys.argv[1]) / float(sys.argv[2]):.1f}x')" \
        "${tempos[1]}" "${tempos[0]}"
fi
