// The panel "Praticar": a practice session of one method on the page's system, run by
// sislin-aula (pratica METODO N, or pratica METODO CODIGO for the exercise open) in the page's
// console, interactively, as the program runs. The session's record, read by sessao.js, draws
// the panel. The panel's replies and commands go through the console as typed there; what is
// typed in the terminal counts the same.
import { moduloAula } from './aula.js';
import { exercicioAberto } from './exercicio.js';
import { $, Painel, esquece, ouve } from './painel.js';
import { MAX_N, METODOS, PALAVRA, Sessao, dimensao, rotulos } from './sessao.js';

const COMANDOS = '[data-comando]';

// The panel. Its session is the page's run while that run lasts; another run (the program's)
// leaves the session drawn and its controls disabled.
export class Praticar extends Painel {
  get registro() { return 'sislin-aula'; }

  ativa(pagina) {
    this.pagina = pagina;
    this.sessao = new Sessao();
    this.execucao = null;   // the page's run of this session
    this.vista = this.sessao.versao;  // the session's version drawn (the page's markup: none yet)
    this.tabela = null;     // the program's table the labels came from
    this.ligado = null;     // whether the controls are enabled
    this.preenche(null);
    ouve(this, $('pratica-inicio'), 'submit', (evento) => {
      evento.preventDefault();
      this.comeca();
    });
    ouve(this, $('pratica-resposta'), 'submit', (evento) => {
      evento.preventDefault();
      const campo = $('pratica-valor');
      if (campo.value.trim() === '' || !this.emCurso) return;
      this.envia(campo.value.trim());
      campo.value = '';
    });
    ouve(this, $('pratica-comandos'), 'click', (evento) => {
      const b = evento.target.closest(COMANDOS);
      if (b) this.envia(b.dataset.comando);
    });
    ouve(this, $('pratica-teclas'), 'click', (evento) => {
      const tecla = evento.target.closest('button');
      if (!tecla || !this.emCurso) return;
      const campo = $('pratica-valor');
      if (tecla.dataset.acao === 'apaga') campo.value = campo.value.slice(0, -1);
      else campo.value += tecla.textContent;
    });
    this.liga(false);
  }

  // The methods' list, with the program's labels when its record gave them.
  preenche(tabela) {
    const lista = $('pratica-metodo');
    const antes = lista.value;
    const nomes = rotulos(tabela);
    lista.replaceChildren(...METODOS.map(([metodo], i) => new Option(`${i + 1}. ${nomes[i]}`, metodo)));
    if (antes) lista.value = antes;
  }

  // A session of the method chosen: on the exercise open, else on the page's files at their n.
  comeca() {
    const metodo = $('pratica-metodo').value;
    const digitos = $('pratica-digitos').value;
    const codigo = exercicioAberto();
    const n = dimensao(this.pagina.arquivos().b7);
    if (codigo === null && (n < 1 || n > MAX_N)) {
      $('pratica-sobre').textContent = n < 1 ? 'b7.txt esta vazio: nada para praticar.'
        : `A pratica vai ate n = ${MAX_N}; este sistema tem n = ${n}.`;
      return;
    }
    const argumentos = ['sislin-aula', 'pratica', metodo, codigo ?? String(n), ...(digitos ? ['--digitos', digitos] : [])];
    this.comecaCom(argumentos, `Pratica de ${$('pratica-metodo').selectedOptions[0].textContent.replace(/^\d+\. /, '')}` +
      ` ${codigo ? `no exercicio ${codigo}` : `no sistema da pagina (n = ${n})`}.`);
  }

  // A session of sislin-aula with these arguments, said so in the panel (the assignment's, tarefa.js, too).
  comecaCom(argumentos, sobre) {
    $('pratica-sobre').textContent = sobre;
    this.pagina.iniciaExecucao({ modulo: moduloAula(), argumentos });
    this.execucao = this.pagina.execucao;
    this.mostra();
    $('pratica-valor').focus({ preventScroll: true });
    $('pratica-passo').scrollIntoView({ block: 'nearest' });
  }

  inicia() {
    this.sessao = new Sessao();
    this.execucao = null;
  }

  evento(e) { this.sessao.evento(e); }

  // A reply or a command to the session, as a line typed in the console.
  envia(texto) {
    if (!this.emCurso) return;
    this.pagina.console.teclas(`${texto}\r`);
    $('pratica-valor').focus();
  }

  get emCurso() { return this.execucao !== null && this.pagina.execucao === this.execucao; }

