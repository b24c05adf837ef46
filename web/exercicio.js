// The panel "Exercicio": sislin-aula, compiled to WebAssembly, makes a7.txt and b7.txt from a
// kind and n or from a code, in a worker of its own with an in-memory folder; the page's address
// carries the code (#exercicio=CODIGO), so a link hands the exercise out. A teacher's own small
// system travels whole in the fragment (#a7=...&b7=..., percent-encoded). Nothing leaves the page.
import { Execucao, novoTrabalhador } from './execucao.js';
import { carregaModulo } from './inicio.js';

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

// What sislin-aula printed: its code and the line of its kind (the solution stays out of view).
export function resumo(saida) {
  const codigo = /^Codigo: (\S+)$/m.exec(saida)?.[1] ?? null;
  const tipo = /^Tipo .*$/m.exec(saida)?.[0] ?? '';
  return { codigo, tipo };
}

let modulo = null;
let ultimo = null;  // the last exercise made: { codigo, a7, b7 }
let visto = location.href;  // the address the page last took its files from

// Runs sislin-aula with these arguments in a folder holding these files (none: empty); resolves
// to { status, saida, erro, arquivos } (arquivos: the files it left there).
export function sislinAula(argumentos, arquivos = {}) {
  modulo ??= carregaModulo('sislin-aula.wasm');
  const saidas = { 1: [], 2: [] };
  const texto = (canal) => new TextDecoder('latin1').decode(new Uint8Array(saidas[canal].flatMap((b) => [...b])));
  return new Promise((resolve, reject) => {
    const execucao = new Execucao(novoTrabalhador(), modulo, arquivos, {
      saida: (canal, bytes) => saidas[canal]?.push(bytes),
      pede: () => execucao.encerra(() => reject(new Error('sislin-aula pediu entrada'))),
      fim: (status, arquivos) => resolve({ status, saida: texto(1), erro: texto(2), arquivos }),
      falha: (t) => reject(new Error(t)),
    }, ['sislin-aula', ...argumentos]);
  });
}

const $ = (id) => document.getElementById(id);
const semForma = (codigo) => codigo.toUpperCase().replace(/[\s-]/g, '');
// Whether the page holds this exercise's files as made.
const aberto = (codigo) => ultimo !== null && semForma(ultimo.codigo) === semForma(codigo)
  && ultimo.a7 === $('a7').value && ultimo.b7 === $('b7').value;
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
  const { codigo, tipo } = resumo(r.saida);
  if (r.status !== 0 || codigo === null) {
    avisa(r.erro.replace(/^sislin-aula: /, '').trim() || `sislin-aula terminou com status ${r.status}.`);
    return null;
  }
  $('a7').value = r.arquivos['a7.txt'];
  $('b7').value = r.arquivos['b7.txt'];
  $('codigo').value = codigo;
  $('tipo').value = codigo[0];  // the panel's kind and n: those of the exercise open
  $('ordem').value = String(Number(codigo.slice(1, 3)));
  ultimo = { codigo, a7: $('a7').value, b7: $('b7').value };
  history.replaceState(null, '', enderecoDo(codigo, location.href));
  visto = location.href;
  avisa(`Exercicio ${codigo}. ${tipo}.`);
  pagina.executa();
  return codigo;
}

// A system from the address: its files in the page and a run on them.
export function abreSistema(pagina, { a7, b7 }) {
  $('a7').value = a7;
  $('b7').value = b7;
  avisa('Sistema recebido pelo link.');
  pagina.executa();
}

// The panel's forms, its link button and the address.
export function ligaExercicio(pagina) {
  $('novo-exercicio').addEventListener('submit', (evento) => {
    evento.preventDefault();
    abreExercicio(pagina, [$('tipo').value, $('ordem').value]);
  });
  $('abre-codigo').addEventListener('submit', (evento) => {
    evento.preventDefault();
    abreExercicio(pagina, [$('codigo').value]);
  });
  $('copiar-link').addEventListener('click', () => {
    // The exercise's code while its files are in the page; the files themselves otherwise.
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
  });
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
  addEventListener('hashchange', novoEndereco);
  addEventListener('popstate', novoEndereco);
}
