// The page's modules that need no browser, under Node.js: what the terminal skips of a flood of
// output against a plain count of rows, the record's stream of events (format 1 and 2, long
// lines, any cut of its bytes), the chart's sweeps from it, the transcript, the wait line and the
// table as CSV, the analysis's note on the iterations, the working set, the check of a student's
// values, each from the record's own table; a practice session drawn from its record (cells,
// marks, undo, score); the site's file list against the modules. A class assignment's settings
// (link and turma.json), its score, the inputs a record gives, the SCORM calls on a fake API and
// the suspend_data form (round trip, never over 4096 characters).
// Usage: node --test web/testes/unidades.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { parteVisivel, tiraLote } from '../rolagem.js';
import { Curvas } from '../grafico.js';
import { Transcricao } from '../transcricao.js';
import { Espera, Eventos, LINHA_LONGA, MAX_ENTRADAS, tabelaCsv } from '../eventos.js';
import { concatena } from '../transcricao.js';
import { notaDivergencia } from '../analise.js';
import { Conjunto, origem } from '../conjunto.js';
import { Resultados, certo, entradas, leValores } from '../conferir.js';
import { Sessao, dimensao, rotulos } from '../sessao.js';
import { FIM, PRATICA } from './pratica-roteiro.mjs';
import { confereTarefa, entradaDo, fragmentoDaTarefa, jsonDaTarefa, notaDaTarefa, tarefaDoFragmento, tarefaDoJson } from '../tarefa.js';
import { MAX_SUSPENSAO, Scorm, achaApi, codificaSuspensao, decodificaSuspensao, duracao, idDaInteracao } from '../scorm.js';
import { WEB, dadosDo, listaOffline, referencias, site } from '../ferramentas/monta.mjs';

const bytes = (texto) => new TextEncoder().encode(texto);
const texto = (partes) => partes.map((p) => new TextDecoder().decode(p)).join('');
const linhasDe = (t, colunas) => t.split('\n').reduce((n, l) => n + Math.max(1, Math.ceil(l.length / colunas)), 0);

// A small fixed generator: lines of random lengths cut into chunks at random places.
function* casos() {
  let x = 12345;
  const aleatorio = (n) => {
    x = (x * 1103515245 + 12345) % 2147483648;
    return x % n;
  };
  for (let caso = 0; caso < 300; caso++) {
    const linhas = [];
    for (let i = aleatorio(400); i > 0; i--) linhas.push('x'.repeat(aleatorio(3) === 0 ? aleatorio(700) : aleatorio(60)));
    const tudo = linhas.join('\n') + (aleatorio(2) ? '\n' : '');
    const partes = [];
    for (let k = 0; k < tudo.length;) {
      const n = 1 + aleatorio(aleatorio(2) ? 50 : 3000);
      partes.push(bytes(tudo.slice(k, k + n)));
      k += n;
    }
    yield { tudo, partes, linhas: 1 + aleatorio(300), colunas: 20 + aleatorio(100) };
  }
}

test('the terminal keeps a suffix from a line start that fills its rows, and drops only then', () => {
  let algumDescarte = false;
  for (const { tudo, partes, linhas, colunas } of casos()) {
    const r = parteVisivel(partes, linhas, colunas);
    const mantido = texto(r.partes);
    assert.equal(tudo.length - mantido.length, r.descartados);
    assert.ok(tudo.endsWith(mantido));
    if (r.descartados > 0) {
      algumDescarte = true;
      assert.equal(tudo[r.descartados - 1], '\n', 'cut after a newline');
      assert.ok(linhasDe(mantido, colunas) >= linhas, `${linhasDe(mantido, colunas)} rows kept of ${linhas}`);
    } else {
      assert.equal(r.partes, partes);
    }
    if (linhasDe(tudo, colunas) < linhas) assert.equal(r.descartados, 0);
  }
  assert.ok(algumDescarte);
});

test('in one chunk of short lines, exactly the rows asked for are kept', () => {
  const tudo = Array.from({ length: 1000 }, (_, i) => `linha ${i}`).join('\n');
  const r = parteVisivel([bytes(tudo)], 100, 80);
  assert.equal(texto(r.partes).split('\n').length, 100);
  assert.ok(texto(r.partes).endsWith('linha 999'));
});

test("a frame's batch for the terminal: in order, within the batch, in pieces no longer than asked", () => {
  for (const { tudo, partes } of casos()) {
    for (const [lote, pedaco] of [[1 << 15, 1 << 12], [1000, 64], [5, 5]]) {
      const fila = [...partes];
      const pecas = tiraLote(fila, lote, pedaco);
      assert.ok(pecas.every((p) => p.length > 0 && p.length <= pedaco));
      assert.equal(texto(pecas).length, Math.min(lote, tudo.length));
      assert.equal(texto(pecas) + texto(fila), tudo);
    }
  }
});

// The record's table, as the program's format 2 gives it in its first line.
const ESCOLHAS = [
  { opcao: 1, rotulo: 'Gauss', le: ['A', 'b'], muda: ['A', 'b', 'x'], A: 'eliminada', resultado: ['A', 'b', 'x'] },
  { opcao: 2, rotulo: 'Gauss com pivotacao parcial', le: ['A', 'b'], muda: ['A', 'b', 'x'], A: 'eliminada', resultado: ['A', 'b', 'x'] },
  { opcao: 3, rotulo: 'Fatoracao LU', le: ['A'], muda: ['A'], A: 'lu', resultado: ['A'] },
  { opcao: 4, rotulo: 'Fatoracao LU com pivotacao parcial', le: ['A', 'b0'], muda: ['A', 'det', 'pos', 'b'], A: 'lu', resultado: ['A', 'det', 'pos', 'b'] },
  { opcao: 5, rotulo: 'Resolucao do sistema Ly = b', le: ['A', 'b'], muda: ['y'], resultado: ['y'] },
  { opcao: 6, rotulo: 'Resolucao do sistema Uy = y', le: ['A', 'y'], muda: ['x'], resultado: ['x'] },
  { opcao: 7, rotulo: 'Calculo do vetor residuo e erro', le: ['A0', 'b0', 'x'], muda: ['r'], resultado: ['r', 'Erro'], esperas: ['pausa'] },
  { opcao: 8, rotulo: 'Inversa da matriz A', le: ['A'], muda: ['Inv', 'b', 'x', 'y'], resultado: ['Inv', 'b', 'x', 'y'] },
  { opcao: 9, rotulo: 'Metodo Iterativo de Jacobi', le: ['A', 'b'], muda: ['x'], metodo: 'jacobi', esperas: ['precisao', 'limite'] },
  { opcao: 10, rotulo: 'Metodo Iterativo de Gauss-Seidel', le: ['A', 'b'], muda: ['x'], metodo: 'gauss-seidel', esperas: ['precisao', 'limite'] },
  { opcao: 0, rotulo: 'Sair', le: [], muda: [], resultado: [] },
];
const TABELA = {
  evento: 'inicio', programa: 'sislin', formato: 2,
  esperas: [
    { de: 'dimensao', texto: 'dimensao n (inteiro)' }, { de: 'menu', texto: 'opcao {minimo} a {maximo}' },
    { de: 'precisao', texto: 'precisao, ex.: 0.0001' }, { de: 'limite', texto: 'numero maximo de iteracoes' },
    { de: 'pausa', texto: 'Enter para continuar' }, { de: 'tecla', texto: 'Enter para continuar' },
  ],
  formas: { dados: 'como lido', eliminada: 'multiplicadores abaixo da diagonal, U na diagonal e acima', lu: 'L abaixo da diagonal, U na diagonal e acima' },
  escolhas: ESCOLHAS,
};
const INICIO_1 = '{"evento":"inicio","programa":"sislin","formato":1}';
const INICIO_2 = JSON.stringify(TABELA);

