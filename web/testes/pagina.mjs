// The page in three browser engines (ferramentas/navegadores.mjs): in each, served with and without the
// cross-origin isolation headers, a dialogue typed into the terminal must give the native
// program's output with each reply inserted after its prompt, and the chart one point per sweep.
// Then, per engine: the keyboard reaches every control from the terminal and comes back; axe-core
// finds no violation; "Parar" ends a million-sweep run; a double click on "Executar" gives one
// run; a site without its program, and a program that traps, say so in words; after one visit
// the page reloads and runs offline.
// On a phone-sized touch screen (Chromium) the reply keys answer a dialogue. The line beside the
// reply field says what each read waits for and why a reply was refused; the record and the
// iteration table the page offers equal the native program's record. An exercise's link, and the
// panel's own, give the native sislin-aula's files and a run on them, also when the fragment
// changes in the open page; "Copiar link" puts the link on the clipboard. The working set after 4, 5,
// 6, 9 shows the factors in A. "Conferir" marks a student's values right or wrong at 4 digits,
// and offers the factors of a run whose record has a line over 1 MB (parsed by the reader worker).
// "Praticar" runs sislin-aula's practice in the console, by the keyboard alone: its record and
// transcript as the native ones, the cells marked, the score the summary's, the program's panels
// untouched; on a phone the step, its keys and its mark stay on the screen.
// Every file the page asked the server for, in every test, is in the service worker's offline
// list. Screenshots and transcripts are left in build-web-tests/.
// Usage: node --test web/testes/pagina.mjs   (after make web and make program; MOTORES="chromium firefox")
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { MOTORES, abre, comecaPratica, violacoes } from '../ferramentas/navegadores.mjs';
import { serve } from '../ferramentas/servidor.mjs';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const SITE = join(RAIZ, 'build-web');
const RESULTADOS = join(RAIZ, 'build-web-tests');
const motores = (process.env.MOTORES ?? MOTORES.join(' ')).split(/\s+/).filter(Boolean);
const EXEMPLO = {
  a7: readFileSync(join(RAIZ, 'examples', 'a7.txt'), 'utf8'),
  b7: readFileSync(join(RAIZ, 'examples', 'b7.txt'), 'utf8'),
};
// 4, 5, 6; Gauss with pivoting; Jacobi (precision 0.0001, at most 50 sweeps); the end.
const DIALOGO = ['4', '4', '5', '6', '2', '9', '0.0001', '50', '0'];
const OUTRO = { arquivos: { a7: '2 1\n1 3\n', b7: '3\n5.5\n' }, respostas: ['2', '10', '0.001', '20', '0'] };
// A system on which Jacobi diverges until its change is infinite, then undefined.
const DIVERGE = { arquivos: { a7: '1 2\n3 1\n', b7: '1\n1\n' }, respostas: ['2', '9', '0.0001', '150', '0'] };
// Each read of a dialogue with refused replies, both iterations and the pause of choice 7: the
// line the page shows while the program waits there, and the reply then typed.
const ESPERAS = [
  ['dimensao n (inteiro)', 'x'],
  ['Resposta recusada: nao e um inteiro. Espera-se: dimensao n (inteiro)', '4'],
  ['opcao 0 a 10', '9'], ['precisao, ex.: 0.0001', '0.0001'], ['numero maximo de iteracoes', '50'],
  ['opcao 0 a 10', '10'], ['precisao, ex.: 0.0001', '-1'], ['numero maximo de iteracoes', '1e-4'],
  ['Resposta recusada: nao e um inteiro. Espera-se: numero maximo de iteracoes', '20'],
  ['opcao 0 a 10', '7'], ['Enter para continuar', ''], ['opcao 0 a 10', '0'],
];
// Exercises by their links (two kinds, a code typed loosely) and a refused code.
const CODIGOS = ['S03-000ANCE', 'd03 000518n', 'J03-0051S3F'];
// The smallest program that traps: a module whose _start is "unreachable", with a memory.
const TRAVA = Uint8Array.from([
  0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,  // "\0asm", version 1
  0x01, 0x04, 0x01, 0x60, 0x00, 0x00,              // types: () -> ()
  0x03, 0x02, 0x01, 0x00,                          // functions: one of type 0
  0x05, 0x03, 0x01, 0x00, 0x01,                    // memory: one page
  0x07, 0x13, 0x02, 0x06, ...Buffer.from('_start'), 0x00, 0x00, 0x06, ...Buffer.from('memory'), 0x02, 0x00,
  0x0a, 0x05, 0x01, 0x03, 0x00, 0x00, 0x0b,        // code: unreachable
]);
const PROMPTS = /Entre com a dimensao da matriz = |Escolha: |Entre com a precisao requerida = |Entre com o numero maximo de iteracoes = /g;

// Runs a native program of the build in a fresh folder holding these files: its status, output,
// standard error and the folder's files (latin1) afterwards.
function corre(programa, argumentos, arquivos = {}, entrada = '', ambiente = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'sislin-nativo-'));
  for (const [nome, texto] of Object.entries(arquivos)) writeFileSync(join(dir, `${nome}.txt`), texto);
  const r = spawnSync(join(RAIZ, 'build', ...programa), argumentos, { cwd: dir, input: entrada, env: { ...process.env, ...ambiente } });
  const lidos = Object.fromEntries(readdirSync(dir).map((f) => [f, readFileSync(join(dir, f), 'latin1')]));
  rmSync(dir, { recursive: true });
  return { status: r.status, saida: r.stdout.toString('latin1'), erro: r.stderr.toString('latin1'), lidos };
}

// The native program's output and record for these files and replies.
function nativo(arquivos, respostas) {
  const r = corre(['sislin'], [], arquivos, respostas.map((x) => `${x}\n`).join(''), { SISLIN_REGISTRO: 'registro.jsonl' });
  assert.equal(r.status, 0, `native run: status ${r.status}`);
  return { saida: r.saida, registro: Buffer.from(r.lidos['registro.jsonl'], 'latin1').toString('utf8') };
}

// The native sislin-aula's a7.txt and b7.txt for these arguments, with its output.
function exercicioNativo(...argumentos) {
  const r = corre(['aula', 'sislin-aula'], ['exercicio', ...argumentos]);
  return { ...r, arquivos: r.status === 0 ? { a7: r.lidos['a7.txt'], b7: r.lidos['b7.txt'] } : null };
}

