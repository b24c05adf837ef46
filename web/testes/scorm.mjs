// The SCORM 1.2 package (pacote.js, make scorm, the panel "Pacote para a plataforma"). Under
// Node.js: the settings a teacher may type, accepted or refused with the field named; the page's
// own parsers (tarefa.js) read back the turma.json and the link the package writes; the zip opens
// with unzip -t, its manifest lists every file of it and only those, it holds the built site whole
// and turma.json the settings; the same input gives the same bytes. Then in each engine: the panel
// builds in the browser, from the site's own files, the zip make scorm builds, from a form the
// keyboard goes through in order, with no axe-core violation (and, on a phone-sized screen,
// nothing wider than it); refused settings are said and their fields marked. The package run in a
// platform-like player (ferramentas/plataforma.mjs): testes/tarefa.mjs.
// Usage: node --test web/testes/scorm.mjs   (after make web and make program; MOTORES="chromium firefox")
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { unzipSync } from 'fflate';
import { MOTORES, abre, violacoes } from '../ferramentas/navegadores.mjs';
import { serve } from '../ferramentas/servidor.mjs';
import { importaDoSite } from '../ferramentas/modulo-do-site.mjs';
import { leSite } from '../ferramentas/scorm.mjs';
import { tarefaDoFragmento, tarefaDoJson } from '../tarefa.js';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const SITE = join(RAIZ, 'build-web');
const motores = (process.env.MOTORES ?? MOTORES.join(' ')).split(/\s+/).filter(Boolean);
// The builder as the build copied it (its library beside it).
const { MANIFESTO, TURMA, fragmento, montaPacote, textoTurma, validaTarefa } = await importaDoSite(SITE, 'pacote.js');
const site = leSite(SITE);

// The assignment the tests package: two methods, 4 digits, pass mark 60.
const TAREFA = { chave: 'Calculo Numerico 2026', tipo: 'D', n: '3', metodos: 'gauss,jacobi', digitos: '4', aprovacao: '60' };

const desempacota = (zip) => new Map(Object.entries(unzipSync(zip)).filter(([c]) => !c.endsWith('/')));
// The manifest's <file href> list, decoded.
const listados = (xml) => [...xml.matchAll(/<file href="([^"]*)"\/>/g)].map((m) => decodeURIComponent(m[1]));
const texto = (bytes) => new TextDecoder().decode(bytes);

// ---- Under Node.js.

