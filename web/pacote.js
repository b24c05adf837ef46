// The page as a SCORM 1.2 package for a course platform (Moodle and the like): the site's files,
// the assignment's settings as turma.json at the site's root (the page reads them at start and
// then reports the student's score to the platform) and the manifest imsmanifest.xml, one zip.
// The same module builds it in the browser (the panel "Pacote para a plataforma") and under
// Node.js (make scorm), so the two zips hold the same bytes for the same settings.
//
// The manifest: one organization with one item, whose resource is one SCO (index.html) listing
// every file of the zip. It sets no mastery score: the page itself says passed or failed by the
// assignment's pass mark once every method is done (a platform applying a mastery score would
// turn an unfinished attempt into passed or failed on exit).
import { strToU8, zipSync } from './fflate/fflate.js';

// The kinds of exercise and their range of n (sislin-aula's, aula/codigo.cpp).
export const TIPOS = { D: [2, 10], P: [2, 10], G: [2, 10], M: [2, 10], S: [3, 10], J: [3, 10] };
// The practice's methods, in the menu's order.
export const METODOS = ['gauss', 'gauss-pivoteado', 'lu', 'lu-pivoteado', 'ly', 'ux', 'residuo', 'inversa',
  'jacobi', 'gauss-seidel'];
// Each kind's method when none is given.
const METODO_DO_TIPO = { D: 'gauss', G: 'gauss', M: 'gauss', P: 'gauss-pivoteado', S: 'gauss-seidel', J: 'jacobi' };
export const PADRAO = { digitos: 4, aprovacao: 60 };
export const MENOR_CHAVE = 4;
export const MAIOR_CHAVE = 100;
// The files the package adds to the site.
export const TURMA = 'turma.json';
export const MANIFESTO = 'imsmanifest.xml';
export const NOME = 'sislin-scorm.zip';
// Every entry's date: a fixed one, so that the same site and settings give the same bytes.
const DATA = new Date(2000, 0, 1, 0, 0, 0);

// The key as sislin-aula reads it (aula/turma.h): blanks at the ends dropped, inner runs of
// blanks made one, ASCII letters folded to lower case; then 4 to 100 printable ASCII characters.
// { texto } or { erro }.
export function normalizaChave(chave) {
  let t = '';
  for (const c of String(chave).replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, '')) {
    if (/[ \t\r\n]/.test(c)) {
      if (!t.endsWith(' ')) t += ' ';
    } else if (c < ' ' || c > '~') {
      return { erro: 'a chave so pode ter letras sem acento, algarismos, sinais e espacos' };
    } else {
      t += c.toLowerCase();
    }
  }
  if (t.length < MENOR_CHAVE) return { erro: `a chave precisa de pelo menos ${MENOR_CHAVE} caracteres` };
  if (t.length > MAIOR_CHAVE) return { erro: `a chave pode ter no maximo ${MAIOR_CHAVE} caracteres` };
  return { texto: t };
}

// A whole number written as such (a number or its decimal digits), else null.
function inteiro(v) {
  if (typeof v === 'number') return Number.isInteger(v) ? v : null;
  return typeof v === 'string' && /^\s*\d{1,9}\s*$/.test(v) ? Number(v) : null;
}

// The assignment's settings, checked: { tarefa } (as turma.json holds it) or { erros } (one
// sentence per field refused, in the form's order). `o`: { chave, tipo, n, metodos (a list or
// names joined by commas; empty: the kind's), digitos (0 to 9 or "exato"; empty: 4), aprovacao
// (0 to 100; empty: 60) }, as typed.
export function validaTarefa(o) {
  const erros = [];
  const vazio = (v) => v === undefined || v === null || (typeof v === 'string' && v.trim() === '');
  const chave = typeof o.chave === 'string' ? o.chave : '';
  const k = normalizaChave(chave);
  if (k.erro) erros.push(`Chave: ${k.erro}.`);

  const tipo = typeof o.tipo === 'string' ? o.tipo.trim().toUpperCase() : '';
  const faixa = TIPOS[tipo];
  if (!faixa) erros.push(`Tipo: "${o.tipo ?? ''}" nao e um tipo de exercicio (${Object.keys(TIPOS).join(', ')}).`);

  const n = inteiro(o.n);
  if (n === null) erros.push(`n: "${o.n ?? ''}" nao e um numero inteiro.`);
  else if (faixa && (n < faixa[0] || n > faixa[1])) erros.push(`n: o tipo ${tipo} vai de n = ${faixa[0]} a ${faixa[1]}.`);

  let metodos = [];
  if (vazio(o.metodos) || (Array.isArray(o.metodos) && o.metodos.length === 0)) {
    if (faixa) metodos = [METODO_DO_TIPO[tipo]];
  } else {
    const nomes = (Array.isArray(o.metodos) ? o.metodos : String(o.metodos).split(','))
      .map((m) => String(m).trim().toLowerCase());
    for (const m of nomes) {
      if (!METODOS.includes(m)) erros.push(`Metodos: "${m}" nao e um metodo (${METODOS.join(', ')}).`);
      else if (metodos.includes(m)) erros.push(`Metodos: "${m}" aparece mais de uma vez.`);
      else metodos.push(m);
    }
  }

  let digitos = PADRAO.digitos;
  if (typeof o.digitos === 'string' && o.digitos.trim().toLowerCase() === 'exato') digitos = 0;
  else if (!vazio(o.digitos)) {
    digitos = inteiro(o.digitos);
    if (digitos === null || digitos > 9) erros.push(`Digitos: "${o.digitos}" nao e de 1 a 9 (ou 0, exato).`);
  }

  let aprovacao = PADRAO.aprovacao;
  if (!vazio(o.aprovacao)) {
    aprovacao = inteiro(o.aprovacao);
    if (aprovacao === null || aprovacao > 100) erros.push(`Aprovacao: "${o.aprovacao}" nao e uma nota de 0 a 100.`);
  }

  if (erros.length > 0) return { erros };
  return { tarefa: { formato: 1, chave, tipo, n, metodos, digitos, aprovacao } };
}