// The native sislin-aula's analysis of these files.
function analiseNativa(arquivos, n) {
  const r = corre(['aula', 'sislin-aula'], ['analise', String(n)], arquivos);
  assert.equal(r.status, 0, r.erro);
  return r.saida;
}

// Types these files into the page's fields, then clicks the buttons of these ids in order.
const poeArquivos = (aba, arquivos, ...cliques) => aba.avalia(({ a7, b7, ids }) => {
  document.getElementById('a7').value = a7;
  document.getElementById('b7').value = b7;
  for (const id of ids) document.getElementById(id).click();
}, { ...arquivos, ids: cliques });
// A new exercise of this kind and order from the panel.
const novoExercicio = (aba, tipo, ordem) => aba.avalia(([t, o]) => {
  document.getElementById('tipo').value = t;
  document.getElementById('ordem').value = o;
  document.querySelector('#novo-exercicio button').click();
}, [tipo, ordem]);
// The results "Conferir" offers (listed when its choice gets the focus).
const opcoesConferir = () => {
  const escolha = document.getElementById('resultado-conferir');
  escolha.dispatchEvent(new Event('focus'));
  return [...escolha.options].map((o) => o.textContent);
};
const arquivosDaPagina = () => ({ a7: document.getElementById('a7').value, b7: document.getElementById('b7').value });

// The native program's output for these files and replies, each reply and "\n" inserted after
// the prompt that asked for it; and the sweeps of its last iteration table.
function esperado(arquivos, respostas) {
  const { saida } = nativo(arquivos, respostas);
  let i = 0;
  const texto = saida.replace(PROMPTS, (p) => `${p}${respostas[i++]}\n`);
  assert.equal(i, respostas.length, 'one prompt per reply in the native run');
  const linhas = saida.split('\n');
  const k = [];
  for (let j = linhas.findLastIndex((l) => /-+Metodo Iterativo de .*-+$/.test(l)) + 3;
    /^[1-9]\d*\t/.test(linhas[j] ?? ''); j++) k.push(Number(linhas[j].split('\t')[0]));
  return { texto, k };
}

// The page holds these files and a run on them waits for the dimension.
const executando = ({ a7, b7 }) => document.getElementById('a7').value === a7 && document.getElementById('b7').value === b7
  && globalThis.sislin.status === null && globalThis.sislin.espera()[1] === 'dimensao n (inteiro)';

// "Copiar link": the panel gives the link, and the clipboard holds it where a test can read it
// (Chromium, Firefox); the link.
async function copiaLink(aba) {
  await aba.avalia(() => { document.getElementById('sobre-exercicio').textContent = ''; });
  await aba.clica('#copiar-link');
  const aviso = await aba.espera(() => globalThis.sislin.exercicio());
  const link = await aba.avalia(() => globalThis.sislin.link);
  const area = await aba.areaDeTransferencia();
  if (area === null) assert.ok([`Link copiado: ${link}`, `Copie o link: ${link}`].includes(aviso), aviso);
  else {
    assert.equal(aviso, `Link copiado: ${link}`);
    assert.equal(area, link, 'the link on the clipboard');
  }
  return link;
}

const prompts = (n, padrao) => (globalThis.sislin?.saida().match(new RegExp(padrao, 'g')) ?? []).length > n;
const estado = () => document.getElementById('estado').textContent;

// Answers each prompt once it is shown (`responde` types or taps one reply), then compares the
// transcript and the chart with the native run.
async function dialogo(aba, nome, arquivos, respostas, responde) {
  const { texto, k } = esperado(arquivos, respostas);
  for (const [i, resposta] of respostas.entries()) {
    await aba.espera(prompts, [i, PROMPTS.source]);
    await responde(resposta, i);
  }
  await aba.espera(() => globalThis.sislin.status !== null);
  assert.equal(await aba.avalia(() => globalThis.sislin.status), 0, await aba.avalia(estado));
  const transcricao = await aba.avalia(() => globalThis.sislin.saida());
  writeFileSync(join(RESULTADOS, `${nome}.txt`), transcricao, 'latin1');
  if (transcricao !== texto) {
    let d = 0;
    while (transcricao[d] === texto[d]) d++;
    assert.fail(`${nome}: transcript differs at byte ${d}: ${JSON.stringify(transcricao.slice(d, d + 60))} ` +
                `instead of ${JSON.stringify(texto.slice(d, d + 60))}`);
  }
  assert.deepEqual(await aba.avalia(() => globalThis.sislin.grafico()), k, `${nome}: the chart's sweeps`);
  if (k.length > 0) {
    await aba.espera((n) => document.getElementById('resumo-grafico').textContent.includes(` ${n} iteracoes`), [k.length]);
  }
  // The screen ends as the transcript does: replies echoed in their place, after the output.
  const fim = texto.split('\n').map(semTabs);
  while (fim.at(-1) === '') fim.pop();
  await aba.espera((esperadas) => JSON.stringify(globalThis.sislin.tela(esperadas.length)
    .map((l) => l.trimEnd())) === JSON.stringify(esperadas), [fim.slice(-12)], 5000).catch(() => {});
  const tela = (await aba.avalia((n) => globalThis.sislin.tela(n), 12)).map((l) => l.trimEnd());
  assert.deepEqual(tela, fim.slice(-12), `${nome}: the terminal's last lines`);
  assert.deepEqual(await aba.avalia(() => globalThis.sislin.erros), [], `${nome}: errors in the page`);
  return k.length;
}

// A line as the terminal shows it: tab stops every 8 columns, no trailing blanks.
function semTabs(linha) {
  let r = '';
  for (const c of linha) r += c === '\t' ? ' '.repeat(8 - (r.length % 8)) : c;
  return r.trimEnd();
}

