// The panel "Pacote para a plataforma": a teacher's assignment (key, kind, n, methods, digits,
// pass mark) as a SCORM 1.2 package to upload to a course platform, built here in the browser
// from the site's own files (those arquivos.json lists, fetched from this site) by pacote.js,
// the same zip make scorm gives; and the page's #turma= link for the same settings, for a class
// without a platform. Nothing leaves the page.
import { METODOS, NOME, fragmento, montaPacote, validaTarefa } from './pacote.js';
import { $, Painel, esquece, ouve } from './painel.js';

const CAMPOS = ['chave', 'tipo', 'n', 'digitos', 'aprovacao'];

// The site's files, path -> bytes, as this page's server sends them; `progresso(i, total)`.
export async function arquivosDoSite(base, progresso = () => {}) {
  const lista = await busca(new URL('arquivos.json', base)).then((r) => r.json());
  const arquivos = new Map();
  for (const [i, caminho] of lista.entries()) {
    progresso(i, lista.length);
    arquivos.set(caminho, new Uint8Array(await busca(new URL(caminho, base)).then((r) => r.arrayBuffer())));
  }
  return arquivos;
}

async function busca(url) {
  const r = await fetch(url, { cache: 'no-cache' });
  if (!r.ok) throw new Error(`${url.pathname}: o servidor respondeu ${r.status}`);
  return r;
}

export class PacotePainel extends Painel {
  ativa() {
    const metodos = $('pacote-metodos');
    for (const m of METODOS) {
      const rotulo = document.createElement('label');
      const caixa = document.createElement('input');
      caixa.type = 'checkbox';
      caixa.value = m;
      rotulo.append(caixa, ` ${m}`);
      metodos.append(rotulo);
    }
    this.url = null;
    ouve(this, $('pacote-form'), 'submit', (e) => {
      e.preventDefault();
      this.monta();
    });
    ouve(this, $('pacote-form'), 'input', () => this.mostraLink());
    this.mostraLink();
  }

  // The form's settings as typed, and the methods ticked in the menu's order.
  entrada() {
    const o = Object.fromEntries(CAMPOS.map((c) => [c, $(`pacote-${c}`).value]));
    o.metodos = [...$('pacote-metodos').querySelectorAll('input:checked')].map((c) => c.value);
    return o;
  }

  // The settings checked: each refused field marked, the reasons said.
  confere() {
    const { tarefa, erros } = validaTarefa(this.entrada());
    for (const c of [...CAMPOS, 'metodos']) {
      const campo = $(`pacote-${c}`);
      const errado = (erros ?? []).some((e) => e.toLowerCase().startsWith(c === 'n' ? 'n:' : c));
      if (errado) campo.setAttribute('aria-invalid', 'true');
      else campo.removeAttribute('aria-invalid');
    }
    return { tarefa, erros };
  }

  // The page's link for the settings, once they are valid.
  mostraLink() {
    const { tarefa } = validaTarefa(this.entrada());
    const link = $('pacote-link');
    if (!tarefa) {
      link.textContent = 'o link aparece quando a configuracao estiver completa';
      link.removeAttribute('href');
      return;
    }
    const url = new URL(location.href);
    url.search = '';
    url.hash = fragmento(tarefa).slice(1);
    link.href = url.href;
    link.textContent = url.href;
  }

  async monta() {
    const estado = (t) => { $('pacote-estado').textContent = t; };
    const { tarefa, erros } = this.confere();
    if (erros) {
      estado(`Configuracao recusada. ${erros.join(' ')}`);
      $('pacote-form').querySelector('[aria-invalid="true"]')?.focus();
      return;
    }
    const botao = $('pacote-montar');
    botao.disabled = true;
    try {
      estado('Lendo os arquivos do site...');
      const arquivos = await arquivosDoSite(new URL('./', location.href), (i, total) => {
        if (i % 8 === 0) estado(`Lendo os arquivos do site: ${i} de ${total}...`);
      });
      estado('Compactando...');
      await new Promise((r) => setTimeout(r, 0));  // the message shown before the work
      const zip = montaPacote(arquivos, tarefa);
      if (this.url) URL.revokeObjectURL(this.url);
      this.url = URL.createObjectURL(new Blob([zip], { type: 'application/zip' }));
      const baixar = $('pacote-baixar');
      baixar.href = this.url;
      baixar.download = NOME;
      baixar.hidden = false;
      estado(`${NOME} pronto: ${arquivos.size + 2} arquivos, ${Math.round(zip.length / 1024)} KB. `
        + 'Envie-o a plataforma como uma atividade SCORM.');
      baixar.click();
    } catch (e) {
      estado(`O pacote nao foi montado: ${e.message}`);
    } finally {
      botao.disabled = false;
    }
  }

  descarta() {
    esquece(this);
    if (this.url) URL.revokeObjectURL(this.url);
  }
}
