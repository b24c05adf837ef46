// The page in headless Chromium (the system's own, driven by playwright-core), served with and
// without the cross-origin isolation headers: a dialogue is typed into the terminal (or, in a
// phone-sized touch viewport, sent through the reply field), and the downloaded transcript must
// be the native program's output for the same files and replies, with each reply inserted after
// its prompt. The chart must hold one point per sweep of the iteration table. Screenshots and
// transcripts are left in build-web-tests/.
// Usage: node web/testes.mjs   (after make web and make program; CHROMIUM names another browser)
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from './servidor.mjs';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..');
const NATIVO = join(RAIZ, 'build', 'sislin');
const RESULTADOS = join(RAIZ, 'build-web-tests');
const EXEMPLO = {
  a7: readFileSync(join(RAIZ, 'examples', 'a7.txt'), 'utf8'),
  b7: readFileSync(join(RAIZ, 'examples', 'b7.txt'), 'utf8'),
};
// 4, 5, 6; Gauss with pivoting; Jacobi (precision 0.0001, at most 50 sweeps); the end. The
// dimension is typed as "3", Backspace, "4".
const DIALOGO = ['4', '4', '5', '6', '2', '9', '0.0001', '50', '0'];
const PROMPTS = /Entre com a dimensao da matriz = |Escolha: |Entre com a precisao requerida = |Entre com o numero maximo de iteracoes = /g;

// The native program's output for these files and replies, each reply and "\n" inserted after
// the prompt that asked for it.
function esperado(arquivos, respostas) {
  const dir = mkdtempSync(join(tmpdir(), 'sislin-pagina-'));
  writeFileSync(join(dir, 'a7.txt'), arquivos.a7);
  writeFileSync(join(dir, 'b7.txt'), arquivos.b7);
  const r = spawnSync(NATIVO, { cwd: dir, input: respostas.map((x) => `${x}\n`).join('') });
  rmSync(dir, { recursive: true });
  assert.equal(r.status, 0, `native run: status ${r.status}`);
  const saida = r.stdout.toString('latin1');
  let i = 0;
  const texto = saida.replace(PROMPTS, (p) => `${p}${respostas[i++]}\n`);
  assert.equal(i, respostas.length, 'one prompt per reply in the native run');
  return { texto, saida };
}

// The sweeps of the last iteration table: k and the Erro column.
function varreduras(saida) {
  const linhas = saida.split('\n');
  const inicio = linhas.findLastIndex((l) => /-+Metodo Iterativo de .*-+$/.test(l)) + 3;
  const k = [];
  for (let i = inicio; i < linhas.length && /^[1-9]\d*\t/.test(linhas[i]); i++) {
    k.push(Number(linhas[i].split('\t')[0]));
  }
  return k;
}

let navegador;
let servidores;
const inicios = [];  // ms from the navigation to the first prompt, per page
before(async () => {
  rmSync(RESULTADOS, { recursive: true, force: true });
  mkdirSync(RESULTADOS, { recursive: true });
  // playwright-core starts it with a fresh profile folder of its own (--user-data-dir).
  navegador = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  servidores = {
    com: await serve(join(RAIZ, 'build-web'), { isolado: true, porta: 0 }),
    sem: await serve(join(RAIZ, 'build-web'), { isolado: false, porta: 0 }),
  };
});
after(async () => {
  await navegador?.close();
  for (const s of Object.values(servidores ?? {})) s.close();
});