// The practice: Gauss on a 2 x 2 system; the native sislin-aula's session for these replies (its
// record's events; whether it has the practice at all; the values its "m" shows, in order).
const PRATICA = { arquivos: OUTRO.arquivos, metodo: 'gauss' };
function praticaNativa(arquivos, respostas) {
  const entrada = respostas.length > 0 ? respostas : Array(60).fill('m');
  const r = corre(['aula', 'sislin-aula'], ['pratica', PRATICA.metodo, '2'], arquivos, entrada.map((x) => `${x}\n`).join(''),
    { SISLIN_REGISTRO: 'registro.jsonl' });
  const registro = Buffer.from(r.lidos['registro.jsonl'] ?? '', 'latin1').toString('utf8');
  const eventos = registro.trim() ? registro.trim().split('\n').map((l) => JSON.parse(l)) : [];
  return {
    ...r, registro, eventos,
    disponivel: eventos.some((e) => e.evento === 'inicio' && e.comando === 'pratica'),
    valores: eventos.filter((e) => e.evento === 'mostra').map((e) => String(e.valor)),
  };
}

// A session typed through `responde`: step 1 wrong, a hint, right with a decimal comma; step 2
// right; step 3 wrong, undone; then "m" until the end. The replies sent.
async function sessaoPratica(aba, valores, pedidos, responde) {
  const roteiro = ['999', 'd', valores[0].replace('.', ','), valores[1], '999', 'u'];
  const enviadas = [];
  let n = pedidos;
  for (let i = 0; ; i++) {
    n = await aba.espera((k) => (globalThis.sislin.status !== null ? -1 : globalThis.sislin.espera()[0] > k && globalThis.sislin.espera()[0]), [n]);
    if (n === -1) break;
    if (i === 1) {
      // After the wrong reply: the cell asked is marked wrong and highlighted; the mark in words.
      const vista = await aba.espera(() => {
        const td = document.querySelector('#pratica-grade td.proxima');
        return td?.classList.contains('errado') && [td.dataset.celula, document.getElementById('pratica-marca').textContent];
      });
      assert.match(vista[1], / = 999: errado/);
      assert.match(vista[0], /linha \d/);
    }
    const r = roteiro[i] ?? 'm';
    enviadas.push(r);
    await responde(r);
    if (enviadas.length > 80) assert.fail('the session does not end');
  }
  return enviadas;
}

