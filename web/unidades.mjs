// The page's modules that need no browser, under Node.js: what the terminal skips of a flood of
// output against a plain count of rows, the chart's sweeps from the record, the transcript, the
// record's wait line and its table as CSV, the analysis's note on the iterations, the working set,
// the check of a student's values.
// Usage: node --test web/unidades.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { parteVisivel } from './rolagem.js';
import { Curvas } from './grafico.js';
import { Transcricao } from './transcricao.js';
import { Registro, leVarredura, tabelaCsv } from './registro.js';
import { notaDivergencia } from './analise.js';
import { origem } from './trabalho.js';
import { certo, entradas, leValores, resultados } from './conferir.js';

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

// Record lines of iteration tables, and what the chart holds after them.
const varredura = (metodo, k, erro) => JSON.stringify({ evento: 'varredura', metodo, k, x: [k, -k], ...(k > 0 ? { Erro: erro } : {}) });
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
      const registro = new Registro((v) => { if (curvas.varredura(v)) inicios.push(curvas.metodo); });
      const tudo = bytes(`${caso.linhas.join('\n')}\n`);
      for (let i = 0; i < tudo.length; i += corte) registro.recebe(tudo.slice(i, i + corte));
      assert.equal(inicios.length, caso.linhas.filter((l) => l.includes('"k":0,')).length, caso.nome);
      const { metodo, k, erro, primeiro, ultimo, outro, zero } = curvas;
      assert.deepEqual({ metodo, k, erro, primeiro, ultimo, outro, zero }, (({ nome, linhas, ...resto }) => resto)(caso), caso.nome);
    }
  }
  assert.equal(leVarredura('{"evento":"escolha","opcao":9}'), null);
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
  ['{"evento":"inicio","programa":"sislin","formato":1}', ''],
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

