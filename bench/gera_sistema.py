#!/usr/bin/env python3
# Writes a7.txt and b7.txt for a diagonally dominant system of size N into DIR (fixed seed).
# Usage: bench/gera_sistema.py N DIR
import random
import sys

n, d = int(sys.argv[1]), sys.argv[2]
random.seed(1)
with open(f"{d}/a7.txt", "w") as a:
    for i in range(n):
        row = [random.uniform(-1, 1) for _ in range(n)]
        row[i] = n + random.uniform(1, 2)
        a.write(" ".join(f"{v:.6g}" for v in row) + "\n")
with open(f"{d}/b7.txt", "w") as b:
    b.write("\n".join(f"{random.uniform(-10, 10):.6g}" for _ in range(n)) + "\n")
