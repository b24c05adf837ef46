// The page's responsiveness in each browser engine, reported, never asserted: the first prompt
// after the navigation; the longest frame during a 100 000-sweep Jacobi run and during a whole
// n = 1000 run (LU with pivoting, then the inverse) and that run's time; the time "Parar" takes, until the page draws
// again, 3 s into each kind of run; the page's heap after the n = 1000 run (Chromium only).
// Usage: node bench/pagina.mjs [site folder, default build-web] [engines...]
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { MOTORES, abre } from '../web/ferramentas/navegadores.mjs';
import { serve } from '../web/ferramentas/servidor.mjs';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..');
const [pasta = join(RAIZ, 'build-web'), ...pedidos] = process.argv.slice(2);
const motores = pedidos.length > 0 ? pedidos : MOTORES;

const dir = mkdtempSync(join(tmpdir(), 'sislin-bench-'));
spawnSync('python3', [join(RAIZ, 'bench', 'gera_sistema.py'), '1000', dir]);
const GRANDE = { a7: readFileSync(join(dir, 'a7.txt'), 'utf8'), b7: readFileSync(join(dir, 'b7.txt'), 'utf8') };
rmSync(dir, { recursive: true });

// In the page: the longest gap between two frames since the last call.
function vigiaQuadros() {
  const q = { max: 0, ultimo: performance.now() };
  globalThis.quadrosBench = q;
  const passo = () => {
    const agora = performance.now();
    q.max = Math.max(q.max, agora - q.ultimo);
    q.ultimo = agora;
    requestAnimationFrame(passo);
  };
  requestAnimationFrame(passo);
}
const prompts = () => {
  const s = globalThis.sislin?.saida;
  const texto = typeof s === 'function' ? s() : s ?? '';
  return (texto.match(/ = |Escolha: /g) ?? []).length;
};
const umQuadro = () => new Promise((r) => requestAnimationFrame(() => r(true)));

// Types the replies once the first prompt is shown, lets the run go on for `ms`, then presses
// "Parar": the longest frame meanwhile and the time until the page draws a frame again.
async function corrida(aba, respostas, ms) {
  await aba.espera(prompts);
  await aba.avalia(() => { globalThis.quadrosBench.max = 0; });
  await aba.digita(respostas);
  await new Promise((r) => setTimeout(r, ms));
  const t0 = performance.now();
  await aba.avalia(() => new Promise((r) => {
    document.getElementById('parar').click();
    requestAnimationFrame(() => r());
  }));
  await aba.avalia(umQuadro);
  const parar = performance.now() - t0;
  const quadro = await aba.avalia(() => globalThis.quadrosBench.max);
  return { quadro, parar };
}

const linhas = [];
const servidor = await serve(pasta, { isolado: true, porta: 0 });
const url = `http://127.0.0.1:${servidor.address().port}/?teste`;
for (const motor of motores) {
  const navegador = await abre(motor);
  try {
    const aba = await navegador.aba();
    await aba.vai(url);
    const primeiro = await aba.espera(() => globalThis.sislin?.primeiroPrompt);
    await aba.avalia(vigiaQuadros);
    await aba.clica('#terminal');
    const jacobi = await corrida(aba, '4\n9\n-1\n100000\n', 3000);
    await aba.avalia((a) => {
      document.getElementById('a7').value = a.a7;
      document.getElementById('b7').value = a.b7;
      document.getElementById('executar').click();
    }, GRANDE);
    await aba.avalia(() => new Promise((r) => setTimeout(r, 500)));
    await aba.clica('#terminal');
    await aba.espera(prompts);
    await aba.avalia(() => { globalThis.quadrosBench.max = 0; });
    const t0 = performance.now();
    await aba.digita('1000\n4\n8\n0\n');
    await aba.espera(() => globalThis.sislin.status != null, [], 180000);
    const duracao = performance.now() - t0;
    const quadroGrande = await aba.avalia(() => globalThis.quadrosBench.max);
    const heap = await aba.heap();
    await aba.avalia(() => document.getElementById('recomecar').click());
    await aba.avalia(() => new Promise((r) => setTimeout(r, 500)));
    await aba.clica('#terminal');
    const grande = { ...(await corrida(aba, '1000\n8\n', 3000)), quadro: quadroGrande, duracao };
    linhas.push({ motor, primeiro, jacobi, grande, heap });
  } finally {
    await navegador.fecha();
  }
}
servidor.close();

const ms = (v) => `${v.toFixed(0)} ms`;
console.log('engine    first prompt  Jacobi: longest frame  Parar   n=1000: run  longest frame  Parar   heap');
for (const l of linhas) {
  console.log(`${l.motor.padEnd(9)} ${ms(l.primeiro).padStart(12)}  ${ms(l.jacobi.quadro).padStart(21)}  ` +
    `${ms(l.jacobi.parar).padStart(6)}  ${ms(l.grande.duracao).padStart(11)}  ${ms(l.grande.quadro).padStart(13)}  ${ms(l.grande.parar).padStart(6)}  ` +
    `${l.heap === null ? 'n/a' : `${(l.heap / 1048576).toFixed(1)} MB`}`);
}