// One sweep of an iteration table as its record line (its change from k = 1 on).
const varredura = (metodo, k, erro) => JSON.stringify({ evento: 'varredura', metodo, k, x: [k, -k], ...(k > 0 ? { Erro: erro } : {}) });

// The events of a record given as lines, through the stream, in chunks of `corte` bytes.
function eventosDe(linhas, corte = Infinity, opcoes = {}) {
  const stream = new Eventos(opcoes);
  const lidos = [];
  stream.ouve((e, tabela) => lidos.push([e, tabela]));
  const tudo = bytes(linhas.map((l) => `${l}\n`).join(''));
  for (let i = 0; i < tudo.length; i += Math.min(corte, tudo.length)) stream.recebe(tudo.slice(i, i + corte));
  stream.processa();
  return { stream, lidos };
}
// A model (Conjunto, Resultados, Sessao...) fed every event of a record given as lines.
function alimenta(modelo, linhas) {
  for (const [e, tabela] of eventosDe(linhas).lidos) modelo.evento(e, tabela);
  return modelo;
}

test('the stream: each line once as its event, in order, whatever the cut, the key order or a bad line', () => {
  const linhas = [INICIO_2, '{"evento":"dimensao","n":2}', '{"k":0,"x":[0,0],"metodo":"jacobi","evento":"varredura"}',
    'nao e json', '[1,2]', '{"sem":"evento"}', '', '{"Erro":"nan","evento":"varredura","k":1,"metodo":"jacobi","x":["nan",1]}'];
  const esperados = [TABELA, { evento: 'dimensao', n: 2 }, { evento: 'varredura', metodo: 'jacobi', k: 0, x: [0, 0] },
    { evento: 'varredura', metodo: 'jacobi', k: 1, x: ['nan', 1], Erro: 'nan' }];
  for (const corte of [1, 3, 17, 4096]) {
    const { stream, lidos } = eventosDe(linhas, corte);
    assert.deepEqual(lidos.map(([e]) => e), esperados, `cut ${corte}`);
    assert.ok(lidos.every(([, t]) => t === stream.tabela), 'every event gets the table of its record');
    assert.equal(stream.texto(), `${linhas.join('\n')}\n`, 'the bytes kept whole for the download');
  }
  // Format 1: no table; the events all the same.
  const um = eventosDe([INICIO_1, '{"evento":"dimensao","n":2}']);
  assert.equal(um.stream.tabela.formato, 1);
  assert.equal(um.stream.tabela.escolhas, undefined);
  assert.deepEqual(um.lidos.map(([e]) => e.evento), ['inicio', 'dimensao']);
});

test('the stream: a long line parsed aside waits in place; a large matrix is left out; the budget', async () => {
  const n = Math.ceil(Math.sqrt(MAX_ENTRADAS)) + 1;
  const A = Array.from({ length: n }, (_, i) => Array.from({ length: n }, (_, j) => i + j / 1000 + 0.123456));
  const longa = JSON.stringify({ evento: 'dados', n, A, b: Array(n).fill(1) });
  assert.ok(longa.length > LINHA_LONGA);
  let solta;
  const separados = [];
  const { stream, lidos } = eventosDe([INICIO_2, longa, '{"evento":"escolha","opcao":4}'], 65536, {
    separa: (b) => {
      separados.push(b.length);
      return new Promise((r) => { solta = () => r(JSON.parse(new TextDecoder().decode(b))); });
    },
  });
  assert.deepEqual(separados, [longa.length]);
  assert.deepEqual(lidos.map(([e]) => e.evento), ['inicio'], 'the events after the long line wait for it');
  // The bytes given away are the stream's own: taken over (as a worker takes them), the record
  // kept for the download is whole; the pieces join into the same line. In one chunk or many.
  for (const corte of [65536, Infinity]) {
    const dados = [];
    const { stream: s } = eventosDe([longa, '{"evento":"fim"}'], corte, {
      separa: (b, partes) => {
        dados.push(new TextDecoder().decode(concatena(partes)));
        structuredClone(b, { transfer: [b.buffer] });
        return new Promise(() => {});
      },
    });
    assert.deepEqual(dados, [longa], `cut ${corte}`);
    assert.equal(s.texto(), `${longa}\n{"evento":"fim"}\n`, `cut ${corte}`);
  }
  assert.ok(stream.esperando);
  solta();
  await new Promise((r) => setTimeout(r, 0));
  stream.processa();
  assert.deepEqual(lidos.map(([e]) => e.evento), ['inicio', 'dados', 'escolha']);
  // Parsed here (no `separa`): its large matrix replaced by its shape, its vector kept.
  const aqui = eventosDe([longa]).lidos[0][0];
  assert.deepEqual(aqui.A, { omitida: true, linhas: n, colunas: n });
  assert.equal(aqui.b.length, n);
  // A budget of 0 ms parses at least one line a call, in order.
  const varre = Array.from({ length: 500 }, (_, k) => varredura('jacobi', k, 1));
  const s = new Eventos();
  const ks = [];
  s.ouve((e) => ks.push(e.k));
  s.recebe(bytes(varre.map((l) => `${l}\n`).join('')));
  let chamadas = 0;
  while (s.processa(0)) chamadas++;
  assert.ok(chamadas > 0);
  assert.deepEqual(ks, varre.map((_, k) => k));
});

