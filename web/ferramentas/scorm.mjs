// The page as a SCORM 1.2 package for one assignment (make scorm): the built site without its
// precompressed copies, turma.json and imsmanifest.xml, by the page's own builder (pacote.js, as
// the build copied it, so that its library is the build's).
// Usage: node web/ferramentas/scorm.mjs build-web build/sislin-scorm.zip [--chave K] [--tipo T]
//          [--n N] [--metodos M,M] [--digitos D|exato] [--aprovacao P]
// Each setting not given as an option comes from the environment variable of its name in
// capitals (CHAVE, TIPO, N, METODOS, DIGITOS, APROVACAO: make passes them so).
import { readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { join, relative, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { importaDoSite } from './modulo-do-site.mjs';

const CAMPOS = ['chave', 'tipo', 'n', 'metodos', 'digitos', 'aprovacao'];

// The site's files, path -> bytes, without the .gz copies.
export function leSite(pasta) {
  const todos = (d) => readdirSync(d).flatMap((f) => (statSync(join(d, f)).isDirectory() ? todos(join(d, f)) : [join(d, f)]));
  return new Map(todos(pasta).filter((f) => !f.endsWith('.gz')).sort()
    .map((f) => [relative(pasta, f).split(sep).join('/'), new Uint8Array(readFileSync(f))]));
}

// The settings from the options, else from the environment.
function configuracao(args) {
  const tarefa = {};
  for (const campo of CAMPOS) {
    const i = args.indexOf(`--${campo}`);
    tarefa[campo] = i >= 0 ? args[i + 1] : process.env[campo.toUpperCase()];
  }
  return tarefa;
}

async function principal() {
  const args = process.argv.slice(2);
  const [site, destino] = args.filter((a, i) => !a.startsWith('--') && !args[i - 1]?.startsWith('--'));
  if (!site || !destino) throw new Error('uso: scorm.mjs PASTA-DO-SITE PACOTE.zip [--chave K --tipo T --n N ...]');
  const { fragmento, montaPacote, validaTarefa } = await importaDoSite(site, 'pacote.js');
  const entrada = configuracao(args);
  const { tarefa, erros } = validaTarefa(entrada);
  if (erros) {
    throw new Error(`configuracao recusada:\n  ${erros.join('\n  ')}\n`
      + '  (make scorm CHAVE=... TIPO=... N=... [METODOS=M,M] [DIGITOS=4|exato] [APROVACAO=60])');
  }
  const arquivos = leSite(site);
  const zip = montaPacote(arquivos, entrada);
  writeFileSync(destino, zip);
  console.log(`${destino}: ${arquivos.size + 2} arquivos, ${zip.length} bytes; tarefa ${tarefa.tipo}, n = ${tarefa.n}, `
    + `${tarefa.metodos.join(', ')}; link da pagina: ${fragmento(tarefa)}`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  principal().catch((e) => {
    console.error(`scorm: ${e.message}`);
    process.exit(1);
  });
}
