// Assembles the site from web/ into a folder: the files listed below, the program, the example
// data, the libraries from web/node_modules with their licences; the service worker gets the
// list and a version made from the contents; every text file also goes precompressed (.gz).
// Usage: node web/monta.mjs program.wasm sislin-aula.wasm folder
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const WEB = dirname(fileURLToPath(import.meta.url));
const RAIZ = join(WEB, '..');
const MODULOS = join(WEB, 'node_modules');
const [programa, aula, destino] = process.argv.slice(2);

// [source, path in the site]
const SITE = [
  ...['index.html', 'estilo.css', 'inicio.js', 'pagina.js', 'terminal.js', 'grafico.js', 'transcricao.js',
    'execucao.js', 'mensagens.js', 'registro.js', 'exercicio.js', 'analise.js', 'trabalho.js', 'conferir.js', 'rolagem.js', 'trabalhador.js', 'manifest.webmanifest', 'icone.svg']
    .map((f) => [join(WEB, f), f]),
  [programa, 'sislin.wasm'],
  [aula, 'sislin-aula.wasm'],
  [join(RAIZ, 'examples', 'a7.txt'), 'a7.txt'],
  [join(RAIZ, 'examples', 'b7.txt'), 'b7.txt'],
  [join(MODULOS, '@xterm/xterm/lib/xterm.mjs'), 'xterm/xterm.mjs'],
  [join(MODULOS, '@xterm/xterm/css/xterm.css'), 'xterm/xterm.css'],
  [join(MODULOS, '@xterm/addon-fit/lib/addon-fit.mjs'), 'xterm/addon-fit.mjs'],
  ...['fd.js', 'fs_mem.js', 'wasi.js', 'wasi_defs.js', 'debug.js']
    .map((f) => [join(MODULOS, '@bjorn3/browser_wasi_shim/dist', f), `wasi/${f}`]),
  [join(MODULOS, '@xterm/xterm/LICENSE'), 'licencas/xterm.txt'],
  [join(MODULOS, '@xterm/addon-fit/LICENSE'), 'licencas/xterm-addon-fit.txt'],
  [join(MODULOS, '@bjorn3/browser_wasi_shim/LICENSE-MIT'), 'licencas/browser_wasi_shim.txt'],
];

rmSync(destino, { recursive: true, force: true });
const soma = createHash('sha256');
for (const [origem, caminho] of SITE) {
  mkdirSync(dirname(join(destino, caminho)), { recursive: true });
  copyFileSync(origem, join(destino, caminho));
  soma.update(caminho).update(readFileSync(origem));
}
const sw = readFileSync(join(WEB, 'sw.js'), 'utf8')
  .replace('@VERSAO@', soma.digest('hex').slice(0, 12))
  .replace('@ARQUIVOS@', SITE.map(([, c]) => c).filter((c) => !c.startsWith('licencas/')).join(' '));
writeFileSync(join(destino, 'sw.js'), sw);

const todos = (d) => readdirSync(d).flatMap((f) => (statSync(join(d, f)).isDirectory() ? todos(join(d, f)) : [join(d, f)]));
let bytes = 0;
let comprimidos = 0;
for (const arquivo of todos(destino)) {
  const corpo = readFileSync(arquivo);
  const gz = gzipSync(corpo, { level: 9 });
  writeFileSync(`${arquivo}.gz`, gz);
  bytes += corpo.length;
  comprimidos += gz.length;
}
console.log(`${destino}: ${SITE.length + 1} files, ${bytes} bytes, ${comprimidos} bytes compressed`);