// Record lines of iteration tables, and what the chart holds after them.
const CURVAS = [
  {
    nome: 'a converging table: exact changes, an exact 0 kept as 0',
    linhas: [varredura('jacobi', 0), varredura('jacobi', 1, 2.2727273), varredura('jacobi', 2, 0.00004), varredura('jacobi', 3, 0)],
    metodo: 'Jacobi', k: [1, 2, 3], erro: [2.2727273, 0.00004, 0], primeiro: 2.2727273, ultimo: 0, outro: null, zero: 3,
  },
  {
    nome: 'a diverging table: inf and nan break the line',
    linhas: [varredura('gauss-seidel', 0), varredura('gauss-seidel', 1, 3), varredura('gauss-seidel', 2, 1e30),
      varredura('gauss-seidel', 3, 'inf'), varredura('gauss-seidel', 4, 'nan')],
    metodo: 'Gauss-Seidel', k: [1, 2, 3, 4], erro: [3, 1e30, null, null], primeiro: 3, ultimo: 'nan', outro: null, zero: null,
  },
  {
    nome: 'Jacobi, then Gauss-Seidel: Jacobi kept as the other; other events between are ignored',
    linhas: [varredura('jacobi', 0), varredura('jacobi', 1, 0.5), '{"evento":"espera","de":"menu","minimo":0,"maximo":10}',
      '{"evento":"escolha","opcao":10}', varredura('gauss-seidel', 0), varredura('gauss-seidel', 1, 0.25)],
    metodo: 'Gauss-Seidel', k: [1], erro: [0.25], primeiro: 0.25, ultimo: 0.25, outro: { metodo: 'Jacobi', k: [1], erro: [0.5] }, zero: null,
  },
  {
    nome: 'Gauss-Seidel, Jacobi, Jacobi again: the other stays Gauss-Seidel; a sweep without its start is not drawn',
    linhas: [varredura('gauss-seidel', 5, 9), varredura('gauss-seidel', 0), varredura('gauss-seidel', 1, 0.1),
      varredura('jacobi', 0), varredura('jacobi', 1, 0.2), varredura('jacobi', 0), varredura('jacobi', 1, 0.3)],
    metodo: 'Jacobi', k: [1], erro: [0.3], primeiro: 0.3, ultimo: 0.3, outro: { metodo: 'Gauss-Seidel', k: [1], erro: [0.1] }, zero: null,
  },
];

test('the sweeps of the chart from the record, whatever the chunks', () => {
  for (const caso of CURVAS) {
    for (const corte of [1, 7, 1000]) {
      const curvas = new Curvas();
      const inicios = [];
      for (const [e] of eventosDe(caso.linhas, corte).lidos) {
        if (e.evento === 'varredura' && curvas.varredura(e)) inicios.push(curvas.metodo);
      }
      assert.equal(inicios.length, caso.linhas.filter((l) => l.includes('"k":0,')).length, caso.nome);
      const { metodo, k, erro, primeiro, ultimo, outro, zero } = curvas;
      assert.deepEqual({ metodo, k, erro, primeiro, ultimo, outro, zero }, (({ nome, linhas, ...resto }) => resto)(caso), caso.nome);
    }
  }
});

test('the transcript: every byte once, lines counted, the output since the last reply', async () => {
  const t = new Transcricao();
  t.saida(bytes('Entre com a dimensao da matriz = '));
  t.resposta(bytes('4\n'));
  t.saida(bytes('linha 1\nlinha 2\n'));
  t.saida(bytes('Escolha: '));
  assert.equal(t.texto(), 'Entre com a dimensao da matriz = 4\nlinha 1\nlinha 2\nEscolha: ');
  assert.equal(await t.blob().text(), t.texto());
  assert.equal(t.linhas, 3);
  assert.equal(t.respostas, 1);
  assert.equal(t.desdeResposta(100), 'linha 1\nlinha 2\nEscolha: ');
  assert.equal(t.desdeResposta(12), ' 2\nEscolha: ');
});

// Record lines, in order, and the wait line after each (null: not waiting, the line empty).
const ESPERAS = [
  [INICIO_2, ''],
  ['{"evento":"espera","de":"dimensao"}', 'dimensao n (inteiro)'],
  ['{"evento":"rejeitada","de":"dimensao","motivo":"negativo"}', 'Resposta recusada: negativo. Espera-se: dimensao n (inteiro)'],
  ['{"evento":"espera","de":"dimensao"}', 'Resposta recusada: negativo. Espera-se: dimensao n (inteiro)'],
  ['{"evento":"dimensao","n":2}', ''],
  ['{"evento":"espera","de":"menu","minimo":0,"maximo":10}', 'opcao 0 a 10'],
  ['{"evento":"rejeitada","de":"menu","motivo":"fora da faixa"}', 'Resposta recusada: fora da faixa. Espera-se: opcao 0 a 10'],
  ['{"evento":"espera","de":"menu","minimo":1,"maximo":3}', 'Resposta recusada: fora da faixa. Espera-se: opcao 1 a 3'],
  ['{"evento":"escolha","opcao":9}', ''],
  ['{"evento":"espera","de":"precisao"}', 'precisao, ex.: 0.0001'],
  ['{"evento":"rejeitada","de":"precisao","motivo":"nao e um numero"}', 'Resposta recusada: nao e um numero. Espera-se: precisao, ex.: 0.0001'],
  ['{"evento":"espera","de":"limite"}', 'numero maximo de iteracoes'],
  ['{"evento":"varredura","metodo":"jacobi","k":0,"x":[0,0]}', ''],
  ['{"evento":"espera","de":"pausa"}', 'Enter para continuar'],
  ['{"evento":"erro","mensagem":"O arquivo a7.txt nao existe."}', ''],
  ['{"evento":"espera","de":"tecla"}', 'Enter para continuar'],
];

test('the wait line follows the record, in any cut of its bytes, in the words of its table', () => {
  const tudo = bytes(ESPERAS.map(([l]) => `${l}\n`).join(''));
  for (const corte of [1, 5, 64, tudo.length]) {
    const r = new Eventos();
    const espera = new Espera();
    r.ouve((e) => espera.evento(e));
    let fim = 0;
    for (const [linha, esperada] of ESPERAS) {
      fim += bytes(`${linha}\n`).length;
      for (let k = r.partes.reduce((n, p) => n + p.length, 0); k < fim; k += corte) r.recebe(tudo.slice(k, Math.min(k + corte, fim)));
      r.processa();
      assert.equal(espera.texto(r.tabela), esperada, `${linha} (${corte})`);
    }
    assert.equal(r.texto(), new TextDecoder().decode(tudo));
  }
  // Format 1 has no words for its waits: each is named as the record names it.
  const um = eventosDe([INICIO_1, '{"evento":"espera","de":"limite"}']);
  const espera = new Espera();
  for (const [e] of um.lidos) espera.evento(e);
  assert.equal(espera.texto(um.stream.tabela), 'limite');
  // A table not as documented: no words from it, no failure.
  for (const torta of [{ esperas: 'x' }, { esperas: [null, { de: 'limite', texto: 3 }] }]) {
    assert.equal(espera.texto({ ...TABELA, ...torta }), 'limite');
  }
  // Another table, other words: the page says what the record's table says.
  const outra = { ...TABELA, esperas: [{ de: 'menu', texto: 'escolha de {minimo} ate {maximo} ({outro})' }] };
  espera.evento({ evento: 'espera', de: 'menu', minimo: 0, maximo: 12 });
  assert.equal(espera.texto(eventosDe([JSON.stringify(outra)]).stream.tabela), 'escolha de 0 ate 12 ({outro})');
});

