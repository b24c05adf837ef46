// The panel "Dados de trabalho": the arrays the choices work on (A or its factors, b, pos, det,
// y, x) as the run's record left them, each saying which choice left it and whether it still
// equals the data as read; so an iteration after choice 4 is seen to run on the factors.

const MAIOR = 12;  // larger systems: the record holds them; the panel says so

// What an array holds, in words.
export function origem({ nome, opcao, comoLido }) {
  if (opcao === null) return 'como lido';
  let texto = `da opcao ${opcao}`;
  if (nome === 'A' && (opcao === 1 || opcao === 2)) texto += ' (multiplicadores abaixo da diagonal, U na diagonal e acima)';
  if (nome === 'A' && (opcao === 3 || opcao === 4)) texto += ' (L abaixo da diagonal, U na diagonal e acima)';
  if (comoLido) return `${texto}, igual ao lido`;
  return nome === 'A' || nome === 'b' ? `${texto}, diferente do lido` : texto;
}

function tabela(item) {
  if (!Array.isArray(item.valor)) {
    const p = document.createElement('p');
    p.textContent = `${item.nome} = ${item.valor}: ${origem(item)}`;
    return p;
  }
  const t = document.createElement('table');
  const legenda = t.createCaption();
  legenda.textContent = `${item.nome}: ${origem(item)}`;
  if (!item.comoLido && item.opcao !== null && (item.nome === 'A' || item.nome === 'b')) t.className = 'mudou';
  // A vector as one row, a matrix row by row.
  const linhas = Array.isArray(item.valor[0]) ? item.valor : [item.valor];
  const cabeca = t.createTHead().insertRow();
  cabeca.appendChild(document.createElement('td'));
  for (let j = 0; j < linhas[0].length; j++) {
    const th = document.createElement('th');
    th.scope = 'col';
    th.textContent = String(j + 1);
    cabeca.appendChild(th);
  }
  const corpo = t.createTBody();
  linhas.forEach((l, i) => {
    const tr = corpo.insertRow();
    const th = document.createElement('th');
    th.scope = 'row';
    th.textContent = String(i + 1);
    tr.appendChild(th);
    for (const v of l) tr.insertCell().textContent = String(v);
  });
  return t;
}

// Draws the working set (conjunto(): the registro's, made only when it is shown) into the element.
export function desenhaConjunto(elemento, conjunto, n) {
  if (n > MAIOR) {
    elemento.textContent = `n = ${n}: grande demais para mostrar aqui; os valores estao no registro.`;
    return;
  }
  const itens = conjunto();
  if (itens.length === 0) {
    elemento.textContent = 'Os dados aparecem quando o programa ler os arquivos.';
    return;
  }
  elemento.replaceChildren(...itens.map(tabela));
}
