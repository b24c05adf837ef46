#!/usr/bin/env bash
# Peak memory of whole runs. For each size N, a diagonally dominant system goes through the
# dialogue "N, 4, 5, 6, 7, pause, 8, 9 (precision 0, limit 50), 0" (the one of corrida.sh); the
# peak resident set of the program (getrusage of the child) is printed next to the work set the
# program has to hold for N:
#   vectors  r, b, b0, x, y, pos and the Jacobi sweep's scratch vector: 7 x (N+1) x 4 bytes
#   matrices A, A0, Inv: 3 x ((N+1) row pointers x 8 + (N+1) rows x (N+1) x 4 bytes)
#   buffers  the 1 MiB output buffer and the 1 MiB file-reading block
# The difference is the process's own baseline (code, C library, allocator headers) and the
# inverse's tile, (N+1) x 128 doubles on the AVX-512 path (2 MiB at N = 2000): nothing more grows
# with N, which shows there is no second copy of a matrix and no buffer of the whole output.
# Then the dialogue "100000": the matrices (40 GB) are refused before any row is obtained, so the
# run ends at once with the memory message and a peak of little more than the vectors.
# Usage: bench/memoria.sh [path/to/sislin] [N ...]   (default sizes: 1000 2000)
set -euo pipefail
EXE=$(realpath "${1:-build/sislin}")
aqui=$(dirname "$(realpath "$0")")
shift || true
SIZES=("$@")
[[ ${#SIZES[@]} -eq 0 ]] && SIZES=(1000 2000)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# Runs EXE in $dir with standard input from $dir/entrada; prints "status peak_kib output_bytes".
# A child's peak starts from its parent's resident set (the copied pages of fork, the shared
# ones of vfork), so the launcher must be small: GNU time when installed (about 1 MiB), else
# python3 (about 14 MiB, which then hides any smaller peak).
if [[ -x /usr/bin/time ]]; then
    medida() {
        local st=0
        (cd "$dir" && /usr/bin/time -f %M -o "$dir/pico" "$EXE" < entrada > saida) || st=$?
        echo "$st $(tail -n 1 "$dir/pico") $(stat -c %s "$dir/saida")"
    }
else
    echo "(no /usr/bin/time: peaks below the python3 launcher's own, about 14 MiB, do not show)"
    medida() {
        python3 - "$EXE" "$dir" <<'PY'
import resource, subprocess, sys, os
exe, d = sys.argv[1], sys.argv[2]
with open(f"{d}/entrada", "rb") as i, open(f"{d}/saida", "wb") as o:
    st = subprocess.run([exe], stdin=i, stdout=o, cwd=d).returncode
print(st, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss, os.path.getsize(f"{d}/saida"))
PY
    }
fi

# The work set in bytes for dimension n (see above).
trabalho() {
    python3 -c "import sys; n = int(sys.argv[1]) + 1; print(7*n*4 + 3*(n*8 + n*n*4) + 2*2**20)" "$1"
}

mib() { python3 -c "import sys; print(f'{int(sys.argv[1]) / 2**20:8.1f}')" "$1"; }

gera() { python3 "$aqui/gera_sistema.py" "$1" "$dir"; }

printf '%8s %6s %12s %12s %12s %14s\n' n status "peak MiB" "work MiB" "peak-work" "output bytes"
for N in "${SIZES[@]}"; do
    gera "$N"
    printf '%s\n4\n5\n6\n7\n\n8\n9\n0\n50\n0\n' "$N" > "$dir/entrada"
    read -r st kib bytes < <(medida)
    pico=$((kib * 1024))
    w=$(trabalho "$N")
    printf '%8s %6s %12s %12s %12s %14s\n' "$N" "$st" "$(mib "$pico")" "$(mib "$w")" \
        "$(mib $((pico - w)))" "$bytes"
done

# n = 100000: b7.txt must hold the 100000 numbers (it is read before the matrices are made).
python3 -c "print('\n'.join(['1'] * 100000))" > "$dir/b7.txt"
echo 1 > "$dir/a7.txt"
printf '100000\n' > "$dir/entrada"
read -r st kib bytes < <(medida)
pico=$((kib * 1024))
vetores=$(( 6 * 100001 * 4 ))
printf '%8s %6s %12s %12s %12s %14s\n' 100000 "$st" "$(mib "$pico")" "$(mib "$vetores")" \
    "$(mib $((pico - vetores)))" "$bytes"
echo "n=100000 ends with: $(tail -c 60 "$dir/saida" | tr '\n' ' ')"
