// A class assignment on the page, in three browser engines (ferramentas/navegadores.mjs): the
// #turma= link asks the id (by its label, on a phone too), shows the code the native
// sislin-aula turma ... --aluno gives, runs the practice of each method in order, and "Entregar"
// gives the hand-in file the native sislin-aula pratica ... --aluno writes for the same replies
// (the clock's members aside); a bad link and a refused id are said in words; axe-core finds no
// violation. As a package (turma.json at the site's root) without a platform, the page says so
// and asks the id; in a platform-like player (ferramentas/plataforma.mjs: scorm-again's SCORM 1.2
// API in the parent page, its CMI kept in the parent's localStorage, the files' types as Moodle
// gives them), the id comes from it, the score, status and replies go to it, and a reload resumes
// at the same step with the same arrays, nothing reported twice.
// Usage: node --test web/testes/tarefa.mjs   (after make web and the native sislin-aula; MOTORES="chromium")
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { MOTORES, abre, pratica, violacoes } from '../ferramentas/navegadores.mjs';
import { serve } from '../ferramentas/servidor.mjs';
import { servePlataforma } from '../ferramentas/plataforma.mjs';
import { leSite } from '../ferramentas/scorm.mjs';
import { aula, codigoNativo } from './aula-nativa.mjs';

const RAIZ = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const SITE = join(RAIZ, 'build-web');
const RESULTADOS = join(RAIZ, 'build-web-tests');
const motores = (process.env.MOTORES ?? MOTORES.join(' ')).split(/\s+/).filter(Boolean);

const TAREFA = { chave: 'Turma de Teste 2026', tipo: 'D', n: 2, metodos: ['gauss', 'jacobi'], digitos: 4, aprovacao: 60 };
const FRAGMENTO = '#turma=D/2/gauss,jacobi/4/60/Turma%20de%20Teste%202026';
const JSON_TAREFA = JSON.stringify({ formato: 1, ...TAREFA });
// Gauss: a wrong reply, a hint, then each value shown; Jacobi: each value shown.
const ROTEIRO = { gauss: ['999', 'd'], jacobi: [] };
const NENHUMA = 'Nenhuma plataforma encontrada: a nota nao sera registrada. Use Entregar para salvar o registro e envia-lo ao professor.';

// The hand-in file the console writes for these replies, method after method in one folder.
function entregaNativa(id, codigo, enviadas) {
  const dir = mkdtempSync(join(tmpdir(), 'sislin-entrega-'));
  for (const metodo of TAREFA.metodos) {
    aula(['pratica', metodo, codigo, '--aluno', id, '--digitos', String(TAREFA.digitos)], { entrada: enviadas[metodo].map((x) => `${x}\n`).join(''), pasta: dir });
  }
  const arquivos = readdirSync(dir);
  const texto = readFileSync(join(dir, `${id}-${codigo}.jsonl`), 'utf8');
  rmSync(dir, { recursive: true });
  return { arquivos, texto };
}

// The assignment's score from the hand-in file: the mean of its two methods' scores.
function notaNativa(texto) {
  const resumos = texto.trim().split('\n').map((l) => JSON.parse(l)).filter((e) => e.evento === 'resumo');
  assert.equal(resumos.length, 2);
  return Math.round((resumos[0].nota + resumos[1].nota) / 2);
}

