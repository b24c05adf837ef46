// The chart of the iterative methods: the table's Erro column, one point per sweep, on a
// logarithmic scale, drawn on a canvas at most once per frame; after a table of the other method
// in the same run, that one too (dashed), to compare. The numbers are written by this
// module (no locale); a short text beside the chart says the same for those who cannot see it.

// A power of ten as a label: 0.001 to 1000 as written, the others as 1e-4 or 1e+6.
export const textoDecada = (e) => (e >= -3 && e <= 3 ? String(10 ** e).replace(/(\.\d*?)0{5,}\d*$/, '$1') : `1e${e < 0 ? '' : '+'}${e}`);

// The table: its title line, the header "k\t...Erro", the line of k = 0, then one line per
// sweep ending in the change; any other line ends it.
export class LeitorTabela {
  constructor(aoIniciar) {
    this.aoIniciar = aoIniciar;
    this.estado = 'fora';
    this.resto = '';
    this.k = [];
    this.erro = [];
  }

  recebe(texto) {
    const linhas = (this.resto + texto).split('\n');
    this.resto = linhas.pop();
    for (const l of linhas) this.linha(l);
  }

  linha(l) {
    const titulo = l.includes('Metodo Iterativo') ? /-+Metodo Iterativo de (.+?)-+$/.exec(l) : null;
    if (titulo) {
      const anterior = { k: this.k, erro: this.erro };
      this.k = [];
      this.erro = [];
      this.primeiro = null;  // the Erro column's first and last text, as printed
      this.ultimo = null;
      this.estado = 'cabecalho';
      this.aoIniciar(titulo[1], anterior);
    } else if (this.estado === 'cabecalho') {
      this.estado = l.startsWith('k\t') ? 'partida' : 'fora';
    } else if (this.estado === 'partida') {
      this.estado = l.startsWith('0\t') ? 'tabela' : 'fora';
    } else if (this.estado === 'tabela') {
      const m = /^(\d+)\t.*\t *(\S+)$/.exec(l);
      if (m === null) {
        this.estado = 'fora';
        return;
      }
      const v = Number(m[2].replace(/^(-?)inf$/, '$1Infinity'));
      this.primeiro ??= m[2];
      this.ultimo = m[2];
      this.k.push(Number(m[1]));
      // A change printed as 0.0000 is below 0.00005: drawn there, at the table's resolution.
      this.erro.push(v === 0 ? 0.00005 : Number.isFinite(v) && v > 0 ? v : null);
    }
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

export class Grafico {
  constructor(secao, tela, titulo, resumo) {
    Object.assign(this, { secao, tela, titulo, resumo });
    this.metodo = '';
    this.leitor = new LeitorTabela((metodo, anterior) => this.inicia(metodo, anterior));
    this.desenhados = -1;
    this.outro = null;  // the last table of the other method: { metodo, k, erro }
  }

  get k() { return this.leitor.k; }

  recebe(texto) { this.leitor.recebe(texto); }

  limpa() {
    this.leitor = new LeitorTabela((metodo, anterior) => this.inicia(metodo, anterior));
    this.metodo = '';
    this.outro = null;
    this.secao.hidden = true;
    this.desenhados = -1;
  }

  inicia(metodo, anterior) {
    if (this.metodo && this.metodo !== metodo && anterior.k.length > 0) this.outro = { metodo: this.metodo, ...anterior };
    this.metodo = metodo;
    const nomes = this.outro ? `${metodo} e ${this.outro.metodo} (tracejado)` : metodo;
    this.titulo.textContent = `${nomes}: Erro por iteracao (escala logaritmica)`;
    this.secao.hidden = false;
    this.desenhados = -1;
  }

  // Called once per frame: redraws only when there is something new.
  quadro() {
    if (this.secao.hidden || this.desenhados === this.k.length) return;
    this.desenhados = this.k.length;
    this.desenha();
    const { k, primeiro, ultimo } = this.leitor;
    this.resumo.textContent = k.length === 0 ? `${this.metodo}: nenhuma iteracao ainda.`
      : `${this.metodo}: ${k.length} iteracoes; Erro ${primeiro} na primeira, ${ultimo} na ultima.`;
    if (this.outro) this.resumo.textContent += ` Antes, ${this.outro.metodo}: ${this.outro.k.length} iteracoes.`;
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
    const { k, erro } = this.leitor;
    const { x: ks, y: logs } = reduz(k, erro, 2 * largura);
    const outro = this.outro ? reduz(this.outro.k, this.outro.erro, 2 * largura) : { x: [], y: [] };
    let baixo = -4;
    let alto = 0;
    for (const l of [...logs, ...outro.y]) {
      if (l !== null) {
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
    if (this.outro) {
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