test('the iteration tables as CSV: every sweep of both methods, numbers as recorded', () => {
  const registro = [
    '{"evento":"escolha","opcao":9}',
    '{"evento":"varredura","metodo":"jacobi","k":0,"x":[0,0]}',
    '{"evento":"varredura","metodo":"jacobi","k":1,"x":[0.5,-1e-7],"Erro":2.0000002}',
    '{"evento":"resultado","opcao":9,"x":[0.5,-1e-7],"k":1,"convergiu":false}',
    '{"evento":"varredura","metodo":"gauss-seidel","k":1,"x":["nan","-inf"],"Erro":"inf"}',
  ].join('\n');
  assert.equal(tabelaCsv(registro), 'metodo,k,x1,x2,Erro\r\njacobi,0,0,0,\r\njacobi,1,0.5,-1e-7,2.0000002\r\n'
    + 'gauss-seidel,1,nan,-inf,inf\r\n');
  assert.equal(tabelaCsv('{"evento":"fim","status":0}\n'), 'metodo,k,Erro\r\n');
});

test('the note on the iterations names each one that does not converge from every start, by the table', () => {
  const it = (metodo, converge) => ({ metodo, raio: 1.2, converge, varreduras: null, texto: '...' });
  const casos = [
    [true, true, ''],
    [false, true, 'Nota: neste sistema 9 (Jacobi) nao converge a partir de todo inicio.'],
    [true, false, 'Nota: neste sistema 10 (Gauss-Seidel) nao converge a partir de todo inicio.'],
    [false, false, 'Nota: neste sistema 9 (Jacobi) e 10 (Gauss-Seidel) nao convergem a partir de todo inicio.'],
    [null, true, ''],  // not determined: no note
  ];
  for (const [j, g, nota] of casos) {
    assert.equal(notaDivergencia([it('jacobi', j), it('gauss-seidel', g)], TABELA), nota, `${j} ${g}`);
  }
  assert.equal(notaDivergencia(null, TABELA), '');
  // The choice's number is the table's: another table, another number; no table, the name alone.
  const outra = { escolhas: [{ opcao: 3, rotulo: 'Jacobi', metodo: 'jacobi' }] };
  assert.equal(notaDivergencia([it('jacobi', false)], outra), 'Nota: neste sistema 3 (Jacobi) nao converge a partir de todo inicio.');
  assert.equal(notaDivergencia([it('jacobi', false)], { formato: 1 }), 'Nota: neste sistema Jacobi nao converge a partir de todo inicio.');
  assert.equal(notaDivergencia([it('jacobi', false)], { escolhas: { jacobi: 9 } }), 'Nota: neste sistema Jacobi nao converge a partir de todo inicio.');
});

test('the working set: each array from the choice that left it, what A holds from the table', () => {
  const eventos = [
    { evento: 'dados', n: 2, A: [[2, 1], [4, 3]], b: [1, 2] },
    { evento: 'resultado', opcao: 4, A: [[4, 3], [0.5, -0.5]], det: -2, pos: [2, 1], b: [2, 1] },
    { evento: 'resultado', opcao: 7, r: [0, 0], Erro: 0 },
    { evento: 'resultado', opcao: 9, precisao: 0.001, limite: 5, x: [1, 2], k: 5, convergiu: false },
    { evento: 'resultado', opcao: 8, Inv: [[1, 0], [0, 1]], b: [1, 2], x: [0.5, 0], y: [1, 2] },
  ];
  const conjuntoDe = (inicio, mais = []) => alimenta(new Conjunto(), [inicio, ...[...eventos, ...mais].map((e) => JSON.stringify(e))]);
  const c = conjuntoDe(INICIO_2);
  assert.equal(c.n, 2);
  const itens = c.itens();
  assert.deepEqual(itens.map((i) => [i.nome, i.opcao, i.comoLido]),
    [['A', 4, false], ['b', 8, true], ['pos', 4, false], ['det', 4, false], ['y', 8, false], ['x', 8, false]]);
  assert.deepEqual(itens.map(origem), [
    'da opcao 4 (L abaixo da diagonal, U na diagonal e acima), diferente do lido', 'da opcao 8, igual ao lido',
    'da opcao 4', 'da opcao 4', 'da opcao 8', 'da opcao 8']);
  const gauss = conjuntoDe(INICIO_2, [{ evento: 'resultado', opcao: 1, A: [[2, 1], [2, 1]], b: [1, 0], x: [0.5, 0] }]);
  assert.equal(origem(gauss.itens()[0]), 'da opcao 1 (multiplicadores abaixo da diagonal, U na diagonal e acima), diferente do lido');
  // Format 1: the same arrays, without what A holds.
  assert.deepEqual(conjuntoDe(INICIO_1).itens().map(origem), [
    'da opcao 4, diferente do lido', 'da opcao 8, igual ao lido', 'da opcao 4', 'da opcao 4', 'da opcao 8', 'da opcao 8']);
  // What a choice changed is the table's: a choice said to change only x leaves b as it was.
  const soX = JSON.stringify({ ...TABELA, escolhas: ESCOLHAS.map((c) => (c.opcao === 8 ? { ...c, muda: ['x'] } : c)) });
  assert.deepEqual(conjuntoDe(soX).itens().map((i) => [i.nome, i.opcao]),
    [['A', 4], ['b', 4], ['pos', 4], ['det', 4], ['x', 8]]);
  // A table with other words for the factors: the panel says them.
  const outra = JSON.stringify({ ...TABELA, formas: { lu: 'os fatores L e U juntos' } });
  assert.equal(origem(conjuntoDe(outra).itens()[0]), 'da opcao 4 (os fatores L e U juntos), diferente do lido');
  c.evento({ evento: 'dados', n: 1, A: [[3]], b: [6] }, TABELA);
  assert.deepEqual(c.itens().map((i) => [i.nome, origem(i)]), [['A', 'como lido'], ['b', 'como lido']]);
});