test('the settings a teacher types: accepted as turma.json holds them, or refused naming the field', () => {
  const base = { chave: 'Calculo Numerico 2026', tipo: 'D', n: 4 };
  // Accepted, as turma.json holds them (the key as typed: sislin-aula normalises it the same way).
  for (const [entrada, quer] of [[{}, {}], [{ tipo: 'p', n: '10' }, { tipo: 'P', n: 10, metodos: ['gauss-pivoteado'] }],
    [{ tipo: ' s ', n: 3 }, { tipo: 'S', n: 3, metodos: ['gauss-seidel'] }], [{ tipo: 'J', n: 3 }, { tipo: 'J', n: 3, metodos: ['jacobi'] }],
    [{ tipo: 'G' }, { tipo: 'G' }], [{ metodos: 'Jacobi, gauss' }, { metodos: ['jacobi', 'gauss'] }], [{ metodos: '' }, {}],
    [{ metodos: ['lu', 'residuo', 'inversa'] }, { metodos: ['lu', 'residuo', 'inversa'] }], [{ digitos: 'EXATO' }, { digitos: 0 }],
    [{ digitos: '9' }, { digitos: 9 }], [{ digitos: 1 }, { digitos: 1 }], [{ digitos: '' }, {}], [{ aprovacao: '0' }, { aprovacao: 0 }],
    [{ aprovacao: 100 }, { aprovacao: 100 }], [{ chave: '  Turma\tA  2026 ' }, { chave: '  Turma\tA  2026 ' }],
    [{ chave: 'abcd' }, { chave: 'abcd' }], [{ chave: 'x'.repeat(100) }, { chave: 'x'.repeat(100) }]]) {
    assert.deepEqual(validaTarefa({ ...base, ...entrada }),
      { tarefa: { formato: 1, chave: base.chave, tipo: 'D', n: 4, metodos: ['gauss'], digitos: 4, aprovacao: 60, ...quer } }, JSON.stringify(entrada));
  }
  // Refused, naming the field.
  const CURTA = 'Chave: a chave precisa de pelo menos 4 caracteres.';
  const METODOS = ' nao e um metodo (gauss, gauss-pivoteado, lu, lu-pivoteado, ly, ux, residuo, inversa, jacobi, gauss-seidel).';
  for (const [entrada, erro] of [[{ chave: 'abc' }, CURTA], [{ chave: '  a   b  ' }, CURTA], [{ chave: undefined }, CURTA],
    [{ chave: 'x'.repeat(101) }, 'Chave: a chave pode ter no maximo 100 caracteres.'],
    [{ chave: 'Calculo Numérico' }, 'Chave: a chave so pode ter letras sem acento, algarismos, sinais e espacos.'],
    [{ tipo: 'X' }, 'Tipo: "X" nao e um tipo de exercicio (D, P, G, M, S, J).'], [{ n: 1 }, 'n: o tipo D vai de n = 2 a 10.'],
    [{ n: 11 }, 'n: o tipo D vai de n = 2 a 10.'], [{ tipo: 'S', n: 2 }, 'n: o tipo S vai de n = 3 a 10.'],
    [{ n: '4.5' }, 'n: "4.5" nao e um numero inteiro.'], [{ n: '' }, 'n: "" nao e um numero inteiro.'],
    [{ metodos: 'gauss,cholesky' }, `Metodos: "cholesky"${METODOS}`], [{ metodos: 'gauss,' }, `Metodos: ""${METODOS}`],
    [{ metodos: 'gauss,GAUSS' }, 'Metodos: "gauss" aparece mais de uma vez.'], [{ digitos: '10' }, 'Digitos: "10" nao e de 1 a 9 (ou 0, exato).'],
    [{ digitos: 'quatro' }, 'Digitos: "quatro" nao e de 1 a 9 (ou 0, exato).'], [{ aprovacao: '101' }, 'Aprovacao: "101" nao e uma nota de 0 a 100.'],
    [{ aprovacao: '-5' }, 'Aprovacao: "-5" nao e uma nota de 0 a 100.'], [{ aprovacao: '59.5' }, 'Aprovacao: "59.5" nao e uma nota de 0 a 100.']]) {
    assert.deepEqual(validaTarefa({ ...base, ...entrada }), { erros: [erro] }, JSON.stringify(entrada));
  }
  // Every field refused at once: one reason each, in the form's order; the builder refuses them.
  const todas = { chave: 'ab', tipo: 'S', n: 2, metodos: 'x', digitos: 'y', aprovacao: 'z' };
  assert.deepEqual(validaTarefa(todas).erros.map((e) => e.split(':')[0]), ['Chave', 'n', 'Metodos', 'Digitos', 'Aprovacao']);
  assert.throws(() => montaPacote(site, todas), /^Error: Chave: .* Aprovacao: /);
  assert.throws(() => montaPacote(new Map([['a.js', new Uint8Array(1)]]), TAREFA), /index\.html/);
  // The page's link for the settings.
  assert.equal(fragmento(validaTarefa({ ...TAREFA, digitos: 'exato', chave: 'Turma A/2 & 3' }).tarefa),
    '#turma=D/3/gauss,jacobi/exato/60/Turma%20A%2F2%20%26%203');
});

test('the page reads the settings the package writes: turma.json and the #turma= link', () => {
  for (const entrada of [TAREFA, { ...TAREFA, n: '2', metodos: 'gauss' }, { chave: ' Turma A/2 & 3% ', tipo: 'j', n: 10, metodos: 'gauss-seidel,jacobi,lu', digitos: 'exato', aprovacao: 0 },
    { chave: 'x'.repeat(100), tipo: 'M', n: 2, metodos: '', digitos: 9, aprovacao: 100 }]) {
    const { formato, ...tarefa } = validaTarefa(entrada).tarefa;
    assert.equal(formato, 1);
    assert.deepEqual(tarefaDoJson(textoTurma(tarefa)), { tarefa }, JSON.stringify(entrada));
    assert.deepEqual(tarefaDoFragmento(fragmento(tarefa)), { tarefa }, JSON.stringify(entrada));
  }
});

