// A small static server for the page, on 127.0.0.1 only. A file is sent gzipped, from the .gz
// beside it, when the browser accepts that. Every response carries the headers that make the page
// cross-origin isolated, unless --sem-isolamento is given (the page works the same either way; the
// tests try both, as a course page may send them or not).
// Usage: node web/ferramentas/servidor.mjs [--sem-isolamento] [--porta N] [folder]   (default: build-web, 8000)
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const TIPOS = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// Resolves to the listening server; its address().port is the port chosen (0: any free one);
// its `pedidos` the paths asked for, in order (the tests compare them with the offline list).
export function serve(pasta, { isolado = true, porta = 8000 } = {}) {
  const raiz = resolve(pasta);
  const pedidos = [];
  const servidor = createServer(async (pedido, resposta) => {
    const cabecalhos = { 'Cache-Control': 'no-cache' };
    if (isolado) {
      cabecalhos['Cross-Origin-Opener-Policy'] = 'same-origin';
      cabecalhos['Cross-Origin-Embedder-Policy'] = 'require-corp';
    }
    try {
      const caminho = decodeURIComponent(new URL(pedido.url, 'http://x').pathname);
      pedidos.push(caminho);
      let arquivo = normalize(join(raiz, caminho));
      if (caminho.endsWith('/')) arquivo = join(arquivo, 'index.html');
      if (!arquivo.startsWith(raiz + sep)) throw new Error('outside the folder');
      cabecalhos['Content-Type'] = TIPOS[extname(arquivo)] ?? 'application/octet-stream';
      cabecalhos.Vary = 'Accept-Encoding';
      let corpo;
      if (/\bgzip\b/.test(pedido.headers['accept-encoding'] ?? '')) {
        corpo = await readFile(`${arquivo}.gz`).catch(() => null);
        if (corpo !== null) cabecalhos['Content-Encoding'] = 'gzip';
      }
      corpo ??= await readFile(arquivo);
      resposta.writeHead(200, cabecalhos).end(corpo);
    } catch {
      resposta.writeHead(404, cabecalhos).end();
    }
  });
  servidor.pedidos = pedidos;
  return new Promise((pronto) => servidor.listen(porta, '127.0.0.1', () => pronto(servidor)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const isolado = !args.includes('--sem-isolamento');
  const p = args.indexOf('--porta');
  const porta = p >= 0 ? Number(args[p + 1]) : 8000;
  const pasta = args.filter((a, i) => !a.startsWith('--') && args[i - 1] !== '--porta')[0] ?? 'build-web';
  const servidor = await serve(pasta, { isolado, porta });
  const { port } = servidor.address();
  console.log(`sislin: http://127.0.0.1:${port}/ (${isolado ? 'com' : 'sem'} isolamento; Ctrl+C encerra)`);
}
