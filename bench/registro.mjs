// The page's reading of a run's record on its main thread, under Node.js, reported, never
// asserted: one record line of an n = 1000 matrix (about 15 MB) arriving in 64 KB chunks, the
// chart's sweeps of a million-sweep Jacobi run at n = 4, and the "Conferir" list of that run.
// Usage: node bench/registro.mjs   (make bench-web runs it too)
import { Curvas } from '../web/grafico.js';
import { resultados } from '../web/conferir.js';
import { Registro } from '../web/registro.js';

const ms = (f) => {
  const t = performance.now();
  const r = f();
  return [performance.now() - t, r];
};

const n = 1000;
const A = Array.from({ length: n }, (_, i) => Array.from({ length: n }, (_, j) => ((i * 7 + j) % 97) - 48.123));
const linha = new TextEncoder().encode(`${JSON.stringify({ evento: 'dados', n, A, b: Array(n).fill(1) })}\n`);
const [tLinha, lido] = ms(() => {
  const r = new Registro();
  for (let i = 0; i < linha.length; i += 65536) r.recebe(linha.subarray(i, i + 65536));
  return r.conjunto().length;
});
console.log(`a ${(linha.length / 1e6).toFixed(1)} MB line in 64 KB chunks: ${tLinha.toFixed(0)} ms (${lido} arrays)`);

const varreduras = 1000000;
let texto = '';
for (let k = 0; k <= varreduras; k++) {
  texto += `{"evento":"varredura","metodo":"jacobi","k":${k},"x":[1,2.0000002,-1,0.99999994]${k ? ',"Erro":1.1920929e-7' : ''}}\n`;
}
const registro = new TextEncoder().encode(texto);
const [tCurvas, curvas] = ms(() => {
  const c = new Curvas();
  const r = new Registro((v) => c.varredura(v));
  for (let i = 0; i < registro.length; i += 65536) r.recebe(registro.subarray(i, i + 65536));
  return c;
});
console.log(`${varreduras} sweeps to the chart: ${tCurvas.toFixed(0)} ms (${(tCurvas / varreduras * 1000).toFixed(2)} us a sweep, ${curvas.k.length} points)`);
const [tLista, lista] = ms(() => resultados(texto));
console.log(`the "Conferir" list of those sweeps: ${tLista.toFixed(0)} ms (${lista.length} results)`);
