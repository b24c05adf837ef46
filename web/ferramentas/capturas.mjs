// The guide's pictures of the page, taken in Chromium: an exercise opened by its link with the
// analysis beside the run, the working set after 4, 5, 6 and 9, and a student's check, each a
// real run of the built site on the exercise the guide uses (S03-000ANCE); then a practice
// session in the panel "Praticar" on the guide's 3 x 3 system; a class assignment opened by its
// link: on a phone, the id asked; on a wide screen, the code and the first method under way; the
// panel "Pacote para a plataforma" with an assignment's package built (docs/pacote.md).
// Usage: node web/ferramentas/capturas.mjs build-web docs/imagens   (make capturas)
import { join } from 'node:path';
import { abre, comecaPratica, pratica } from './navegadores.mjs';
import { serve } from './servidor.mjs';

const [site, destino] = process.argv.slice(2);
const CODIGO = 'S03-000ANCE';
const SISTEMA = { a7: '2 1 1\n4 3 3\n8 7 9\n', b7: '4\n10\n24\n' };
const TAREFA = '#turma=D/3/gauss,jacobi/4/60/Calculo%20Numerico%202026';

// The assignment's link: the id typed (the phone's picture), then the code and three replies of
// its first method (the wide screen's).
async function tarefa(navegador, base) {
  const telefone = await navegador.aba({ largura: 390, altura: 844, telefone: true });
  await telefone.vai(`${base}?teste${TAREFA}`);
  await telefone.espera(() => !document.getElementById('tarefa').hidden);
  await telefone.avalia(() => { document.getElementById('tarefa-matricula').value = '2026001'; });
  await telefone.captura(join(destino, 'pagina-tarefa-telefone.png'));
  await telefone.fecha();
  const aba = await navegador.aba({ largura: 1280, altura: 860 });
  await aba.vai(`${base}?teste&largo${TAREFA}`);
  await aba.espera(() => !document.getElementById('tarefa').hidden);
  await aba.avalia(() => {
    document.getElementById('tarefa-matricula').value = '2026001';
    document.querySelector('#tarefa-identificacao button[type="submit"]').click();
  });
  await aba.espera(() => document.getElementById('pratica-pergunta').textContent.startsWith('m[2][1]'));
  for (const r of ['d', 'm', 'm']) {
    const [n] = await aba.avalia(() => globalThis.sislin.espera());
    await aba.avalia((t) => {
      document.getElementById('pratica-valor').value = t;
      document.querySelector('#pratica-resposta button[type="submit"]').click();
    }, r);
    await aba.espera((m) => globalThis.sislin.espera()[0] > m, [n]);
  }
  await aba.captura(join(destino, 'pagina-tarefa.png'));
  await aba.fecha();
}

// Gauss practised in the panel: a hint, two right replies, then a wrong one (the sign of the
// multiplier), each sent once the session waits for it.
async function praticar(aba, endereco) {
  await comecaPratica(aba, { endereco, sistema: SISTEMA, metodo: 'gauss', pergunta: 'm[2][1] = a[2][1] / a[1][1] = ' });
  await pratica(aba, ['d', '2', '1', '5']);
  await aba.espera(() => document.querySelector('#pratica-grade td.proxima.errado') !== null
    && /errado/.test(document.getElementById('pratica-marca').textContent));
  // The console drawn too: the mistake's name in the program's words.
  await aba.espera(() => globalThis.sislin.tela(8).join('').replace(/\s/g, '').includes('Errado(sinal-do-multiplicador)'));
}

const servidor = await serve(site, { isolado: false, porta: 0 });
const navegador = await abre('chromium');
try {
  const aba = await navegador.aba({ largura: 1280, altura: 860 });
  await aba.vai(`http://127.0.0.1:${servidor.address().port}/?teste#exercicio=${CODIGO}`);
  await aba.espera(() => /^Exercicio /.test(globalThis.sislin?.exercicio()) && globalThis.sislin.espera()[1] === 'dimensao n (inteiro)');
  await aba.clica('#terminal');
  // Answers each read once the program waits for it, then waits for the menu.
  const responde = async (...respostas) => {
    for (const r of respostas) {
      const [n] = await aba.avalia(() => globalThis.sislin.espera());
      await aba.digita(`${r}\n`);
      await aba.espera((m) => globalThis.sislin.espera()[0] > m && globalThis.sislin.espera()[1] !== '', [n]);
    }
    await aba.espera(() => globalThis.sislin.tela(1)[0].trim() === 'Escolha:');  // the terminal drawn
  };
  await responde('3', '10', '0.0001', '50', '9', '0.0001', '8');
  await aba.avalia(() => { document.getElementById('analise').open = true; });
  await aba.espera(() => document.getElementById('relatorio').textContent.startsWith('Analise de A'));
  await aba.captura(join(destino, 'pagina-exercicio.png'));

  await aba.avalia(() => {
    document.getElementById('analise').open = false;
    document.getElementById('conjunto-painel').open = true;
  });
  await aba.clica('#terminal');
  await responde('4', '5', '6', '9', '0.0001', '8');
  await aba.captura(join(destino, 'pagina-dados.png'));

  await aba.avalia(() => {
    document.getElementById('conjunto-painel').open = false;
    document.getElementById('conferir-painel').open = true;
    const escolha = document.getElementById('resultado-conferir');
    escolha.dispatchEvent(new Event('focus'));
    escolha.value = [...escolha.options].find((o) => o.textContent === 'x, opcao 6').value;
    document.getElementById('valores').value = '2; -4; 4,99';
    document.getElementById('mostrar-programa').checked = true;
    document.querySelector('#conferir button[type="submit"]').click();
  });
  await aba.captura(join(destino, 'pagina-conferir.png'));
  await aba.fecha();

  const pratica = await navegador.aba({ largura: 1280, altura: 860 });
  await praticar(pratica, `http://127.0.0.1:${servidor.address().port}/?teste`);
  await pratica.captura(join(destino, 'pagina-praticar.png'));
  await pratica.fecha();
  await tarefa(navegador, `http://127.0.0.1:${servidor.address().port}/`);

  // The teacher's panel, alone in a short window: an assignment of two methods, its package built.
  const pacote = await navegador.aba({ largura: 900, altura: 700 });
  await pacote.vai(`http://127.0.0.1:${servidor.address().port}/`);
  await pacote.espera(() => document.getElementById('pacote-metodos').querySelectorAll('input').length === 10);
  await pacote.avalia(() => {
    const $ = (id) => document.getElementById(id);
    for (const s of document.querySelectorAll('main > section:not(#pacote)')) s.style.display = 'none';
    $('pacote-painel').open = true;
    $('pacote-chave').value = 'Calculo Numerico 2026';
    $('pacote-n').value = '4';
    for (const c of $('pacote-metodos').querySelectorAll('input')) c.checked = ['gauss', 'jacobi'].includes(c.value);
    $('pacote-form').dispatchEvent(new Event('input'));
    $('pacote-baixar').click = () => {};  // no download in the picture's run
  });
  await pacote.clica('#pacote-montar');
  await pacote.espera(() => !document.getElementById('pacote-baixar').hidden, [], 60000);
  await pacote.captura(join(destino, 'pagina-pacote.png'));
  await pacote.fecha();
} finally {
  await navegador.fecha();
  servidor.close();
}
