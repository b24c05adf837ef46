#!/usr/bin/env bash
# Whole-run benchmark: a diagonally dominant system of size N, the dialogue
# "N, 4, 5, 6, 7, pause, 8, 9 (precision 0, limit 50), 0", output to a file; prints the wall time.
# Usage: bench/corrida.sh [N] [path/to/sislin]
set -euo pipefail
N=${1:-2000}
EXE=$(realpath "${2:-build/sislin}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 - "$N" "$dir" <<'PY'
import random, sys
n, d = int(sys.argv[1]), sys.argv[2]
random.seed(1)
with open(f"{d}/a7.txt", "w") as a:
    for i in range(n):
        row = [random.uniform(-1, 1) for _ in range(n)]
        row[i] = n + random.uniform(1, 2)
        a.write(" ".join(f"{v:.6g}" for v in row) + "\n")
with open(f"{d}/b7.txt", "w") as b:
    b.write("\n".join(f"{random.uniform(-10, 10):.6g}" for _ in range(n)) + "\n")
PY
printf '%s\n4\n5\n6\n7\n\n8\n9\n0\n50\n0\n' "$N" > "$dir/entrada"
cd "$dir"
start=$(date +%s.%N)
"$EXE" < entrada > saida
end=$(date +%s.%N)
printf 'n=%s  wall=%.2f s  output=%s bytes\n' "$N" "$(python3 -c "print($end - $start)")" "$(stat -c %s saida)"
