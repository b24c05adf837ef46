#!/bin/sh
# A class of 60 through sislin-aula, reported, never asserted: the codes of a 20 000-student
# roster (sislin-aula turma), a practice session with and without its hand-in file (the record
# written twice), and the grading of 60 students' hand-in files of two methods (sislin-aula
# corrige, which replays every session). Each time is the best of five runs.
# Usage: sh bench/turma.sh [build/aula/sislin-aula]   (after make build)
set -eu
aula=$(cd "$(dirname "${1:-build/aula/sislin-aula}")" && pwd)/$(basename "${1:-build/aula/sislin-aula}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
chave="Turma de medida 2026"

# The best of five runs of a command, in milliseconds.
melhor() {
  m=""
  for _ in 1 2 3 4 5; do
    t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N)
    t=$(( (t1 - t0) / 1000000 )); if [ -z "$m" ] || [ "$t" -lt "$m" ]; then m=$t; fi
  done
  echo "$m"
}

awk 'BEGIN { print "matricula;nome"; for (i = 0; i < 20000; i++) printf "%d;Aluno %d\n", 2026000000 + i, i }' > lista.csv
echo "turma, 20000 alunos: $(melhor "$aula" turma "$chave" D 4 lista.csv --json) ms"

# Every step shown (m): the longest session a student can hand in without typing a value.
ms=$(awk 'BEGIN { for (i = 0; i < 4000; i++) print "m" }')
codigo=$("$aula" turma "$chave" D 4 --aluno 2026000001 | cut -d' ' -f2)
sem=$(melhor sh -c "printf '%s\n' \"$ms\" | \"$aula\" pratica jacobi $codigo")
com=$(melhor sh -c "rm -f 2026000001-$codigo.jsonl; printf '%s\n' \"$ms\" | \"$aula\" pratica jacobi $codigo --aluno 2026000001")
echo "pratica jacobi n = 4, sem / com o arquivo de entrega: $sem / $com ms"

mkdir entregas
i=0
while [ $i -lt 60 ]; do
  id=$((2026000000 + i))
  c=$("$aula" turma "$chave" D 4 --aluno $id | cut -d' ' -f2)
  for metodo in gauss jacobi; do
    printf '%s\n' "$ms" | (cd entregas && "$aula" pratica $metodo "$c" --aluno $id >/dev/null 2>&1) || true
  done
  i=$((i + 1))
done
echo "corrige, 60 alunos (gauss e jacobi, $(du -sk entregas | cut -f1) KB): $(melhor "$aula" corrige "$chave" entregas/*.jsonl --sobrescrever) ms"