test('the wait line follows the record, in any cut of its bytes', () => {
  const tudo = bytes(ESPERAS.map(([l]) => `${l}\n`).join(''));
  for (const corte of [1, 5, 64, tudo.length]) {
    const r = new Registro();
    let fim = 0;
    for (const [linha, esperada] of ESPERAS) {
      fim += bytes(`${linha}\n`).length;
      for (let k = r.partes.reduce((n, p) => n + p.length, 0); k < fim; k += corte) r.recebe(tudo.slice(k, Math.min(k + corte, fim)));
      assert.equal(r.aguardando(), esperada, `${linha} (${corte})`);
    }
    assert.equal(r.texto(), new TextDecoder().decode(tudo));
    r.respondido();
    assert.equal(r.aguardando(), '');
  }
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

test('the note on the iterations names each one that does not converge from every start', () => {
  const linha = (nome, veredito) => `${nome}:${' '.repeat(14 - nome.length)}raio espectral 1.2: ${veredito}`;
  const sim = 'converge de qualquer inicio; precisao 1e-4 em cerca de 11 iteracoes';
  const nao = 'nao converge a partir de todo inicio';
  const casos = [
    [sim, sim, ''],
    [nao, sim, 'Nota: neste sistema 9 (Jacobi) nao converge a partir de todo inicio.'],
    [sim, nao, 'Nota: neste sistema 10 (Gauss-Seidel) nao converge a partir de todo inicio.'],
    [nao, nao, 'Nota: neste sistema 9 (Jacobi) e 10 (Gauss-Seidel) nao convergem a partir de todo inicio.'],
  ];
  for (const [j, g, nota] of casos) {
    const relatorio = `Iteracoes (raio espectral da matriz de iteracao):\n${linha('Jacobi', j)}\n${linha('Gauss-Seidel', g)}\n`;
    assert.equal(notaDivergencia(relatorio), nota);
  }
  assert.equal(notaDivergencia('A e estritamente diagonal dominante.\n'), '');
});

test('the working set: each array from the choice that left it, compared with the data read', () => {
  const r = new Registro();
  const eventos = [
    { evento: 'dados', n: 2, A: [[2, 1], [4, 3]], b: [1, 2] },
    { evento: 'resultado', opcao: 4, A: [[4, 3], [0.5, -0.5]], det: -2, pos: [2, 1], b: [2, 1] },
    { evento: 'resultado', opcao: 7, r: [0, 0], Erro: 0 },
    { evento: 'resultado', opcao: 9, precisao: 0.001, limite: 5, x: [1, 2], k: 5, convergiu: false },
    { evento: 'resultado', opcao: 8, Inv: [[1, 0], [0, 1]], b: [1, 2], x: [0.5, 0], y: [1, 2] },
  ];
  r.recebe(bytes(`${eventos.map((e) => JSON.stringify(e)).join('\n')}\n`));
  const conjunto = r.conjunto();
  assert.deepEqual(conjunto.map((c) => [c.nome, c.opcao, c.comoLido]),
    [['A', 4, false], ['b', 8, true], ['pos', 4, false], ['det', 4, false], ['y', 8, false], ['x', 8, false]]);
  assert.deepEqual(conjunto.map(origem), [
    'da opcao 4 (L abaixo da diagonal, U na diagonal e acima), diferente do lido', 'da opcao 8, igual ao lido',
    'da opcao 4', 'da opcao 4', 'da opcao 8', 'da opcao 8']);
  assert.equal(origem({ nome: 'A', opcao: 1, comoLido: false }),
    'da opcao 1 (multiplicadores abaixo da diagonal, U na diagonal e acima), diferente do lido');
  assert.equal(origem({ nome: 'A', opcao: null, comoLido: true }), 'como lido');
  r.recebe(bytes('{"evento":"dados","n":1,"A":[[3]],"b":[6]}\n'));
  assert.deepEqual(r.conjunto().map((c) => [c.nome, origem(c)]), [['A', 'como lido'], ['b', 'como lido']]);
});

test('checking a student: the results of a record, their entries, the values typed, the digits', () => {
  const registro = [
    '{"evento":"resultado","opcao":4,"A":[[4,3],[0.5,-0.5]],"det":-2,"pos":[2,1],"b":[2,1]}',
    '{"evento":"resultado","opcao":1,"A":[[2,1],[2,1]],"b":[1,0],"x":[0.5,0]}',
    '{"evento":"varredura","metodo":"jacobi","k":0,"x":[0,0]}',
    '{"evento":"varredura","metodo":"jacobi","k":1,"x":["nan","inf"],"Erro":"inf"}',
    '{"evento":"resultado","opcao":7,"r":[0,1e-7],"Erro":1e-7}',
  ].join('\n');
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
  const varre = (m, k) => `{"evento":"varredura","metodo":"${m}","k":${k},"x":[${k}]}`;
  const longa = (m, n) => Array.from({ length: n + 1 }, (_, k) => varre(m, k));
  const rotulos = (linhas) => resultados(linhas.join('\n')).map((r) => r.rotulo);
  const primeiras = (m) => Array.from({ length: 100 }, (_, k) => `${m}, x na iteracao ${k}`);
  assert.deepEqual(rotulos([...longa('jacobi', 250), '{"evento":"resultado","opcao":9,"x":[250]}', ...longa('gauss-seidel', 3)]),
    [...primeiras('Jacobi'), 'Jacobi, x na iteracao 250', 'x, opcao 9', ...primeiras('Gauss-Seidel').slice(0, 4)]);
  assert.deepEqual(rotulos([...longa('jacobi', 150), ...longa('jacobi', 120)]),
    [...primeiras('Jacobi'), 'Jacobi, x na iteracao 150', ...primeiras('Jacobi'), 'Jacobi, x na iteracao 120']);
  assert.deepEqual(rotulos(longa('gauss-seidel', 100)), [...primeiras('Gauss-Seidel'), 'Gauss-Seidel, x na iteracao 100']);
});
