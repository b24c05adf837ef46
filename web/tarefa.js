// A class assignment ("tarefa") on the page: its settings, from the link's fragment
// (#turma=TIPO/N/METODOS/DIGITOS/APROVACAO/CHAVE) or, in a course package, from the site's
// turma.json; the student's id asked, the exercise code derived by sislin-aula (turma ... --aluno
// ID --json, in a worker), then the practice of each method of the assignment in order on that
// code (pratica METODO CODIGO --aluno ID --digitos D, in the page's console and the panel
// "Praticar"). "Entregar" downloads the hand-in file ID-CODIGO.jsonl: the sessions' records
// concatenated, the bytes the console's practice appends to that file. Nothing is sent anywhere;
// in a package with a course platform, scorm.js reports the score (docs/scorm.md).
// The settings' parsing and the score need no browser (the unit tests run them).
import { recusa, sislinAula } from './aula.js';
import { $, Painel, esquece, ouve } from './painel.js';
import { Scorm, achaApi, codificaSuspensao, decodificaSuspensao, idDaInteracao } from './scorm.js';
import { MAX_N, METODOS } from './sessao.js';

export const NOMES_DOS_METODOS = METODOS.map(([m]) => m);
const TIPOS = 'DPGMSJ';
export const PADRAO = { digitos: 4, aprovacao: 60 };
export const metodosPadrao = (tipo) => ({ P: ['gauss-pivoteado'], S: ['gauss-seidel'], J: ['jacobi'] })[tipo] ?? ['gauss'];
export const rotuloDoMetodo = (metodo) => METODOS.find(([m]) => m === metodo)?.[1] ?? metodo;
const FORMATO = 'o formato e #turma=TIPO/N/METODOS/DIGITOS/APROVACAO/CHAVE, ' +
  'por exemplo #turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026';

const inteiro = (v) => (typeof v === 'number' ? v : /^\s*-?\d+\s*$/.test(String(v)) ? Number(v) : NaN);

// The settings checked and completed with the defaults: { tarefa } or { erro } (a sentence).
// tipo and the methods' names are taken in any case.
export function confereTarefa({ chave, tipo, n, metodos, digitos, aprovacao }) {
  const t = String(tipo ?? '').trim().toUpperCase();
  if (t.length !== 1 || !TIPOS.includes(t)) return { erro: `tipo "${tipo ?? ''}" nao existe (use D, P, G, M, S ou J)` };
  const nn = inteiro(n);
  if (!Number.isInteger(nn) || nn < 1 || nn > MAX_N) return { erro: `n "${n ?? ''}" fora de 1 a ${MAX_N}` };
  let lista = metodos;
  if (lista === undefined || lista === null || (Array.isArray(lista) && lista.length === 0)) lista = metodosPadrao(t);
  if (!Array.isArray(lista)) return { erro: 'metodos deve ser uma lista de nomes' };
  lista = lista.map((m) => String(m).trim().toLowerCase());
  for (const m of lista) {
    if (!NOMES_DOS_METODOS.includes(m)) return { erro: `metodo "${m}" nao existe (use ${NOMES_DOS_METODOS.join(', ')})` };
  }
  const d = digitos === undefined || digitos === null ? PADRAO.digitos
    : String(digitos).trim().toLowerCase() === 'exato' ? 0 : inteiro(digitos);
  if (!Number.isInteger(d) || d < 0 || d > 9) return { erro: `digitos "${digitos}" fora de 1 a 9 (ou exato)` };
  const a = aprovacao === undefined || aprovacao === null ? PADRAO.aprovacao : inteiro(aprovacao);
  if (!Number.isInteger(a) || a < 0 || a > 100) return { erro: `aprovacao "${aprovacao}" fora de 0 a 100` };
  if (typeof chave !== 'string' || chave.trim() === '') return { erro: 'falta a chave da turma' };
  return { tarefa: { chave, tipo: t, n: nn, metodos: lista, digitos: d, aprovacao: a } };
}

