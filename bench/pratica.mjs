// The panel "Praticar"'s latency in each browser engine, reported, never asserted: Gauss
// practised at n = 10 (the largest system the practice takes), from the click that sends a
// reply (wrong, then right), a hint or an undo to the frame in which the panel shows its mark
// (the mark in words, the grid, the history: drawn at once). The goal is one frame, 16 ms. The
// time covers the console's line to sislin-aula in its worker, the engine's check, the record's
// lines back to the page, their reading and the panel's drawing.
// Usage: node bench/pratica.mjs [site folder, default build-web] [engines...]
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { MOTORES, abre, comecaPratica } from '../web/ferramentas/navegadores.mjs';
import { serve } from '../web/ferramentas/servidor.mjs';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..');
const [pasta = join(RAIZ, 'build-web'), ...pedidos] = process.argv.slice(2);
const motores = pedidos.length > 0 ? pedidos : MOTORES;
const N = 10;
const VEZES = 15;  // steps measured, each: wrong, hint, right, undo, right again

// A diagonally dominant system of small integers.
const linhas = Array.from({ length: N }, (_, i) => Array.from({ length: N }, (_, j) => (i === j ? 4 * N : ((i * 7 + j * 3) % 9) - 4)));
const SISTEMA = {
  a7: linhas.map((l) => l.join(' ')).join('\n') + '\n',
  b7: Array.from({ length: N }, (_, i) => String(i - 3)).join('\n') + '\n',
};

// In the page: sends one reply or command through the panel and resolves, in the first frame
// that shows the mark it brings (one more line in the panel's history), with the time since
// the click.
function envia(resposta) {
  const $ = (id) => document.getElementById(id);
  const antes = $('pratica-historico').childElementCount;
  return new Promise((resolve) => {
    const t0 = performance.now();
    if (resposta === 'd' || resposta === 'u') {
      document.querySelector(`#pratica-comandos [data-comando="${resposta}"]`).click();
    } else {
      $('pratica-valor').value = resposta;
      document.querySelector('#pratica-resposta button[type="submit"]').click();
    }
    const olha = () => {
      // The frame whose callbacks see the mark is the one that paints it.
      if ($('pratica-historico').childElementCount > antes) resolve(performance.now() - t0);
      else requestAnimationFrame(olha);
    };
    requestAnimationFrame(olha);
  });
}
// The expected value of the last reply checked, from the session's record.
async function esperado() {
  const r = (await globalThis.sislin.registro()).trim().split('\n').map((l) => JSON.parse(l)).filter((e) => e.evento === 'resposta');
  return String(r.at(-1).esperado);
}

const mediana = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];
const resultados = [];
const servidor = await serve(pasta, { isolado: true, porta: 0 });
for (const motor of motores) {
  const navegador = await abre(motor);
  try {
    const aba = await navegador.aba();
    await comecaPratica(aba, { endereco: `http://127.0.0.1:${servidor.address().port}/?teste`, sistema: SISTEMA, metodo: 'gauss',
      pergunta: 'm[2][1] = ', ms: 60000 });
    const t = { errado: [], dica: [], certo: [], desfaz: [] };
    for (let k = 0; k < VEZES; k++) {
      t.errado.push(await aba.avalia(envia, '-12345'));
      const certo = await aba.avalia(esperado);
      t.dica.push(await aba.avalia(envia, 'd'));
      t.certo.push(await aba.avalia(envia, certo));
      t.desfaz.push(await aba.avalia(envia, 'u'));
      await aba.avalia(envia, certo);
    }
    resultados.push({ motor, t });
    await aba.fecha();
  } finally {
    await navegador.fecha();
  }
}
servidor.close();

const ms = (v) => `${v.toFixed(1)} ms`;
console.log(`Praticar, Gauss n = ${N}, ${VEZES} steps: median (largest) from the click to the frame with the mark; goal 16 ms`);
console.log('engine      wrong reply          right reply          hint                 undo');
for (const { motor, t } of resultados) {
  const c = (v) => `${ms(mediana(v))} (${ms(Math.max(...v))})`.padEnd(21);
  console.log(`${motor.padEnd(11)} ${c(t.errado)}${c(t.certo)}${c(t.dica)}${c(t.desfaz)}`);
}
