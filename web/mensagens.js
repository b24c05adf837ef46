// Every message between the page and the worker that runs the program, in one place.
//
// Page to worker:
//   inicia  { modulo: WebAssembly.Module, arquivos: { nome: texto }, argumentos: [programa, ...] }
//           starts the one run of this worker, in a folder holding these files
//   entrada { bytes: Uint8Array, fim: boolean }   input for a read that is waiting (fim: no more)
// Worker to page:
//   saida   { canal: 1 | 2 | REGISTRO, dados: Uint8Array }   output written since the last saida
//                                                 (REGISTRO: the record of the run, JSON Lines)
//   pede    {}                                    the program waits for input
//   fim     { status: number, arquivos }          the program exited with this status, leaving
//                                                 these files in its folder: { nome: texto }
//   falha   { texto: string }                     the program could not go on (a trap, an error)
export const REGISTRO = 3;
export const inicia = (modulo, arquivos, argumentos) => ({ tipo: 'inicia', modulo, arquivos, argumentos });
export const entrada = (bytes, fim) => ({ tipo: 'entrada', bytes, fim });
export const saida = (canal, dados) => ({ tipo: 'saida', canal, dados });
export const pede = () => ({ tipo: 'pede' });
export const fim = (status, arquivos) => ({ tipo: 'fim', status, arquivos });
export const falha = (texto) => ({ tipo: 'falha', texto });