// After a session: its record equals the native one for the same replies; the score is the
// summary's; the history holds each kind of step; every cell is named by its place.
async function confereSessao(aba, motor, enviadas) {
  const nativa = praticaNativa(PRATICA.arquivos, enviadas);
  const registro = await aba.avalia(() => globalThis.sislin.registro());
  writeFileSync(join(RESULTADOS, `${motor}-pratica.jsonl`), registro);
  assert.equal(registro, nativa.registro, 'the practice record, byte for byte');
  // The console's transcript: the native dialogue, each reply after its prompt.
  const saida = await aba.avalia(() => globalThis.sislin.saida());
  writeFileSync(join(RESULTADOS, `${motor}-pratica.txt`), saida, 'latin1');
  let resto = saida;
  for (const r of enviadas) {
    const i = resto.indexOf(`= ${r}\n`);
    assert.ok(i >= 0, `the reply ${r} after a prompt`);
    resto = resto.slice(0, i + 2) + resto.slice(i + 3 + r.length);
  }
  assert.equal(resto, nativa.saida, 'the transcript without the replies: the native output');
  const r = nativa.eventos.find((e) => e.evento === 'resumo');
  const placar = await aba.espera((nota) => document.getElementById('pratica-placar').textContent.startsWith(nota)
    && document.getElementById('pratica-placar').textContent, [`Nota ${r.nota} de 100: ${r.certos_de_primeira} de ${r.passos} passo`]);
  assert.match(placar, new RegExp(`; ${r.dicas} dicas?, ${r.mostrados} mostrados?, ${r.aceitos} aceitos?\\.$`));
  const classes = await aba.avalia(() => [...document.querySelectorAll('#pratica-historico li')].map((li) => li.className));
  for (const c of ['errado', 'dica', 'certo', 'desfaz', 'mostrado', 'fim']) assert.ok(classes.includes(c), `${c} in ${classes}`);
  const celulas = await aba.avalia(() => [...document.querySelectorAll('#pratica-grade tbody td')].map((td) => td.textContent));
  assert.ok(celulas.length >= 6 && celulas.every((t) => /^(\w+, )?linha \d+(, coluna \d+)?: /.test(t) || /^\w+: /.test(t)), celulas.join(' | '));
  assert.ok(celulas.some((t) => /, certo \(/.test(t)), 'a cell marked right');
}

// No error in the page: as the browser reports them (Chromium, Firefox) and as the page's own
// hooks saw them (every engine; WebKit's driver reports none).
async function semErros(aba) {
  assert.deepEqual(aba.erros, []);
  assert.deepEqual(await aba.avalia(() => globalThis.sislin.erros), []);
}

const digitando = (aba) => (resposta) => aba.digita(`${resposta}\n`);

let servidores;
before(async () => {
  rmSync(RESULTADOS, { recursive: true, force: true });
  mkdirSync(RESULTADOS, { recursive: true });
  const quebrado = mkdtempSync(join(tmpdir(), 'sislin-sem-programa-'));
  cpSync(SITE, quebrado, { recursive: true });
  rmSync(join(quebrado, 'sislin.wasm'));
  rmSync(join(quebrado, 'sislin.wasm.gz'));
  // A program that traps at once: its end must be said as an error, never as a normal end.
  const trava = mkdtempSync(join(tmpdir(), 'sislin-trava-'));
  cpSync(SITE, trava, { recursive: true });
  writeFileSync(join(trava, 'sislin.wasm'), TRAVA);
  rmSync(join(trava, 'sislin.wasm.gz'));
  servidores = {
    com: await serve(SITE, { isolado: true, porta: 0 }),
    sem: await serve(SITE, { isolado: false, porta: 0 }),
    quebrado: await serve(quebrado, { isolado: false, porta: 0 }),
    trava: await serve(trava, { isolado: false, porta: 0 }),
    pastas: [quebrado, trava],
  };
});
after(() => {
  for (const s of ['com', 'sem', 'quebrado', 'trava']) servidores?.[s].close();
  for (const p of servidores?.pastas ?? []) rmSync(p, { recursive: true, force: true });
});
const endereco = (s, busca = '?teste') => `http://127.0.0.1:${servidores[s].address().port}/${busca}`;

async function abrePagina(navegador, servidor, opcoes) {
  const aba = await navegador.aba(opcoes);
  await aba.vai(endereco(servidor));
  await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
  return aba;
}

for (const motor of motores) {
  describe(`page in ${motor}`, () => {
    let navegador;
    before(async () => { navegador = await abre(motor); });
    after(async () => { await navegador?.fecha(); });

    for (const servidor of ['com', 'sem']) {
      test(`a dialogue, ${servidor} isolation headers`, async () => {
        const aba = await abrePagina(navegador, servidor);
        await aba.clica('#terminal');
        const k = await dialogo(aba, `${motor}-${servidor}`, EXEMPLO, DIALOGO, async (r, i) => {
          if (i === 0) await aba.digita('3\b');  // Backspace takes the 3 back
          await aba.digita(`${r}\n`);
        });
        assert.ok(k > 5, `${k} sweeps`);
        await aba.captura(join(RESULTADOS, `${motor}-${servidor}.png`));
        if (servidor === 'com') {
          // Other files; a double click on "Executar" starts one run.
          await poeArquivos(aba, OUTRO.arquivos, 'executar', 'executar');
          await dialogo(aba, `${motor}-outros-arquivos`, OUTRO.arquivos, OUTRO.respostas, digitando(aba));
          const anterior = await aba.avalia(() => globalThis.sislin.anterior());
          assert.equal(anterior, esperado(EXEMPLO, DIALOGO).texto, 'the transcript before kept');
          await poeArquivos(aba, DIVERGE.arquivos, 'recomecar');
          await dialogo(aba, `${motor}-diverge`, DIVERGE.arquivos, DIVERGE.respostas, digitando(aba));
          await aba.captura(join(RESULTADOS, `${motor}-diverge.png`));
        }
        await semErros(aba);
        await aba.fecha();
      });
    }

    test('keyboard: from the terminal to every control and back; axe-core', async () => {
      const aba = await abrePagina(navegador, 'sem');
      assert.deepEqual(await violacoes(aba), [], 'axe-core at the start');
      await aba.clica('#terminal');
      const foco = () => document.activeElement?.id || document.activeElement?.className;
      const terminal = await aba.avalia(foco);
      const vistos = [];
      for (let i = 0; i < 14; i++) {
        await aba.tecla('Tab');
        vistos.push(await aba.avalia(foco));
      }
      for (const id of ['a7', 'b7', 'executar', 'linha', 'fim-entrada']) assert.ok(vistos.includes(id), `${id} in ${vistos}`);
      await aba.clica('#terminal');
      await aba.tecla('Tab');
      assert.notEqual(await aba.avalia(foco), terminal, 'Tab leaves the terminal');
      await aba.tecla('Tab', { shift: true });
      assert.equal(await aba.avalia(foco), terminal, 'Shift+Tab back to the terminal');
      await aba.clica('#baixar');
      assert.equal(await aba.avalia(foco), terminal, 'the focus back in the terminal after a button');
      await dialogo(aba, `${motor}-teclado`, EXEMPLO, DIALOGO, digitando(aba));
      assert.deepEqual(await violacoes(aba), [], 'axe-core after a Jacobi run');
      await aba.fecha();
    });

    test('"Parar" ends a million-sweep run; an error status, a site without its program and a trap in words', async () => {
      const aba = await abrePagina(navegador, 'com');
      await aba.clica('#terminal');
      await aba.digita('4\n9\n-1\n1000000\n');
      await aba.espera(() => globalThis.sislin.grafico().length > 1000);
      await aba.clica('#parar');
      assert.equal(await aba.avalia(estado), 'Parado.');
      const linhas = await aba.avalia(() => globalThis.sislin.grafico().length);
      await aba.avalia(() => new Promise((r) => setTimeout(r, 300)));
      assert.equal(await aba.avalia(() => globalThis.sislin.grafico().length), linhas, 'no sweep after Parar');
      // A reply the program rejects, then the end of the input: its status 1 in words.
      await aba.clica('#recomecar');
      await aba.espera(prompts, [0, PROMPTS.source]);
      await aba.digita('x\n');
      await aba.clica('#fim-entrada');
      await aba.espera(() => globalThis.sislin.status !== null);
      assert.equal(await aba.avalia(estado), 'Programa terminado com status 1: houve um erro.');
      for (const [servidor, erro] of [['quebrado', /o programa nao carregou: sislin\.wasm: resposta 404/],
        ['trava', /^Erro: o programa parou por um erro interno \(.+\)\.$/]]) {
        await aba.vai(endereco(servidor));
        assert.match(await aba.espera(() => /^Erro: /.test(document.getElementById('estado').textContent)
          && document.getElementById('estado').textContent), erro, servidor);
      }
      await aba.fecha();
    });

    test('offline after one visit, reload included, an exercise made', async () => {
      const site = mkdtempSync(join(tmpdir(), 'sislin-offline-'));
      cpSync(SITE, site, { recursive: true });
      const proprio = await serve(site, { isolado: false, porta: 0 });
      const aba = await navegador.aba();
      await aba.vai(`http://127.0.0.1:${proprio.address().port}/?teste`);
      await aba.espera(async () => (await navigator.serviceWorker.ready).active?.state === 'activated'
        && (await caches.keys()).length > 0);
      proprio.close();
      proprio.closeAllConnections();
      rmSync(site, { recursive: true });
      await aba.recarrega();
      await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
      await aba.clica('#terminal');
      await dialogo(aba, `${motor}-offline`, EXEMPLO, ['4', '0'], digitando(aba));
      // The exercise panel too: sislin-aula from the cache, its files as native.
      await novoExercicio(aba, 'D', '3');
      const codigo = await aba.espera(() => /^Exercicio (D03-\S+)\./.exec(globalThis.sislin.exercicio())?.[1]);
      assert.deepEqual(await aba.avalia(arquivosDaPagina), exercicioNativo(codigo).arquivos, `${codigo} offline`);
      await aba.fecha();
    });

    test('the line of what the program waits for; the record and the table as downloaded', async () => {
      const aba = await abrePagina(navegador, 'sem');
      await aba.clica('#terminal');
      const inicio = (await aba.avalia(() => globalThis.sislin.espera()))[0] - 1;
      for (const [i, [linha, resposta]] of ESPERAS.entries()) {
        await aba.espera((n, l) => {
          const [pedidos, texto] = globalThis.sislin.espera();
          return pedidos > n && texto === l;
        }, [inicio + i, linha], 30000, `wait ${i}: ${linha}`);
        await aba.digita(`${resposta}\n`);
      }
      await aba.espera(() => globalThis.sislin.status !== null);
      assert.equal(await aba.avalia(() => globalThis.sislin.espera()[1]), '', 'no wait line after the end');
      const registroNativo = nativo(EXEMPLO, ESPERAS.map(([, r]) => r)).registro;
      const registro = await aba.avalia(() => globalThis.sislin.registro());
      writeFileSync(join(RESULTADOS, `${motor}-registro.jsonl`), registro);
      assert.equal(registro, registroNativo, 'the record, byte for byte');
      // The CSV: a header, then one row a sweep with the record's numbers.
      const csv = (await aba.avalia(() => globalThis.sislin.tabela())).split('\r\n');
      assert.equal(csv.pop(), '');
      assert.deepEqual(csv[0].split(','), ['metodo', 'k', 'x1', 'x2', 'x3', 'x4', 'Erro']);
      const varreduras = registroNativo.trim().split('\n').map((l) => JSON.parse(l)).filter((e) => e.evento === 'varredura');
      assert.deepEqual(csv.slice(1).map((l) => l.split(',')).map(([m, k, ...v]) => [m, Number(k), v]),
        varreduras.map((e) => [e.metodo, e.k, [...e.x, e.Erro ?? ''].map(String)]));
      assert.deepEqual([...new Set(varreduras.map((e) => e.metodo))], ['jacobi', 'gauss-seidel']);
      // Both tables on one chart: Gauss-Seidel's, and Jacobi's before it, dashed.
      const sweeps = (m) => varreduras.filter((e) => e.metodo === m && e.k > 0).length;
      await aba.espera((inicio, fim) => {
        const t = document.getElementById('resumo-grafico').textContent;
        return t.startsWith(inicio) && t.endsWith(fim);
      }, [`Gauss-Seidel: ${sweeps('gauss-seidel')} iteracoes;`, `. Antes, Jacobi: ${sweeps('jacobi')} iteracoes.`]);
      // Its changes are the record's exact values: an exact 0, which a log scale cannot show, is said.
      const zero = varreduras.find((e) => e.metodo === 'gauss-seidel' && e.Erro === 0).k;
      assert.match(await aba.avalia(() => document.getElementById('resumo-grafico').textContent),
        new RegExp(` Erro 0 pela primeira vez na iteracao ${zero} \\(no piso do grafico\\)\\. Antes`));
      assert.equal(await aba.avalia(() => document.getElementById('titulo-grafico').textContent),
        'Gauss-Seidel e Jacobi (tracejado): Erro por iteracao (escala logaritmica)');
      await aba.captura(join(RESULTADOS, `${motor}-dois-metodos.png`));
      await semErros(aba);
      await aba.fecha();
    });

    test('an exercise as a link: the native files, a run on them; the panel makes one and its link', async () => {
      const aba = await navegador.aba();
      for (const [i, codigo] of CODIGOS.entries()) {
        const nativo = exercicioNativo(codigo);
        // A new query each time: a change of the fragment alone would not load the page again.
        await aba.vai(endereco('sem', `?teste&${i}#exercicio=${encodeURIComponent(codigo)}`));
        if (nativo.status !== 0) {
          // A refused code: its reason in the panel, and the example runs.
          await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
          assert.equal(await aba.avalia(() => globalThis.sislin.exercicio()), nativo.erro.replace(/^sislin-aula: /, '').trim());
          assert.deepEqual(await aba.avalia(arquivosDaPagina), EXEMPLO);
          continue;
        }
        await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
        assert.deepEqual(await aba.avalia(arquivosDaPagina), nativo.arquivos, codigo);
        const limpo = /^Codigo: (\S+)$/m.exec(nativo.saida)[1];
        assert.equal(await aba.avalia(() => globalThis.sislin.exercicio()),
          `Exercicio ${limpo}. ${/^Tipo .*$/m.exec(nativo.saida)[0]}.`);
        assert.match(await aba.avalia(() => location.hash), new RegExp(`^#exercicio=${limpo}$`));
        assert.deepEqual(await aba.avalia(() => [document.getElementById('tipo').value, document.getElementById('ordem').value]),
          [limpo[0], String(Number(limpo.slice(1, 3)))], 'the panel shows the kind and n of the exercise open');
        await aba.clica('#terminal');
        // At the menu, the line notes an iteration that cannot converge (Jacobi on kind S).
        const nota = limpo.startsWith('S') ? ' Nota: neste sistema 9 (Jacobi) nao converge a partir de todo inicio.' : '';
        await dialogo(aba, `${motor}-exercicio-${limpo}`, nativo.arquivos, ['3', '2', '10', '0.0001', '30', '0'], async (r, i) => {
          if (i === 1) await aba.espera((t) => globalThis.sislin.espera()[1] === t, [`opcao 0 a 10${nota}`]);
          await aba.digita(`${r}\n`);
        });
        assert.equal(await aba.avalia(() => globalThis.sislin.analise()), analiseNativa(nativo.arquivos, 3), `${limpo}: the analysis`);
      }
      // The panel: kind J, n = 4; its code gives the same files natively; "Copiar link" gives it.
      await novoExercicio(aba, 'J', '4');
      const codigo = await aba.espera(() => /^Exercicio (J04-\S+)\./.exec(globalThis.sislin.exercicio())?.[1]);
      await aba.espera(() => globalThis.sislin.status === null && globalThis.sislin.espera()[1] !== '');
      assert.deepEqual(await aba.avalia(arquivosDaPagina), exercicioNativo(codigo).arquivos, codigo);
      assert.equal(await copiaLink(aba), endereco('sem', `?teste&${CODIGOS.length - 1}#exercicio=${codigo}`));
      // Links opened in the page already open: a system's fragment runs that system; Back to the
      // exercise's fragment makes its files again.
      const jota = exercicioNativo(codigo).arquivos;
      await aba.avalia((f) => { location.hash = f; }, `a7=${encodeURIComponent(OUTRO.arquivos.a7)}&b7=${encodeURIComponent(OUTRO.arquivos.b7)}`);
      await aba.espera(executando, [OUTRO.arquivos], 30000, 'the system of a new fragment');
      await aba.avalia(() => history.back());
      await aba.espera(executando, [jota], 30000, 'the exercise again after Back');
      assert.match(await aba.avalia(() => location.hash), new RegExp(`^#exercicio=${codigo}$`));
      // A teacher's own system: the link carries its files; opened, it fills them and starts a run.
      await poeArquivos(aba, OUTRO.arquivos);
      const link = new URL(await copiaLink(aba));
      assert.equal(link.hash, `#a7=${encodeURIComponent(OUTRO.arquivos.a7)}&b7=${encodeURIComponent(OUTRO.arquivos.b7)}`);
      link.search = '?teste&sistema';
      await aba.vai(link.href);
      await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
      assert.deepEqual(await aba.avalia(arquivosDaPagina), OUTRO.arquivos);
      await aba.clica('#terminal');
      await dialogo(aba, `${motor}-sistema-link`, OUTRO.arquivos, OUTRO.respostas, digitando(aba));
      // Too large a system for a link: the page says to share the files.
      await poeArquivos(aba, { a7: '1 '.repeat(1200), b7: '1\n' });
      await aba.clica('#copiar-link');
      assert.match(await aba.avalia(() => globalThis.sislin.exercicio()), /grande demais para um link.*compartilhe os arquivos/);
      await aba.avalia(() => { document.getElementById('analise').open = true; });
      assert.deepEqual(await violacoes(aba), [], 'axe-core after an exercise, its analysis open');
      await semErros(aba);
      await aba.fecha();
    });

    test('the working set after 4, 5, 6 and 9: the factors in A, each array from its choice', async () => {
      const aba = await abrePagina(navegador, 'sem');
      await aba.avalia(() => { document.getElementById('conjunto-painel').open = true; });
      await aba.clica('#terminal');
      const respostas = ['4', '4', '5', '6', '9', '0.0001', '50', '0'];
      await dialogo(aba, `${motor}-conjunto`, EXEMPLO, respostas, digitando(aba));
      const eventos = nativo(EXEMPLO, respostas).registro.trim().split('\n').map((l) => JSON.parse(l));
      const de = (opcao) => eventos.find((e) => e.evento === 'resultado' && e.opcao === opcao);
      const linhas = (v) => (Array.isArray(v[0]) ? v : [v]).map((l) => l.map(String));
      assert.deepEqual(await aba.avalia(() => globalThis.sislin.conjunto()), [
        ['A: da opcao 4 (L abaixo da diagonal, U na diagonal e acima), diferente do lido', ...linhas(de(4).A)],
        ['b: da opcao 4, igual ao lido', ...linhas(de(4).b)],
        ['pos: da opcao 4', ...linhas(de(4).pos)],
        [`det = ${de(4).det}: da opcao 4`],
        ['y: da opcao 5', ...linhas(de(5).y)],
        ['x: da opcao 9', ...linhas(de(9).x)],
      ]);
      await aba.avalia(() => { document.getElementById('analise').open = true; });
      await aba.captura(join(RESULTADOS, `${motor}-conjunto.png`));
      assert.deepEqual(await violacoes(aba), [], 'axe-core with the working set and the analysis open');
      await aba.fecha();
    });

    test('"Conferir": y of choice 5 typed with commas, right and wrong at 4 digits; every panel open', async () => {
      const aba = await abrePagina(navegador, 'sem');
      await aba.clica('#terminal');
      await dialogo(aba, `${motor}-conferir`, EXEMPLO, ['4', '4', '5', '6', '0'], digitando(aba));
      const confere = (rotulo, valores, mostra) => aba.avalia((r, v, m) => {
        document.getElementById('conferir-painel').open = true;
        document.getElementById('resultado-conferir').dispatchEvent(new Event('focus'));
        const escolha = document.getElementById('resultado-conferir');
        escolha.value = [...escolha.options].find((o) => o.textContent === r).value;
        document.getElementById('valores').value = v;
        document.getElementById('mostrar-programa').checked = m;
        document.querySelector('#conferir button[type="submit"]').click();
        return globalThis.sislin.conferencia();
      }, rotulo, valores, mostra);
      assert.deepEqual(await confere('y, opcao 5', '6 25,6\n-10,32 7,2', false),
        ['3 de 4 certos com 4 digitos significativos.', 'y[1]: certo', 'y[2]: certo', 'y[3]: certo', 'y[4]: errado']);
      assert.deepEqual(await confere('x, opcao 6', '1; 2; -1; 0,5', true), ['3 de 4 certos com 4 digitos significativos.',
        'x[1]: certo (programa: 1)', 'x[2]: certo (programa: 2.0000002)', 'x[3]: certo (programa: -1)',
        'x[4]: errado (programa: 0.99999994)']);
      await aba.avalia(() => {
        for (const id of ['analise', 'conjunto-painel', 'conferir-painel']) document.getElementById(id).open = true;
      });
      assert.deepEqual(await violacoes(aba), [], 'axe-core with every panel open');
      await semErros(aba);
      await aba.fecha();
    });

    test('a record line of over 1 MB (n = 300) parsed by the reader worker, in place: the factors to check', async () => {
      const dir = mkdtempSync(join(tmpdir(), 'sislin-300-'));
      spawnSync('python3', [join(RAIZ, 'bench', 'gera_sistema.py'), '300', dir]);
      const grande = { a7: readFileSync(join(dir, 'a7.txt'), 'utf8'), b7: readFileSync(join(dir, 'b7.txt'), 'utf8') };
      rmSync(dir, { recursive: true });
      const aba = await abrePagina(navegador, 'sem');
      await aba.avalia(() => { document.getElementById('conjunto-painel').open = true; });
      await poeArquivos(aba, grande, 'executar');
      await aba.espera(() => globalThis.sislin.status === null && globalThis.sislin.espera()[1] === 'dimensao n (inteiro)');
      await aba.clica('#terminal');
      await aba.digita('300\n4\n0\n');
      await aba.espera(() => globalThis.sislin.status !== null, [], 60000);
      const registro = await aba.avalia(() => globalThis.sislin.registro());
      assert.ok(registro.split('\n').some((l) => l.length > (1 << 20)), 'a line over 1 MB in the record');
      const rotulos = await aba.espera(() => {
        globalThis.sislin.conjunto();
        const escolha = document.getElementById('resultado-conferir');
        escolha.dispatchEvent(new Event('focus'));
        const r = [...escolha.options].map((o) => o.textContent);
        return r.includes('det, opcao 4') && r;
      });
      assert.deepEqual(rotulos, ['L, opcao 4', 'U, opcao 4', 'det, opcao 4']);
      assert.equal(await aba.avalia(() => document.getElementById('conjunto').textContent),
        'n = 300: grande demais para mostrar aqui; os valores estao no registro.');
      await semErros(aba);
      await aba.fecha();
    });

    test('"Praticar" by the keyboard alone: a session in the console, its grid, marks and score; the program after it', async () => {
      const aba = await abrePagina(navegador, 'sem');
      // First the program on the practice's files: its chart and its results to check.
      await poeArquivos(aba, PRATICA.arquivos, 'executar');
      await aba.clica('#terminal');
      const k = await dialogo(aba, `${motor}-antes-da-pratica`, PRATICA.arquivos, OUTRO.respostas, digitando(aba));
      const resultados = () => {
        const escolha = document.getElementById('resultado-conferir');
        escolha.dispatchEvent(new Event('focus'));
        return [globalThis.sislin.grafico().length, [...escolha.options].map((o) => o.textContent), globalThis.sislin.analise()];
      };
      // The analysis runs apart: taken once done (a slower engine is still at "Analisando...").
      await aba.espera(() => globalThis.sislin.analise() !== 'Analisando...');
      const antes = await aba.avalia(resultados);
      assert.ok(antes[1].includes('Gauss-Seidel, x na iteracao 1'), antes[1].join('; '));
      assert.equal(antes[0], k);
      await aba.avalia(() => document.querySelector('#pratica-painel summary').focus());
      await aba.tecla('Enter');
      assert.equal(await aba.avalia(() => document.getElementById('pratica-painel').open), true, 'Enter opens the panel');
      const opcoes = await aba.avalia(() => [...document.getElementById('pratica-metodo').options].map((o) => o.textContent));
      assert.deepEqual(opcoes.slice(0, 2), ['1. Gauss', '2. Gauss com pivotacao parcial']);
      assert.equal(opcoes.length, 10);
      // The method's list, the digits, "Comecar": the session starts, the reply field has the focus.
      const pedidos = await aba.avalia(() => {
        document.getElementById('pratica-metodo').focus();
        return globalThis.sislin.espera()[0];
      });
      await aba.tecla('Tab');
      await aba.tecla('Tab');
      await aba.tecla('Enter');
      const nativa = praticaNativa(PRATICA.arquivos, []);
      assert.ok(nativa.disponivel, nativa.erro);
      assert.equal(await aba.avalia(() => document.activeElement?.id), 'pratica-valor');
      const enviadas = await sessaoPratica(aba, nativa.valores, pedidos, async (r) => {
        if (r === 'd') {
          // The hint by its button, reached by Tab from the reply field; the focus comes back.
          await aba.tecla('Tab');
          await aba.tecla('Tab');
          assert.equal(await aba.avalia(() => document.activeElement?.dataset.comando), 'd');
          await aba.tecla('Enter');
        } else await aba.digita(`${r}\n`);
        // The focus stays in the step; after the last, it goes to "Comecar".
        const foco = await aba.avalia(() => document.activeElement?.id);
        assert.ok(foco === 'pratica-valor' || (r === 'm' && foco === 'pratica-comecar'), `the focus after ${r}: ${foco}`);
      });
      await confereSessao(aba, motor, enviadas);
      assert.deepEqual(await violacoes(aba), [], 'axe-core with the practice panel open');
      await aba.captura(join(RESULTADOS, `${motor}-pratica.png`));
      // The program's panels did not read the practice: its chart, its results, its analysis stay.
      assert.deepEqual(await aba.avalia(resultados), antes, 'the panels of the run before the practice');
      // Files sislin-aula cannot read: the session does not start, and the panel says so.
      await aba.avalia(() => {
        document.getElementById('a7').value = '2 1\n1\n';
        document.getElementById('pratica-comecar').click();
      });
      await aba.espera(() => document.getElementById('pratica-sobre').textContent
        === 'A pratica nao comecou: o sislin-aula recusou (o motivo esta no terminal).');
      assert.equal(await aba.avalia(() => document.getElementById('pratica-valor').disabled), true);
      // The program after the session, on the same files: its dialogue, its chart, "Conferir".
      await poeArquivos(aba, PRATICA.arquivos, 'executar');
      await aba.clica('#terminal');
      await dialogo(aba, `${motor}-depois-da-pratica`, PRATICA.arquivos, OUTRO.respostas, digitando(aba));
      const rotulos = await aba.avalia(opcoesConferir);
      assert.ok(rotulos.includes('Gauss-Seidel, x na iteracao 1'), rotulos.join('; '));
      assert.equal(await aba.avalia(() => document.getElementById('pratica-valor').disabled), true, 'the session\'s controls off');
      await semErros(aba);
      await aba.fecha();
    });

    test('"Praticar" on the exercise open, by its code, exact replies: the pivot\'s candidates; "Parar"', async () => {
      const aba = await navegador.aba();
      await aba.vai(endereco('sem', '?teste&pratica#exercicio=D03-000518N'));
      await aba.espera(() => globalThis.sislin?.primeiroPrompt != null && /^Exercicio D03-000518N\./.test(globalThis.sislin.exercicio()));
      await comecaPratica(aba, { metodo: 'gauss-pivoteado', digitos: 'exato', pergunta: 'p[1] = ' });
      assert.equal(await aba.avalia(() => document.getElementById('pratica-sobre').textContent),
        'Pratica de Gauss com pivotacao parcial no exercicio D03-000518N.');
      const inicio = JSON.parse((await aba.avalia(() => globalThis.sislin.registro())).split('\n')[0]);
      assert.deepEqual([inicio.comando, inicio.metodo, inicio.digitos, inicio.codigo], ['pratica', 2, 0, 'D03-000518N']);
      assert.deepEqual(await aba.avalia(() => [...document.querySelectorAll('#pratica-grade td.candidata')].map((td) => td.dataset.celula)),
        ['linha 1, coluna 1', 'linha 2, coluna 1', 'linha 3, coluna 1']);
      // "Parar": the session ends where it was, and the panel says so.
      await aba.clica('#parar');
      await aba.espera(() => document.getElementById('pratica-sobre').textContent
        === 'Pratica de Gauss com pivotacao parcial no exercicio D03-000518N. Interrompida antes do fim.');
      assert.equal(await aba.avalia(() => document.getElementById('pratica-valor').disabled), true);
      await semErros(aba);
      await aba.fecha();
    });

    test('"Praticar" on a phone: the step, its keys and its mark on the screen; a reply by the keys', async () => {
      const aba = await abrePagina(navegador, 'sem', { largura: 390, altura: 844, telefone: true });
      await comecaPratica(aba, { sistema: PRATICA.arquivos, pergunta: 'm[2][1] = a[2][1] / a[1][1] = ' });
      const toque = motor === 'chromium';
      for (const c of toque ? '9,5' : []) {
        await aba.avalia((t) => [...document.querySelectorAll('#pratica-teclas button')].find((b) => b.textContent === t).click(), c);
      }
      if (!toque) await aba.avalia(() => { document.getElementById('pratica-valor').value = '9,5'; });
      await aba.clica('#pratica-resposta button[type="submit"]');
      await aba.espera(() => document.querySelector('#pratica-grade td.proxima.errado') !== null);
      const vista = await aba.avalia(() => {
        const dentro = (e) => {
          const r = e.getBoundingClientRect();
          return r.height > 0 && r.top >= 0 && r.bottom <= innerHeight && r.left >= 0 && r.right <= innerWidth;
        };
        return {
          na_tela: ['pratica-pergunta', 'pratica-valor', 'pratica-marca', 'pratica-comandos', 'pratica-teclas']
            .filter((id) => dentro(document.getElementById(id))),
          marca: document.getElementById('pratica-marca').textContent,
          largura: document.documentElement.scrollWidth <= innerWidth,
        };
      });
      assert.deepEqual(vista.na_tela, ['pratica-pergunta', 'pratica-valor', 'pratica-marca', 'pratica-comandos',
        ...(toque ? ['pratica-teclas'] : [])], JSON.stringify(vista));
      assert.match(vista.marca, /^m\[2\]\[1\] = 9,5: errado/);
      // The console shows the same dialogue: the reply after its prompt, the question asked again.
      await aba.espera(() => globalThis.sislin.tela(1)[0].trimEnd() === 'm[2][1] = a[2][1] / a[1][1] =');
      const tela = await aba.avalia(() => globalThis.sislin.tela(6));
      assert.ok(tela.includes('m[2][1] = a[2][1] / a[1][1] = 9,5'), tela.join('\n'));
      assert.ok(vista.largura, 'no page wider than the screen');
      assert.deepEqual(await violacoes(aba), [], 'axe-core on a phone, during a practice session');
      await aba.captura(join(RESULTADOS, `${motor}-pratica-telefone-sessao.png`));
      await aba.clica('#pratica-comandos [data-comando="s"]');
      await aba.espera(() => globalThis.sislin.status !== null
        && document.getElementById('pratica-marca').textContent === 'Pratica encerrada pelo aluno.');
      await semErros(aba);
      await aba.fecha();
    });

    test('every file the page asked for, in every test so far, is in the offline list', () => {
      const offline = JSON.parse(/const ARQUIVOS = (\[.*\]);/.exec(readFileSync(join(SITE, 'sw.js'), 'utf8'))[1]);
      const pedidos = new Set(['com', 'sem'].flatMap((s) => servidores[s].pedidos));
      for (const f of ['/sislin-aula.wasm', '/processo.js', '/wasi/wasi.js', '/leitor.js']) assert.ok(pedidos.has(f), `${f} in ${[...pedidos].join(' ')}`);
      // The service worker itself is fetched by the browser, never kept in its own cache; a
      // course package's settings (turma.json) are asked for and are not part of the site.
      const fora = [...pedidos].filter((p) => p !== '/sw.js' && p !== '/turma.json' && !offline.includes(p === '/' ? './' : p.slice(1)));
      assert.deepEqual(fora, [], 'asked for, not kept offline');
    });

    test('phone: readable terminal, replies by the keys or the field, no violation', async () => {
      const aba = await abrePagina(navegador, 'sem', { largura: 390, altura: 844, telefone: true });
      const medidas = await aba.avalia(() => ({
        colunas: globalThis.sislin.colunas(),
        fonte: parseFloat(getComputedStyle(document.querySelector('.xterm-rows')).fontSize),
        largura: document.documentElement.scrollWidth,
        janela: innerWidth,
        teclas: getComputedStyle(document.getElementById('teclas')).display !== 'none',
      }));
      assert.ok(medidas.colunas >= 60 && medidas.fonte >= 12, JSON.stringify(medidas));
      assert.ok(medidas.largura <= medidas.janela, JSON.stringify(medidas));
      // A touch screen (Chromium's emulation) gets the reply keys; the others the reply field.
      assert.equal(medidas.teclas, motor === 'chromium', JSON.stringify(medidas));
      await dialogo(aba, `${motor}-telefone`, EXEMPLO, DIALOGO, async (resposta) => {
        if (medidas.teclas) {
          for (const c of resposta) {
            await aba.avalia((t) => [...document.querySelectorAll('#teclas button')].find((b) => b.textContent === t).click(), c);
          }
          await aba.clica('#teclas [data-acao="envia"]');
        } else {
          await aba.avalia((t) => { document.getElementById('linha').value = t; }, resposta);
          await aba.clica('#resposta button[type="submit"]');
        }
      });
      // Every panel open: still no page wider than the screen, no violation.
      const largura = await aba.avalia(() => {
        for (const id of ['analise', 'conjunto-painel', 'conferir-painel']) document.getElementById(id).open = true;
        return [document.documentElement.scrollWidth, innerWidth];
      });
      assert.ok(largura[0] <= largura[1], `with the panels open: ${largura}`);
      assert.deepEqual(await violacoes(aba), [], 'axe-core on a phone, every panel open');
      if (motor === 'chromium') assert.deepEqual(await aba.instalacao(), [], 'installable as an app');
      await aba.captura(join(RESULTADOS, `${motor}-telefone.png`));
      await aba.fecha();
    });
  });
}
