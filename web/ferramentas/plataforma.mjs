// A course platform's player in miniature, to try a SCORM 1.2 package (make scorm) as Moodle and
// the like run it: a parent page at /plataforma/ gives the SCORM 1.2 API (scorm-again's
// Scorm12API, from web/node_modules) as window.API and frames the package, unpacked, from
// /plataforma/pacote/. The learner's data (the CMI) lives in the parent's localStorage: loaded
// before the activity starts (the student id from ?aluno=, "2026001" unless given; cmi.core.entry
// "resume" after an exit "suspend"; the rest of the query goes to the activity's address) and
// saved after each LMSCommit and LMSFinish, so a reload of the parent resumes the attempt as a
// platform would. The package's files go without cross-origin isolation headers and with the
// types a platform gives them by extension (below).
// Usage: node web/ferramentas/plataforma.mjs build/sislin-scorm.zip [--porta N]   (default 8001)
import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';
import { dirname, extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const WEB = join(dirname(fileURLToPath(import.meta.url)), '..');
const SCORM_AGAIN = join(WEB, 'node_modules', 'scorm-again', 'dist', 'scorm12.js');
export const CHAVE_CMI = 'sislin-plataforma-cmi';

// The types sent, by extension, as Moodle's defaults have them: JavaScript as
// application/x-javascript, WebAssembly as application/octet-stream, and an extension it does not
// know (.mjs among them: a browser then refuses it as a module) as document/unknown.
const TIPOS = {
  '.html': 'text/html',
  '.js': 'application/x-javascript',
  '.css': 'text/css',
  '.json': 'application/json',
  '.xml': 'application/xml',
  '.txt': 'text/plain',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.wasm': 'application/octet-stream',
};

// The parent page. window.plataforma offers the tests the calls the activity made ({ metodo,
// elemento, valor, resultado }), in order.
const PAI = `<!doctype html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Plataforma de teste</title>
<style>
  html, body { margin: 0; height: 100%; font-family: sans-serif; }
  header { padding: 0.3rem 0.6rem; background: #2d3e50; color: #fff; }
  iframe { display: block; border: 0; width: 100%; height: calc(100% - 2rem); }
</style>
<script src="scorm-again.js"></script>
</head>
<body>
<header>Plataforma de teste: atividade SCORM 1.2, aluno <span id="aluno"></span></header>
<script>
  const CHAVE = ${JSON.stringify(CHAVE_CMI)};
  const aluno = new URLSearchParams(location.search).get('aluno') ?? '2026001';
  document.getElementById('aluno').textContent = aluno;
  const salvo = JSON.parse(localStorage.getItem(CHAVE) ?? 'null');
  const cmi = salvo?.cmi ?? {};
  cmi.core = { ...(cmi.core ?? {}), student_id: aluno, student_name: 'Aluno de teste' };
  cmi.core.entry = salvo === null ? 'ab-initio' : cmi.core.exit === 'suspend' ? 'resume' : '';
  delete cmi.core.exit;
  delete cmi.core.session_time;
  const API = new Scorm12API({ autocommit: false, lmsCommitUrl: false, logLevel: 5 });
  API.loadFromJSON({ cmi });
  const chamadas = [];
  const salva = () => localStorage.setItem(CHAVE, JSON.stringify(API.renderCMIToJSONObject()));
  API.on('LMSInitialize', () => chamadas.push({ metodo: 'LMSInitialize' }));
  API.on('LMSSetValue.cmi.*', (elemento, valor) => chamadas.push({ metodo: 'LMSSetValue', elemento, valor }));
  API.on('LMSCommit', () => { chamadas.push({ metodo: 'LMSCommit' }); salva(); });
  API.on('LMSFinish', () => { chamadas.push({ metodo: 'LMSFinish' }); salva(); });
  window.API = API;
  window.plataforma = { chamadas, cmi: () => API.renderCMIToJSONObject().cmi };
</script>
<iframe id="atividade" title="Atividade"></iframe>
<script>
  // The activity, with the rest of the parent's query (the page's ?teste, for the tests).
  const consulta = new URLSearchParams(location.search);
  consulta.delete('aluno');
  document.getElementById('atividade').src = \`pacote/index.html\${[...consulta].length ? \`?\${consulta}\` : ''}\`;
</script>
</body>
</html>
`;

// Serves the package (a Map path -> bytes, as unpacked) on 127.0.0.1; resolves to the server
// (its address().port; 0: any free port).
export function servePlataforma(pacote, { porta = 8001 } = {}) {
  const servidor = createServer((pedido, resposta) => {
    const caminho = decodeURIComponent(new URL(pedido.url, 'http://x').pathname);
    const envia = (tipo, corpo) => resposta.writeHead(200, { 'Content-Type': tipo, 'Cache-Control': 'no-cache' }).end(corpo);
    if (caminho === '/plataforma/') return envia('text/html; charset=utf-8', PAI);
    if (caminho === '/plataforma/scorm-again.js') return envia('text/javascript', readFileSync(SCORM_AGAIN));
    if (caminho.startsWith('/plataforma/pacote/')) {
      const arquivo = caminho.slice('/plataforma/pacote/'.length) || 'index.html';
      if (pacote.has(arquivo)) return envia(TIPOS[extname(arquivo)] ?? 'document/unknown', pacote.get(arquivo));
    }
    resposta.writeHead(404, { 'Cache-Control': 'no-cache' }).end();
  });
  return new Promise((pronto) => servidor.listen(porta, '127.0.0.1', () => pronto(servidor)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const p = args.indexOf('--porta');
  const zip = args.find((a, i) => !a.startsWith('--') && args[i - 1] !== '--porta');
  if (!zip) {
    console.error('uso: plataforma.mjs PACOTE.zip [--porta N]');
    process.exit(1);
  }
  // fflate from the page's own libraries (its Node.js build).
  const { unzipSync } = await import('fflate');
  const pacote = new Map(Object.entries(unzipSync(readFileSync(zip))).filter(([c]) => !c.endsWith('/')));
  const servidor = await servePlataforma(pacote, { porta: p >= 0 ? Number(args[p + 1]) : 8001 });
  console.log(`plataforma: http://127.0.0.1:${servidor.address().port}/plataforma/ (Ctrl+C encerra)`);
}
