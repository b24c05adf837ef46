// The three browser engines behind one small interface, for the page's tests and benchmark:
// Chromium (puppeteer-core over CDP), Firefox (puppeteer-core over WebDriver BiDi) and WebKitGTK
// (its MiniBrowser through WebKitWebDriver, under a virtual X display). Each browser is the
// system's own; CHROMIUM, FIREFOX, WEBKIT_DRIVER and MINIBROWSER name others.
//   const n = await abre('webkit');  const aba = await n.aba({ largura, altura, telefone });
//   await aba.vai(url);  await aba.avalia((x) => ..., x);  await aba.espera(() => cond);
//   await aba.digita('4\n');  await aba.tecla('Tab', { shift: true });  await aba.clica('#id');
//   await aba.captura(arquivo);  await aba.areaDeTransferencia();  await aba.fecha();  await n.fecha();
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

export const MOTORES = ['chromium', 'firefox', 'webkit'];

const primeiro = (...caminhos) => caminhos.find((c) => c && existsSync(c)) ?? caminhos.at(-1);
const espera = (ms) => new Promise((r) => setTimeout(r, ms));

// Polls a condition evaluated in the page until it holds (returns its value) or time runs out.
async function esperaCondicao(aba, fn, args, ms, mensagem) {
  const limite = Date.now() + ms;
  for (;;) {
    const v = await aba.avalia(fn, ...args);
    if (v) return v;
    if (Date.now() > limite) throw new Error(`timed out: ${mensagem ?? fn.toString().slice(0, 120)}`);
    await espera(25);
  }
}

// ---- Chromium and Firefox through puppeteer-core.
class AbaPuppeteer {
  constructor(pagina) {
    this.pagina = pagina;
    this.erros = [];
    pagina.on('pageerror', (e) => this.erros.push(String(e.message ?? e)));
  }
  vai(url) { return this.pagina.goto(url, { waitUntil: 'load' }); }
  recarrega() { return this.pagina.reload({ waitUntil: 'load' }); }
  avalia(fn, ...args) { return this.pagina.evaluate(fn, ...args); }
  espera(fn, args = [], ms = 30000, m = undefined) { return esperaCondicao(this, fn, args, ms, m); }
  digita(texto) { return this.pagina.keyboard.type(texto); }
  async tecla(nome, { shift = false } = {}) {
    if (shift) await this.pagina.keyboard.down('Shift');
    await this.pagina.keyboard.press(nome);
    if (shift) await this.pagina.keyboard.up('Shift');
  }
  clica(seletor) { return this.pagina.click(seletor); }
  captura(arquivo) { return this.pagina.screenshot({ path: arquivo, fullPage: true }); }
  // The text on the clipboard, read by the page: Chromium once the page's origin may read it,
  // Firefox by a preference set at launch (see abrePuppeteer).
  async areaDeTransferencia() {
    if (!this.pagina.browser().process()?.spawnfile?.includes('firefox')) {
      await this.pagina.browserContext().overridePermissions(new URL(this.pagina.url()).origin, ['clipboard-read', 'clipboard-sanitized-write']);
    }
    return this.pagina.evaluate(() => navigator.clipboard.readText());
  }
  // The page's JavaScript heap in bytes after a garbage collection (Chromium only, else null).
  async heap() {
    if (this.pagina.browser().process()?.spawnfile?.includes('firefox')) return null;
    try {
      const cdp = await this.pagina.createCDPSession();
      await cdp.send('HeapProfiler.collectGarbage');
      const { usedSize } = await cdp.send('Runtime.getHeapUsage');
      await cdp.detach();
      return usedSize;
    } catch {
      return null;
    }
  }
  // Why Chromium would not offer to install the page as an app (none: an empty list).
  async instalacao() {
    const cdp = await this.pagina.createCDPSession();
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    await cdp.detach();
    return installabilityErrors.map((e) => e.errorId);
  }
  fecha() { return this.pagina.close(); }
}

