// Every message between the page and the worker that runs the program, in one place.
//
// Page to worker:
//   inicia  { modulo: WebAssembly.Module, arquivos: { a7, b7 } }  starts the one run of this worker
//   entrada { bytes: Uint8Array, fim: boolean }   input for a read that is waiting (fim: no more)
// Worker to page:
//   saida   { canal: 1 | 2 | REGISTRO, dados: Uint8Array }   output written since the last saida
//                                                 (REGISTRO: the record of the run, JSON Lines)
//   pede    {}                                    the program waits for input
//   fim     { status: number }                    the program exited with this status
//   falha   { texto: string }                     the program could not go on (a trap, an error)
export const REGISTRO = 3;
export const inicia = (modulo, arquivos) => ({ tipo: 'inicia', modulo, arquivos });
export const entrada = (bytes, fim) => ({ tipo: 'entrada', bytes, fim });
export const saida = (canal, dados) => ({ tipo: 'saida', canal, dados });
export const pede = () => ({ tipo: 'pede' });
export const fim = (status) => ({ tipo: 'fim', status });
export const falha = (texto) => ({ tipo: 'falha', texto });
