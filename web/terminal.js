// The program's console: an xterm.js terminal with a line editor of its own. The typed line is
// echoed; Backspace takes back a character; Enter sends the line; Ctrl+D sends what is typed and
// ends the input; Ctrl+C stops the run. Tab and Shift+Tab are left to the browser, so the
// keyboard can always leave the terminal. Output is written at most once per frame.
import { Terminal } from './xterm/xterm.mjs';
import { FitAddon } from './xterm/addon-fit.mjs';

// The narrowest terminal: the menu's title line is 59 characters, a row of seven "%7.4f\t"
// columns 56. Below MIN_FONTE px the terminal keeps its columns and pans sideways instead.
const MIN_COLUNAS = 60;
const MIN_FONTE = 12;
const MAX_FONTE = 15;
const ROLAGEM = 5000;  // lines kept above the screen

export class Console {
  // avisos: { linha(texto, fim), interrompe() }
  constructor(elemento, avisos) {
    this.elemento = elemento;
    this.avisos = avisos;
    this.linha = '';
    this.pendente = [];
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

  escreve(bytes) { this.pendente.push(bytes); }

  // Once per frame: everything that came since the last frame, in one write.
  quadro() {
    if (this.pendente.length === 0) return;
    const partes = this.pendente;
    this.pendente = [];
    if (partes.length === 1) {
      this.terminal.write(partes[0]);
      return;
    }
    const tudo = new Uint8Array(partes.reduce((n, p) => n + p.length, 0));
    let k = 0;
    for (const p of partes) {
      tudo.set(p, k);
      k += p.length;
    }
    this.terminal.write(tudo);
  }

  limpa() {
    this.pendente = [];
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
        this.terminal.write('\r\n');
        this.envia(`${this.linha}\n`, false);
      } else if (c === '\x7f' || c === '\b') {
        if (this.linha.length > 0) {
          this.linha = [...this.linha].slice(0, -1).join('');
          this.terminal.write('\b \b');
        }
      } else if (c === '\x04') {
        this.envia(this.linha, true);
      } else if (c === '\x03') {
        this.terminal.write('^C\r\n');
        this.linha = '';
        this.avisos.interrompe();
      } else if (c >= ' ') {
        this.linha += c;
        this.terminal.write(c);
      }
    }
  }

  envia(texto, fim) {
    this.linha = '';
    this.avisos.linha(texto, fim);
  }
}