test('checking a student: the results of a record, their entries, the values typed, the digits', () => {
  const registro = [
    '{"evento":"resultado","opcao":4,"A":[[4,3],[0.5,-0.5]],"det":-2,"pos":[2,1],"b":[2,1]}',
    '{"evento":"resultado","opcao":1,"A":[[2,1],[2,1]],"b":[1,0],"x":[0.5,0]}',
    '{"evento":"varredura","metodo":"jacobi","k":0,"x":[0,0]}',
    '{"evento":"varredura","metodo":"jacobi","k":1,"x":["nan","inf"],"Erro":"inf"}',
    '{"evento":"resultado","opcao":7,"r":[0,1e-7],"Erro":1e-7}',
  ];
  const resultados = (linhas) => alimenta(new Resultados(), [INICIO_2, ...linhas]).itens();
  const lista = resultados(registro);
  assert.deepEqual(lista.map((r) => r.rotulo), ['L, opcao 4', 'U, opcao 4', 'det, opcao 4', 'U, opcao 1', 'x, opcao 1',
    'Jacobi, x na iteracao 0', 'Jacobi, x na iteracao 1', 'r, opcao 7', 'Erro, opcao 7']);
  assert.deepEqual(lista[0].valor, [[1, 0], [0.5, 1]]);
  assert.deepEqual(lista[1].valor, [[4, 3], [0, -0.5]]);
  assert.deepEqual(entradas(lista[0]).map(([n]) => n), ['L[1][1]', 'L[1][2]', 'L[2][1]', 'L[2][2]']);
  assert.deepEqual(entradas(lista[2]), [['det', -2]]);
  assert.deepEqual(entradas(lista[4]), [['x[1]', 0.5], ['x[2]', 0]]);
  assert.deepEqual(leValores(' 0,5;-1e-3\n2.0000002  nan -INF x 1,2,3 '),
    [0.5, -0.001, 2.0000002, NaN, -Infinity, undefined, undefined]);
  // [student, program, digits, right]
  const casos = [
    [0.5, 0.49999997, 4, true], [0.5, 0.49999997, 9, false], [-10.32, -10.321101, 4, true],
    [7.2, 7.1105766, 4, false], [7.111, 7.1105766, 4, true], [7.11, 7.1105766, 4, false],
    [2, 2.0000002, 4, true], [0, 0, 4, true], [0, 1e-7, 4, false], [1e-7, 1.0000001e-7, 4, true],
    [NaN, 'nan', 4, true], [Infinity, 'inf', 4, true], [-Infinity, 'inf', 4, false], [1, 'nan', 4, false],
    [undefined, 1, 4, false],
  ];
  for (const [aluno, programa, digitos, esperado] of casos) {
    assert.equal(certo(aluno, programa, digitos), esperado, `${aluno} against ${programa} at ${digitos}`);
  }
  // A long table: its first 100 sweeps and its last, in place (before the choice's own result
  // and before the next table), also when the record ends inside it.
  const longa = (m, n) => Array.from({ length: n + 1 }, (_, k) => varredura(m, k, 1));
  const rotulos = (linhas) => resultados(linhas).map((r) => r.rotulo);
  const primeiras = (m) => Array.from({ length: 100 }, (_, k) => `${m}, x na iteracao ${k}`);
  assert.deepEqual(rotulos([...longa('jacobi', 250), '{"evento":"resultado","opcao":9,"x":[250]}', ...longa('gauss-seidel', 3)]),
    [...primeiras('Jacobi'), 'Jacobi, x na iteracao 250', 'x, opcao 9', ...primeiras('Gauss-Seidel').slice(0, 4)]);
  assert.deepEqual(rotulos([...longa('jacobi', 150), ...longa('jacobi', 120)]),
    [...primeiras('Jacobi'), 'Jacobi, x na iteracao 150', ...primeiras('Jacobi'), 'Jacobi, x na iteracao 120']);
  assert.deepEqual(rotulos(longa('gauss-seidel', 100)), [...primeiras('Gauss-Seidel'), 'Gauss-Seidel, x na iteracao 100']);
});

test('checking a student: without the table, A as it is; a matrix left out of its event is not offered', () => {
  const r = alimenta(new Resultados(), [INICIO_1, '{"evento":"resultado","opcao":4,"A":[[4,3],[0.5,-0.5]],"det":-2}']);
  r.evento({ evento: 'resultado', opcao: 8, Inv: { omitida: true, linhas: 400, colunas: 400 }, x: [1] }, null);
  assert.deepEqual(r.itens().map((i) => [i.rotulo, i.valor]), [
    ['A, opcao 4', [[4, 3], [0.5, -0.5]]], ['det, opcao 4', -2], ['x, opcao 8', [1]]]);
});

// The site: every file web/ holds directly ships (the tools and tests are in folders of their
// own), and so does every module a shipped module imports or starts as a worker.
const SHIPPED_APART = ['package.json', 'package-lock.json'];  // npm's, for web/node_modules
const dadosDeTeste = () => dadosDo(join(WEB, 'icone.svg'), join(WEB, 'icone.svg'));

