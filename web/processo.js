// Runs a WebAssembly program (sislin, sislin-aula) in a Web Worker under a WASI layer, one
// process a worker: the files the page gives (a7.txt and b7.txt) in its current directory, handed
// back as they are at the end; standard output and error sent to the page in batches, and so is
// the record of the run (registro.jsonl, kept nowhere in the worker); standard input from the
// page. The page's sislin was built with Asyncify for the read of standard input: when no input is
// there, the read unwinds the program's call stack into a buffer and _start returns; once the
// page's input arrives, the call stack is rewound and the read returns it. So a read blocks
// without shared memory, in any engine and any page, with or without isolation headers.
import { Fd, Inode } from './wasi/fd.js';
import { File, PreopenDirectory } from './wasi/fs_mem.js';
import WASI, { WASIProcExit } from './wasi/wasi.js';
import * as wasi from './wasi/wasi_defs.js';
import * as msg from './mensagens.js';

// Output is sent when this many bytes are waiting, or this many ms after the last batch, and
// always before a read and at the end: the page gets a few messages a second, not one a line.
const LOTE_BYTES = 1 << 15;
const LOTE_MS = 40;
const ARQUIVO_REGISTRO = 'registro.jsonl';

// The unwound call stack is kept just below the frame of the read that suspended: that part of
// the program's stack is unused while the program is suspended. The first two words of the
// buffer hold where its data starts and ends.
const PILHA_BYTES = 16384;
const FOLGA_BYTES = 1024;

// Standard input: what the page has sent and the program has not read yet.
class Entrada extends Fd {
  constructor() {
    super();
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
  vazia() { return this.resto.length === 0 && !this.fim; }
  fd_fdstat_get() {
    const estado = new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0);
    estado.fs_rights_base = BigInt(wasi.RIGHTS_FD_READ);
    return { ret: wasi.ERRNO_SUCCESS, fdstat: estado };
  }
  fd_read(tamanho) {
    const n = Math.min(tamanho, this.resto.length);
    const dados = this.resto.slice(0, n);
    this.resto = this.resto.subarray(n);
    return { ret: wasi.ERRNO_SUCCESS, data: dados };
  }
}

// Standard output or error: written bytes wait in a batch for the page.
class Saida extends Fd {
  constructor(canal) {
    super();
    this.canal = canal;
    this.partes = [];
    this.bytes = 0;
    this.enviado = performance.now();
  }
  fd_fdstat_get() {
    const estado = new wasi.Fdstat(wasi.FILETYPE_CHARACTER_DEVICE, 0);
    estado.fs_rights_base = BigInt(wasi.RIGHTS_FD_WRITE);
    return { ret: wasi.ERRNO_SUCCESS, fdstat: estado };
  }
  fd_write(dados) {
    this.partes.push(dados);
    this.bytes += dados.byteLength;
    if (this.bytes >= LOTE_BYTES || performance.now() - this.enviado >= LOTE_MS) this.envia();
    return { ret: wasi.ERRNO_SUCCESS, nwritten: dados.byteLength };
  }
  envia() {
    this.enviado = performance.now();
    if (this.bytes === 0) return;
    // Always a copy, even of a single write: the WASI layer still reads the written array after
    // fd_write returns (its length, to go on to the next piece), so it cannot be handed over.
    const dados = new Uint8Array(this.bytes);
    let k = 0;
    for (const p of this.partes) {
      dados.set(p, k);
      k += p.byteLength;
    }
    this.partes = [];
    this.bytes = 0;
    postMessage(msg.saida(this.canal, dados), [dados.buffer]);
  }
}

// The record's file: every open of it writes to the page through one batched output.
class ArquivoRegistro extends Inode {
  constructor(saida) {
    super();
    this.saida = saida;
  }
  path_open() { return { ret: wasi.ERRNO_SUCCESS, fd_obj: this.saida }; }
  stat() { return new wasi.Filestat(this.ino, wasi.FILETYPE_REGULAR_FILE, 0n); }
}

