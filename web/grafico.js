// The chart of the iterative methods: the change of each sweep as the run's record gives it (its
// exact value, not the printed table's four decimals), one point per sweep, on a logarithmic
// scale, drawn on a canvas at most once per frame; after a table of the other method in the same
// run, that one too (dashed), to compare. The numbers are written by this
// module (no locale); a short text beside the chart says the same for those who cannot see it.
import { nomeDoMetodo } from './eventos.js';
import { $, Painel } from './painel.js';

// A power of ten as a label: 0.001 to 1000 as written, the others as 1e-4 or 1e+6.
export const textoDecada = (e) => (e >= -3 && e <= 3 ? String(10 ** e).replace(/(\.\d*?)0{5,}\d*$/, '$1') : `1e${e < 0 ? '' : '+'}${e}`);

// The change of a sweep as drawn: a positive number as it is, an exact 0 as 0 (drawn on the
// axis's floor), an infinite or undefined change as null (it breaks the line).
const desenhavel = (erro) => (typeof erro === 'number' && erro >= 0 && Number.isFinite(erro) ? erro : null);

const PAUSA = 3;  // after a drawing, frames without one for this many times its length

// The tables of a run, sweep by sweep as the record's `varredura` events give them: the current
// one, and the last table of the other method before it.
export class Curvas {
  constructor() {
    this.metodo = '';
    this.k = [];
    this.erro = [];
    this.primeiro = null;  // the first and last change, as the record gives them
    this.ultimo = null;
    this.outro = null;     // { metodo, k, erro }
    this.zero = null;      // the first sweep whose change is exactly 0
  }

  // One sweep; true when it starts a table (k = 0, the starting line).
  varredura({ metodo, k, Erro }) {
    if (k === 0) {
      const nome = nomeDoMetodo(metodo);
      if (this.metodo && this.metodo !== nome && this.k.length > 0) this.outro = { metodo: this.metodo, k: this.k, erro: this.erro };
      Object.assign(this, { metodo: nome, k: [], erro: [], primeiro: null, ultimo: null, zero: null });
      return true;
    }
    if (!this.metodo) return false;  // a sweep without its table's start: not drawn
    this.primeiro ??= Erro;
    this.ultimo = Erro;
    this.k.push(k);
    this.erro.push(desenhavel(Erro));
    if (Erro === 0) this.zero ??= k;
    return false;
  }
}

// At most about `colunas` points: each group of consecutive sweeps drawn as its largest change
// (a sweep whose change is infinite or undefined breaks the line).
function reduz(k, erro, colunas) {
  const grupo = Math.max(1, Math.ceil(k.length / colunas));
  const x = [];
  const y = [];
  for (let i = 0; i < k.length; i += grupo) {
    let maior = null;
    for (let j = i; j < Math.min(k.length, i + grupo); j++) {
      if (erro[j] === null) {
        maior = null;
        break;
      }
      maior = Math.max(maior ?? 0, erro[j]);
    }
    x.push(k[i]);
    y.push(maior === null ? null : Math.log10(maior));
  }
  return { x, y };
}

// The panel: shown once a table starts.
export class Grafico extends Painel {
  ativa() {
    this.secao = $('grafico');
    this.tela = $('desenho');
    this.titulo = $('titulo-grafico');
    this.resumo = $('resumo-grafico');
    this.inicia();
  }

  get k() { return this.curvas.k; }

  evento(e) {
    if (e.evento === 'varredura' && this.curvas.varredura(e)) this.titula();
  }

  inicia() {
    this.curvas = new Curvas();
    this.secao.hidden = true;
    this.desenhados = -1;
    this.proximo = 0;  // no drawing before this time
  }

  titula() {
    const { metodo, outro } = this.curvas;
    const nomes = outro ? `${metodo} e ${outro.metodo} (tracejado)` : metodo;
    this.titulo.textContent = `${nomes}: Erro por iteracao (escala logaritmica)`;
    this.secao.hidden = false;
    this.desenhados = -1;
  }

  // Called once per frame: redraws only when there is something new, and, when a drawing takes
  // long (a table of many sweeps, a slow canvas), not again before PAUSA times that long, so the
  // chart never takes most of the page's frames.
  mostra() {
    if (this.secao.hidden || this.desenhados === this.k.length || performance.now() < this.proximo) return;
    this.desenhados = this.k.length;
    const inicio = performance.now();
    this.desenha();
    const fim = performance.now();
    this.proximo = fim + PAUSA * (fim - inicio);
    const { metodo, k, primeiro, ultimo, outro, zero } = this.curvas;
    this.resumo.textContent = k.length === 0 ? `${metodo}: nenhuma iteracao ainda.`
      : `${metodo}: ${k.length} iteracoes; Erro ${primeiro} na primeira, ${ultimo} na ultima.`;
    // A log scale has no 0: such a change is drawn on the floor, and said here.
    if (zero !== null) this.resumo.textContent += ` Erro 0 pela primeira vez na iteracao ${zero} (no piso do grafico).`;
    if (outro) this.resumo.textContent += ` Antes, ${outro.metodo}: ${outro.k.length} iteracoes.`;
    this.tela.setAttribute('aria-label', this.resumo.textContent);
  }

