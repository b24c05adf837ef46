// The page: the program's console in a terminal, its two data files, the transcript, and the
// chart of the change per sweep of the iterative methods.
import { Terminal } from './xterm/xterm.mjs';
import { FitAddon } from './xterm/addon-fit.mjs';

const $ = (id) => document.getElementById(id);
const codifica = new TextEncoder();

// The narrowest terminal: the menu's title line is 59 characters, a row of seven "%7.4f\t"
// columns 56.
const MIN_COLUNAS = 60;

// ---- How a read of standard input blocks (see trabalhador.js), the first the browser offers;
// ?modo=sab|jspi|reexecucao asks for one.
const MODOS = {
  sab: 'memoria compartilhada (SharedArrayBuffer)',
  jspi: 'programa suspenso a cada leitura (JSPI)',
  reexecucao: 'reexecucao a cada resposta',
};
function escolheModo() {
  const pode = {
    sab: globalThis.crossOriginIsolated === true && typeof SharedArrayBuffer === 'function',
    jspi: typeof WebAssembly.Suspending === 'function' && typeof WebAssembly.promising === 'function',
    reexecucao: true,
  };
  const pedido = new URLSearchParams(location.search).get('modo');
  if (pedido in pode && pode[pedido]) return pedido;
  return Object.keys(MODOS).find((m) => pode[m]);
}
const modo = escolheModo();
$('modo').textContent = `Leitura da entrada: ${MODOS[modo]}.`;

const inicio = globalThis.sislinInicio ?? {};
async function carregaPrograma() {
  const resposta = await (inicio.programa ?? fetch('sislin.wasm'));
  if (!resposta.ok) throw new Error(`sislin.wasm: ${resposta.status}`);
  if (resposta.headers.get('Content-Type') === 'application/wasm') {
    return WebAssembly.compileStreaming(resposta);
  }
  return WebAssembly.compile(await resposta.arrayBuffer());
}
const programa = carregaPrograma();
const exemplos = Promise.all((inicio.exemplos ?? ['a7.txt', 'b7.txt'].map((f) => fetch(f)))
  .map((p) => p.then((r) => (r.ok ? r.text() : ''))));

// What the tests read: the mode, the output so far, the transcript, the chart's points.
const pagina = { modo, saida: '', primeiroPrompt: null, status: null };
globalThis.sislin = pagina;

// A tick of the logarithmic scale: 0.001 and above as written, smaller powers of ten as 1e-4.
const textoEscala = (v) => (v === null ? '' : v >= 0.001 ? String(v) : v.toExponential(0));

// ---- The chart of the iterative methods: the table's Erro column, one point per sweep.
class Grafico {
  constructor() {
    this.k = [];
    this.erro = [];
    this.resto = '';
    this.estado = 'fora';
    this.plot = null;
  }

  limpa() {
    this.resto = '';
    this.estado = 'fora';
    $('grafico').hidden = true;
  }

  // The table: the title line, the header "k\t...Erro", the starting line of k = 0, then one
  // line per sweep ending in the change; anything else ends it.
  linha(l) {
    const titulo = /-+Metodo Iterativo de (.+?)-+$/.exec(l);
    if (titulo) {
      this.inicia(titulo[1]);
      this.estado = 'cabecalho';
    } else if (this.estado === 'cabecalho') {
      this.estado = l.startsWith('k\t') ? 'partida' : 'fora';
    } else if (this.estado === 'partida') {
      this.estado = l.startsWith('0\t') ? 'tabela' : 'fora';
    } else if (this.estado === 'tabela') {
      const campos = l.split('\t');
      if (campos.length < 2 || !/^\d+$/.test(campos[0])) {
        this.estado = 'fora';
        return;
      }
      const v = Number(campos[campos.length - 1].trim().replace(/^(-?)inf$/, '$1Infinity'));
      this.k.push(Number(campos[0]));
      // A change printed as 0.0000 is below 0.00005: drawn there, at the table's resolution.
      this.erro.push(v === 0 ? 0.00005 : Number.isFinite(v) ? v : null);
      this.desenha();
    }
  }

  recebe(texto) {
    const linhas = (this.resto + texto).split('\n');
    this.resto = linhas.pop();
    for (const l of linhas) this.linha(l);
  }