async function abrePuppeteer(motor) {
  const perfil = mkdtempSync(join(tmpdir(), `sislin-${motor}-`));
  const opcoes = motor === 'chromium'
    ? {
      executablePath: primeiro(process.env.CHROMIUM, '/usr/bin/chromium'),
      userDataDir: perfil,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    }
    : {
      browser: 'firefox',
      protocol: 'webDriverBiDi',
      executablePath: primeiro(process.env.FIREFOX, '/usr/lib/firefox-esr/firefox-esr', '/usr/bin/firefox'),
      userDataDir: perfil,
      extraPrefsFirefox: {
        'browser.download.dir': perfil,
        'browser.download.folderList': 2,
        'dom.events.testing.asyncClipboard': true,  // the tests read the clipboard without a prompt
      },
    };
  const navegador = await puppeteer.launch({ headless: true, ...opcoes });
  return {
    motor,
    async aba({ largura = 1280, altura = 800, telefone = false } = {}) {
      const pagina = await navegador.newPage();
      await pagina.setViewport(telefone && motor === 'chromium'
        ? { width: largura, height: altura, deviceScaleFactor: 2, isMobile: true, hasTouch: true }
        : { width: largura, height: altura });
      return new AbaPuppeteer(pagina);
    },
    async fecha() {
      await navegador.close();
      rmSync(perfil, { recursive: true, force: true });
    },
  };
}

// ---- WebKitGTK through WebKitWebDriver (plain WebDriver over HTTP).
const TECLAS = { Tab: '\uE004', Shift: '\uE008', Backspace: '\uE003', Enter: '\uE007', Escape: '\uE00C' };

function portaLivre() {
  return new Promise((pronto) => {
    const s = createServer().listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => pronto(port));
    });
  });
}

class AbaWebDriver {
  constructor(pede) {
    this.pede = pede;
    this.erros = [];
  }
  vai(url) { return this.pede('POST', '/url', { url }); }
  recarrega() { return this.pede('POST', '/refresh', {}); }
  async avalia(fn, ...args) {
    const script = `const fim = arguments[arguments.length - 1];
      Promise.resolve().then(() => (${fn}).apply(null, Array.from(arguments).slice(0, -1)))
        .then((v) => fim({ v }), (e) => fim({ e: String(e) }));`;
    const r = await this.pede('POST', '/execute/async', { script, args });
    if (r.e !== undefined) throw new Error(r.e);
    return r.v;
  }
  espera(fn, args = [], ms = 30000, m = undefined) { return esperaCondicao(this, fn, args, ms, m); }
  teclas(lista) {
    const acoes = lista.flatMap((k) => [{ type: 'keyDown', value: k }, { type: 'keyUp', value: k }]);
    return this.pede('POST', '/actions', { actions: [{ type: 'key', id: 'teclado', actions: acoes }] });
  }
  digita(texto) { return this.teclas([...texto].map((c) => (c === '\n' ? TECLAS.Enter : c))); }
  async tecla(nome, { shift = false } = {}) {
    const k = TECLAS[nome] ?? nome;
    const acoes = shift
      ? [{ type: 'keyDown', value: TECLAS.Shift }, { type: 'keyDown', value: k },
        { type: 'keyUp', value: k }, { type: 'keyUp', value: TECLAS.Shift }]
      : [{ type: 'keyDown', value: k }, { type: 'keyUp', value: k }];
    await this.pede('POST', '/actions', { actions: [{ type: 'key', id: 'teclado', actions: acoes }] });
  }
  async clica(seletor) {
    const e = await this.pede('POST', '/element', { using: 'css selector', value: seletor });
    await this.pede('POST', `/element/${Object.values(e)[0]}/click`, {});
  }
  heap() { return Promise.resolve(null); }
  // WebKit asks the user before a page reads the clipboard: not readable from a test (null).
  areaDeTransferencia() { return Promise.resolve(null); }
  async captura(arquivo) {
    writeFileSync(arquivo, Buffer.from(await this.pede('GET', '/screenshot'), 'base64'));
  }
  fecha() { return Promise.resolve(); }
}