// The process: the program, its streams, and the unwind/rewind loop around the reads.
class Processo {
  constructor(modulo, arquivos, argumentos) {
    const codifica = new TextEncoder();
    this.modulo = modulo;
    this.entrada = new Entrada();
    this.saidas = [new Saida(1), new Saida(2), new Saida(msg.REGISTRO)];
    this.diretorio = new PreopenDirectory('.', [
      ...Object.entries(arquivos).map(([nome, texto]) => [nome, new File(codifica.encode(texto))]),
      [ARQUIVO_REGISTRO, new ArquivoRegistro(this.saidas[2])],
    ]);
    this.wasi = new WASI(argumentos, [`SISLIN_REGISTRO=${ARQUIVO_REGISTRO}`], [this.entrada, this.saidas[0], this.saidas[1], this.diretorio], { debug: false });
    this.pilha = 0;            // the unwind buffer while the program is suspended
    this.voltando = false;     // the call stack is being rewound into the read
    this.chega = null;         // resolves when the page's input arrives
  }

  // The read of standard input: suspends the program when nothing is there to read.
  le(fd, iovs, n, lidos) {
    const x = this.instancia.exports;
    if (this.voltando) {
      x.asyncify_stop_rewind();
      this.voltando = false;
    } else if (fd === 0 && this.entrada.vazia()) {
      this.pilha = iovs - FOLGA_BYTES - PILHA_BYTES;
      if (this.pilha < 8) throw new Error('sem espaco na pilha para suspender a leitura');
      const palavras = new Int32Array(x.memory.buffer, this.pilha, 2);
      palavras[0] = this.pilha + 8;
      palavras[1] = this.pilha + PILHA_BYTES;
      x.asyncify_start_unwind(this.pilha);
      return 0;
    }
    return this.wasi.wasiImport.fd_read(fd, iovs, n, lidos);
  }

  async roda() {
    const importa = { ...this.wasi.wasiImport, fd_read: (...a) => this.le(...a) };
    this.instancia = await WebAssembly.instantiate(this.modulo, { wasi_snapshot_preview1: importa });
    this.wasi.inst = this.instancia;
    const x = this.instancia.exports;
    try {
      for (;;) {
        x._start();
        // Returned without exit: status 0 (a program built without Asyncify never suspends).
        if (x.asyncify_get_state?.() !== 1) return 0;
        x.asyncify_stop_unwind();
        this.despeja();
        postMessage(msg.pede());
        await new Promise((resolve) => { this.chega = resolve; });
        this.voltando = true;
        x.asyncify_start_rewind(this.pilha);
      }
    } catch (e) {
      if (e instanceof WASIProcExit) return e.code;
      throw e;
    }
  }

  recebe(bytes, fim) {
    this.entrada.recebe(bytes, fim);
    const chega = this.chega;
    this.chega = null;
    chega?.();
  }

  // The folder's files as the program left them (the record aside).
  arquivos() {
    const decodifica = new TextDecoder('latin1');
    const lista = [...this.diretorio.dir.contents].filter(([, f]) => f instanceof File);
    return Object.fromEntries(lista.map(([nome, f]) => [nome, decodifica.decode(f.data)]));
  }

  despeja() {
    for (const s of this.saidas) s.envia();
  }
}

let processo = null;
onmessage = async ({ data: m }) => {
  if (m.tipo === 'entrada') {
    processo?.recebe(m.bytes, m.fim);
    return;
  }
  if (m.tipo !== 'inicia' || processo !== null) return;
  processo = new Processo(m.modulo, m.arquivos, m.argumentos);
  try {
    const status = await processo.roda();
    processo.despeja();
    postMessage(msg.fim(status, processo.arquivos()));
  } catch (e) {
    processo.despeja();
    postMessage(msg.falha(e instanceof WebAssembly.RuntimeError
      ? `o programa parou por um erro interno (${e.message})`
      : String(e?.message ?? e)));
  }
};