test('the zip opens with unzip -t, lists in its manifest every file and only those, holds the site and the settings', () => {
  const zip = montaPacote(site, TAREFA);
  const pasta = mkdtempSync(join(tmpdir(), 'sislin-scorm-'));
  try {
    const arquivo = join(pasta, 'sislin-scorm.zip');
    writeFileSync(arquivo, zip);
    const t = spawnSync('unzip', ['-tq', arquivo]);
    assert.equal(t.status, 0, `unzip -t: ${t.stdout}${t.stderr}`);
    // The shell check make scorm runs, on the same zip with the same settings.
    const env = { ...process.env, CHAVE: TAREFA.chave, TIPO: TAREFA.tipo, N: TAREFA.n, METODOS: TAREFA.metodos, DIGITOS: TAREFA.digitos, APROVACAO: TAREFA.aprovacao };
    const s = spawnSync('sh', [join(RAIZ, 'tests', 'pacote_scorm.sh'), arquivo, SITE], { env });
    assert.equal(s.status, 0, `pacote_scorm.sh: ${s.stdout}${s.stderr}`);
    // ... which sees a setting that differs.
    const d = spawnSync('sh', [join(RAIZ, 'tests', 'pacote_scorm.sh'), arquivo, SITE], { env: { ...env, APROVACAO: '70' } });
    assert.notEqual(d.status, 0, 'pacote_scorm.sh takes another pass mark');
  } finally {
    rmSync(pasta, { recursive: true });
  }
  const pacote = desempacota(zip);
  const xml = texto(pacote.get(MANIFESTO));
  assert.deepEqual(listados(xml).sort(), [...pacote.keys()].sort());
  assert.deepEqual([...pacote.keys()].sort(), [...site.keys(), MANIFESTO, TURMA].sort());
  for (const [c, bytes] of site) assert.ok(Buffer.from(pacote.get(c)).equals(Buffer.from(bytes)), c);
  assert.deepEqual(JSON.parse(texto(pacote.get(TURMA))),
    { formato: 1, chave: 'Calculo Numerico 2026', tipo: 'D', n: 3, metodos: ['gauss', 'jacobi'], digitos: 4, aprovacao: 60 });
  assert.match(xml, /<schema>ADL SCORM<\/schema>\s*<schemaversion>1\.2<\/schemaversion>/);
  assert.match(xml, /<title>sislin: tarefa tipo D, n = 3, gauss, jacobi \(4 digitos, aprovacao 60\)<\/title>/);
  assert.deepEqual([xml.match(/<item /g).length, xml.match(/<resource /g).length], [1, 1]);
  assert.match(xml, /<resource identifier="([^"]+)" type="webcontent" adlcp:scormtype="sco" href="index.html">/);
  assert.ok(!/masteryscore/.test(xml), 'no mastery score: the page says passed or failed');
  // The same site and settings, the same bytes; other settings, another manifest identifier.
  assert.ok(Buffer.from(montaPacote(site, TAREFA)).equals(Buffer.from(zip)));
  const outro = texto(desempacota(montaPacote(site, { ...TAREFA, aprovacao: '70' })).get(MANIFESTO));
  assert.notEqual(/identifier="([^"]+)"/.exec(outro)[1], /identifier="([^"]+)"/.exec(xml)[1]);
  // A path with characters a URL encodes is listed encoded; a site's own turma.json is replaced.
  const estranho = desempacota(montaPacote(new Map([['index.html', new Uint8Array(1)], ['a b/c&d.txt', new Uint8Array(2)],
    [TURMA, new Uint8Array(3)]]), TAREFA));
  const x = texto(estranho.get(MANIFESTO));
  assert.match(x, /<file href="a%20b\/c%26d\.txt"\/>/);
  assert.deepEqual(listados(x).sort(), [...estranho.keys()].sort());
  assert.equal(JSON.parse(texto(estranho.get(TURMA))).chave, TAREFA.chave);
});

// ---- In the browsers.

