// Runs the WebAssembly program in a Web Worker under a WASI layer: a7.txt and b7.txt in its
// current directory, standard output and error sent to the page as they are written, and
// standard input from the page. A read of standard input blocks the program, in one of three
// ways, whichever the browser offers:
// - "sab": the worker sleeps in Atomics.wait on memory shared with the page until the page
//   writes the next line there (the page must be cross-origin isolated);
// - "jspi": the read is an import that suspends the program (WebAssembly.Suspending) until the
//   page's message with the line arrives;
// - "reexecucao": the program runs from the start with all the input so far, and the run is
//   abandoned at the first read past it; the page shows only the bytes it has not shown yet.
import { Fd } from './wasi/fd.js';
import { File, PreopenDirectory } from './wasi/fs_mem.js';
import WASI, { WASIProcExit } from './wasi/wasi.js';
import * as wasi from './wasi/wasi_defs.js';

// Thrown by a read past the input a replayed run was given.
class FaltaEntrada extends Error {}

// Standard input: the bytes the page has sent and not yet read, and whether the input ended.
class Entrada extends Fd {
  constructor(pede) {
    super();
    this.pede = pede;  // obtains more input when none is left; returns nothing
    this.resto = new Uint8Array(0);
    this.fim = false;
  }
  recebe(bytes, fim) {
    const junto = new Uint8Array(this.resto.length + bytes.length);
    junto.set(this.resto);
    junto.set(bytes, this.resto.length);
    this.resto = junto;
    this.fim = this.fim || fim;
  }
  vazia() {
    return this.resto.length === 0 && !this.fim;
  }
  fd_fdstat_get() {
    const estado = new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0);
    estado.fs_rights_base = BigInt(wasi.RIGHTS_FD_READ);
    return { ret: wasi.ERRNO_SUCCESS, fdstat: estado };
  }
  fd_read(tamanho) {
    if (tamanho > 0 && this.vazia()) this.pede();
    const n = Math.min(tamanho, this.resto.length);
    const dados = this.resto.slice(0, n);
    this.resto = this.resto.subarray(n);
    return { ret: wasi.ERRNO_SUCCESS, data: dados };
  }
}

const codifica = new TextEncoder();

// Standard output or error: each write goes to the page as it is (the program buffers its
// output and writes it before every read and at exit).
class Saida extends Fd {
  constructor(canal) {
    super();
    this.canal = canal;
  }
  fd_fdstat_get() {
    const estado = new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0);
    estado.fs_rights_base = BigInt(wasi.RIGHTS_FD_WRITE);
    return { ret: wasi.ERRNO_SUCCESS, fdstat: estado };
  }
  fd_write(dados) {
    const n = dados.byteLength;  // the buffer is handed over to the page, and left empty here
    postMessage({ tipo: 'saida', canal: this.canal, dados }, [dados.buffer]);
    return { ret: wasi.ERRNO_SUCCESS, nwritten: n };
  }
}

// One run of the program; resolves to its exit status, or to null when a replayed run stopped
// for want of input.
async function executa(modulo, arquivos, entrada, jspi) {
  const diretorio = new PreopenDirectory('.', [
    ['a7.txt', new File(codifica.encode(arquivos.a7))],
    ['b7.txt', new File(codifica.encode(arquivos.b7))],
  ]);
  const w = new WASI(['sislin'], [], [entrada, new Saida(1), new Saida(2), diretorio], { debug: false });
  const importa = { ...w.wasiImport };
  if (jspi) {
    const le = w.wasiImport.fd_read;
    importa.fd_read = new WebAssembly.Suspending((fd, ...resto) =>
      fd === 0 && entrada.vazia() ? entrada.espera().then(() => le(fd, ...resto)) : le(fd, ...resto));
  }
  const instancia = await WebAssembly.instantiate(modulo, { wasi_snapshot_preview1: importa });
  w.inst = instancia;
  try {
    if (jspi) await WebAssembly.promising(instancia.exports._start)();
    else instancia.exports._start();
    return 0;
  } catch (e) {
    if (e instanceof WASIProcExit) return e.code;
    if (e instanceof FaltaEntrada) return null;
    throw e;
  }
}

onmessage = async ({ data: pedido }) => {
  const { modulo, arquivos, modo } = pedido;
  let entrada;
  if (modo === 'sab') {
    // controle[0]: 1 once the page has written; controle[1]: the byte count, -1 at the end.
    const controle = new Int32Array(pedido.memoria, 0, 2);
    const bytes = new Uint8Array(pedido.memoria, 8);
    entrada = new Entrada(() => {
      postMessage({ tipo: 'pede' });
      Atomics.wait(controle, 0, 0);
      const n = controle[1];
      entrada.recebe(bytes.slice(0, Math.max(n, 0)), n < 0);
      Atomics.store(controle, 0, 0);
    });
  } else if (modo === 'jspi') {
    entrada = new Entrada(() => {});
    let chega = null;
    entrada.espera = () => {
      postMessage({ tipo: 'pede' });
      return new Promise((resolve) => { chega = resolve; });
    };
    onmessage = ({ data: m }) => {
      entrada.recebe(m.bytes, m.fim);
      chega();
    };
  } else {
    entrada = new Entrada(() => { throw new FaltaEntrada(); });
    entrada.recebe(pedido.entrada, pedido.fim);
  }
  try {
    const status = await executa(modulo, arquivos, entrada, modo === 'jspi');
    postMessage(status === null ? { tipo: 'pede' } : { tipo: 'fim', status });
  } catch (e) {
    postMessage({ tipo: 'erro', texto: String(e) });
  }
};
