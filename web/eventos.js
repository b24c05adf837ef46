// The record of a run (docs/registro.md: one JSON object a line) as the page reads it: the bytes
// kept whole for the download, each line parsed once (JSON.parse, never matched on its text) into
// one stream of events that every panel reads in order. The first event, `inicio`, brings the
// program's own table of its choices (`escolhas`), what A holds after each (`formas`) and the
// words for each wait (`esperas`); the page takes them from there. A record without that table
// (format 1) still gives its events; a panel shows what it can without it.
//
// A line arrives in chunks and is cut at its line end, as bytes; lines are parsed later, in the
// page's frames, as much as a time budget allows (processa). A line longer than LINHA_LONGA (an
// n = 1000 matrix is 15 MB) is parsed off the main thread by the `separa` given (the page gives a
// worker, leitor.js); the stream waits for it in place. It needs no browser (the unit tests and
// the benchmark run it under Node.js).
import { concatena } from './transcricao.js';

export const LINHA_LONGA = 1 << 20;
// A matrix of more entries is left out of its event (the record has it): { omitida, linhas, colunas }.
export const MAX_ENTRADAS = 100000;

const NOVA_LINHA = 10;

// An event as the panels get it: its large matrices replaced by what they were.
export function resume(evento) {
  for (const [nome, v] of Object.entries(evento)) {
    if (Array.isArray(v) && Array.isArray(v[0]) && v.length * v[0].length > MAX_ENTRADAS) {
      evento[nome] = { omitida: true, linhas: v.length, colunas: v[0].length };
    }
  }
  return evento;
}

const decodifica = new TextDecoder();

// One line's bytes as its event (null for a line that is not a JSON object).
export function leLinha(bytes) {
  try {
    const e = JSON.parse(decodifica.decode(bytes));
    return e !== null && typeof e === 'object' && !Array.isArray(e) ? resume(e) : null;
  } catch {
    return null;
  }
}

const lista = (v) => (Array.isArray(v) ? v : []);

// A wait in words, from the record's table: its `esperas[].texto` with {membro} replaced by the
// wait event's members; without a table, the wait's own name.
export function textoDaEspera(espera, tabela) {
  if (!espera) return '';
  const modelo = lista(tabela?.esperas).find((x) => x?.de === espera.de)?.texto;
  if (typeof modelo !== 'string') return String(espera.de ?? '');
  return modelo.replace(/\{(\w+)\}/g, (t, nome) => (nome in espera ? String(espera[nome]) : t));
}

// The wait the choices are offered at: the one that carries the range of the choices.
export const ofereceEscolhas = (espera) => espera != null && 'minimo' in espera && 'maximo' in espera;

// The record's table entry of a choice, or of the iteration of a method (undefined without one).
export const escolha = (tabela, opcao) => lista(tabela?.escolhas).find((x) => x?.opcao === opcao);
export const escolhaDoMetodo = (tabela, metodo) => lista(tabela?.escolhas).find((x) => x?.metodo === metodo);

// A method of the record by its short name, for the chart, Conferir and the note on the menu.
const NOMES = { jacobi: 'Jacobi', 'gauss-seidel': 'Gauss-Seidel' };
export const nomeDoMetodo = (metodo) => NOMES[metodo] ?? String(metodo);

// What the program waits for, followed through the events: the last wait and the refused reply
// before it. A wait ends with any other event.
export class Espera {
  constructor() {
    this.espera = null;
    this.recusa = null;
  }

  evento(e) {
    if (e.evento === 'espera') {
      this.espera = e;
      if (this.recusa?.de !== e.de) this.recusa = null;  // a refusal of another read
    } else if (e.evento === 'rejeitada') this.recusa = e;
    else {
      this.espera = null;
      this.recusa = null;
    }
  }

  // The line beside the reply field: the wait, after the reason of a refused reply if there was one.
  texto(tabela) {
    const pede = textoDaEspera(this.espera, tabela);
    if (!this.recusa) return pede;
    return `Resposta recusada: ${this.recusa.motivo}.${pede ? ` Espera-se: ${pede}` : ''}`;
  }
}