// Types the replies, each once its prompt is shown, and checks the transcript and the chart.
async function dialogo(pagina, nome, arquivos, respostas, pelo) {
  const { texto, saida } = esperado(arquivos, respostas);
  for (const [i, resposta] of respostas.entries()) {
    await pagina.waitForFunction((n) => (sislin.saida.match(/Entre com a dimensao da matriz = |Escolha: |Entre com a precisao requerida = |Entre com o numero maximo de iteracoes = /g) ?? []).length > n, i);
    if (pelo === 'campo') {
      await pagina.fill('#linha', resposta);
      await pagina.tap('#resposta button');
    } else if (i === 0) {
      await pagina.keyboard.type('3');
      await pagina.keyboard.press('Backspace');
      await pagina.keyboard.type(`${resposta}\n`);
    } else {
      await pagina.keyboard.type(`${resposta}\n`);
    }
  }
  await pagina.waitForFunction(() => sislin.status !== null);
  assert.equal(await pagina.evaluate(() => sislin.status), 0);
  const [baixado] = await Promise.all([pagina.waitForEvent('download'), pagina.click('#baixar')]);
  const arquivo = join(RESULTADOS, `${nome}.txt`);
  await baixado.saveAs(arquivo);
  const transcricao = readFileSync(arquivo, 'latin1');
  if (transcricao !== texto) {
    let d = 0;
    while (transcricao[d] === texto[d]) d++;
    assert.fail(`${nome}: transcript differs at byte ${d}: ${JSON.stringify(transcricao.slice(d, d + 60))} ` +
                `instead of ${JSON.stringify(texto.slice(d, d + 60))}`);
  }
  const k = varreduras(saida);
  const grafico = await pagina.evaluate(() => ({ k: sislin.grafico.k, pontos: sislin.grafico.plot?.data[0].length }));
  assert.deepEqual(grafico.k, k, `${nome}: the chart's sweeps`);
  assert.equal(grafico.pontos, k.length, `${nome}: the points drawn`);
  return k.length;
}

const CASOS = [
  { nome: 'isolado', servidor: 'com', modo: 'sab' },
  { nome: 'sem-isolamento', servidor: 'sem', modo: 'jspi' },
  { nome: 'reexecucao', servidor: 'sem', modo: 'reexecucao', busca: '?modo=reexecucao' },
  { nome: 'telefone', servidor: 'sem', modo: 'jspi', telefone: true },
];

for (const caso of CASOS) {
  test(`page: ${caso.nome}`, async () => {
    const contexto = await navegador.newContext(caso.telefone
      ? { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true, acceptDownloads: true }
      : { viewport: { width: 1280, height: 800 }, acceptDownloads: true });
    const pagina = await contexto.newPage();
    const erros = [];
    pagina.on('pageerror', (e) => erros.push(e.message));
    const { port } = servidores[caso.servidor].address();
    await pagina.goto(`http://127.0.0.1:${port}/${caso.busca ?? ''}`);
    await pagina.waitForFunction(() => globalThis.sislin?.primeiroPrompt != null);
    const { modo, primeiroPrompt } = await pagina.evaluate(() => sislin);
    console.log(`${caso.nome}: reads by ${modo}, first prompt ${primeiroPrompt.toFixed(0)} ms after navigation`);
    assert.equal(modo, caso.modo);
    assert.ok(primeiroPrompt < 2000, `first prompt after ${primeiroPrompt} ms`);
    inicios.push(primeiroPrompt);
    if (caso.telefone) {
      // The terminal keeps the menu's widest line, and nothing is wider than the screen.
      const { colunas, largura } = await pagina.evaluate(() => ({
        colunas: sislin.colunas(), largura: document.documentElement.scrollWidth }));
      assert.ok(colunas >= 60, `${colunas} columns`);
      assert.ok(largura <= 390, `page ${largura} px wide`);
    } else {
      await pagina.click('#terminal');
    }
    const k = await dialogo(pagina, caso.nome, EXEMPLO, DIALOGO, caso.telefone ? 'campo' : 'terminal');
    assert.ok(k > 5, `${k} sweeps`);
    await pagina.screenshot({ path: join(RESULTADOS, `${caso.nome}.png`), fullPage: true });
    if (caso.nome === 'isolado') {
      // The program sees exactly the text areas' files.
      const outro = { a7: '2 1\n1 3\n', b7: '3\n5.5\n' };
      await pagina.fill('#a7', outro.a7);
      await pagina.fill('#b7', outro.b7);
      await pagina.click('#executar');
      await dialogo(pagina, 'isolado-outros-arquivos', outro, ['2', '10', '0.001', '20', '0'], 'terminal');
    }
    assert.deepEqual(erros, []);
    await contexto.close();
  });
}

test('page: the first prompt within a second of the navigation', () => {
  assert.ok(Math.min(...inicios) < 1000, `first prompts after ${inicios.join(', ')} ms`);
});

test('page: the folder stays under 1 MB', () => {
  const r = spawnSync('du', ['-sb', '--apparent-size', join(RAIZ, 'build-web')]);
  const bytes = Number(r.stdout.toString().split('\t')[0]);
  console.log(`build-web: ${bytes} bytes`);
  assert.ok(bytes > 200000 && bytes < 1000000, `${bytes} bytes`);
});
