// The panel "Dados de trabalho": the arrays the choices work on, as the run's record left them,
// each saying which choice left it and whether it still equals the data as read; so an iteration
// after a factorisation is seen to run on the factors. Which arrays a choice leaves and what A
// then holds come from the record's table (`escolhas[].muda`, `escolhas[].A`, `formas`).
import { escolha } from './eventos.js';
import { $, Painel, esquece, ouve } from './painel.js';

const MAIOR = 12;  // larger systems: the record holds them; the panel says so

// The arrays of the working set, in the order shown.
const CONJUNTO = ['A', 'b', 'pos', 'det', 'y', 'x'];
const igual = (u, v) => JSON.stringify(u) === JSON.stringify(v);

// The working set as the events leave it.
export class Conjunto {
  constructor() {
    this.n = null;
    this.lido = {};   // the data as read: { A, b }
    this.atual = {};  // each array: { valor, opcao, forma } (opcao null: as read)
  }

  evento(e, tabela) {
    if (e.evento === 'dados') {
      this.n = e.n;
      this.lido = { A: e.A, b: e.b };
      this.atual = { A: { valor: e.A, opcao: null }, b: { valor: e.b, opcao: null } };
      return true;
    }
    if (e.evento !== 'resultado') return false;
    const entrada = escolha(tabela, e.opcao);
    // What the choice changed, as the table says (without one: every array the event carries).
    const muda = Array.isArray(entrada?.muda) ? entrada.muda : CONJUNTO;
    for (const nome of CONJUNTO) {
      if (!(nome in e) || !muda.includes(nome)) continue;
      // What A holds, in words, when the table says (a key of its `formas`).
      const forma = nome === 'A' ? tabela?.formas?.[entrada?.A] : undefined;
      this.atual[nome] = { valor: e[nome], opcao: e.opcao, forma };
    }
    return true;
  }

  // [{ nome, valor, opcao, forma, comoLido, lido }]: comoLido when it equals the data read;
  // lido when the name is one of the data read.
  itens() {
    return CONJUNTO.filter((nome) => nome in this.atual).map((nome) => ({
      nome, ...this.atual[nome], lido: nome in this.lido,
      comoLido: nome in this.lido && igual(this.atual[nome].valor, this.lido[nome]),
    }));
  }
}

// What an array holds, in words.
export function origem({ opcao, forma, comoLido, lido }) {
  if (opcao === null) return 'como lido';
  let texto = `da opcao ${opcao}`;
  if (forma) texto += ` (${forma})`;
  if (comoLido) return `${texto}, igual ao lido`;
  return lido ? `${texto}, diferente do lido` : texto;
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
  if (!item.comoLido && item.opcao !== null && item.lido) t.className = 'mudou';
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

// The panel: drawn when open and changed.
export class PainelConjunto extends Painel {
  ativa() {
    this.painel = $('conjunto-painel');
    this.elemento = $('conjunto');
    this.inicia();
    ouve(this, this.painel, 'toggle', () => this.mostra());
  }

  inicia() {
    this.conjunto = new Conjunto();
    this.mudou = true;
  }

  evento(e, tabela) {
    if (this.conjunto.evento(e, tabela)) this.mudou = true;
  }

  mostra() {
    if (!this.mudou || !this.painel.open) return;
    this.mudou = false;
    const { n } = this.conjunto;
    if (n > MAIOR) {
      this.elemento.textContent = `n = ${n}: grande demais para mostrar aqui; os valores estao no registro.`;
      return;
    }
    const itens = this.conjunto.itens();
    if (itens.length === 0) {
      this.elemento.textContent = 'Os dados aparecem quando o programa ler os arquivos.';
      return;
    }
    this.elemento.replaceChildren(...itens.map(tabela));
  }

  descarta() { esquece(this); }
}