  // The step's controls on or off; off, the focus they had goes to "Comecar" (another session).
  liga(sim) {
    if (this.ligado === sim) return;
    this.ligado = sim;
    const tinha = $('pratica-passo').contains(document.activeElement);
    for (const c of [$('pratica-valor'), ...document.querySelectorAll('#pratica-resposta button, #pratica-teclas button, #pratica-comandos button')]) {
      c.disabled = !sim;
    }
    if (!sim && tinha) $('pratica-comecar').focus();
  }

  mostra() {
    const tabela = this.pagina.eventos.tabela;
    if (tabela !== this.tabela && tabela?.programa === 'sislin') {
      this.tabela = tabela;
      this.preenche(tabela);
    }
    const s = this.sessao;
    // The run of this session over, its record read: a session that did not reach its end
    // ("Parar", another run), or that never began (sislin-aula refused it: a method not
    // practiced yet, files it cannot read; its words are in the terminal), is said once.
    if (this.execucao !== null && !this.emCurso && this.pagina.eventos.fila.length === 0) {
      this.execucao = null;
      if (s.inicio === null) $('pratica-sobre').textContent = 'A pratica nao comecou: o sislin-aula recusou (o motivo esta no terminal).';
      else if (s.fim === null) $('pratica-sobre').textContent += ' Interrompida antes do fim.';
    }
    this.liga(this.emCurso);
    if (s.versao === this.vista) return;
    this.vista = s.versao;
    this.desenha(s);
  }

  desenha(s) {
    $('pratica-pergunta').textContent = s.pergunta ? s.textoDaPergunta : 'Resposta';
    $('pratica-marca').textContent = s.aviso;
    $('pratica-marca').className = s.historico.at(-1)?.classe ?? '';
    $('pratica-placar').textContent = s.inicio === null ? '' : s.placar;
    $('pratica-grade').replaceChildren(...s.grades().map(tabelaDa));
    // The student working in the step sees it whole: its field, its mark, its keys and commands.
    const passo = $('pratica-passo');
    if (this.emCurso && passo.contains(document.activeElement)) passo.scrollIntoView({ block: 'nearest' });
    const lista = $('pratica-historico');
    // Only what is new goes in; a new session starts the list again.
    if (lista.childElementCount > s.historico.length) lista.replaceChildren();
    for (const h of s.historico.slice(lista.childElementCount)) {
      const li = document.createElement('li');
      li.className = h.classe;
      li.textContent = h.texto;
      lista.append(li);
    }
  }

  descarta() { esquece(this); }
}

const elemento = (tag, texto = '', classe = '') => {
  const e = document.createElement(tag);
  if (texto) e.textContent = texto;
  if (classe) e.className = classe;
  return e;
};
const SIMBOLO = { certo: '\u2713', errado: '\u2717', mostrado: '\u2190', aceito: '\u2192' };

// One grid as a table: each cell read out with its place, its value, its mark and whether it is
// asked next.
function tabelaDa(g) {
  const t = elemento('table');
  t.createCaption().textContent = g.nome;
  const cabeca = t.createTHead().insertRow();
  cabeca.append(elemento('td'));
  for (const c of g.colunas) {
    const th = elemento('th', c);
    th.scope = 'col';
    cabeca.append(th);
  }
  const corpo = t.createTBody();
  for (const [i, linha] of g.linhas.entries()) {
    const tr = corpo.insertRow();
    const th = elemento('th', linha[0].linha === undefined ? g.nome : String(i + 1));
    th.scope = 'row';
    tr.append(th);
    for (const c of linha) {
      const td = elemento('td');
      td.dataset.celula = c.rotulo;
      td.append(elemento('span', `${c.rotulo}: `, 'oculto'), c.proxima && c.valor === '' ? '?' : c.valor);
      if (c.marca) {
        td.classList.add(c.marca.marca);
        const s = elemento('span', SIMBOLO[c.marca.marca], 'simbolo');
        s.setAttribute('aria-hidden', 'true');
        td.append(s, elemento('span', `, ${PALAVRA[c.marca.marca]} (${c.marca.valor})${c.marca.explicacao ? `: ${c.marca.explicacao}` : ''}`, 'oculto'));
        if (c.marca.explicacao) td.title = c.marca.explicacao;
      }
      if (c.proxima) {
        td.classList.add('proxima');
        td.append(elemento('span', ', pedida agora', 'oculto'));
      }
      if (c.candidata) {
        td.classList.add('candidata');
        td.append(elemento('span', ', candidata a pivo', 'oculto'));
      }
      tr.append(td);
    }
  }
  return t;
}
