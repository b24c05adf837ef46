// A practice session (sislin-aula pratica) as its record tells it (docs/pratica.md), for the panel
// "Praticar" (pratica.js): the working arrays of the latest `estado` as grids of cells, the cell
// asked next (its `pergunta`), each cell's mark (`resposta`, `mostra`, `aceita`), the history and
// the score. It needs no browser (the unit tests feed it a record).

// The methods, by the practice's names, in the menu's order; the labels until the program's
// record gives its own (its `inicio` table's `escolhas`).
export const METODOS = [
  ['gauss', 'Gauss'],
  ['gauss-pivoteado', 'Gauss com pivotacao parcial'],
  ['lu', 'Fatoracao LU'],
  ['lu-pivoteado', 'Fatoracao LU com pivotacao parcial'],
  ['ly', 'Resolucao do sistema Ly = b'],
  ['ux', 'Resolucao do sistema Uy = y'],
  ['residuo', 'Calculo do vetor residuo e erro'],
  ['inversa', 'Inversa da matriz A'],
  ['jacobi', 'Metodo Iterativo de Jacobi'],
  ['gauss-seidel', 'Metodo Iterativo de Gauss-Seidel'],
];
export const MAX_N = 10;

// The methods' labels: the program's own from its record's table where it has them.
export function rotulos(tabela) {
  const escolhas = Array.isArray(tabela?.escolhas) ? tabela.escolhas : [];
  return METODOS.map(([, rotulo], i) => {
    const r = escolhas.find((x) => x?.opcao === i + 1)?.rotulo;
    return typeof r === 'string' && r ? r : rotulo;
  });
}

// n of the page's system: the count of numbers in b7.txt (0 when there is none).
export const dimensao = (b7) => b7.split(/\s+/).filter(Boolean).length;

// The arrays a session draws, in this order: A with b beside it, then the others.
const MATRIZES = ['A', 'm', 'Inv'];
const VETORES = ['pos', 'y', 'x', 'r'];
const ESCALARES = ['det', 'Erro', 'k'];
const ORDEM = ['A', 'm', 'pos', 'y', 'x', 'r', 'Inv', 'det', 'Erro', 'k'];

// A cell's key; the pivot row asked for column k is kept in pos[k] (where the method keeps pos).
const chave = (onde, linha, coluna) => (onde === 'pivo' ? `pos:${linha}:` : `${onde}:${linha ?? ''}:${coluna ?? ''}`);
const plural = (n, um, varios) => `${n} ${n === 1 ? um : varios}`;
const texto = (v) => (v === undefined || v === null ? '' : String(v));
// The words of a mark, for the history, the mark line and the screen reader.
export const PALAVRA = { certo: 'certo', errado: 'errado', mostrado: 'mostrado', aceito: 'aceito' };
const CAUSAS = {
  concluido: 'Pratica concluida.',
  sair: 'Pratica encerrada pelo aluno.',
  'fim-da-entrada': 'Pratica encerrada: fim da entrada.',
  erro: 'Pratica encerrada por um erro.',
};

// One session, from its record's events: what the panel draws. No browser needed.
export class Sessao {
  constructor() {
    this.inicio = null;
    this.n = null;
    this.estado = null;        // the latest working arrays
    this.pergunta = null;      // the question open, null between questions and at the end
    this.perguntas = new Map();  // passo: its question
    this.marcas = new Map();   // passo: { marca, valor, explicacao, onde, linha, coluna, nome }
    this.historico = [];       // [{ texto, classe }]
    this.contagem = { certos: 0, errados: 0, dicas: 0, mostrados: 0, aceitos: 0 };
    this.resumo = null;
    this.fim = null;
    this.aviso = '';           // the newest mark, hint or refusal in words
    this.desfeito = false;     // an undo came: the next question's step is open again
    this.versao = 0;
  }

  // One event of the record; true when it changed what the panel shows.
  evento(e) {
    switch (e.evento) {
      case 'inicio':
        if (e.comando !== 'pratica') return false;
        this.inicio = e;
        this.n = e.n;
        break;
      case 'dados':
        this.n = e.n;
        if (this.estado === null) this.estado = { A: e.A, b: e.b };
        break;
      case 'estado':
        this.estado = e;
        break;
      case 'pergunta':
        // After an undo, this step and those after it are not done: their marks go.
        if (this.desfeito) for (const passo of [...this.marcas.keys()]) if (passo >= e.passo) this.marcas.delete(passo);
        this.desfeito = false;
        this.pergunta = e;
        this.perguntas.set(e.passo, e);
        break;
      case 'resposta': {
        const certo = e.marca === 'certo';
        if (certo && (e.tentativa ?? 1) === 1) this.contagem.certos++;
        if (!certo) this.contagem.errados++;
        const m = this.marca(e.passo, certo ? 'certo' : 'errado', e.texto, certo ? '' : texto(e.explicacao));
        this.diz(`${m.nome} = ${e.texto}: ${PALAVRA[m.marca]}${m.explicacao ? `. ${m.explicacao}` : ''}`, m.marca);
        break;
      }
      case 'dica':
        this.contagem.dicas++;
        this.diz(`Dica: ${texto(e.texto)}`, 'dica');
        break;
      case 'mostra': {
        this.contagem.mostrados++;
        const m = this.marca(e.passo, 'mostrado', texto(e.valor), '');
        this.diz(`${m.nome} = ${m.valor}: mostrado pelo programa`, 'mostrado');
        break;
      }
      case 'aceita': {
        this.contagem.aceitos++;
        const m = this.marca(e.passo, 'aceito', texto(e.valor), '');
        this.diz(`${m.nome} = ${m.valor}: aceito como esta, levado adiante`, 'aceito');
        break;
      }
      case 'desfaz':
        this.desfeito = true;
        this.diz(`Desfeito: ${plural(e.passos ?? 1, 'passo', 'passos')}; de volta ao passo ${texto(e.volta_a)}.`, 'desfaz');
        break;
      case 'rejeitada':
        this.diz(`Resposta recusada: ${texto(e.motivo)}.`, 'recusada');
        break;
      case 'resumo':
        this.resumo = e;
        break;
      case 'fim':
        this.fim = e;
        this.pergunta = null;
        this.diz(CAUSAS[e.causa] ?? `Pratica encerrada (status ${texto(e.status)}).`, 'fim');
        break;
      default:
        return false;
    }
    this.versao++;
    return true;
  }