// A long line's event, parsed elsewhere: pending until it is back (a line that fails: no event).
class Pendente {
  constructor(promessa) {
    this.pronto = false;
    this.evento = null;
    promessa.then((e) => { this.evento = e; }, () => {}).finally(() => { this.pronto = true; });
  }
}

export class Eventos {
  // separa(bytes, partes): a promise of a long line's event (leitor.js's worker in the page)
  constructor({ separa = null } = {}) {
    this.separa = separa;
    this.ouvintes = [];
    this.partes = [];      // every byte received, for the download
    this.pedacos = [];     // the start of a line not complete yet
    this.fila = [];        // lines not parsed yet: bytes or Pendente
    this.tabela = null;    // the record's `inicio` event
  }

  // ouvinte(evento, tabela): called for each event, in the record's order.
  ouve(ouvinte) { this.ouvintes.push(ouvinte); }

  // Bytes of the record: cut into lines, parsed by processa.
  recebe(bytes) {
    this.partes.push(bytes);
    let inicio = 0;
    for (let i = bytes.indexOf(NOVA_LINHA); i >= 0; i = bytes.indexOf(NOVA_LINHA, inicio)) {
      this.linha(bytes.subarray(inicio, i));
      inicio = i + 1;
    }
    if (inicio < bytes.length) this.pedacos.push(bytes.subarray(inicio));
  }

  linha(fim) {
    let bytes = fim;
    let partes = [fim];
    if (this.pedacos.length > 0) {
      partes = [...this.pedacos, fim];
      bytes = concatena(partes);
      this.pedacos = [];
    }
    if (bytes.length === 0) return;
    if (bytes.length <= LINHA_LONGA || this.separa === null) this.fila.push(bytes);
    // separa gets bytes of its own (a worker may take them over, no copy made) and the line's
    // pieces as they came, views of what the stream keeps for the download.
    else this.fila.push(new Pendente(this.separa(partes.length > 1 ? bytes : bytes.slice(), partes)));
  }

  // Parses the lines received, in order, for at most `ms` (and at least one line); stops at a
  // long line still being parsed elsewhere. True when lines remain.
  processa(ms = Infinity) {
    const limite = performance.now() + ms;
    let i = 0;
    for (; i < this.fila.length; i++) {
      if (i > 0 && ms !== Infinity && performance.now() > limite) break;
      const item = this.fila[i];
      let e;
      if (item instanceof Pendente) {
        if (!item.pronto) break;
        e = item.evento;
      } else e = leLinha(item);
      if (e === null || typeof e.evento !== 'string') continue;
      if (e.evento === 'inicio') this.tabela = e;
      for (const ouvinte of this.ouvintes) ouvinte(e, this.tabela);
    }
    this.fila.splice(0, i);
    return this.fila.length > 0;
  }

  // A long line pending aside the main thread: the stream waits until it is back.
  get esperando() { return this.fila[0] instanceof Pendente && !this.fila[0].pronto; }

  texto() {
    const d = new TextDecoder();
    return this.partes.map((p) => d.decode(p, { stream: true })).join('') + d.decode();
  }

  blob() { return new Blob(this.partes, { type: 'application/jsonl' }); }
}

const valor = (v) => (typeof v === 'number' ? String(v) : v ?? '');

// The iteration tables of a record (JSON Lines text) as CSV, for the download: one row a sweep,
// every table in the order the run made them: metodo, k, x1..xn, Erro (empty on the starting
// line). It reads the record's text again, once per download: the stream keeps no sweep's x.
export function tabelaCsv(texto) {
  const linhas = [];
  let n = 0;
  for (const linha of texto.split('\n')) {
    if (!linha.includes('"varredura"')) continue;  // a cheap test before the parse only
    let e;
    try {
      e = JSON.parse(linha);
    } catch {
      continue;
    }
    if (e?.evento !== 'varredura' || !Array.isArray(e.x)) continue;
    n = Math.max(n, e.x.length);
    linhas.push([e.metodo, e.k, ...e.x.map(valor), valor(e.Erro)].join(','));
  }
  const cabeca = ['metodo', 'k', ...Array.from({ length: n }, (_, i) => `x${i + 1}`), 'Erro'].join(',');
  return `${[cabeca, ...linhas].join('\r\n')}\r\n`;
}