// The settings of an address's fragment: null when it holds no assignment, else { tarefa } or
// { erro } (the whole message for the page).
export function tarefaDoFragmento(fragmento) {
  const f = String(fragmento ?? '').replace(/^#/, '');
  if (!/^turma=/i.test(f)) return null;
  const partes = f.slice('turma='.length).split('/');
  const ruim = (motivo) => ({ erro: `Link de tarefa invalido: ${motivo}; ${FORMATO}.` });
  if (partes.length < 6) return ruim(`faltam partes (${partes.length} de 6)`);
  const [tipo, n, metodos, digitos, aprovacao] = partes;
  let chave;
  try {
    chave = decodeURIComponent(partes.slice(5).join('/'));
  } catch {
    return ruim('a chave esta mal codificada');
  }
  const r = confereTarefa({ chave, tipo, n, metodos: metodos === '' ? [] : metodos.split(','), digitos, aprovacao });
  return r.erro ? ruim(r.erro) : r;
}

// The fragment that carries these settings.
export function fragmentoDaTarefa(t) {
  const digitos = t.digitos === 0 ? 'exato' : String(t.digitos);
  return `#turma=${t.tipo}/${t.n}/${t.metodos.join(',')}/${digitos}/${t.aprovacao}/${encodeURIComponent(t.chave)}`;
}

// The settings of a package's turma.json (its text): { tarefa } or { erro }.
export function tarefaDoJson(texto) {
  let o;
  try {
    o = JSON.parse(texto);
  } catch {
    return { erro: 'turma.json nao e JSON' };
  }
  if (o === null || typeof o !== 'object' || Array.isArray(o)) return { erro: 'turma.json nao e um objeto' };
  if (o.formato !== 1) return { erro: `turma.json: formato ${JSON.stringify(o.formato)} desconhecido (esperado 1)` };
  const r = confereTarefa(o);
  return r.erro ? { erro: `turma.json: ${r.erro}` } : r;
}

// A package's turma.json for these settings.
export const jsonDaTarefa = (t) => JSON.stringify({
  formato: 1, chave: t.chave, tipo: t.tipo, n: t.n, metodos: t.metodos, digitos: t.digitos, aprovacao: t.aprovacao,
});

// The assignment's score: per method, its nota when a session of it was completed (null: none),
// else 0; the mean over the methods, rounded.
export function notaDaTarefa(notas) {
  if (notas.length === 0) return 0;
  return Math.round(notas.reduce((s, x) => s + (typeof x === 'number' ? x : 0), 0) / notas.length);
}

// The line a student types that gave this event of the record (null: the event is no input).
export function entradaDo(e) {
  switch (e.evento) {
    case 'resposta': return String(e.texto);
    case 'dica': return 'd';
    case 'mostra': return 'm';
    case 'aceita': return 'a';
    case 'desfaz': return (e.passos ?? 1) > 1 ? `u ${e.passos}` : 'u';
    default: return null;
  }
}

const NENHUMA_PLATAFORMA = 'Nenhuma plataforma encontrada: a nota nao sera registrada. ' +
  'Use Entregar para salvar o registro e envia-lo ao professor.';
const PLATAFORMA = 'Plataforma encontrada: a nota sera registrada.';
const GUARDADOS = 'sislin-tarefa:';  // localStorage: a package's sessions already ended, by id and code

// The panel: section #tarefa. It drives the panel "Praticar" (its comecaCom) and reads the
// practice runs' records as they come.
export class Tarefa extends Painel {
  get registro() { return 'sislin-aula'; }

  ativa(pagina) {
    this.pagina = pagina;
    this.tarefa = null;
    this.scorm = null;
    this.pacote = false;
    this.aluno = null;
    this.codigo = null;
    this.i = 0;              // the method practised now (metodos.length: all done)
    this.notas = [];         // per method: the nota of its first completed session, or null
    this.terminados = [];    // per method: whether a session of it ended
    this.anteriores = [];    // the ended sessions' record bytes
    this.eventos = null;     // the record of the session now
    this.execucao = null;    // its run
    this.entradas = [];      // its inputs so far (for suspend_data)
    this.perguntas = new Map();
    this.resumo = null;
    this.repetir = 0;        // inputs of a resumed session still to come back (not reported again)
    this.fechado = false;
    ouve(this, $('tarefa-identificacao'), 'submit', (evento) => {
      evento.preventDefault();
      this.identifica($('tarefa-matricula').value);
    });
    ouve(this, $('entregar'), 'click', () => this.entrega());
    ouve(this, $('tarefa-refazer'), 'click', () => this.iniciaMetodo(this.i));
    ouve(this, $('tarefa-seguir'), 'click', () => this.segue());
    ouve(this, globalThis, 'pagehide', () => this.fecha());
  }

  estado(texto) { $('tarefa-estado').textContent = texto; }

  // The assignment of the package (turma.json at the site's root) or of the link.
  async abreEndereco() {
    let pacote = null;
    try {
      const r = await fetch('turma.json', { cache: 'no-store' });
      if (r.ok) pacote = tarefaDoJson(await r.text());
    } catch {
      // No package: the page as a site.
    }
    const r = pacote ?? tarefaDoFragmento(location.hash);
    if (r === null) return false;
    $('tarefa').hidden = false;
    document.querySelector('main').classList.add('com-tarefa');
    if (r.erro) {
      $('tarefa-identificacao').hidden = true;
      this.estado(r.erro);
      return false;
    }
    this.tarefa = r.tarefa;
    this.pacote = pacote !== null;
    $('tarefa-sobre').textContent = `Tarefa: ${this.tarefa.metodos.map(rotuloDoMetodo).join(', ')}; ` +
      `tipo ${this.tarefa.tipo}, n = ${this.tarefa.n}; ` +
      `${this.tarefa.digitos === 0 ? 'valores exatos' : `${this.tarefa.digitos} digitos`}; aprovacao com ${this.tarefa.aprovacao}.`;
    if (this.pacote) {
      const api = achaApi(globalThis);
      if (api !== null) {
        this.scorm = new Scorm(api);
        if (!this.scorm.inicia()) this.scorm = null;
      }
      this.estado(this.scorm ? PLATAFORMA : NENHUMA_PLATAFORMA);
      const aluno = this.scorm?.aluno ?? '';
      if (aluno) {
        $('tarefa-matricula').value = aluno;
        await this.identifica(aluno, this.scorm.suspenso);
        return true;
      }
    }
    $('tarefa-matricula').focus({ preventScroll: true });
    return true;
  }

  // The student's code for this id, then the first method (or the step a suspended session was at).
  async identifica(id, suspenso = '') {
    const t = this.tarefa;
    if (t === null || this.codigo !== null) return;
    if (!id.trim()) {
      this.estado('Escreva sua matricula.');
      return;
    }
    this.estado('Buscando o seu codigo...');
    let r;
    try {
      r = await sislinAula(['turma', t.chave, t.tipo, String(t.n), '--aluno', id.trim(), '--metodos', t.metodos.join(','),
        '--digitos', t.digitos === 0 ? 'exato' : String(t.digitos), '--aprovacao', String(t.aprovacao)]);
    } catch (e) {
      this.estado(`Erro: ${e.message}.`);
      return;
    }
    const o = r.objeto;
    if (r.status !== 0 || typeof o?.codigo !== 'string') {
      this.estado(`Matricula recusada: ${recusa(r)}`);
      $('tarefa-matricula').focus();
      return;
    }
    this.codigo = o.codigo;
    this.aluno = typeof o.matricula === 'string' ? o.matricula : id.trim();
    $('tarefa-identificacao').hidden = true;
    $('tarefa-codigo').textContent = `Matricula ${this.aluno}, codigo ${this.codigo}`;
    $('entregar').disabled = false;
    // The exercise's files in the page too, for a run of the program on the student's own system.
    sislinAula(['exercicio', this.codigo]).then((x) => {
      if (x.status !== 0 || !('a7.txt' in x.arquivos) || !('b7.txt' in x.arquivos)) return;
      $('a7').value = x.arquivos['a7.txt'];
      $('b7').value = x.arquivos['b7.txt'];
    }, () => {});
    this.notas = t.metodos.map(() => null);
    this.terminados = t.metodos.map(() => false);
    let repetir = [];
    const s = decodificaSuspensao(suspenso, t.metodos.length);
    if (s !== null) {
      this.i = s.i;
      this.notas = s.notas;
      this.terminados = s.terminados;
      repetir = s.entradas;
      try {
        const guardado = localStorage.getItem(this.guardado());
        if (guardado) this.anteriores = [new TextEncoder().encode(guardado)];
      } catch {
        // No storage: the hand-in holds the sessions from now on.
      }
    }
    this.estado(this.scorm ? `${PLATAFORMA} Pratique cada metodo; Entregar salva o registro.` : 'Pratique cada metodo; Entregar salva o registro para o professor.');
    if (this.i < t.metodos.length) this.iniciaMetodo(this.i, repetir);
    else this.termina();
  }

  guardado() { return `${GUARDADOS}${this.aluno}:${this.codigo}`; }

  // The practice of method i on the student's code; `repetir`: the inputs of a suspended session.
  iniciaMetodo(i, repetir = []) {
    const t = this.tarefa;
    this.i = i;
    this.fechaSessao();
    $('tarefa-decide').hidden = true;
    const metodo = t.metodos[i];
    $('tarefa-progresso').textContent = `Metodo ${i + 1} de ${t.metodos.length}: ${rotuloDoMetodo(metodo)}`;
    $('pratica-painel').open = true;
    const praticar = this.pagina.paineis.find((p) => typeof p.comecaCom === 'function');
    praticar.comecaCom(['sislin-aula', 'pratica', metodo, this.codigo, '--aluno', this.aluno,
      '--digitos', t.digitos === 0 ? 'exato' : String(t.digitos)],
    `Tarefa, metodo ${i + 1} de ${t.metodos.length}: ${rotuloDoMetodo(metodo)} no exercicio ${this.codigo}.`);
    this.execucao = this.pagina.execucao;
    this.eventos = this.pagina.eventos;
    this.entradas = [];
    this.perguntas = new Map();
    this.resumo = null;
    this.repetir = repetir.length;
    if (repetir.length > 0) this.pagina.console.teclas(repetir.map((l) => `${l}\r`).join(''));
  }

  // The session now ended or left: its record goes with the ones before.
  fechaSessao() {
    if (this.eventos !== null) this.anteriores.push(...this.eventos.partes);
    this.eventos = null;
    this.execucao = null;
  }

  get minha() { return this.eventos !== null && this.pagina.eventos === this.eventos; }

  evento(e) {
    if (!this.minha) return;
    if (e.evento === 'pergunta') this.perguntas.set(e.passo, e);
    else if (e.evento === 'resumo') this.resumo = e;
    else if (e.evento === 'fim') this.fimDaSessao(e);
    const entrada = entradaDo(e);
    if (entrada === null) return;
    this.entradas.push(entrada);
    if (this.repetir > 0) {
      this.repetir--;
      return;
    }
    if (this.scorm && e.evento === 'resposta') {
      const p = this.perguntas.get(e.passo) ?? {};
      this.scorm.interacao({
        id: idDaInteracao(this.tarefa.metodos[this.i], e.passo, p.nome ?? ''),
        tipo: p.onde === 'para' ? 'choice' : 'numeric',
        resposta: String(e.texto),
        certo: e.marca === 'certo',
      });
    }
    this.salva();
  }

  fimDaSessao(e) {
    const i = this.i;
    const concluido = e.causa === 'concluido';
    if (concluido && this.notas[i] === null) this.notas[i] = typeof this.resumo?.nota === 'number' ? this.resumo.nota : 0;
    this.terminados[i] = true;
    this.fechaSessao();
    this.entradas = [];
    if (concluido) {
      this.i = i + 1;
      this.salva();
      // The next run after this event has gone to every panel.
      setTimeout(() => (this.i < this.tarefa.metodos.length ? this.iniciaMetodo(this.i) : this.termina()));
    } else {
      this.decide(`O metodo ${rotuloDoMetodo(this.tarefa.metodos[i])} terminou sem ser concluido: vale 0 se nao for refeito.`);
    }
  }

  // A session left before its end: refazer or seguir.
  decide(texto) {
    this.salva();
    this.estado(texto);
    $('tarefa-decide').hidden = false;
    $('tarefa-seguir').textContent = this.i + 1 < this.tarefa.metodos.length ? 'Seguir para o proximo metodo' : 'Terminar a tarefa';
  }

  segue() {
    $('tarefa-decide').hidden = true;
    this.i++;
    this.salva();
    if (this.i < this.tarefa.metodos.length) this.iniciaMetodo(this.i);
    else this.termina();
  }

  termina() {
    this.i = this.tarefa.metodos.length;
    $('tarefa-progresso').textContent = `Tarefa terminada: nota ${this.notaAteAgora} de 100 (aprovacao com ${this.tarefa.aprovacao}).`;
    this.estado(`Tarefa terminada.${this.scorm ? ' A nota foi registrada na plataforma.' : ''} Use Entregar para salvar o registro e envia-lo ao professor.`);
    this.salva();
  }

  get notaAteAgora() { return notaDaTarefa(this.notas); }

  // The state to the platform (score, status, suspend_data, commit) and the ended sessions' records
  // to the browser's storage (a package only).
  salva() {
    if (!this.scorm) return;
    const completo = this.i >= this.tarefa.metodos.length;
    this.scorm.nota(this.notaAteAgora, completo, this.notaAteAgora >= this.tarefa.aprovacao);
    this.scorm.suspende(codificaSuspensao({ i: this.i, notas: this.notas, terminados: this.terminados, entradas: this.entradas }));
    this.scorm.confirma();
    try {
      localStorage.setItem(this.guardado(), new TextDecoder().decode(concatenaPartes(this.anteriores)));
    } catch {
      // No storage (or full): the platform keeps the score; the hand-in holds the sessions since.
    }
  }

  fecha() {
    if (this.fechado || !this.scorm) return;
    this.fechado = true;
    this.salva();
    this.scorm.termina();
  }

  mostra() {
    // The session's run ended without its `fim` (Parar, another run): redo it or go on.
    if (this.execucao !== null && this.pagina.execucao !== this.execucao && this.eventos?.fila.length === 0) {
      this.fechaSessao();
      this.entradas = [];
      this.decide(`O metodo ${rotuloDoMetodo(this.tarefa.metodos[this.i])} foi interrompido antes do fim: vale 0 se nao for refeito.`);
    }
  }

  // The hand-in file: every session's record so far, the one now included.
  arquivo() {
    const partes = [...this.anteriores, ...(this.eventos?.partes ?? [])];
    return { nome: `${this.aluno}-${this.codigo}.jsonl`, blob: new Blob(partes, { type: 'application/jsonl' }), bytes: partes.reduce((s, p) => s + p.length, 0) };
  }

  entrega() {
    if (this.codigo === null) {
      this.estado('Nada para entregar ainda: escreva sua matricula e comece.');
      return;
    }
    const { nome, blob, bytes } = this.arquivo();
    if (bytes === 0) {
      this.estado('Nada para entregar ainda: responda ao menos um passo.');
      return;
    }
    this.pagina.baixa(blob, nome);
    const faltam = this.tarefa.metodos.filter((_, i) => this.notas[i] === null).map(rotuloDoMetodo);
    this.estado(`Arquivo ${nome} baixado (${bytes} bytes). Envie-o ao professor.` +
      (faltam.length ? ` Ainda nao concluido: ${faltam.join(', ')}.` : ' Todos os metodos concluidos.'));
  }

  descarta() { esquece(this); }
}

function concatenaPartes(partes) {
  const r = new Uint8Array(partes.reduce((s, p) => s + p.length, 0));
  let k = 0;
  for (const p of partes) {
    r.set(p, k);
    k += p.length;
  }
  return r;
}