  inicia(metodo) {
    this.k = [];
    this.erro = [];
    $('titulo-grafico').textContent = `${metodo}: Erro por iteracao (escala logaritmica)`;
    $('grafico').hidden = false;
    if (this.plot === null) {
      this.plot = new uPlot({
        ...this.tamanho(),
        scales: { x: { time: false }, y: { distr: 3 } },
        axes: [{ label: 'k' }, { label: 'Erro', values: (u, v) => v.map(textoEscala) }],
        legend: { show: false },
        cursor: { show: false },
        series: [{}, { label: 'Erro', stroke: '#1f5fa8', width: 2, points: { show: true, size: 5 } }],
      }, [[], []], $('desenho'));
    }
    this.desenha();
  }

  tamanho() {
    const largura = Math.max(200, $('grafico').clientWidth - 8);
    return { width: largura, height: Math.round(Math.min(320, largura * 0.6)) };
  }

  desenha() {
    if (this.plot) this.plot.setData([this.k, this.erro]);
  }

  ajusta() {
    if (this.plot && !$('grafico').hidden) this.plot.setSize(this.tamanho());
  }
}
const grafico = new Grafico();
pagina.grafico = grafico;

// ---- The terminal, with its own line editing: the typed line is echoed, Backspace takes back
// a character, Enter sends the line, Ctrl+D sends what is typed and ends the input, Ctrl+C stops.
const terminal = new Terminal({
  convertEol: true,
  cursorBlink: true,
  fontFamily: 'DejaVu Sans Mono, Menlo, Consolas, monospace',
  scrollback: 10000,
});
const ajuste = new FitAddon();
terminal.loadAddon(ajuste);
terminal.open($('terminal'));
pagina.colunas = () => terminal.cols;

// The largest font, up to 15 px, at which MIN_COLUNAS columns fit the width.
function ajustaTerminal() {
  let proposta;
  for (let tamanho = 15; tamanho >= 7; tamanho--) {
    terminal.options.fontSize = tamanho;
    proposta = ajuste.proposeDimensions();
    if (!proposta || proposta.cols >= MIN_COLUNAS) break;
  }
  if (proposta) terminal.resize(Math.max(proposta.cols, 2), Math.max(proposta.rows, 4));
  grafico.ajusta();
}
ajustaTerminal();
new ResizeObserver(ajustaTerminal).observe($('console'));

let linha = '';
let execucao = null;
const transcricao = [];
const decodifica = new TextDecoder();
const PROMPT = /(= |Escolha: )$/;

function mostra(bytes) {
  terminal.write(bytes);
  transcricao.push(bytes);
  const texto = decodifica.decode(bytes, { stream: true });
  pagina.saida += texto;
  grafico.recebe(texto);
  if (pagina.primeiroPrompt === null && PROMPT.test(pagina.saida)) {
    pagina.primeiroPrompt = performance.now();
  }
}

function estado(texto) {
  $('estado').textContent = texto;
}

function envia(texto, fim) {
  if (execucao === null) return;
  const bytes = codifica.encode(texto);
  transcricao.push(bytes);
  pagina.saida += texto;
  grafico.recebe(texto);
  execucao.entrega(bytes, fim);
}

function teclas(dados) {
  if (dados.startsWith('\x1b')) return;  // cursor and function keys: no line history here
  for (let i = 0; i < dados.length; i++) {
    const c = dados[i];
    if (c === '\r' || c === '\n') {
      if (c === '\n' && dados[i - 1] === '\r') continue;
      terminal.write('\r\n');
      envia(`${linha}\n`, false);
      linha = '';
    } else if (c === '\x7f' || c === '\b') {
      if (linha.length > 0) {
        linha = [...linha].slice(0, -1).join('');
        terminal.write('\b \b');
      }
    } else if (c === '\x04') {
      envia(linha, true);
      linha = '';
    } else if (c === '\x03') {
      terminal.write('^C\r\n');
      linha = '';
      para();
    } else if (c >= ' ') {
      linha += c;
      terminal.write(c);
    }
  }
}
terminal.onData(teclas);

$('resposta').addEventListener('submit', (evento) => {
  evento.preventDefault();
  const campo = $('linha');
  teclas(`${campo.value}\r`);
  campo.value = '';
});

