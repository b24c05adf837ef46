#!/bin/sh
# Runs two builds of the program on the same random systems and the same replies, and fails
# unless their outputs and exit statuses are identical byte for byte. Each argument is a
# command (its words split by the shell; absolute paths, since it runs in a temporary
# directory): "/path/build/sislin", "node /path/lancador.mjs /path/sislin.wasm".
# Usage: compara.sh "referencia" "outro"
set -eu
ref=$1
outro=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# n, seed, then whether the matrix is diagonally dominant (so the iterations converge).
for caso in "5 1 0" "5 2 1" "17 3 0" "40 4 1" "97 5 0" "150 6 1"; do
    set -- $caso
    n=$1
    awk -v n="$n" -v s="$2" -v d="$3" 'BEGIN { srand(s); for (i = 1; i <= n; i++) {
        for (j = 1; j <= n; j++) { v = int(rand() * 20000 - 10000) / 1000;
            if (d && i == j) v += (v < 0 ? -1 : 1) * 10 * n; printf "%s ", v }
        printf "\n" } }' > "$dir/a7.txt"
    awk -v n="$n" -v s="$2" 'BEGIN { srand(s + 100); for (i = 1; i <= n; i++)
        print int(rand() * 2000 - 1000) / 100 }' > "$dir/b7.txt"
    # Every choice, chained: pivoted LU and its solution, the residual, the inverse, LU, Gauss
    # with and without pivoting, and both iterations.
    printf '%s\n4\n5\n6\n7\n\n8\n3\n8\n2\n7\n\n1\n9\n0.0001\n25\n10\n1e-6\n25\n0\n' "$n" > "$dir/entrada"
    for lado in ref outro; do
        eval "cmd=\$$lado"
        st=0
        (cd "$dir" && $cmd < entrada > "saida.$lado") || st=$?
        printf "\nstatus %s\n" "$st" >> "$dir/saida.$lado"
    done
    [ "$(tail -n 1 "$dir/saida.ref")" = "status 0" ] || { echo "FAIL: n=$n: $ref ended with a failure"; exit 1; }
    if ! cmp -s "$dir/saida.ref" "$dir/saida.outro"; then
        echo "FAIL: n=$n seed=$2: the outputs differ"
        diff "$dir/saida.ref" "$dir/saida.outro" | head -n 10
        exit 1
    fi
    echo "n=$n seed=$2: $(wc -c < "$dir/saida.ref") bytes, identical"
done