// The zip the panel offers for these settings, built in the page from its own files.
async function zipDoPainel(aba, tarefa) {
  await aba.avalia((t) => {
    const $ = (id) => document.getElementById(id);
    $('pacote-painel').open = true;
    $('pacote-baixar').hidden = true;
    for (const c of ['chave', 'tipo', 'n', 'digitos', 'aprovacao']) $(`pacote-${c}`).value = t[c];
    for (const caixa of $('pacote-metodos').querySelectorAll('input')) caixa.checked = t.metodos.split(',').includes(caixa.value);
    $('pacote-form').dispatchEvent(new Event('input'));
    $('pacote-aprovacao').focus();
  }, tarefa);
  await aba.tecla('Enter');  // the form sent from the keyboard
  await aba.espera(() => !document.getElementById('pacote-baixar').hidden, [], 60000);
  const base64 = await aba.avalia(async () => {
    const b = new Uint8Array(await (await fetch(document.getElementById('pacote-baixar').href)).arrayBuffer());
    let s = '';
    for (let i = 0; i < b.length; i += 0x8000) s += String.fromCharCode(...b.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return new Uint8Array(Buffer.from(base64, 'base64'));
}

for (const motor of motores) {
  describe(`package in ${motor}`, () => {
    let navegador;
    let servidor;
    before(async () => {
      navegador = await abre(motor);
      servidor = await serve(SITE, { isolado: false, porta: 0 });
    });
    after(async () => {
      await navegador?.fecha();
      servidor?.close();
    });

    test('the panel builds from the site\'s files the zip make scorm builds, and gives the link', async () => {
      const aba = await navegador.aba();
      const endereco = `http://127.0.0.1:${servidor.address().port}/`;
      await aba.vai(endereco);
      await aba.espera(() => document.getElementById('pacote-metodos').querySelectorAll('input').length === 10);
      // The panel's state: the words said, the fields marked, the one focused, what it offers.
      const painel = () => aba.avalia(() => ({ estado: document.getElementById('pacote-estado').textContent, focado: document.activeElement.id,
        marcados: [...document.querySelectorAll('#pacote [aria-invalid="true"]')].map((e) => e.id), link: document.getElementById('pacote-link').textContent,
        oferecido: !document.getElementById('pacote-baixar').hidden }));
      await aba.avalia(() => {
        document.getElementById('pacote-painel').open = true;
        [document.getElementById('pacote-chave').value, document.getElementById('pacote-n').value] = ['abc', '12'];
      });
      await aba.clica('#pacote-montar');  // refused: the reasons said, the fields marked, nothing offered
      const recusado = await painel();
      assert.deepEqual({ ...recusado, link: '' }, { estado: 'Configuracao recusada. Chave: a chave precisa de pelo menos 4 caracteres. n: o tipo D vai de n = 2 a 10.',
        focado: 'pacote-chave', marcados: ['pacote-chave', 'pacote-n'], link: '', oferecido: false });
      assert.deepEqual(await violacoes(aba, '#pacote'), [], 'axe-core on the panel with refused settings');
      // The keyboard goes through the form in order, every field labelled.
      const vistos = [];
      for (let i = 0; i < 15; i++) {
        await aba.tecla('Tab');
        vistos.push(await aba.avalia(() => {
          const e = document.activeElement;
          return e.id || `${e.type}:${e.value}:${e.labels?.[0]?.textContent.trim() === e.value}`;
        }));
      }
      assert.deepEqual(vistos, ['pacote-tipo', 'pacote-n', ...['gauss', 'gauss-pivoteado', 'lu', 'lu-pivoteado', 'ly', 'ux', 'residuo',
        'inversa', 'jacobi', 'gauss-seidel'].map((m) => `checkbox:${m}:true`), 'pacote-digitos', 'pacote-aprovacao', 'pacote-montar']);

      const zip = await zipDoPainel(aba, TAREFA);
      assert.ok(Buffer.from(zip).equals(Buffer.from(montaPacote(site, TAREFA))), 'the same bytes as the Node.js builder\'s');
      const pronto = await painel();
      assert.match(pronto.estado, /^sislin-scorm\.zip pronto: \d+ arquivos, \d+ KB\. /);
      assert.deepEqual({ ...pronto, estado: '', focado: '' }, { estado: '', focado: '', marcados: [],
        link: `${endereco}#turma=D/3/gauss,jacobi/4/60/Calculo%20Numerico%202026`, oferecido: true });
      assert.deepEqual(await violacoes(aba, '#pacote'), [], 'axe-core on the panel with the zip offered');
      assert.deepEqual(aba.erros, []);
      await aba.fecha();
    });

    if (motor === 'chromium') {
      test('on a phone-sized touch screen the panel fits the width and builds the zip', async () => {
        const aba = await navegador.aba({ largura: 390, altura: 844, telefone: true });
        await aba.vai(`http://127.0.0.1:${servidor.address().port}/`);
        await aba.espera(() => document.getElementById('pacote-metodos').querySelectorAll('input').length === 10);
        const zip = await zipDoPainel(aba, TAREFA);
        assert.ok(Buffer.from(zip).equals(Buffer.from(montaPacote(site, TAREFA))));
        assert.ok(await aba.avalia(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth),
          'nothing wider than the screen');
        assert.ok(await aba.avalia(() => document.getElementById('pacote-montar').getBoundingClientRect().height >= 24));
        await aba.fecha();
      });
    }
  });
}