// The page's link fragment for the settings (checked ones).
export const fragmento = (t) =>
  `#turma=${t.tipo}/${t.n}/${t.metodos.join(',')}/${t.digitos === 0 ? 'exato' : t.digitos}/${t.aprovacao}/${encodeURIComponent(t.chave)}`;

// turma.json's text.
export const textoTurma = (t) => `${JSON.stringify({
  formato: 1, chave: t.chave, tipo: t.tipo, n: t.n, metodos: t.metodos, digitos: t.digitos, aprovacao: t.aprovacao,
})}\n`;

// The activity's title on the platform: the kind, n and the methods.
export const titulo = (t) => `sislin: tarefa tipo ${t.tipo}, n = ${t.n}, ${t.metodos.join(', ')}`
  + ` (${t.digitos === 0 ? 'exato' : `${t.digitos} digitos`}, aprovacao ${t.aprovacao})`;

const xml = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
// A path as a manifest's href: each segment URL-encoded, the slashes kept.
export const href = (caminho) => caminho.split('/').map(encodeURIComponent).join('/');

// An identifier for the package from its settings (FNV-1a 32 of turma.json's text), so that two
// assignments uploaded to one course have different ones.
function identificador(t) {
  let h = 0x811c9dc5;
  for (const b of strToU8(textoTurma(t))) h = Math.imul(h ^ b, 0x01000193) >>> 0;
  return `sislin-${t.tipo}${String(t.n).padStart(2, '0')}-${h.toString(16).padStart(8, '0')}`;
}

// imsmanifest.xml for these settings and the zip's files (their paths, the manifest's included).
export function manifesto(t, caminhos) {
  const id = identificador(t);
  const nome = xml(titulo(t));
  return `<?xml version="1.0" encoding="UTF-8"?>
<manifest identifier="${id}" version="1.0"
          xmlns="http://www.imsproject.org/xsd/imscp_rootv1p1p2"
          xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2"
          xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
          xsi:schemaLocation="http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd">
  <metadata>
    <schema>ADL SCORM</schema>
    <schemaversion>1.2</schemaversion>
  </metadata>
  <organizations default="${id}-org">
    <organization identifier="${id}-org">
      <title>${nome}</title>
      <item identifier="${id}-item" identifierref="${id}-sco" isvisible="true">
        <title>${nome}</title>
      </item>
    </organization>
  </organizations>
  <resources>
    <resource identifier="${id}-sco" type="webcontent" adlcp:scormtype="sco" href="index.html">
${caminhos.map((c) => `      <file href="${xml(href(c))}"/>\n`).join('')}    </resource>
  </resources>
</manifest>
`;
}

// The package: the site's files (Map path -> Uint8Array, index.html among them) with turma.json
// and imsmanifest.xml, as zip bytes. The settings as typed (see validaTarefa); refused ones throw
// an Error whose message names each field.
export function montaPacote(arquivos, tarefa) {
  const { tarefa: t, erros } = validaTarefa(tarefa);
  if (erros) throw new Error(erros.join(' '));
  if (!arquivos.has('index.html')) throw new Error('O site nao tem index.html.');
  const conteudo = new Map([...arquivos].filter(([c]) => c !== TURMA && c !== MANIFESTO));
  conteudo.set(TURMA, strToU8(textoTurma(t)));
  const caminhos = [...conteudo.keys(), MANIFESTO].sort();
  conteudo.set(MANIFESTO, strToU8(manifesto(t, caminhos)));
  const entradas = {};
  for (const c of caminhos) entradas[c] = [conteudo.get(c), { level: 6, mtime: DATA }];
  return zipSync(entradas);
}
