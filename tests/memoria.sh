#!/bin/sh
# Peak memory of whole runs, by GNU time's maximum resident set:
# - n = 300 through "300, 4, 5, 6, 7, pause, 8, 9 (precision 0, limit 50), 0": status 0 and a
#   peak within the work set (three matrices, seven vectors, the output buffer and the
#   file-reading block) plus 16 MiB, so a second copy of a matrix or of the output would show;
# - n = 100000: the matrices cannot fit, so the run ends with the memory message and status 1
#   and a peak within the vectors plus 16 MiB (the rows were never obtained);
# - data files that never end or hold no white space: the mismatch report within 16 MiB.
# Under AddressSanitizer (shadow memory, quarantine) only the statuses and messages are checked.
# Usage: memoria.sh path/to/sislin
set -eu
exe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

medir=1
if grep -q __asan_init "$exe"; then
    echo "sanitizer build: peak memory not checked"
    medir=0
elif [ ! -x /usr/bin/time ]; then
    echo "no /usr/bin/time: peak memory not checked"
    medir=0
fi

# Runs the program on "entrada"; sets st (exit status) and pico (peak resident set, bytes).
corre() {
    st=0
    if [ "$medir" = 1 ]; then
        /usr/bin/time -f %M -o pico "$exe" < entrada > saida || st=$?
        pico=$(( $(tail -n 1 pico) * 1024 ))
    else
        "$exe" < entrada > saida || st=$?
        pico=0
    fi
}

falha() { echo "FAIL: $*"; exit 1; }

# n = 300, a diagonally dominant system.
n=300
awk -v n=$n 'BEGIN { for (i = 1; i <= n; i++) { for (j = 1; j <= n; j++)
    printf "%s ", (i == j ? n + 1 : (i * 7 + j * 3) % 5 - 2); printf "\n" } }' > a7.txt
awk -v n=$n 'BEGIN { for (i = 1; i <= n; i++) print i % 7 - 3 }' > b7.txt
printf '%s\n4\n5\n6\n7\n\n8\n9\n0\n50\n0\n' $n > entrada
corre
[ "$st" = 0 ] || falha "n=$n: status $st"
grep -q "Matriz Inversa resultante:" saida || falha "n=$n: no inverse in the output"
grep -q "Falta memoria" saida && falha "n=$n: memory message"
l=$((n + 1))
trabalho=$(( 7 * l * 4 + 3 * (l * 8 + l * l * 4) + 2 * 1048576 ))
limite=$(( trabalho + 16 * 1048576 ))
[ "$medir" = 0 ] || echo "n=$n: peak $pico bytes, work set $trabalho bytes"
[ "$pico" -le "$limite" ] || falha "n=$n: peak $pico above $limite"

# A data file that never ends (/dev/zero) and 64 MiB without white space: the mismatch report
# and status 1 as soon as the bytes show that no number can follow, within 16 MiB.
printf '1 2\n' > b7.txt
printf '2\n' > entrada
for a7 in /dev/zero colado; do
    rm -f a7.txt
    if [ "$a7" = colado ]; then yes 1e1 | tr -d '\n' | head -c 67108864 > a7.txt; else ln -s "$a7" a7.txt; fi
    corre
    [ "$st" = 1 ] || falha "a7.txt $a7: status $st"
    grep -q "a7.txt nao corresponde as especificacoes" saida || falha "a7.txt $a7: no mismatch report"
    [ "$medir" = 0 ] || echo "a7.txt $a7: peak $pico bytes"
    [ "$pico" -le $((16 * 1048576)) ] || falha "a7.txt $a7: peak $pico above 16 MiB"
done

# n = 100000: b7.txt must hold the numbers, since it is read before the matrices are made.
# The three matrices take 120 GB; a machine with that much memory would make them.
n=100000
fisica=$(( $(getconf _PHYS_PAGES) * $(getconf PAGESIZE) ))
if [ "$fisica" -ge 120000000000 ]; then echo "n=$n: fits in this machine's memory"; exit 0; fi
awk -v n=$n 'BEGIN { for (i = 1; i <= n; i++) print 1 }' > b7.txt
echo 1 > a7.txt
printf '%s\n' $n > entrada
corre
[ "$st" = 1 ] || falha "n=$n: status $st"
[ "$(tail -c 49 saida)" = "Falta memoria para alocar a matriz de ponteiros." ] ||
    falha "n=$n: output ends with '$(tail -c 60 saida)'"
vetores=$(( 6 * (n + 1) * 4 ))
limite=$(( vetores + 16 * 1048576 ))
[ "$medir" = 0 ] || echo "n=$n: peak $pico bytes, vectors $vetores bytes"
[ "$pico" -le "$limite" ] || falha "n=$n: peak $pico above $limite"
exit 0
