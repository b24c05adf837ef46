// sislin-aula, compiled to WebAssembly, run in a worker of its own with an in-memory folder, for
// the panels "Exercicio" and "Analise do sistema". It answers with --json: one object on standard
// output (docs/sislin-aula.schema.json), also for a refusal ({ erro }).
import { Execucao, carregaModulo, novoProcesso } from './execucao.js';

let modulo = null;

// The compiled sislin-aula, fetched once (the practice runs it in the page's console too).
export const moduloAula = () => (modulo ??= carregaModulo('sislin-aula.wasm'));

// Runs sislin-aula with these arguments and --json in a folder holding these files (none:
// empty); resolves to { status, objeto, erro, arquivos }: objeto is its JSON object (null when
// it wrote none), erro its standard error, arquivos the files it left there.
export function sislinAula(argumentos, arquivos = {}) {
  const saidas = { 1: [], 2: [] };
  const texto = (canal) => new TextDecoder('latin1').decode(new Uint8Array(saidas[canal].flatMap((b) => [...b])));
  return new Promise((resolve, reject) => {
    const execucao = new Execucao(novoProcesso(), moduloAula(), arquivos, {
      saida: (canal, bytes) => saidas[canal]?.push(bytes),
      pede: () => execucao.encerra(() => reject(new Error('sislin-aula pediu entrada'))),
      fim: (status, deixados) => resolve({ status, objeto: objeto(texto(1)), erro: texto(2), arquivos: deixados }),
      falha: (t) => reject(new Error(t)),
    }, ['sislin-aula', ...argumentos, '--json']);
  });
}

function objeto(saida) {
  try {
    const o = JSON.parse(saida);
    return o !== null && typeof o === 'object' ? o : null;
  } catch {
    return null;
  }
}

// Why sislin-aula refused, in words: its object's reason, else its standard error, else its status.
export function recusa({ status, objeto: o, erro }) {
  if (typeof o?.erro === 'string' && o.erro) return o.erro;
  return erro.trim() || `sislin-aula terminou com status ${status}.`;
}
