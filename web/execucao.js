// One run of a program (sislin, sislin-aula), in a worker of its own (processo.js), seen from
// the page: the program's output and its requests for input come to the callbacks; input goes to
// it when it asks. Ending the run terminates the worker, whatever the program is doing; nothing from an
// ended run reaches the callbacks.
import * as msg from './mensagens.js';

// A worker ready for a run: made ahead, it loads its modules while the page does other things.
// A failure to load it before the run is kept for the run to report.
export function novoProcesso() {
  const w = new Worker('processo.js', { type: 'module' });
  w.onerror = (e) => {
    e.preventDefault?.();
    w.falha = e.message || 'processo.js nao carregou';
  };
  return w;
}

// A compiled WebAssembly program of the site (sislin.wasm, sislin-aula.wasm).
export function carregaModulo(nome) {
  return fetch(nome).then((r) => {
    if (!r.ok) throw new Error(`${nome}: resposta ${r.status}`);
    return r.headers.get('Content-Type') === 'application/wasm'
      ? WebAssembly.compileStreaming(r) : r.arrayBuffer().then((b) => WebAssembly.compile(b));
  });
}

export class Execucao {
  // modulo: a promise of the compiled program; arquivos: { nome: texto } in its folder;
  // avisos: { saida(canal, bytes), pede(), fim(status, arquivos), falha(texto) }
  constructor(processo, modulo, arquivos, avisos, argumentos = ['sislin']) {
    this.avisos = avisos;
    this.fila = [];          // input typed ahead, not yet asked for
    this.fim = false;        // the input ends after the queue
    this.esperando = false;  // the program waits for input
    this.ativa = true;
    this.processo = processo;
    this.processo.onmessage = ({ data }) => this.mensagem(data);
    this.processo.onerror = (e) => {
      e.preventDefault?.();
      this.encerra(() => this.avisos.falha(`o processo falhou: ${e.message || 'sem detalhes'}`));
    };
    this.processo.onmessageerror = () => this.encerra(() => this.avisos.falha('mensagem ilegivel do processo'));
    if (processo.falha) {
      this.encerra(() => this.avisos.falha(`o processo falhou: ${processo.falha}`));
      return;
    }
    modulo.then(
      (m) => this.ativa && this.processo.postMessage(msg.inicia(m, arquivos, argumentos)),
      (e) => this.encerra(() => this.avisos.falha(`o programa nao carregou: ${e.message}`)),
    );
  }

  mensagem(m) {
    if (!this.ativa) return;
    if (m.tipo === 'saida') this.avisos.saida(m.canal, m.dados);
    else if (m.tipo === 'pede') {
      // A reply typed ahead goes at once: the page is told of a wait only when there is one.
      this.esperando = true;
      this.atende();
      if (this.esperando) this.avisos.pede();
    } else if (m.tipo === 'fim') this.encerra(() => this.avisos.fim(m.status, m.arquivos));
    else if (m.tipo === 'falha') this.encerra(() => this.avisos.falha(m.texto));
  }

  entrega(bytes, fim) {
    if (!this.ativa) return;
    this.fila.push(bytes);
    this.fim = this.fim || fim;
    this.atende();
  }

  atende() {
    if (!this.esperando || (this.fila.length === 0 && !this.fim)) return;
    const bytes = this.fila.length === 1 ? this.fila[0] : new Uint8Array(this.fila.flatMap((b) => [...b]));
    this.fila = [];
    this.esperando = false;
    this.processo.postMessage(msg.entrada(bytes, this.fim));
  }

  // Ends the run at once; `depois` reports why.
  encerra(depois = () => {}) {
    if (!this.ativa) return;
    this.ativa = false;
    this.processo.terminate();
    depois();
  }
}