async function abreWebKit() {
  const tela = 90 + (process.pid % 100);
  const xvfb = spawn('Xvfb', [`:${tela}`, '-screen', '0', '1400x1000x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  const porta = await portaLivre();
  await espera(300);
  const driver = spawn(primeiro(process.env.WEBKIT_DRIVER, '/usr/bin/WebKitWebDriver'), [`--port=${porta}`],
    { stdio: 'ignore', env: { ...process.env, DISPLAY: `:${tela}` } });
  const base = `http://127.0.0.1:${porta}`;
  const http = async (metodo, caminho, corpo) => {
    const r = await fetch(base + caminho, {
      method: metodo,
      headers: { 'Content-Type': 'application/json' },
      body: corpo === undefined ? undefined : JSON.stringify(corpo),
    });
    const { value } = await r.json();
    if (!r.ok) throw new Error(`WebDriver ${caminho}: ${value?.error} ${value?.message}`);
    return value;
  };
  let sessao = null;
  for (let i = 0; sessao === null; i++) {
    try {
      sessao = await http('POST', '/session', {
        capabilities: {
          alwaysMatch: {
            browserName: 'MiniBrowser',
            'webkitgtk:browserOptions': {
              binary: primeiro(process.env.MINIBROWSER, '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'),
              args: ['--automation'],
            },
          },
        },
      });
    } catch (e) {
      if (i > 40) throw e;
      await espera(250);
    }
  }
  const pede = (metodo, caminho, corpo) => http(metodo, `/session/${sessao.sessionId}${caminho}`, corpo);
  return {
    motor: 'webkit',
    async aba({ largura = 1280, altura = 800 } = {}) {
      await pede('POST', '/window/rect', { width: largura, height: altura });
      return new AbaWebDriver(pede);
    },
    async fecha() {
      await http('DELETE', `/session/${sessao.sessionId}`).catch(() => {});
      driver.kill();
      xvfb.kill();
    },
  };
}

export function abre(motor) {
  return motor === 'webkit' ? abreWebKit() : abrePuppeteer(motor);
}

// Starts a practice session in the panel "Praticar" of a tab (first loading `endereco`, when
// given, up to the program's first prompt): the system { a7, b7 } typed in its fields when
// given, the method and digits chosen when given, then "Comecar"; resolves once the first
// question starts with `pergunta`.
export async function comecaPratica(aba, { endereco, sistema, metodo, digitos, pergunta, ms = 30000 }) {
  if (endereco) {
    await aba.vai(endereco);
    await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
  }
  await aba.avalia((o) => {
    const $ = (id) => document.getElementById(id);
    if (o.sistema) [$('a7').value, $('b7').value] = [o.sistema.a7, o.sistema.b7];
    $('pratica-painel').open = true;
    if (o.metodo) $('pratica-metodo').value = o.metodo;
    if (o.digitos) $('pratica-digitos').value = o.digitos;
  }, { sistema: sistema ?? null, metodo: metodo ?? null, digitos: digitos ?? null });
  await aba.clica('#pratica-comecar');
  await aba.espera((p) => document.getElementById('pratica-pergunta').textContent.startsWith(p), [pergunta], ms);
}

// Types lines in the panel "Praticar" of the page (or of the frame `quadro`, a selector), each
// once the program waits for it with the panel ready: the next of `linhas` (or what the function
// `linhas(progresso)` gives, the assignment's step as said), a hint "d" by its button. Stops when
// the lines run out (once the program waits again) or the assignment has ended.
export async function pratica(aba, linhas, quadro = null) {
  const proxima = Array.isArray(linhas) ? ((i) => () => linhas[i++])(0) : linhas;
  for (let n = 0; ;) {
    const r = await aba.espera((k, q) => {
      const w = q ? document.querySelector(q).contentWindow : globalThis;
      const progresso = w.document.getElementById('tarefa-progresso')?.textContent ?? '';
      if (progresso.startsWith('Tarefa terminada')) return { fim: true };
      const [pedidos] = w.sislin.espera();
      return pedidos > k && !w.document.getElementById('pratica-valor').disabled && { pedidos, progresso };
    }, [n, quadro], 30000);
    const linha = r.fim ? undefined : proxima(r.progresso);
    if (linha === undefined) return;
    n = r.pedidos;
    await aba.avalia((t, q) => {
      const d = q ? document.querySelector(q).contentDocument : document;
      if (t === 'd') {
        d.querySelector('#pratica-comandos [data-comando="d"]').click();
      } else {
        d.getElementById('pratica-valor').value = t;
        d.querySelector('#pratica-resposta button[type="submit"]').click();
      }
    }, linha, quadro);
  }
}

// axe-core's violations in the page (or in the element `dentro`, a selector), as "rule: elements".
let axe;
export async function violacoes(aba, dentro = null) {
  axe ??= readFileSync(new URL('../node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
  return aba.avalia(async (fonte, s) => {
    if (!globalThis.axe) (0, eval)(fonte);
    const r = await globalThis.axe.run(s ? document.querySelector(s) : document);
    return r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  }, axe, dentro);
}
