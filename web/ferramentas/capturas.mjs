// The guide's pictures of the page, taken in Chromium: an exercise opened by its link with the
// analysis beside the run, the working set after 4, 5, 6 and 9, and a student's check. Each is a
// real run of the built site on the exercise the guide uses (S03-000ANCE).
// Usage: node web/ferramentas/capturas.mjs build-web docs/imagens   (make capturas)
import { join } from 'node:path';
import { abre } from './navegadores.mjs';
import { serve } from './servidor.mjs';

const [site, destino] = process.argv.slice(2);
const CODIGO = 'S03-000ANCE';

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
} finally {
  await navegador.fecha();
  servidor.close();
}