// ---- One run of the program in a worker.
class Execucao {
  constructor(modulo, arquivos) {
    this.fila = new Uint8Array(0);  // typed, not yet handed to the program
    this.fim = false;                // the input ends after the queue
    this.esperando = false;          // the program is waiting for input
    this.trabalhador = inicio.trabalhador ?? new Worker('trabalhador.js', { type: 'module' });
    inicio.trabalhador = null;
    this.trabalhador.onmessage = ({ data }) => this.mensagem(data);
    this.trabalhador.onerror = (e) => this.termina(`Erro: ${e.message}`);
    this.pedido = { modulo, arquivos, modo };
    if (modo === 'sab') {
      this.memoria = new SharedArrayBuffer(8 + 65536);
      this.controle = new Int32Array(this.memoria, 0, 2);
      this.pedido.memoria = this.memoria;
    } else if (modo === 'reexecucao') {
      this.entrada = new Uint8Array(0);  // every byte given so far, for each new run
      this.vistos = [0, 0, 0];           // per stream: bytes shown so far
      this.naRodada = [0, 0, 0];         // per stream: bytes of this run so far
      this.pedido.entrada = this.entrada;
      this.pedido.fim = false;
    }
    this.trabalhador.postMessage(this.pedido);
    estado('Em execucao');
  }

  mensagem(m) {
    if (m.tipo === 'saida') this.saida(m.canal, m.dados);
    else if (m.tipo === 'pede') {
      this.esperando = true;
      estado('Aguardando resposta');
      this.atende();
    } else if (m.tipo === 'fim') {
      pagina.status = m.status;
      this.termina(`Programa terminado (status ${m.status})`);
    } else if (m.tipo === 'erro') this.termina(`Erro: ${m.texto}`);
  }

  saida(canal, dados) {
    if (modo === 'reexecucao') {
      // A replayed run writes again what the earlier runs wrote: only what is new is shown.
      const novo = dados.subarray(Math.max(0, this.vistos[canal] - this.naRodada[canal]));
      this.naRodada[canal] += dados.length;
      this.vistos[canal] = Math.max(this.vistos[canal], this.naRodada[canal]);
      dados = novo;
    }
    if (dados.length === 0) return;
    if (canal === 1) mostra(dados);
    else terminal.write(dados);  // standard error: shown, not part of the transcript
  }

  entrega(bytes, fim) {
    const junto = new Uint8Array(this.fila.length + bytes.length);
    junto.set(this.fila);
    junto.set(bytes, this.fila.length);
    this.fila = junto;
    this.fim = this.fim || fim;
    this.atende();
  }

  atende() {
    if (!this.esperando || (this.fila.length === 0 && !this.fim)) return;
    this.esperando = false;
    estado('Em execucao');
    if (modo === 'sab') {
      const n = Math.min(this.fila.length, this.memoria.byteLength - 8);
      new Uint8Array(this.memoria, 8, n).set(this.fila.subarray(0, n));
      this.fila = this.fila.slice(n);
      this.controle[1] = n > 0 ? n : -1;
      Atomics.store(this.controle, 0, 1);
      Atomics.notify(this.controle, 0);
    } else if (modo === 'jspi') {
      this.trabalhador.postMessage({ bytes: this.fila, fim: this.fim });
      this.fila = new Uint8Array(0);
    } else {
      const junto = new Uint8Array(this.entrada.length + this.fila.length);
      junto.set(this.entrada);
      junto.set(this.fila, this.entrada.length);
      this.entrada = junto;
      this.fila = new Uint8Array(0);
      this.naRodada = [0, 0, 0];
      this.trabalhador.postMessage({ ...this.pedido, entrada: this.entrada, fim: this.fim });
    }
  }

  termina(texto) {
    this.trabalhador.terminate();
    if (execucao === this) execucao = null;
    estado(texto);
  }
}

function para() {
  if (execucao !== null) execucao.termina('Parado');
}

async function executa() {
  para();
  terminal.reset();
  transcricao.length = 0;
  pagina.saida = '';
  pagina.status = null;
  linha = '';
  grafico.limpa();
  const arquivos = { a7: $('a7').value, b7: $('b7').value };
  execucao = new Execucao(await programa, arquivos);
  terminal.focus();
}

$('parar').addEventListener('click', para);
$('recomecar').addEventListener('click', executa);
$('executar').addEventListener('click', executa);

$('baixar').addEventListener('click', () => {
  const url = URL.createObjectURL(new Blob(transcricao, { type: 'text/plain' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = 'transcricao.txt';
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
});

// "Abrir arquivo": a local file into its text area.
let destino = null;
for (const botao of document.querySelectorAll('[data-abre]')) {
  botao.addEventListener('click', () => {
    destino = $(botao.dataset.abre);
    $('escolhe').value = '';
    $('escolhe').click();
  });
}
$('escolhe').addEventListener('change', async () => {
  const arquivo = $('escolhe').files[0];
  if (arquivo && destino) destino.value = await arquivo.text();
});

const [a7, b7] = await exemplos;
$('a7').value = a7;
$('b7').value = b7;
executa().catch((e) => estado(`Erro: ${e.message}`));