  marca(passo, marca, valor, explicacao) {
    const p = this.perguntas.get(passo) ?? this.pergunta ?? {};
    const m = { marca, valor, explicacao, onde: p.onde, linha: p.linha, coluna: p.coluna, nome: p.nome ?? `passo ${passo}` };
    this.marcas.set(passo, m);
    return m;
  }

  diz(frase, classe) {
    this.aviso = frase;
    this.historico.push({ texto: frase, classe });
  }

  // The question as the console asks it: "m[3][1] = a[3][1] / a[1][1] = ".
  get textoDaPergunta() {
    const p = this.pergunta;
    if (p === null) return '';
    return `${texto(p.nome)} = ${p.formula ? `${p.formula} = ` : ''}`;
  }

  // The score so far, or the session's own at its end.
  get placar() {
    const r = this.resumo;
    if (r !== null) {
      return `Nota ${texto(r.nota)} de 100: ${texto(r.certos_de_primeira)} de ${plural(r.passos, 'passo', 'passos')} ` +
        `certos de primeira; ${plural(r.dicas, 'dica', 'dicas')}, ${plural(r.mostrados, 'mostrado', 'mostrados')}, ` +
        `${plural(r.aceitos, 'aceito', 'aceitos')}.`;
    }
    const c = this.contagem;
    return `Ate agora: ${plural(c.certos, 'certo', 'certos')} de primeira, ${plural(c.errados, 'erro', 'erros')}, ` +
      `${plural(c.dicas, 'dica', 'dicas')}, ${plural(c.mostrados, 'mostrado', 'mostrados')}, ${plural(c.aceitos, 'aceito', 'aceitos')}.`;
  }

  // The grids: [{ nome, colunas: [header], linhas: [[celula]] }], A with b as its last column;
  // a cell: { onde, linha, coluna, rotulo, valor, marca (or null), proxima, candidata }. An
  // array asked for before the state has it is drawn empty, its size from n. While a pivot row
  // is asked, the cells of its column it is chosen among are candidates.
  grades() {
    const estado = this.estado ?? {};
    const n = Number.isInteger(this.n) ? this.n : 0;
    const p = this.pergunta;
    const proxima = p === null ? null : chave(p.onde, p.linha, p.coluna);
    const marcas = new Map();
    for (const [passo, m] of [...this.marcas].sort((a, b) => a[0] - b[0])) marcas.set(chave(m.onde, m.linha, m.coluna), { ...m, passo });
    const presentes = new Set([...Object.keys(estado), ...[...marcas.values()].map((m) => m.onde), p?.onde]);
    const pivo = p?.onde === 'pivo' ? p : null;
    const celula = (onde, linha, coluna, valor, rotulo) => {
      const k = chave(onde, linha, coluna);
      const candidata = pivo !== null && onde === 'A' && coluna === pivo.coluna && linha >= pivo.linha;
      return { onde, linha, coluna, rotulo, valor: texto(valor), marca: marcas.get(k) ?? null, proxima: k === proxima, candidata };
    };
    const matriz = (v) => (Array.isArray(v) && Array.isArray(v[0]) ? v : Array.from({ length: n }, () => Array(n).fill(null)));
    const vetor = (v) => (Array.isArray(v) ? v : Array(n).fill(null));
    const grades = [];
    for (const nome of ORDEM) {
      if (!presentes.has(nome) && !(nome === 'A' && presentes.has('b'))) continue;
      if (MATRIZES.includes(nome)) {
        const M = matriz(estado[nome]);
        const comB = nome === 'A' && presentes.has('b');
        const b = vetor(estado.b);
        const colunas = [...(M[0] ?? []).map((_, j) => String(j + 1)), ...(comB ? ['b'] : [])];
        const linhas = M.map((l, i) => [
          ...l.map((v, j) => celula(nome, i + 1, j + 1, v, `${nome === 'A' ? '' : `${nome}, `}linha ${i + 1}, coluna ${j + 1}`)),
          ...(comB ? [celula('b', i + 1, undefined, b[i], `b, linha ${i + 1}`)] : []),
        ]);
        grades.push({ nome: comB ? 'A | b' : nome, colunas, linhas });
      } else if (VETORES.includes(nome)) {
        const v = vetor(estado[nome]);
        grades.push({ nome, colunas: [nome], linhas: v.map((x, i) => [celula(nome, i + 1, undefined, x, `${nome}, linha ${i + 1}`)]) });
      } else if (ESCALARES.includes(nome)) {
        grades.push({ nome, colunas: ['valor'], linhas: [[celula(nome, undefined, undefined, estado[nome], nome)]] });
      }
    }
    return grades;
  }
}

