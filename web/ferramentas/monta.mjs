// Assembles the site from web/ into a folder. What ships is found, not listed: from index.html
// (its scripts, module preloads, style sheets, icon and manifest) and the manifest's icons, every
// module's imports, the workers it starts and the service worker it registers are followed; the
// programs and the example data the modules fetch are added; each path of the site is copied from
// its source (web/, or a library in web/node_modules, whose licence goes along). The service
// worker gets the list of what to keep offline (all of it but itself) and a version made from the
// contents; arquivos.json lists every file of the site (the panel "Pacote para a plataforma"
// fetches them all); every file also goes precompressed (.gz).
// Usage: node web/ferramentas/monta.mjs program.wasm sislin-aula.wasm folder
import { copyFileSync, existsSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { dirname, join, posix } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

export const WEB = join(dirname(fileURLToPath(import.meta.url)), '..');
const RAIZ = join(WEB, '..');
const MODULOS = join(WEB, 'node_modules');
export const SERVICE_WORKER = 'sw.js';
// The list of every file of the site (itself included), for the panel that packs the site.
export const LISTA = 'arquivos.json';

// The libraries' files, by their path in the site; their licences.
const BIBLIOTECAS = [
  ['xterm/xterm.js', join(MODULOS, '@xterm/xterm/lib/xterm.mjs')],
  ['xterm/xterm.css', join(MODULOS, '@xterm/xterm/css/xterm.css')],
  ['xterm/addon-fit.js', join(MODULOS, '@xterm/addon-fit/lib/addon-fit.mjs')],
  ['wasi/', join(MODULOS, '@bjorn3/browser_wasi_shim/dist/')],
  ['fflate/fflate.js', join(MODULOS, 'fflate/esm/browser.js')],
];
const LICENCAS = [
  [join(MODULOS, '@xterm/xterm/LICENSE'), 'licencas/xterm.txt'],
  [join(MODULOS, '@xterm/addon-fit/LICENSE'), 'licencas/xterm-addon-fit.txt'],
  [join(MODULOS, '@bjorn3/browser_wasi_shim/LICENSE-MIT'), 'licencas/browser_wasi_shim.txt'],
  [join(MODULOS, 'fflate/LICENSE'), 'licencas/fflate.txt'],
];

// What a file of the site refers to, as written (relative to the file): an HTML page's scripts
// and links, a manifest's icons, a style sheet's url(), a module's imports (static and dynamic),
// workers and service worker.
export function referencias(caminho, texto) {
  const todas = (re) => [...texto.matchAll(re)].map((m) => m[1]);
  if (caminho.endsWith('.html')) return [...todas(/<script\b[^>]*\bsrc="([^"]+)"/g), ...todas(/<link\b[^>]*\bhref="([^"]+)"/g)];
  if (caminho.endsWith('.webmanifest')) return (JSON.parse(texto).icons ?? []).map((i) => i.src);
  if (caminho.endsWith('.css')) return todas(/url\(\s*['"]?([^'")]+)['"]?\s*\)/g).filter((u) => !u.startsWith('data:'));
  if (!/\.m?js$/.test(caminho)) return [];
  return [
    ...todas(/(?:^|[;\s}])(?:import|export)(?=[\s{*])[^'"`;]*?\bfrom\s*['"]([^'"]+)['"]/gm),
    ...todas(/(?:^|[;\s}])import\s*['"]([^'"]+)['"]/gm),
    ...todas(/\bimport\(\s*['"]([^'"]+)['"]\s*\)/g),
    ...todas(/\bnew\s+(?:Shared)?Worker\(\s*['"]([^'"]+)['"]/g),
    ...todas(/\bserviceWorker\s*\??\.\s*register\(\s*['"]([^'"]+)['"]/g),
  ];
}

// The source of a path of the site: a library's file, a given one, or web/'s own.
function fonte(caminho, dados) {
  if (caminho in dados) return dados[caminho];
  for (const [site, origem] of BIBLIOTECAS) {
    if (site.endsWith('/') ? caminho.startsWith(site) : caminho === site) return join(origem, caminho.slice(site.length));
  }
  return join(WEB, caminho);
}

// The site: [[source, path in the site]], every file the page loads, found from index.html.
// dados: { path in the site: source } for the files fetched by name (the programs, the examples).
// sem: a kind of reference not followed (for the test that its loss is seen).
export function site(dados, { sem = null } = {}) {
  const vistos = new Map();
  const fila = ['index.html', ...Object.keys(dados)];
  while (fila.length > 0) {
    const caminho = fila.shift();
    if (vistos.has(caminho)) continue;
    const origem = fonte(caminho, dados);
    if (!existsSync(origem)) throw new Error(`${caminho}: ${origem} does not exist`);
    vistos.set(caminho, origem);
    if (caminho in dados) continue;
    for (const ref of referencias(caminho, readFileSync(origem, 'utf8'))) {
      if (/^[a-z]+:|^\/\//i.test(ref) || ref.startsWith('#')) continue;  // another site's, or the page itself
      if (sem !== null && sem(ref, caminho)) continue;
      fila.push(posix.normalize(posix.join(posix.dirname(caminho), ref.split(/[?#]/)[0])));
    }
  }
  return [...vistos].map(([caminho, origem]) => [origem, caminho]);
}

// The site's files fetched by name, from the build's programs and the example data.
export const dadosDo = (programa, aula) => ({
  'sislin.wasm': programa,
  'sislin-aula.wasm': aula,
  'a7.txt': join(RAIZ, 'examples', 'a7.txt'),
  'b7.txt': join(RAIZ, 'examples', 'b7.txt'),
});

// What the service worker keeps for offline use: the page's address and every file but itself.
export const listaOffline = (arquivos) => ['./', ...arquivos.map(([, c]) => c).filter((c) => c !== SERVICE_WORKER)];

function monta(programa, aula, destino) {
  const arquivos = site(dadosDo(programa, aula));
  rmSync(destino, { recursive: true, force: true });
  const soma = createHash('sha256');
  for (const [origem, caminho] of [...arquivos.filter(([, c]) => c !== SERVICE_WORKER), ...LICENCAS.map(([o, c]) => [o, c])]) {
    mkdirSync(dirname(join(destino, caminho)), { recursive: true });
    copyFileSync(origem, join(destino, caminho));
    soma.update(caminho).update(readFileSync(origem));
  }
  const sw = readFileSync(join(WEB, SERVICE_WORKER), 'utf8')
    .replace('@VERSAO@', soma.digest('hex').slice(0, 12))
    .replace("'@ARQUIVOS@'", JSON.stringify(listaOffline([...arquivos, ...LICENCAS, [null, LISTA]])));
  writeFileSync(join(destino, SERVICE_WORKER), sw);
  const caminhos = [...arquivos.map(([, c]) => c), ...LICENCAS.map(([, c]) => c), LISTA].sort();
  writeFileSync(join(destino, LISTA), `${JSON.stringify(caminhos, null, 1)}\n`);

  const todos = (d) => readdirSync(d).flatMap((f) => (statSync(join(d, f)).isDirectory() ? todos(join(d, f)) : [join(d, f)]));
  let bytes = 0;
  let comprimidos = 0;
  const lista = todos(destino);
  for (const arquivo of lista) {
    const corpo = readFileSync(arquivo);
    const gz = gzipSync(corpo, { level: 9 });
    writeFileSync(`${arquivo}.gz`, gz);
    bytes += corpo.length;
    comprimidos += gz.length;
  }
  console.log(`${destino}: ${lista.length} files, ${bytes} bytes, ${comprimidos} bytes compressed`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) monta(...process.argv.slice(2));
