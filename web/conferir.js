// The panel "Conferir": the student picks a result the run produced (from its record) and types
// their own values; each entry is marked right or wrong at the significant digits chosen, and
// the program's values are shown on request. A comma is read as the decimal separator, so the
// entries are separated by blanks, line ends or ";".
import { escolha, nomeDoMetodo } from './eventos.js';
import { $, Painel, esquece, ouve } from './painel.js';

const MAX_VARREDURAS = 100;  // sweeps offered per table, and its last one

const escalar = (v) => (typeof v === 'number' ? v : { nan: NaN, inf: Infinity, '-inf': -Infinity }[v]);

// The factors one checks in A, by what A holds (a key of the record's `formas`).
const FATORES = {
  eliminada: (A) => [['U', triangulo(A, false)]],
  lu: (A) => [['L', triangulo(A, true)], ['U', triangulo(A, false)]],
};

// The lower factor (unit diagonal) or the upper one of a matrix holding both.
function triangulo(A, inferior) {
  return A.map((l, i) => l.map((v, j) => (inferior ? (j < i ? v : j === i ? 1 : 0) : (j >= i ? v : 0))));
}

// The members of a result offered besides A, in this order.
const MEMBROS = ['det', 'y', 'x', 'r', 'Erro', 'Inv'];
const omitida = (v) => v !== null && typeof v === 'object' && v.omitida === true;

// The results one can check, from the events of a run: [{ rotulo, nome, valor }] in the order the
// run made them (valor: a number, a vector or a matrix; nan and infinities as strings).
export class Resultados {
  constructor() {
    this.lista = [];
    this.varreduras = 0;  // sweeps of the current table
    this.ultima = null;   // the last sweep of a long table, offered when the table ends
    this.versao = 0;      // grows with each change of the list
  }

  evento(e, tabela) {
    if (e.evento === 'varredura') {
      if (e.k === 0) {
        this.fimDaTabela();
        this.varreduras = 0;
      }
      if (++this.varreduras <= MAX_VARREDURAS) this.poe(itemVarredura(e));
      else this.ultima = e;
      return;
    }
    if (e.evento !== 'resultado') return;
    this.fimDaTabela();
    const itens = [];
    if (Array.isArray(e.A)) {
      const fatores = FATORES[escolha(tabela, e.opcao)?.A];
      itens.push(...(fatores ? fatores(e.A) : [['A', e.A]]));
    }
    for (const nome of MEMBROS) if (nome in e && !omitida(e[nome])) itens.push([nome, e[nome]]);
    for (const [nome, valor] of itens) this.poe({ rotulo: `${nome}, opcao ${e.opcao}`, nome, valor });
  }

  poe(item) {
    this.lista.push(item);
    this.versao++;
  }

  fimDaTabela() {
    if (this.ultima !== null) this.poe(itemVarredura(this.ultima));
    this.ultima = null;
  }

  // The list now, the last sweep of a table still going included.
  itens() { return this.ultima === null ? this.lista : [...this.lista, itemVarredura(this.ultima)]; }
}

const itemVarredura = (e) => ({ rotulo: `${nomeDoMetodo(e.metodo)}, x na iteracao ${e.k}`, nome: 'x', valor: e.x });

// The entries of a result, named as the program prints them: [[nome, valor]].
export function entradas({ nome, valor }) {
  if (!Array.isArray(valor)) return [[nome, valor]];
  if (!Array.isArray(valor[0])) return valor.map((v, i) => [`${nome}[${i + 1}]`, v]);
  return valor.flatMap((l, i) => l.map((v, j) => [`${nome}[${i + 1}][${j + 1}]`, v]));
}

// A student's entries: numbers with "." or "," as decimal separator; nan, inf, -inf; NaN for
// what is not a number.
export function leValores(texto) {
  return texto.split(/[\s;]+/).filter(Boolean).map((t) => {
    const s = t.replace(',', '.').toLowerCase();
    if (s === 'nan' || s === 'inf' || s === '-inf') return escalar(s);
    return /^[+-]?(\d+\.?\d*|\.\d+)(e[+-]?\d+)?$/.test(s) ? Number(s) : undefined;
  });
}

// Right when both round to the same value at this many significant digits.
export function certo(aluno, programa, digitos) {
  const p = escalar(programa);
  if (aluno === undefined) return false;
  if (!Number.isFinite(p) || !Number.isFinite(aluno)) return Object.is(p, aluno) || (Number.isNaN(p) && Number.isNaN(aluno));
  return Number(aluno.toPrecision(digitos)) === Number(p.toPrecision(digitos));
}

// The panel: its list of results refreshed when opened or asked, if it changed.
export class Conferir extends Painel {
  ativa() {
    this.inicia();
    const escolha = $('resultado-conferir');
    ouve(this, $('conferir-painel'), 'toggle', () => this.atualiza());
    ouve(this, escolha, 'focus', () => this.atualiza());
    ouve(this, $('conferir'), 'submit', (evento) => {
      evento.preventDefault();
      this.confere(this.lista[Number(escolha.value)]);
    });
  }

  inicia() {
    this.resultados = new Resultados();
    this.lista = [];
    this.vista = null;  // the list's version in the select
  }

  evento(e, tabela) { this.resultados.evento(e, tabela); }

  atualiza() {
    const vista = [this.resultados, this.resultados.versao, this.resultados.ultima];
    if (this.vista?.every((v, i) => v === vista[i])) return;  // nothing new since
    this.vista = vista;
    this.lista = this.resultados.itens();
    const escolha = $('resultado-conferir');
    const antes = escolha.value;
    escolha.replaceChildren(...this.lista.map((r, i) => new Option(r.rotulo, String(i))));
    if (this.lista.length === 0) escolha.append(new Option('nenhum resultado ainda', ''));
    if (antes && Number(antes) < this.lista.length) escolha.value = antes;
  }

  confere(r) {
    const saida = $('conferencia');
    if (!r) {
      saida.textContent = 'Escolha um resultado do programa.';
      return;
    }
    const digitos = Math.min(9, Math.max(1, Math.round(Number($('digitos').value)) || 4));
    const aluno = leValores($('valores').value);
    const mostra = $('mostrar-programa').checked;
    const itens = entradas(r).map(([nome, valor], i) => {
      const li = document.createElement('li');
      const ok = i < aluno.length && certo(aluno[i], valor, digitos);
      li.className = ok ? 'certo' : 'errado';
      li.textContent = `${nome}: ${i >= aluno.length ? 'faltando' : ok ? 'certo' : 'errado'}${mostra ? ` (programa: ${valor})` : ''}`;
      return li;
    });
    const certos = itens.filter((li) => li.className === 'certo').length;
    const resumo = document.createElement('p');
    resumo.textContent = `${certos} de ${itens.length} certos com ${digitos} digitos significativos` +
      `${aluno.length > itens.length ? `; ${aluno.length - itens.length} valores a mais` : ''}.`;
    const ol = document.createElement('ol');
    ol.append(...itens);
    saida.replaceChildren(resumo, ol);
  }

  descarta() { esquece(this); }
}
