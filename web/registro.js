// The record of a run (one JSON object a line) as the worker sends it: kept whole for its
// download, read as it comes for what the program waits for, for the working set (the arrays
// as the choices left them) and for the chart's sweeps, and turned into the iteration table as CSV. It needs no browser (the unit tests run it under Node.js).

// What the program waits for, in a few words, from a wait event.
const ESPERAS = {
  dimensao: () => 'dimensao n (inteiro)',
  menu: (e) => `opcao ${e.minimo} a ${e.maximo}`,
  precisao: () => 'precisao, ex.: 0.0001',
  limite: () => 'numero maximo de iteracoes',
  pausa: () => 'Enter para continuar',
  tecla: () => 'Enter para continuar',
};

// The line beside the reply field: the wait, after the reason of a refused reply if there was one.
export function textoEspera(espera, recusa = null) {
  const pede = espera ? (ESPERAS[espera.de]?.(espera) ?? '') : '';
  if (!recusa) return pede;
  return `Resposta recusada: ${recusa.motivo}.${pede ? ` Espera-se: ${pede}` : ''}`;
}

const EVENTO = /^\{"evento":"([a-z]+)"/;
const VARREDURA = /^\{"evento":"varredura","metodo":"([a-z-]+)","k":(\d+),/;

// A sweep's line read for the chart without parsing its x (a million sweeps come in a long
// run): { metodo, k, Erro } (Erro: a number, "inf", "-inf" or "nan"; none on the starting line).
export function leVarredura(linha) {
  const m = VARREDURA.exec(linha);
  if (m === null) return null;
  const i = linha.lastIndexOf(',"Erro":');
  return { metodo: m[1], k: Number(m[2]), Erro: i < 0 ? undefined : JSON.parse(linha.slice(i + 8, -1)) };
}

// The working set's arrays, in the order shown.
const CONJUNTO = ['A', 'b', 'pos', 'det', 'y', 'x'];
const igual = (u, v) => JSON.stringify(u) === JSON.stringify(v);

export class Registro {
  // aoVarrer({ metodo, k, Erro }): called for each sweep of an iteration table
  constructor(aoVarrer = () => {}) {
    this.aoVarrer = aoVarrer;
    this.partes = [];        // every byte received, for the download
    this.decodifica = new TextDecoder();
    this.resto = '';         // the start of a line not complete yet
    this.espera = null;      // the last wait event, while the program waits
    this.recusa = null;      // the refused reply before it, if any
    this.n = null;           // the dimension, once accepted
    this.lido = {};          // the data as read: { A, b }
    this.atual = {};         // each array of the working set: { valor, opcao } (null: as read)
  }

  // Bytes of the record; each line is told by its first bytes, and parsed only when needed.
  recebe(bytes) {
    this.partes.push(bytes);
    // A line of n x n values spans many chunks: it is joined once, when its end comes.
    const novo = this.decodifica.decode(bytes, { stream: true });
    const fim = novo.lastIndexOf('\n');
    if (fim < 0) {
      this.resto += novo;
      return;
    }
    const linhas = (this.resto + novo.slice(0, fim)).split('\n');
    this.resto = novo.slice(fim + 1);
    for (const linha of linhas) {
      const evento = EVENTO.exec(linha)?.[1];
      if (evento === 'espera') {
        this.espera = JSON.parse(linha);
        if (this.recusa?.de !== this.espera.de) this.recusa = null;  // a refusal of another read
      }
      else if (evento === 'rejeitada') this.recusa = JSON.parse(linha);
      else {
        if (evento === 'varredura') {
          const v = leVarredura(linha);
          if (v !== null) this.aoVarrer(v);
        }
        if (evento === 'dimensao') this.n = JSON.parse(linha).n;
        else if (evento === 'dados' || evento === 'resultado') this.trabalho(JSON.parse(linha));
        this.espera = null;
        this.recusa = null;
      }
    }
  }

  trabalho(e) {
    if (e.evento === 'dados') {
      this.lido = { A: e.A, b: e.b };
      this.atual = { A: { valor: e.A, opcao: null }, b: { valor: e.b, opcao: null } };
      return;
    }
    for (const nome of CONJUNTO) if (nome in e) this.atual[nome] = { valor: e[nome], opcao: e.opcao };
  }

  // The working set now: [{ nome, valor, opcao, comoLido }], comoLido when it equals the data read.
  conjunto() {
    return CONJUNTO.filter((nome) => nome in this.atual).map((nome) => ({
      nome, ...this.atual[nome], comoLido: nome in this.lido && igual(this.atual[nome].valor, this.lido[nome]),
    }));
  }

  // The wait line while the program waits ('' when nothing is known).
  aguardando() { return textoEspera(this.espera, this.recusa); }

  // Input given: the wait is over, its line with it.
  respondido() {
    this.espera = null;
    this.recusa = null;
  }

  texto() {
    const d = new TextDecoder();
    return this.partes.map((p) => d.decode(p, { stream: true })).join('') + d.decode();
  }

  blob() { return new Blob(this.partes, { type: 'application/jsonl' }); }
}

const valor = (v) => (typeof v === 'number' ? String(v) : v ?? '');

// The iteration tables of a record (JSON Lines text) as CSV: one row a sweep, every table in
// the order the run made them: metodo, k, x1..xn, Erro (empty on the starting line).
export function tabelaCsv(texto) {
  const linhas = [];
  let n = 0;
  for (const linha of texto.split('\n')) {
    if (!linha.startsWith('{"evento":"varredura"')) continue;
    const e = JSON.parse(linha);
    n = Math.max(n, e.x.length);
    linhas.push([e.metodo, e.k, ...e.x.map(valor), valor(e.Erro)].join(','));
  }
  const cabeca = ['metodo', 'k', ...Array.from({ length: n }, (_, i) => `x${i + 1}`), 'Erro'].join(',');
  return `${[cabeca, ...linhas].join('\r\n')}\r\n`;
}
