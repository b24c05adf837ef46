// The panel "Conferir": the student picks a result the run produced (from its record) and types
// their own values; each entry is marked right or wrong at the significant digits chosen, and
// the program's values are shown on request. A comma is read as the decimal separator, so the
// entries are separated by blanks, line ends or ";".
import { leVarredura } from './registro.js';

const MAX_VARREDURAS = 100;  // sweeps offered per table, and its last one

const escalar = (v) => (typeof v === 'number' ? v : { nan: NaN, inf: Infinity, '-inf': -Infinity }[v]);

function triangulos(A, comL) {
  const L = A.map((l, i) => l.map((v, j) => (j < i ? v : j === i ? 1 : 0)));
  const U = A.map((l, i) => l.map((v, j) => (j >= i ? v : 0)));
  return comL ? [['L', L], ['U', U]] : [['U', U]];
}

// A sweep's line as a result to check.
function itemVarredura(linha) {
  const e = JSON.parse(linha);
  return { rotulo: `${e.metodo === 'jacobi' ? 'Jacobi' : 'Gauss-Seidel'}, x na iteracao ${e.k}`, nome: 'x', valor: e.x };
}

// The results of a record (JSON Lines text) one can check: [{ rotulo, nome, valor }], in the
// order the run made them (valor: a number, a vector or a matrix; nan and infinities as strings).
export function resultados(texto) {
  const lista = [];
  let varreduras = 0;
  let ultima = null;  // the line of the last sweep of a long table, offered when the table ends
  const fimDaTabela = () => {
    if (ultima !== null) lista.push(itemVarredura(ultima));
    ultima = null;
  };
  for (const linha of texto.split('\n')) {
    if (!linha.startsWith('{"evento":"resultado"') && !linha.startsWith('{"evento":"varredura"')) continue;
    const v = leVarredura(linha);
    if (v !== null) {
      if (v.k === 0) {
        fimDaTabela();
        varreduras = 0;
      }
      // Only the sweeps offered are parsed whole (a long run has a million).
      if (++varreduras <= MAX_VARREDURAS) lista.push(itemVarredura(linha));
      else ultima = linha;
      continue;
    }
    fimDaTabela();
    const e = JSON.parse(linha);
    const itens = [];
    if (e.A && e.opcao <= 4) itens.push(...triangulos(e.A, e.opcao >= 3));
    for (const nome of ['det', 'y', 'x', 'r', 'Erro', 'Inv']) if (nome in e) itens.push([nome, e[nome]]);
    for (const [nome, valor] of itens) lista.push({ rotulo: `${nome}, opcao ${e.opcao}`, nome, valor });
  }
  fimDaTabela();
  return lista;
}

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

const $ = (id) => document.getElementById(id);

// The panel: its list of results refreshed from the record when opened or asked.
export function ligaConferir(registro) {
  let lista = [];
  let lido = null;  // the record and its size when the list was made
  const atualiza = () => {
    const r = registro();
    if (lido?.r === r && lido.partes === r.partes.length) return;  // nothing new since
    lido = { r, partes: r.partes.length };
    lista = resultados(r.texto());
    const escolha = $('resultado-conferir');
    const antes = escolha.value;
    escolha.replaceChildren(...lista.map((r, i) => new Option(r.rotulo, String(i))));
    if (lista.length === 0) escolha.append(new Option('nenhum resultado ainda', ''));
    if (antes && Number(antes) < lista.length) escolha.value = antes;
  };
  $('conferir-painel').addEventListener('toggle', atualiza);
  $('resultado-conferir').addEventListener('focus', atualiza);
  $('conferir').addEventListener('submit', (evento) => {
    evento.preventDefault();
    const r = lista[Number($('resultado-conferir').value)];
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
  });
}
