// What the first run needs, started as soon as this small module arrives, before the terminal's
// larger modules: the program's download and compilation, the example files, and a worker that
// loads its own modules meanwhile. pagina.js takes them from here.
import { carregaModulo, novoProcesso } from './execucao.js';

async function carregaExemplo(nome) {
  const r = await fetch(nome);
  if (!r.ok) throw new Error(`${nome}: resposta ${r.status}`);
  return r.text();
}

export const programa = carregaModulo('sislin.wasm');
programa.catch(() => {});  // reported by the run that needs it
export const exemplos = Promise.all([carregaExemplo('a7.txt'), carregaExemplo('b7.txt')]);
exemplos.catch(() => {});  // reported by the page
export const primeiroProcesso = novoProcesso();
