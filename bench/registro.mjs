// The page's reading of a run's record on its main thread, under Node.js, reported, never
// asserted: one record line of an n = 1000 matrix (about 15 MB) arriving in 64 KB chunks (in the
// page a worker parses it; here the main thread does, as the longest case), and a million-sweep
// Jacobi run at n = 4 through the stream of events to the chart and to the "Conferir" list, with
// the longest single call of the stream's parse at the page's per-frame budget.
// Usage: node bench/registro.mjs   (make bench-web runs it too)
import { Curvas } from '../web/grafico.js';
import { Resultados } from '../web/conferir.js';
import { Eventos } from '../web/eventos.js';

const QUADRO_MS = 6;  // pagina.js's budget for the record in a frame

const ms = (f) => {
  const t = performance.now();
  const r = f();
  return [performance.now() - t, r];
};

const n = 1000;
const A = Array.from({ length: n }, (_, i) => Array.from({ length: n }, (_, j) => ((i * 7 + j) % 97) - 48.123));
const linha = new TextEncoder().encode(`${JSON.stringify({ evento: 'dados', n, A, b: Array(n).fill(1) })}\n`);
const [tLinha, lido] = ms(() => {
  const r = new Eventos();
  let evento = null;
  r.ouve((e) => { evento = e; });
  for (let i = 0; i < linha.length; i += 65536) r.recebe(linha.subarray(i, i + 65536));
  r.processa();
  return evento;
});
console.log(`a ${(linha.length / 1e6).toFixed(1)} MB line in 64 KB chunks: ${tLinha.toFixed(0)} ms (A ${lido.A.omitida ? 'left out' : 'kept'}, b ${lido.b.length})`);

const varreduras = 1000000;
let texto = '';
for (let k = 0; k <= varreduras; k++) {
  texto += `{"evento":"varredura","metodo":"jacobi","k":${k},"x":[1,2.0000002,-1,0.99999994]${k ? ',"Erro":1.1920929e-7' : ''}}\n`;
}
const registro = new TextEncoder().encode(texto);
let maior = 0;
const [tTudo, [curvas, lista]] = ms(() => {
  const c = new Curvas();
  const l = new Resultados();
  const r = new Eventos();
  r.ouve((e, tabela) => {
    if (e.evento === 'varredura') c.varredura(e);
    l.evento(e, tabela);
  });
  for (let i = 0; i < registro.length; i += 32768) {
    r.recebe(registro.subarray(i, i + 32768));
    const [t] = ms(() => r.processa(QUADRO_MS));
    maior = Math.max(maior, t);
  }
  while (r.processa(QUADRO_MS));
  return [c, l.itens()];
});
console.log(`${varreduras} sweeps to the chart and to "Conferir": ${tTudo.toFixed(0)} ms (${(tTudo / varreduras * 1000).toFixed(2)} us a sweep, `
  + `${curvas.k.length} points, ${lista.length} results); longest call at a ${QUADRO_MS} ms budget: ${maior.toFixed(1)} ms`);