  desenha() {
    const escala = globalThis.devicePixelRatio || 1;
    const largura = Math.max(200, this.tela.clientWidth);
    const altura = Math.max(120, this.tela.clientHeight);
    if (this.tela.width !== Math.round(largura * escala) || this.tela.height !== Math.round(altura * escala)) {
      this.tela.width = Math.round(largura * escala);
      this.tela.height = Math.round(altura * escala);
    }
    const g = this.tela.getContext('2d');
    g.setTransform(escala, 0, 0, escala, 0, 0);
    g.clearRect(0, 0, largura, altura);
    g.font = '12px system-ui, sans-serif';
    g.fillStyle = '#1b1b1b';
    g.strokeStyle = '#767676';
    const { k, erro, outro: antes } = this.curvas;
    const { x: ks, y: logs } = reduz(k, erro, 2 * largura);
    // The other method's table no longer changes: reduced once per width.
    if (this.reduzido?.de !== antes || this.reduzido.largura !== largura) {
      this.reduzido = { de: antes, largura, ...(antes ? reduz(antes.k, antes.erro, 2 * largura) : { x: [], y: [] }) };
    }
    const outro = this.reduzido;
    let baixo = -4;
    let alto = 0;
    for (const l of [...logs, ...outro.y]) {
      if (Number.isFinite(l)) {  // null: no value; -Infinity: an exact 0, on the floor
        baixo = Math.min(baixo, Math.floor(l));
        alto = Math.max(alto, Math.ceil(l));
      }
    }
    if (alto - baixo > 12) baixo = alto - Math.ceil((alto - baixo) / 6) * 6;
    const passo = Math.max(1, Math.ceil((alto - baixo) / Math.max(2, Math.min(6, Math.floor((altura - 36) / 20)))));
    alto = baixo + Math.ceil((alto - baixo) / passo) * passo;
    const rotulos = [];
    for (let e = baixo; e <= alto; e += passo) rotulos.push(e);
    const esquerda = 8 + Math.max(...rotulos.map((e) => g.measureText(textoDecada(e)).width));
    const area = { x: esquerda + 6, y: 8, w: largura - esquerda - 30, h: altura - 36 };
    const kMax = Math.max(1, k.at(-1) ?? 1, outro.x.at(-1) ?? 1);
    const px = (kk) => area.x + (kk / kMax) * area.w;
    const py = (l) => area.y + area.h - ((Math.min(Math.max(l, baixo), alto) - baixo) / (alto - baixo || 1)) * area.h;
    g.textAlign = 'right';
    g.textBaseline = 'middle';
    for (const e of rotulos) {
      g.fillText(textoDecada(e), esquerda, py(e));
      g.fillRect(area.x, py(e), area.w, 0.5);
    }
    g.textAlign = 'center';
    g.textBaseline = 'top';
    const passoX = Math.max(1, 10 ** Math.floor(Math.log10(kMax / 2 || 1)) * (kMax / 10 ** Math.floor(Math.log10(kMax || 1)) > 5 ? 2 : 1));
    for (let kk = 0; kk <= kMax; kk += passoX) g.fillText(String(kk), px(kk), area.y + area.h + 6);
    g.strokeRect(area.x, area.y, area.w, area.h);
    if (antes) {
      g.setLineDash([6, 4]);
      this.linha(g, outro.x, outro.y, px, py, '#b35900');
      g.setLineDash([]);
    }
    this.linha(g, ks, logs, px, py, '#1f5fa8');
  }

  // The points joined; with more sweeps than pixels, each column of pixels as its range.
  linha(g, k, logs, px, py, cor) {
    g.strokeStyle = cor;
    g.fillStyle = cor;
    g.lineWidth = 2;
    g.beginPath();
    let aberta = false;
    const pontos = k.length <= 200;
    for (let i = 0; i < k.length; i++) {
      if (logs[i] === null) {
        aberta = false;
        continue;
      }
      const x = px(k[i]);
      const y = py(logs[i]);
      if (aberta) g.lineTo(x, y);
      else g.moveTo(x, y);
      aberta = true;
      if (pontos) g.fillRect(x - 2, y - 2, 4, 4);
    }
    g.stroke();
  }
}