test('the site holds every file of web/ and every module the page loads; the offline list all but the service worker', () => {
  const arquivos = site(dadosDeTeste());
  const caminhos = arquivos.map(([, c]) => c);
  const proprios = readdirSync(WEB).filter((f) => statSync(join(WEB, f)).isFile() && !SHIPPED_APART.includes(f));
  for (const f of proprios) assert.ok(caminhos.includes(f), `${f} is in web/ but not in the site`);
  for (const c of ['sislin.wasm', 'sislin-aula.wasm', 'a7.txt', 'b7.txt', 'xterm/xterm.js', 'xterm/xterm.css',
    'xterm/addon-fit.js', 'wasi/wasi.js', 'wasi/fd.js', 'wasi/fs_mem.js', 'wasi/wasi_defs.js', 'wasi/debug.js']) {
    assert.ok(caminhos.includes(c), `${c} not in the site`);
  }
  // Closed: what each shipped module refers to is in the site too.
  for (const [origem, caminho] of arquivos.filter(([, c]) => /\.m?js$/.test(c))) {
    const texto = readFileSync(origem, 'utf8');
    for (const ref of referencias(caminho, texto)) {
      const alvo = join(caminho, '..', ref).replace(/^\.\//, '');
      assert.ok(caminhos.includes(alvo), `${caminho} refers to ${ref}, not in the site`);
    }
  }
  const offline = listaOffline(arquivos);
  assert.equal(offline[0], './');
  assert.ok(!offline.includes('sw.js') && offline.length === arquivos.length, 'every file but the service worker');
  // A kind of reference not followed (the workers) loses the files only they load: seen here.
  const semWorkers = site(dadosDeTeste(), { sem: (ref, de) => readFileSync(join(WEB, de), 'utf8').includes(`Worker('${ref}'`) })
    .map(([, c]) => c);
  assert.ok(!semWorkers.includes('processo.js') && !semWorkers.includes('wasi/wasi.js'));
});

test('the references a file makes, as the site finds them', () => {
  assert.deepEqual(referencias('a.js', "import { x } from './b.js';\nimport './c.js';\nexport * from \"./d.js\";\n"
    + "import {\n  y,\n} from './e.js';\nconst w = new Worker('f.js', { type: 'module' }); import('./g.js');\n"
    + "navigator.serviceWorker?.register('sw.js');\nimport{z}from\"./h.js\";import*as q from\"./i.js\";"),
  ['./b.js', './d.js', './e.js', './h.js', './i.js', './c.js', './g.js', 'f.js', 'sw.js']);
  for (const [arquivo, texto, refs] of [
    ['index.html', '<link rel="icon" href="i.svg"><script type="module" src="p.js" async></script>', ['p.js', 'i.svg']],
    ['m.webmanifest', '{"icons":[{"src":"i.svg"}]}', ['i.svg']],
    ['e.css', 'a { background: url("f.png") } b { background: url(data:x) }', ['f.png']],
  ]) assert.deepEqual(referencias(arquivo, texto), refs, arquivo);
});

// A session's grids as text: each cell "rotulo=valor", "[marca]" after it, "*" on the one asked,
// "~" on a pivot's candidates.
const desenho = (s) => s.grades().map((g) => [g.nome, ...g.linhas.map((l) => l.map((c) =>
  `${c.rotulo}=${c.valor}${c.marca ? `[${c.marca.marca}]` : ''}${c.proxima ? '*' : ''}${c.candidata ? '~' : ''}`).join(' '))]);

test('a practice session: its grids from the latest state, the cell asked, the marks, undo and the score', () => {
  const s = new Sessao();
  assert.equal(s.evento(TABELA), false, "the program's own record is not a session");
  assert.equal(s.evento({ evento: 'varredura', k: 0, x: [0, 0] }), false);
  const ate = (k) => { for (const e of PRATICA.slice(0, k)) s.evento(e); };
  ate(4);
  assert.equal(s.textoDaPergunta, 'm[2][1] = a[2][1] / a[1][1] = ');
  // m is asked before the state has it: drawn empty, its size from n, the cell asked marked.
  assert.deepEqual(desenho(s), [
    ['A | b', 'linha 1, coluna 1=2 linha 1, coluna 2=1 b, linha 1=3', 'linha 2, coluna 1=1 linha 2, coluna 2=3 b, linha 2=5.5'],
    ['m', 'm, linha 1, coluna 1= m, linha 1, coluna 2=', 'm, linha 2, coluna 1=* m, linha 2, coluna 2='],
  ]);
  assert.deepEqual(s.grades()[0].colunas, ['1', '2', 'b']);
  for (const e of PRATICA.slice(4, 6)) s.evento(e);
  assert.equal(s.aviso, 'm[2][1] = 2: errado. dividiu a[1][1] por a[2][1]');
  assert.equal(desenho(s)[1][2], 'm, linha 2, coluna 1=[errado]* m, linha 2, coluna 2=');
  s.evento(PRATICA[6]);
  assert.equal(s.aviso, 'Dica: m[2][1] = a[2][1] / a[1][1] = 1 / 2');
  for (const e of PRATICA.slice(7, 11)) s.evento(e);
  assert.deepEqual(desenho(s), [
    ['A | b', 'linha 1, coluna 1=2 linha 1, coluna 2=1 b, linha 1=3', 'linha 2, coluna 1=1 linha 2, coluna 2=3[certo]* b, linha 2=5.5'],
    ['m', 'm, linha 1, coluna 1=0 m, linha 1, coluna 2=0', 'm, linha 2, coluna 1=0.5[certo] m, linha 2, coluna 2=0'],
  ], 'the second try right: the mark is certo; the cell of step 2 still asked until the next question');
  assert.equal(s.placar, 'Ate agora: 1 certo de primeira, 1 erro, 1 dica, 0 mostrados, 0 aceitos.');
  for (const e of PRATICA.slice(11, 15)) s.evento(e);
  assert.equal(s.historico.at(-2).texto, 'Resposta recusada: nao e um numero nem um comando.');
  assert.equal(desenho(s)[0][2], 'linha 2, coluna 1=1 linha 2, coluna 2=2.5[certo] b, linha 2=5.5[errado]*');
  assert.equal(s.marcas.get(3).explicacao, 'b[2] ficou como estava');
  // Undo to step 2: the marks of steps 2 and 3 go, the state before step 2 is drawn, 2 is asked.
  for (const e of PRATICA.slice(15)) s.evento(e);
  assert.equal(desenho(s)[0][2], 'linha 2, coluna 1=1 linha 2, coluna 2=3* b, linha 2=5.5');
  assert.equal(desenho(s)[1][2], 'm, linha 2, coluna 1=0.5[certo] m, linha 2, coluna 2=0', 'the step before kept');
  assert.equal(s.historico.at(-1).texto, 'Desfeito: 1 passo; de volta ao passo 2.');
  assert.equal(s.placar, 'Ate agora: 1 certo de primeira, 2 erros, 1 dica, 0 mostrados, 0 aceitos.', 'an undo keeps the counts');
  for (const e of FIM) s.evento(e);
  assert.deepEqual(desenho(s)[0], ['A | b', 'linha 1, coluna 1=2 linha 1, coluna 2=1 b, linha 1=3',
    'linha 2, coluna 1=1 linha 2, coluna 2=2.5[mostrado] b, linha 2=4.1[aceito]']);
  assert.equal(s.pergunta, null);
  assert.equal(s.textoDaPergunta, '');
  assert.equal(s.placar, 'Nota 20 de 100: 0 de 3 passos certos de primeira; 1 dica, 1 mostrado, 1 aceito.', "the summary's own numbers");
  assert.deepEqual(s.historico.map((h) => h.classe), ['errado', 'dica', 'certo', 'certo', 'recusada', 'errado', 'desfaz',
    'mostrado', 'errado', 'aceito', 'fim']);
  assert.equal(s.historico.at(-1).texto, 'Pratica concluida.');
});

test('a practice session: vectors, scalars and questions without a cell; the menu; n from b7.txt', () => {
  const s = new Sessao();
  s.evento({ ...PRATICA[0], metodo: 9 });
  s.evento({ evento: 'estado', passo: 4, A: [[2, 1], [1, 3]], b: [3, 5.5], x: [1.5, 'nan'], Erro: 0.25, k: 1 });
  s.evento({ evento: 'pergunta', passo: 5, nome: 'x[2]', onde: 'x', linha: 2, formula: '(b[2] - a[2][1] * x[1]) / a[2][2]' });
  assert.deepEqual(desenho(s).slice(1), [['x', 'x, linha 1=1.5', 'x, linha 2=nan*'], ['Erro', 'Erro=0.25'], ['k', 'k=1']]);
  s.evento({ evento: 'pergunta', passo: 6, nome: 'parar', onde: 'para' });
  assert.ok(desenho(s).every((g) => !g.join(' ').includes('*')), 'a stop decision has no cell');
  assert.equal(s.textoDaPergunta, 'parar = ');
  // A pivot row asked: its column's candidates from its row down; the answer kept in pos.
  s.evento({ evento: 'estado', passo: 6, A: [[1, 2], [3, 1]], pos: [1, 2] });
  s.evento({ evento: 'pergunta', passo: 7, nome: 'p[2]', onde: 'pivo', linha: 2, coluna: 2, formula: 'a linha de maior |a[i][2]|' });
  s.evento({ evento: 'resposta', passo: 7, texto: '1', valor: 1, esperado: 2, programa: 2, marca: 'errado', engano: 'pivo-nao-maior', explicacao: '', tentativa: 1 });
  assert.deepEqual(desenho(s).slice(0, 2), [
    ['A', 'linha 1, coluna 1=1 linha 1, coluna 2=2', 'linha 2, coluna 1=3 linha 2, coluna 2=1~'],
    ['pos', 'pos, linha 1=1', 'pos, linha 2=2[errado]*'],
  ]);
  s.evento({ evento: 'fim', status: 1, causa: 'fim-da-entrada' });
  assert.equal(s.aviso, 'Pratica encerrada: fim da entrada.');
  // Without a table, the page's own labels: the program's (its table's choices 1 to 10).
  assert.deepEqual(rotulos(null), ESCOLHAS.slice(0, 10).map((c) => c.rotulo));
  const proprios = rotulos({ escolhas: [...ESCOLHAS.slice(0, 5), { opcao: 6, rotulo: 'U x = y' }] });
  assert.deepEqual(proprios.slice(4, 7), ['Resolucao do sistema Ly = b', 'U x = y', 'Calculo do vetor residuo e erro'], "the program's own labels");
  assert.equal(proprios.length, 10);
  assert.deepEqual([dimensao('3\n5.5\n'), dimensao(' \n'), dimensao('1 2 3 4\r\n')], [2, 0, 4]);
});

const EXEMPLO_TAREFA = { chave: 'Calculo Numerico 2026', tipo: 'D', n: 4, metodos: ['gauss', 'jacobi'], digitos: 4, aprovacao: 60 };

test("an assignment's settings: the link's fragment and turma.json, both ways, the defaults, any case", () => {
  // Each: the settings, their link, other links read as them (any case; the key is everything
  // after the fifth "/", slashes and all; exato is 0 digits); turma.json both ways.
  const outra = { chave: 'a/b c%', tipo: 'J', n: 3, metodos: ['jacobi', 'gauss-seidel'], digitos: 0, aprovacao: 0 };
  for (const [tarefa, fragmento, ...outros] of [
    [EXEMPLO_TAREFA, '#turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026', 'turma=d/4/Gauss,JACOBI/4/60/Calculo%20Numerico%202026'],
    [outra, '#turma=J/3/jacobi,gauss-seidel/exato/0/a%2Fb%20c%25', '#turma=J/3/jacobi,gauss-seidel/exato/0/a/b%20c%25']]) {
    assert.equal(fragmentoDaTarefa(tarefa), fragmento);
    for (const f of [fragmento, ...outros]) assert.deepEqual(tarefaDoFragmento(f), { tarefa }, f);
    assert.deepEqual(tarefaDoJson(jsonDaTarefa(tarefa)), { tarefa });
  }
  assert.equal(jsonDaTarefa(EXEMPLO_TAREFA), '{"formato":1,"chave":"Calculo Numerico 2026","tipo":"D","n":4,"metodos":["gauss","jacobi"],"digitos":4,"aprovacao":60}');
  // Defaults by kind.
  for (const [tipo, metodo] of [['D', 'gauss'], ['G', 'gauss'], ['M', 'gauss'], ['P', 'gauss-pivoteado'], ['S', 'gauss-seidel'], ['J', 'jacobi']]) {
    assert.deepEqual(tarefaDoJson(`{"formato":1,"chave":"turma 1","tipo":"${tipo}","n":3}`).tarefa,
      { chave: 'turma 1', tipo, n: 3, metodos: [metodo], digitos: 4, aprovacao: 60 });
    assert.deepEqual(tarefaDoFragmento(`#turma=${tipo}/3//4/60/turma%201`).tarefa.metodos, [metodo]);
  }
  assert.deepEqual([tarefaDoFragmento('#exercicio=D03-000518N'), tarefaDoFragmento('')], [null, null], 'not an assignment');
});

test('a bad fragment or turma.json: one clear message naming what is wrong', () => {
  const FORMA = '; o formato e #turma=TIPO/N/METODOS/DIGITOS/APROVACAO/CHAVE, por exemplo #turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026.';
  for (const [f, motivo] of [['D/4/gauss', 'faltam partes (3 de 6)'], ['X/4/gauss/4/60/chave', 'tipo "X" nao existe (use D, P, G, M, S ou J)'],
    ['D/11/gauss/4/60/chave', 'n "11" fora de 1 a 10'], ['D/quatro/gauss/4/60/chave', 'n "quatro" fora de 1 a 10'],
    ['D/4/gauss,newton/4/60/chave', 'metodo "newton" nao existe (use gauss, gauss-pivoteado, lu, lu-pivoteado, ly, ux, residuo, inversa, jacobi, gauss-seidel)'], ['D/4/gauss/12/60/chave', 'digitos "12" fora de 1 a 9 (ou exato)'],
    ['D/4/gauss/4/101/chave', 'aprovacao "101" fora de 0 a 100'], ['D/4/gauss/4/60/', 'falta a chave da turma'],
    ['D/4/gauss/4/60/%E0%A4%A', 'a chave esta mal codificada']]) {
    assert.deepEqual(tarefaDoFragmento(`#turma=${f}`), { erro: `Link de tarefa invalido: ${motivo}${FORMA}` }, f);
  }
  for (const [json, erro] of [['{"formato":1,', 'nao e JSON'], ['[1]', 'nao e um objeto'],
    ['{"formato":2,"chave":"abcd","tipo":"D","n":3}', ': formato 2 desconhecido (esperado 1)'],
    ['{"formato":1,"chave":"abcd","tipo":"D","n":3,"metodos":"gauss"}', ': metodos deve ser uma lista de nomes']]) {
    assert.deepEqual(tarefaDoJson(json), { erro: `turma.json${erro.startsWith(':') ? '' : ' '}${erro}` });
  }
  assert.deepEqual(confereTarefa({ ...EXEMPLO_TAREFA, n: 2.5 }), { erro: 'n "2.5" fora de 1 a 10' });
});

test("the assignment's score: each method's nota when completed, else 0; the mean rounded", () => {
  const casos = [[[80, null], 40], [[85, 90], 88], [[null, null, null], 0], [[100], 100], [[], 0], [[33, 33, 34], 33]];
  assert.deepEqual(casos.map(([notas]) => notaDaTarefa(notas)), casos.map(([, nota]) => nota));
});

test('the inputs a practice record gives, in order: replies as typed, hints, shown, accepted, undone', () => {
  const entradas = [...PRATICA, ...FIM, { evento: 'desfaz', passos: 3, volta_a: 1 }].map(entradaDo).filter((x) => x !== null);
  assert.deepEqual(entradas, ['2', 'd', '0,5', '2.5', '5.5', 'u', 'm', '4,1', 'a', 'u 3']);
});

// A fake platform: every call recorded, the values it holds, "true" to each.
function plataforma(valores = {}) {
  const chamadas = [];
  const cmi = { ...valores };
  const chama = (nome, f = () => 'true') => (...a) => { chamadas.push([nome, ...a]); return f(...a); };
  return { chamadas, cmi, LMSInitialize: chama('LMSInitialize'), LMSGetValue: chama('LMSGetValue', (k) => cmi[k] ?? ''),
    LMSSetValue: chama('LMSSetValue', (k, v) => { cmi[k] = v; return 'true'; }), LMSCommit: chama('LMSCommit'), LMSFinish: chama('LMSFinish') };
}

test("SCORM: the API in the parents up to 10 levels and the top, then the opener's; a foreign frame stops", () => {
  const api = plataforma();
  // A window `niveis` frames below a top one (its own parent).
  const cadeia = (niveis, topo = {}) => Array.from({ length: niveis }).reduce((w) => ({ parent: w }), Object.assign(topo, { parent: topo }));
  const estrangeiro = { get parent() { throw new Error('cross-origin'); } };
  assert.deepEqual([cadeia(3, { API: api }), cadeia(10, { API: api }), cadeia(11, { API: api }), { ...cadeia(0), opener: cadeia(2, { API: api }) },
    { parent: estrangeiro }, { API: { LMSInitialize: 1 }, parent: null }].map((w) => achaApi(w) === api),
  [true, true, false, true, false, false], "3 and 10 levels up, not 11; the opener's parents; a foreign frame; not an API");
});

test('SCORM: initialize, score, status, interactions numbered on, session time, commit, finish once', () => {
  const api = plataforma({ 'cmi.core.student_id': ' 2026001 ', 'cmi.interactions._count': '3', 'cmi.suspend_data': '1;1;80,;' });
  let agora = 1000;
  const s = new Scorm(api, { agora: () => agora, relogio: () => new Date(2026, 11, 10, 9, 5, 7) });
  assert.deepEqual([s.inicia(), api.chamadas[0], s.aluno, s.suspenso], [true, ['LMSInitialize', ''], '2026001', '1;1;80,;']);
  s.nota(40, false, false);
  s.interacao({ id: idDaInteracao('gauss', 12, 'm[3][1]'), tipo: 'numeric', resposta: '0,5', certo: false });
  s.interacao({ id: idDaInteracao('jacobi', 7, 'parar'), tipo: 'choice', resposta: 's', certo: true });
  agora += 3723000;
  s.confirma();
  assert.deepEqual(api.cmi, {
    'cmi.core.student_id': ' 2026001 ', 'cmi.interactions._count': '3', 'cmi.suspend_data': '1;1;80,;',
    'cmi.core.score.min': '0', 'cmi.core.score.max': '100', 'cmi.core.score.raw': '40',
    'cmi.core.lesson_status': 'incomplete', 'cmi.core.exit': 'suspend', 'cmi.core.session_time': '01:02:03',
    'cmi.interactions.3.id': 'gauss-12-m3_1', 'cmi.interactions.3.type': 'numeric', 'cmi.interactions.3.student_response': '0,5',
    'cmi.interactions.3.result': 'wrong', 'cmi.interactions.3.time': '09:05:07',
    'cmi.interactions.4.id': 'jacobi-7-parar', 'cmi.interactions.4.type': 'choice', 'cmi.interactions.4.student_response': 's',
    'cmi.interactions.4.result': 'correct', 'cmi.interactions.4.time': '09:05:07',
  });
  assert.deepEqual(api.chamadas.at(-1), ['LMSCommit', '']);
  s.nota(88, true, true);
  const passou = [api.cmi['cmi.core.lesson_status'], api.cmi['cmi.core.exit']];
  s.nota(50, true, false);
  assert.deepEqual([...passou, api.cmi['cmi.core.lesson_status']], ['passed', '', 'failed']);
  s.termina();
  s.termina();
  assert.deepEqual(api.chamadas.slice(-2).map((c) => c[0]), ['LMSCommit', 'LMSFinish'], 'commit then finish, once');
  assert.equal(duracao(360000 * 1000 + 5000), '100:00:05');
  // A platform that refuses to start, or throws: no session.
  assert.deepEqual([() => 'false', () => { throw new Error('x'); }].map((f) => new Scorm({ ...plataforma(), LMSInitialize: f }).inicia()), [false, false]);
});

test('suspend_data: the step, the scores and the inputs back as they were; odd characters; other forms refused', () => {
  const estado = { i: 1, notas: [85, null, null], terminados: [true, false, true], entradas: ['0,5', 'd', '1e-3', 'u 2', '~;%', 'ção', 'm', 'a'] };
  const texto = codificaSuspensao(estado);
  assert.equal(texto, '1;1;85,,-;0,5~d~1e-3~u 2~%7E%3B%25~%C3%A7%C3%A3o~m~a');
  assert.deepEqual(decodificaSuspensao(texto, 3), estado);
  assert.deepEqual(decodificaSuspensao('1;3;85,90,-;', 3), { i: 3, notas: [85, 90, null], terminados: [true, true, true], entradas: [] });
  for (const ruim of ['', 'x', '1;1;85;', '1;4;,,;', '2;0;,,;', '1;0;abc,,;']) assert.equal(decodificaSuspensao(ruim, 3), null, ruim);
});

test('suspend_data never goes over 4096 characters: an n = 10 Jacobi session of many sweeps keeps its longest beginning', () => {
  // 25 sweeps of 10 unknowns, Erro and the stop decision; each unknown first typed wrong to 6
  // digits, then right; a hint on every Erro.
  const entradas = [];
  for (let k = 1; k <= 25; k++) {
    for (let i = 1; i <= 10; i++) entradas.push(`-${(i / 7).toFixed(6)}e-0${k % 10}`, `${(i / 3).toFixed(4)}`);
    entradas.push('d', `${(1 / k).toFixed(5)}`, k === 25 ? 's' : 'n');
  }
  const estado = { i: 1, notas: [100, null], terminados: [true, false], entradas };
  const texto = codificaSuspensao(estado);
  assert.ok(texto.length <= MAX_SUSPENSAO, `${texto.length} characters`);
  const k = decodificaSuspensao(texto, 2).entradas.length;
  assert.deepEqual(decodificaSuspensao(texto, 2), { ...estado, entradas: entradas.slice(0, k) }, 'the beginning, in order');
  assert.ok(k > 0 && texto.length + 1 + entradas[k].length > MAX_SUSPENSAO, 'as much as fits');
  // The same session typed right at once fits whole: 25 sweeps * 12 steps.
  const certas = entradas.filter((_, j) => j % 2 === 1 || entradas[j] === 'd' || /^[ns]$/.test(entradas[j]));
  assert.deepEqual(decodificaSuspensao(codificaSuspensao({ ...estado, entradas: certas }), 2).entradas, certas);
  // Any limit holds, even one below the fixed part's length plus one input.
  for (const maximo of [20, 100, 1000]) assert.ok(codificaSuspensao(estado, maximo).length <= Math.max(maximo, 12));
});
