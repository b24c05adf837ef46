// The program's console: an xterm.js terminal with a line editor of its own. The typed line is
// echoed; Backspace takes back a character; Enter sends the line; Ctrl+D sends what is typed and
// ends the input; Ctrl+C stops the run. Tab and Shift+Tab are left to the browser, so the
// keyboard can always leave the terminal. Output is written at most once per frame.
import { Terminal } from './xterm/xterm.js';
import { FitAddon } from './xterm/addon-fit.js';
import { parteVisivel, tiraLote } from './rolagem.js';

// The narrowest terminal: the menu's title line is 59 characters, a row of seven "%7.4f\t"
// columns 56. Below MIN_FONTE px the terminal keeps its columns and pans sideways instead.
const MIN_COLUNAS = 60;
const MIN_FONTE = 12;
const MAX_FONTE = 15;
const ROLAGEM = 5000;  // lines kept above the screen
const LOTE = 1 << 15;    // bytes handed to the terminal per frame
const PEDACO = 1 << 12;  // and per write: the terminal parses one write without a break

// Each time the output scrolls, xterm.js's selection tells its renderer that the selection moved,
// and the DOM renderer then draws every row again, after the rows the scroll itself has drawn:
// twice the work in every frame of a long run. While nothing is selected, nor was, that second
// drawing is skipped. It reaches into the terminal's inside (its version is pinned by the lock
// file); where that inside differs, nothing changes.
function semRedesenhoDeSelecaoVazia(terminal) {
  const desenho = terminal._core?._renderService;
  if (typeof desenho?.handleSelectionChanged !== 'function') return;
  const original = desenho.handleSelectionChanged;
  let havia = true;
  desenho.handleSelectionChanged = function selecao(...argumentos) {
    const ha = terminal.hasSelection();
    if (!ha && !havia) return undefined;
    havia = ha;
    return original.apply(this, argumentos);
  };
}

export class Console {
  // avisos: { linha(texto, fim), interrompe() }
  constructor(elemento, avisos) {
    this.elemento = elemento;
    this.avisos = avisos;
    this.linha = '';
    this.pendente = [];
    this.bytesPendentes = 0;
    this.emCurso = 0;  // bytes written that the terminal has not parsed yet
    this.vez = 0;      // counts the resets: a write from before one no longer counts
    this.terminal = new Terminal({
      convertEol: true,
      cursorBlink: true,
      fontFamily: 'DejaVu Sans Mono, Menlo, Consolas, monospace',
      scrollback: ROLAGEM,
    });
    this.ajuste = new FitAddon();
    this.terminal.loadAddon(this.ajuste);
    this.terminal.open(elemento);
    this.terminal.textarea?.setAttribute('aria-label', 'Entrada do programa (Tab sai do terminal)');
    this.terminal.attachCustomKeyEventHandler((e) => e.key !== 'Tab');
    this.terminal.onData((dados) => this.teclas(dados));
    semRedesenhoDeSelecaoVazia(this.terminal);
    this.ajusta();
    new ResizeObserver(() => this.ajusta()).observe(elemento.parentElement);
  }

  get colunas() { return this.terminal.cols; }

  // The largest font up to MAX_FONTE px at which MIN_COLUNAS columns fit the width; at least
  // MIN_FONTE px, with MIN_COLUNAS columns that pan sideways when they do not fit.
  ajusta() {
    let proposta;
    for (let tamanho = MAX_FONTE; tamanho >= MIN_FONTE; tamanho--) {
      this.terminal.options.fontSize = tamanho;
      proposta = this.ajuste.proposeDimensions();
      if (!proposta || proposta.cols >= MIN_COLUNAS) break;
    }
    if (proposta) this.terminal.resize(Math.max(proposta.cols, MIN_COLUNAS), Math.max(proposta.rows, 4));
  }

  // More output waits than the terminal takes in one write.
  get inundado() { return this.bytesPendentes > PEDACO || this.emCurso > 0; }

  escreve(bytes) {
    this.pendente.push(bytes);
    this.bytesPendentes += bytes.length;
  }

  // Once per frame: at most LOTE bytes to the terminal, in writes of PEDACO bytes, and none while
  // it still parses what it got before. Output that has piled up beyond what the terminal can
  // still show (its scrollback and screen) is skipped: the screen ends as it would have.
  quadro() {
    if (this.bytesPendentes === 0 || this.emCurso > 0) return;
    if (this.bytesPendentes > 2 * LOTE) {
      const { partes, descartados } = parteVisivel(this.pendente, ROLAGEM + this.terminal.rows, this.terminal.cols);
      this.pendente = partes;
      this.bytesPendentes -= descartados;
    }
    const vez = this.vez;
    for (const bytes of tiraLote(this.pendente, LOTE, PEDACO)) {
      this.bytesPendentes -= bytes.length;
      this.emCurso += bytes.length;
      this.terminal.write(bytes, () => { if (vez === this.vez) this.emCurso -= bytes.length; });
    }
  }

  limpa() {
    this.pendente = [];
    this.bytesPendentes = 0;
    this.emCurso = 0;
    this.vez++;
    this.linha = '';
    this.terminal.reset();
  }

  foco() { this.terminal.focus(); }

  teclas(dados) {
    if (dados.startsWith('\x1b')) return;  // cursor and function keys: no line history here
    for (let i = 0; i < dados.length; i++) {
      const c = dados[i];
      if (c === '\r' || c === '\n') {
        if (c === '\n' && dados[i - 1] === '\r') continue;
        this.eco('\r\n');
        this.envia(`${this.linha}\n`, false);
      } else if (c === '\x7f' || c === '\b') {
        if (this.linha.length > 0) {
          this.linha = [...this.linha].slice(0, -1).join('');
          this.eco('\b \b');
        }
      } else if (c === '\x04') {
        this.envia(this.linha, true);
      } else if (c === '\x03') {
        this.eco('^C\r\n');
        this.linha = '';
        this.avisos.interrompe();
      } else if (c >= ' ') {
        this.linha += c;
        this.eco(c);
      }
    }
  }

  // What the line editor shows goes after the output that came before it.
  eco(texto) { this.escreve(new TextEncoder().encode(texto)); }

  // The last `n` lines of the screen as text, for the tests.
  ultimasLinhas(n) {
    const b = this.terminal.buffer.active;
    const linhas = [];
    for (let i = 0; i < b.length; i++) linhas.push(b.getLine(i).translateToString(true));
    while (linhas.length > 0 && linhas.at(-1) === '') linhas.pop();
    return linhas.slice(-n);
  }

  envia(texto, fim) {
    this.linha = '';
    this.avisos.linha(texto, fim);
  }
}
