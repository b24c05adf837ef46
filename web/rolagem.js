// Of the output waiting for the terminal (chunks in order), the part that it could still show once
// written: the last `linhas` rows of `colunas` columns, each line taking at least one row per
// `colunas` bytes. The part kept starts after a newline; the rest would scroll out of the
// terminal's memory anyway. Returns the chunks kept and the count of bytes dropped.
const NOVA_LINHA = 10;

export function parteVisivel(partes, linhas, colunas) {
  let resta = linhas;
  for (let i = partes.length - 1; i >= 0; i--) {
    const p = partes[i];
    let fim = p.length;
    for (let j = p.lastIndexOf(NOVA_LINHA, fim - 1); j >= 0; j = p.lastIndexOf(NOVA_LINHA, fim - 1)) {
      resta -= Math.max(1, Math.ceil((fim - j - 1) / colunas));
      fim = j;
      if (resta <= 0) {
        const descartados = partes.slice(0, i).reduce((n, q) => n + q.length, 0) + j + 1;
        return { partes: [p.subarray(j + 1), ...partes.slice(i + 1)], descartados };
      }
      if (j === 0) break;
    }
  }
  return { partes, descartados: 0 };
}

// The next `lote` bytes at most of the chunks waiting (in order), as pieces of at most `pedaco`
// bytes each; `partes` keeps the rest. The terminal parses a piece at a time, so none of its
// tasks outlasts its own time slice by more than one piece.
export function tiraLote(partes, lote, pedaco) {
  const pecas = [];
  let n = 0;
  while (partes.length > 0 && n < lote) {
    const p = partes[0];
    const tamanho = Math.min(p.length, pedaco, lote - n);
    if (tamanho === p.length) partes.shift();
    else partes[0] = p.subarray(tamanho);
    pecas.push(tamanho === p.length ? p : p.subarray(0, tamanho));
    n += tamanho;
  }
  return pecas;
}
