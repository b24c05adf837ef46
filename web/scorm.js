// The SCORM 1.2 runtime side of a course package (docs/scorm.md): the platform's API found in
// the frames around the page, the student's id from it, and the assignment's score, status, the
// replies as interactions and the state to resume from (cmi.suspend_data) reported to it. All
// the calls go through the small Scorm class below, so the unit tests drive it with a fake API.
// It needs no browser.

const MAX_NIVEIS = 10;
export const MAX_SUSPENSAO = 4096;

// The API in this window or one of its parents, up to MAX_NIVEIS levels, stopping at the top
// (a parent of another origin ends the search there).
function naCadeia(janela) {
  let w = janela;
  for (let nivel = 0; w && nivel <= MAX_NIVEIS; nivel++) {
    try {
      if (w.API && typeof w.API.LMSInitialize === 'function') return w.API;
      const pai = w.parent;
      if (!pai || pai === w) return null;
      w = pai;
    } catch {
      return null;
    }
  }
  return null;
}

// The platform's API: the window's parents, then its opener's; null when there is none.
export function achaApi(janela) {
  const api = naCadeia(janela);
  if (api !== null) return api;
  let abridor = null;
  try {
    abridor = janela.opener ?? null;
  } catch {
    return null;
  }
  return abridor ? naCadeia(abridor) : null;
}

const dois = (x) => String(x).padStart(2, '0');
// A time span as CMITimespan (HH:MM:SS, hours up to 9999).
export const duracao = (ms) => {
  const s = Math.max(0, Math.floor(ms / 1000));
  return `${dois(Math.min(9999, Math.floor(s / 3600)))}:${dois(Math.floor(s / 60) % 60)}:${dois(s % 60)}`;
};
// A clock time as CMITime (HH:MM:SS).
export const horario = (d) => `${dois(d.getHours())}:${dois(d.getMinutes())}:${dois(d.getSeconds())}`;

// An interaction's id: the method, the step and the value's name with only letters, digits, _
// and - kept (m[3][1] -> m3_1).
export const idDaInteracao = (metodo, passo, nome) => {
  const seguro = String(nome).replace(/\]\s*\[/g, '_').replace(/[^A-Za-z0-9_-]/g, '');
  return `${metodo}-${passo}${seguro ? `-${seguro}` : ''}`;
};

// The calls to the API, each value as text; a platform that answers "false" is not asked again
// why (the page goes on; the hand-in file still holds everything).
export class Scorm {
  constructor(api, { agora = () => Date.now(), relogio = () => new Date() } = {}) {
    this.api = api;
    this.agora = agora;
    this.relogio = relogio;
    this.comeco = agora();
    this.contagem = 0;     // the next interaction's number
    this.terminado = false;
  }

  le(nome) {
    try {
      return String(this.api.LMSGetValue(nome) ?? '');
    } catch {
      return '';
    }
  }

  poe(nome, valor) {
    try {
      return String(this.api.LMSSetValue(nome, String(valor))) === 'true';
    } catch {
      return false;
    }
  }

  // LMSInitialize, the score's range and the interactions already there; false when refused.
  inicia() {
    let ok;
    try {
      ok = String(this.api.LMSInitialize('')) === 'true';
    } catch {
      ok = false;
    }
    if (!ok) return false;
    this.comeco = this.agora();
    const n = Number.parseInt(this.le('cmi.interactions._count'), 10);
    this.contagem = Number.isInteger(n) && n > 0 ? n : 0;
    this.poe('cmi.core.score.min', 0);
    this.poe('cmi.core.score.max', 100);
    return true;
  }

  get aluno() { return this.le('cmi.core.student_id').trim(); }
  get suspenso() { return this.le('cmi.suspend_data'); }

  // The score so far; the status: incomplete until the assignment is complete, then passed or failed.
  nota(raw, completo, aprovado) {
    this.poe('cmi.core.score.raw', raw);
    this.poe('cmi.core.lesson_status', completo ? (aprovado ? 'passed' : 'failed') : 'incomplete');
    this.poe('cmi.core.exit', completo ? '' : 'suspend');
  }

  // One checked reply: { id, tipo ('numeric' or 'choice'), resposta (the text typed), certo }.
  interacao({ id, tipo, resposta, certo }) {
    const n = this.contagem++;
    const campo = `cmi.interactions.${n}`;
    this.poe(`${campo}.id`, id);
    this.poe(`${campo}.type`, tipo);
    this.poe(`${campo}.student_response`, String(resposta).slice(0, 255));
    this.poe(`${campo}.result`, certo ? 'correct' : 'wrong');
    this.poe(`${campo}.time`, horario(this.relogio()));
  }

  suspende(texto) { this.poe('cmi.suspend_data', texto.slice(0, MAX_SUSPENSAO)); }

  // The session's time so far, then LMSCommit.
  confirma() {
    if (this.terminado) return;
    this.poe('cmi.core.session_time', duracao(this.agora() - this.comeco));
    try {
      this.api.LMSCommit('');
    } catch {
      // The platform keeps what it got.
    }
  }

  termina() {
    if (this.terminado) return;
    this.confirma();
    this.terminado = true;
    try {
      this.api.LMSFinish('');
    } catch {
      // Nothing more to tell it.
    }
  }
}

// The state to resume from, as cmi.suspend_data: "1;I;S,S,...;E~E~..." where I is the method
// practised now (0-based; the count of methods when all are done), S per method the nota of its
// first completed session, "-" when a session of it ended without completion, "" when none has
// ended, and E the inputs of the session now in order (a reply as typed, d, m, a, u or "u N"),
// each with %, ~ and ; and any character outside printable ASCII percent-encoded. When the whole
// does not fit in MAX_SUSPENSAO characters, only the longest beginning of the inputs that fits
// is kept: a reload then resumes at that earlier step.
const escapa = (t) => t.replace(/[%~;]|[^\x20-\x7e]/gu, (c) => {
  if (c === '~') return '%7E';
  try {
    return encodeURIComponent(c);
  } catch {
    return '';
  }
});

export function codificaSuspensao({ i, notas, terminados, entradas }, maximo = MAX_SUSPENSAO) {
  const s = notas.map((x, k) => (typeof x === 'number' ? String(x) : terminados[k] ? '-' : '')).join(',');
  let texto = `1;${i};${s};`;
  for (const [k, e] of entradas.entries()) {
    const parte = `${k > 0 ? '~' : ''}${escapa(e)}`;
    if (texto.length + parte.length > maximo) break;
    texto += parte;
  }
  return texto;
}

// The state of a suspend_data for an assignment of `metodos` methods; null when it holds none
// (empty, another form, or another assignment's count of methods).
export function decodificaSuspensao(texto, metodos) {
  const m = /^1;(\d+);([^;]*);(.*)$/s.exec(String(texto ?? ''));
  if (m === null) return null;
  const i = Number(m[1]);
  const estados = m[2].split(',');
  if (i > metodos || estados.length !== metodos) return null;
  const notas = [];
  const terminados = [];
  for (const e of estados) {
    if (e !== '' && e !== '-' && !/^\d{1,3}$/.test(e)) return null;
    notas.push(/^\d+$/.test(e) ? Number(e) : null);
    terminados.push(e !== '');
  }
  let entradas = [];
  try {
    entradas = m[3] === '' ? [] : m[3].split('~').map(decodeURIComponent);
  } catch {
    entradas = [];
  }
  return { i, notas, terminados, entradas: i < metodos ? entradas : [] };
}
