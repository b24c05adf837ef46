// Imports a module of the built site into Node.js. The site's modules are plain .js files (the
// type course platforms know; they do not know .mjs) and the site has no package.json, so a
// Node.js before 20.19 reads them as CommonJS and refuses them. The module and the modules it
// imports by relative paths are copied beside a package.json that says "module", and imported
// from there: the same bytes the browser runs.
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, normalize } from 'node:path';
import { pathToFileURL } from 'node:url';

const IMPORTACAO = /(?:\bfrom\s*|\bimport\s*\(?\s*)['"](\.{1,2}\/[^'"]+)['"]/g;

export async function importaDoSite(site, nome) {
  const copia = mkdtempSync(join(tmpdir(), 'sislin-site-'));
  writeFileSync(join(copia, 'package.json'), '{"type":"module"}\n');
  const vistos = new Set();
  const copia1 = (relativo) => {
    if (vistos.has(relativo)) return;
    vistos.add(relativo);
    mkdirSync(dirname(join(copia, relativo)), { recursive: true });
    copyFileSync(join(site, relativo), join(copia, relativo));
    for (const [, alvo] of readFileSync(join(site, relativo), 'utf8').matchAll(IMPORTACAO))
      copia1(normalize(join(dirname(relativo), alvo)));
  };
  copia1(normalize(nome));
  try {
    return await import(pathToFileURL(join(copia, nome)).href);
  } finally {
    rmSync(copia, { recursive: true, force: true });
  }
}