// A record without what the clock gives (the start's hour, the seconds taken).
const semRelogio = (t) => t.replace(/"hora":("[^"]*"|null)/g, '"hora":H').replace(/"segundos":\d+/g, '"segundos":S');

// The page's state: the section's texts. `quadro`: the page in a frame of the top document.
const vista = (quadro) => {
  const d = quadro ? document.querySelector('iframe').contentDocument : document;
  const t = (id) => d.getElementById(id)?.textContent ?? null;
  return {
    visivel: !d.getElementById('tarefa').hidden,
    formulario: !d.getElementById('tarefa-identificacao').hidden,
    codigo: t('tarefa-codigo'), progresso: t('tarefa-progresso'), estado: t('tarefa-estado'),
    pergunta: t('pratica-pergunta'),
  };
};

// Types the id by its label's field and starts; resolves once the code is shown.
async function identifica(aba, id, quadro = false) {
  await aba.avalia((m, q) => {
    const d = q ? document.querySelector('iframe').contentDocument : document;
    d.getElementById('tarefa-matricula').value = m;
    d.querySelector('#tarefa-identificacao button[type="submit"]').click();
  }, id, quadro);
}

// Practises the assignment (in the page, or in the frame `quadro`): the script's replies for the
// method, then "m", until it ends (or `parar` replies were sent). The replies sent, by method.
async function praticaTarefa(aba, { quadro = null, parar = Infinity, roteiro = ROTEIRO } = {}) {
  const enviadas = { gauss: [], jacobi: [] };
  let total = 0;
  await pratica(aba, (progresso) => {
    if (total++ >= parar) return undefined;
    assert.ok(total < 400, 'the assignment ends');
    const metodo = /: Gauss$/.test(progresso) ? 'gauss' : 'jacobi';
    enviadas[metodo].push(roteiro[metodo][enviadas[metodo].length] ?? 'm');
    return enviadas[metodo].at(-1);
  }, quadro);
  return enviadas;
}

let servidores;
let pastas;
before(() => {
  mkdirSync(RESULTADOS, { recursive: true });
  // A package without a platform: the site with turma.json at its root. A platform
  // (ferramentas/plataforma.mjs): scorm-again's API in a parent page, the package in its frame.
  const pacote = mkdtempSync(join(tmpdir(), 'sislin-pacote-'));
  cpSync(SITE, pacote, { recursive: true });
  writeFileSync(join(pacote, 'turma.json'), JSON_TAREFA);
  pastas = [pacote];
  return Promise.all([serve(SITE, { isolado: false, porta: 0 }), serve(pacote, { isolado: false, porta: 0 }), servePlataforma(leSite(pacote), { porta: 0 })])
    .then(([site, p, plataforma]) => { servidores = { site, pacote: p, plataforma }; });
});
after(() => {
  for (const s of Object.values(servidores ?? {})) s.close();
  for (const p of pastas ?? []) rmSync(p, { recursive: true, force: true });
});
const endereco = (s, resto) => `http://127.0.0.1:${servidores[s].address().port}/${resto}`;

for (const motor of motores) {
  describe(`assignment in ${motor}`, () => {
    let navegador;
    before(async () => { navegador = await abre(motor); });
    after(async () => { await navegador?.fecha(); });

    test('the link: the id, the code, two methods in order, Entregar = the console\'s hand-in file', async () => {
      const id = `2026${motor.length}01`;
      const aba = await navegador.aba();
      await aba.vai(endereco('site', `?teste${FRAGMENTO}`));
      await aba.espera(() => document.getElementById('tarefa').hidden === false && document.getElementById('tarefa-sobre').textContent);
      assert.deepEqual(await aba.avalia(() => [document.getElementById('tarefa-sobre').textContent, document.querySelector('label[for="tarefa-matricula"]').textContent,
        document.getElementById('entregar').disabled]), ['Tarefa: Gauss, Metodo Iterativo de Jacobi; tipo D, n = 2; 4 digitos; aprovacao com 60.', 'Matricula', true]);
      assert.deepEqual(await violacoes(aba), [], 'axe-core asking the id');
      // A refused id: said, and asked again.
      await identifica(aba, 'joao silva');
      const recusa = await aba.espera(() => document.getElementById('tarefa-estado').textContent.startsWith('Matricula recusada')
        && document.getElementById('tarefa-estado').textContent);
      assert.match(recusa, /^Matricula recusada: .+/);
      assert.equal((await aba.avalia(vista)).formulario, true);
      await identifica(aba, ` ${id} `);
      const codigo = codigoNativo(TAREFA, id);
      await aba.espera((c) => document.getElementById('tarefa-codigo').textContent.endsWith(c), [codigo]);
      const v = await aba.avalia(vista);
      assert.deepEqual([v.codigo, v.progresso, v.formulario], [`Matricula ${id}, codigo ${codigo}`, 'Metodo 1 de 2: Gauss', false]);
      await aba.espera(() => !document.getElementById('pratica-valor').disabled
        && document.getElementById('pratica-pergunta').textContent !== 'Resposta');
      // Entregar from the first step: what the record holds so far.
      await aba.clica('#entregar');
      const primeiro = await aba.espera(() => globalThis.sislin.baixados[0]);
      assert.equal(primeiro.nome, `${id}-${codigo}.jsonl`);
      assert.match(primeiro.texto, /^\{"evento":"inicio",.*"aluno":"\d+"/);
      assert.deepEqual(await violacoes(aba), [], 'axe-core in the practice');
      await aba.captura(join(RESULTADOS, `${motor}-tarefa.png`));
      const enviadas = await praticaTarefa(aba);
      const fim = await aba.avalia(vista);
      const nativa = entregaNativa(id, codigo, enviadas);
      assert.deepEqual(nativa.arquivos, [`${id}-${codigo}.jsonl`]);
      await aba.clica('#entregar');
      const entregue = await aba.espera(() => globalThis.sislin.baixados[1]);
      writeFileSync(join(RESULTADOS, `${motor}-${entregue.nome}`), entregue.texto);
      assert.equal(entregue.nome, `${id}-${codigo}.jsonl`);
      assert.equal(semRelogio(entregue.texto), semRelogio(nativa.texto), 'the hand-in file, byte for byte but the clock');
      const nota = notaNativa(nativa.texto);
      assert.equal(fim.progresso, `Tarefa terminada: nota ${nota} de 100 (aprovacao com 60).`);
      assert.match(await aba.avalia(() => document.getElementById('tarefa-estado').textContent),
        new RegExp(`^Arquivo ${id}-${codigo}\\.jsonl baixado \\(\\d+ bytes\\)\\. Envie-o ao professor\\. Todos os metodos concluidos\\.$`));
      assert.deepEqual(await aba.avalia(() => globalThis.sislin.erros), []);
      await aba.fecha();
    });

    test('a bad link is said in words, and the page goes on', async () => {
      const aba = await navegador.aba();
      await aba.vai(endereco('site', '?teste&ruim#turma=X/2/gauss/4/60/chave'));
      const estado = await aba.espera(() => document.getElementById('tarefa-estado').textContent);
      assert.equal(estado, 'Link de tarefa invalido: tipo "X" nao existe (use D, P, G, M, S ou J); o formato e ' +
        '#turma=TIPO/N/METODOS/DIGITOS/APROVACAO/CHAVE, por exemplo #turma=D/4/gauss,jacobi/4/60/Calculo%20Numerico%202026.');
      assert.equal((await aba.avalia(vista)).formulario, false);
      await aba.espera(() => globalThis.sislin?.primeiroPrompt != null);
      assert.deepEqual(await violacoes(aba), [], 'axe-core after a bad link');
      await aba.fecha();
    });

    test('a package without a platform: said, then the id asked; on a phone', async () => {
      const aba = await navegador.aba({ largura: 390, altura: 844, telefone: true });
      await aba.vai(endereco('pacote', 'index.html?teste'));
      await aba.espera((m) => document.getElementById('tarefa-estado').textContent === m, [NENHUMA]);
      const medidas = await aba.avalia(() => {
        const campo = document.getElementById('tarefa-matricula').getBoundingClientRect();
        return { largura: document.documentElement.scrollWidth, janela: innerWidth, altura: campo.height, topo: campo.top };
      });
      assert.ok(medidas.largura <= medidas.janela && medidas.altura >= 24 && medidas.topo < 844, JSON.stringify(medidas));
      assert.deepEqual(await violacoes(aba), [], 'axe-core a package without a platform, on a phone');
      await identifica(aba, 'A.Silva@x');
      await aba.espera(() => document.getElementById('tarefa-progresso').textContent === 'Metodo 1 de 2: Gauss' && !document.getElementById('pratica-valor').disabled);
      assert.equal((await aba.avalia(vista)).codigo, `Matricula a.silva@x, codigo ${codigoNativo(TAREFA, 'A.Silva@x')}`);
      await aba.captura(join(RESULTADOS, `${motor}-tarefa-telefone.png`));
      await aba.fecha();
    });

    test('a package in a platform: the id from it, the replies and score to it, a reload resumes', async () => {
      const aba = await navegador.aba();
      const id = `7${motor.length}`;
      const codigo = codigoNativo(TAREFA, id);
      // Gauss: a wrong reply, a hint, the right value (the one the console shows); a reload.
      const certo = String(aula(['pratica', 'gauss', codigo, '--digitos', '4'], { entrada: 'm\n'.repeat(30), registro: true }).registro.find((e) => e.evento === 'mostra').valor);
      await aba.vai(endereco('plataforma', 'plataforma/scorm-again.js'));
      await aba.avalia(() => localStorage.clear());  // a new learner
      await aba.vai(endereco('plataforma', `plataforma/?aluno=${id}&teste`));
      await aba.espera((c) => document.querySelector('iframe')?.contentDocument?.getElementById('tarefa-codigo')?.textContent.endsWith(c), [codigo], 60000);
      assert.equal((await aba.avalia(vista, true)).estado, 'Plataforma encontrada: a nota sera registrada. Pratique cada metodo; Entregar salva o registro.');
      const enviadas = await praticaTarefa(aba, { quadro: 'iframe', parar: 3, roteiro: { gauss: ['999', 'd', certo], jacobi: [] } });
      // What the platform holds: the score, the status, the interactions (their time a time of day).
      const forma = () => {
        const { core, suspend_data: suspenso, interactions } = window.plataforma.cmi();
        return { ...core.score, status: core.lesson_status, exit: core.exit, suspenso, interacoes: Object.values(interactions ?? {})
          .map(({ id: i, type, student_response: r, result, time }) => [i, type, r, result, /^\d\d:\d\d:\d\d$/.test(time)]) };
      };
      const antes = await aba.espera((f) => {
        const w = document.querySelector('iframe').contentWindow;
        return w.sislin.espera()[0] === 4 && eval(f)().suspenso?.split(';')[3]?.split('~').length === 3
          && { pergunta: w.document.getElementById('pratica-pergunta').textContent, grade: w.document.getElementById('pratica-grade').textContent, cmi: eval(f)() };
      }, [`(${forma})`]);
      assert.deepEqual(antes.cmi, { raw: '0', min: '0', max: '100', status: 'incomplete', exit: 'suspend', suspenso: `1;0;,;999~d~${certo}`,
        interacoes: [['gauss-1-m2_1', 'numeric', '999', 'wrong', true], ['gauss-1-m2_1', 'numeric', certo, 'correct', true]] }, 'a hint is no reply');
      await aba.recarrega();
      const depois = await aba.espera((p) => {
        const w = document.querySelector('iframe')?.contentWindow;
        const s = w?.sislin?.espera()[0] >= 1 && w.document.getElementById('pratica-pergunta')?.textContent;
        return s === p && !w.document.getElementById('pratica-valor').disabled
          && { pergunta: s, grade: w.document.getElementById('pratica-grade').textContent };
      }, [antes.pergunta], 60000);
      assert.deepEqual([depois, await aba.avalia(() => window.API.cmi.core.entry)], [{ pergunta: antes.pergunta, grade: antes.grade }, 'resume'],
        'the same step, the same arrays; the platform resumes');
      // The rest: Gauss and Jacobi to the end; the score and status reported, no reply reported twice.
      const resto = await praticaTarefa(aba, { quadro: 'iframe' });
      await aba.espera(() => /passed|failed/.test(window.plataforma.cmi().core.lesson_status));
      const fim = await aba.avalia((f) => eval(f)(), `(${forma})`);
      const nativa = entregaNativa(id, codigo, { gauss: [...enviadas.gauss, ...resto.gauss], jacobi: resto.jacobi });
      const nota = notaNativa(nativa.texto);
      const respostas = nativa.texto.split('\n').filter((l) => l.includes('"evento":"resposta"')).length;
      assert.deepEqual([fim.raw, fim.status, fim.interacoes.length, fim.interacoes.every((i) => i[4])], [String(nota), nota >= 60 ? 'passed' : 'failed', respostas, true],
        'the score, the status, one interaction a reply');
      // The hand-in: the sessions since the reload hold every reply typed.
      await aba.avalia(() => document.querySelector('iframe').contentDocument.getElementById('entregar').click());
      const entregue = await aba.espera(() => document.querySelector('iframe').contentWindow.sislin.baixados[0]);
      assert.equal(semRelogio(entregue.texto), semRelogio(nativa.texto));
      assert.deepEqual(await aba.avalia(() => document.querySelector('iframe').contentWindow.sislin.erros), []);
      await aba.fecha();
    });
  });
}
