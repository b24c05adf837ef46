// The panel "Exercicio": sislin-aula, compiled to WebAssembly, makes a7.txt and b7.txt from a
// kind and n or from a code, in a worker of its own with an in-memory folder; the page's address
// carries the code (#exercicio=CODIGO), so a link hands the exercise out. A teacher's own small
// system travels whole in the fragment (#a7=...&b7=..., percent-encoded). Nothing leaves the page.
// sislin-aula answers in JSON (its `codigo`, `tipo`, `descricao`, `n`); its text is not read.
import { recusa, sislinAula } from './aula.js';
import { $, Painel, esquece, ouve } from './painel.js';

const CHAVE = 'exercicio';
export const MAX_LINK = 2000;  // characters of a system's fragment; beyond, the files are shared

// The code in an address's fragment (#exercicio=CODIGO), or null.
export function codigoDoEndereco(fragmento) {
  const codigo = new URLSearchParams(fragmento.replace(/^#/, '')).get(CHAVE);
  return codigo && codigo.trim() ? codigo.trim() : null;
}

// The system in an address's fragment (#a7=...&b7=...), or null.
export function sistemaDoEndereco(fragmento) {
  const p = new URLSearchParams(fragmento.replace(/^#/, ''));
  return p.has('a7') && p.has('b7') ? { a7: p.get('a7'), b7: p.get('b7') } : null;
}

// The fragment that carries this system, or null when it is too long for a link.
export function fragmentoDo({ a7, b7 }) {
  const f = `a7=${encodeURIComponent(a7)}&b7=${encodeURIComponent(b7)}`;
  return f.length <= MAX_LINK ? f : null;
}

// The address that opens the exercise of this code.
export function enderecoDo(codigo, base) {
  const url = new URL(base);
  url.hash = `${CHAVE}=${codigo}`;
  return url.href;
}

let ultimo = null;  // the last exercise made: { codigo, a7, b7 }
let visto = location.href;  // the address the page last took its files from

const semForma = (codigo) => codigo.toUpperCase().replace(/[\s-]/g, '');
// Whether the page holds this exercise's files as made.
const aberto = (codigo) => ultimo !== null && semForma(ultimo.codigo) === semForma(codigo)
  && ultimo.a7 === $('a7').value && ultimo.b7 === $('b7').value;
// The code of the exercise whose files the page holds as made, or null.
export const exercicioAberto = () => (ultimo !== null && aberto(ultimo.codigo) ? ultimo.codigo : null);
const avisa = (texto) => { $('sobre-exercicio').textContent = texto; };

// Makes the exercise (sislin-aula exercicio ARGUMENTOS), puts its files in the page, makes the
// address its link and starts a run; a refusal is said in the panel. Resolves to the code or null.
export async function abreExercicio(pagina, argumentos) {
  avisa('Gerando o exercicio...');
  let r;
  try {
    r = await sislinAula(['exercicio', ...argumentos]);
  } catch (e) {
    avisa(`Erro: ${e.message}.`);
    return null;
  }
  const o = r.objeto;
  const codigo = typeof o?.codigo === 'string' ? o.codigo : null;
  if (r.status !== 0 || codigo === null || !('a7.txt' in r.arquivos) || !('b7.txt' in r.arquivos)) {
    avisa(recusa(r));
    return null;
  }
  $('a7').value = r.arquivos['a7.txt'];
  $('b7').value = r.arquivos['b7.txt'];
  $('codigo').value = codigo;
  $('tipo').value = o.tipo;  // the panel's kind and n: those of the exercise open
  $('ordem').value = String(o.n);
  ultimo = { codigo, a7: $('a7').value, b7: $('b7').value };
  history.replaceState(null, '', enderecoDo(codigo, location.href));
  visto = location.href;
  avisa(`Exercicio ${codigo}. Tipo ${o.tipo}: ${o.descricao}.`);
  pagina.iniciaExecucao();
  return codigo;
}

// A system from the address: its files in the page and a run on them.
export function abreSistema(pagina, { a7, b7 }) {
  $('a7').value = a7;
  $('b7').value = b7;
  avisa('Sistema recebido pelo link.');
  pagina.iniciaExecucao();
}

// The panel: its forms, its link button, and the address it follows.
export class Exercicio extends Painel {
  ativa(pagina) {
    ouve(this, $('novo-exercicio'), 'submit', (evento) => {
      evento.preventDefault();
      abreExercicio(pagina, [$('tipo').value, $('ordem').value]);
    });
    ouve(this, $('abre-codigo'), 'submit', (evento) => {
      evento.preventDefault();
      abreExercicio(pagina, [$('codigo').value]);
    });
    ouve(this, $('copiar-link'), 'click', () => copiaLink(pagina));
    // A link opened in the page already open (a new fragment, or Back to an earlier one): its
    // system, or its exercise unless that exercise's files are the ones in the page. Back to an
    // entry the page rewrote (replaceState) gives only popstate in some engines, a new fragment
    // both events: each address is taken once.
    const novoEndereco = () => {
      if (location.href === visto) return;
      visto = location.href;
      const codigo = codigoDoEndereco(location.hash);
      const sistema = sistemaDoEndereco(location.hash);
      if (sistema !== null) abreSistema(pagina, sistema);
      else if (codigo !== null && !aberto(codigo)) abreExercicio(pagina, [codigo]);
    };
    ouve(this, globalThis, 'hashchange', novoEndereco);
    ouve(this, globalThis, 'popstate', novoEndereco);
    this.pagina = pagina;
  }

  // An exercise's link opens its files, a system's link its own (a refused code: nothing).
  async abreEndereco() {
    const codigo = codigoDoEndereco(location.hash);
    const sistema = sistemaDoEndereco(location.hash);
    if (sistema !== null) {
      abreSistema(this.pagina, sistema);
      return true;
    }
    return codigo !== null && (await abreExercicio(this.pagina, [codigo])) !== null;
  }

  descarta() { esquece(this); }
}

// "Copiar link": the exercise's code while its files are in the page; the files themselves otherwise.
function copiaLink(pagina) {
  const sistema = { a7: $('a7').value, b7: $('b7').value };
  const url = new URL(location.href);
  if (ultimo !== null && ultimo.a7 === sistema.a7 && ultimo.b7 === sistema.b7) {
    url.hash = `${CHAVE}=${ultimo.codigo}`;
  } else {
    const fragmento = fragmentoDo(sistema);
    if (fragmento === null) {
      avisa(`O sistema e grande demais para um link (o maximo e ${MAX_LINK} caracteres): ` +
        'compartilhe os arquivos a7.txt e b7.txt.');
      return;
    }
    url.hash = fragmento;
  }
  const link = url.href;
  pagina.link = link;
  const copiado = navigator.clipboard?.writeText(link) ?? Promise.reject(new Error('sem area de transferencia'));
  copiado.then(() => avisa(`Link copiado: ${link}`), () => avisa(`Copie o link: ${link}`));
}
