// The page: the program's console, its two data files, the transcript, the record of the run
// (what the program waits for, its downloads, the sweeps of the chart of the iterative methods),
// wired together. Each run is an Execucao (execucao.js); the page draws what
// came at most once per frame.
import { Analise } from './analise.js';
import { Console } from './terminal.js';
import { desenhaConjunto } from './trabalho.js';
import { ligaConferir } from './conferir.js';
import { Execucao, novoTrabalhador } from './execucao.js';
import { abreExercicio, abreSistema, codigoDoEndereco, ligaExercicio, sislinAula, sistemaDoEndereco } from './exercicio.js';
import { Grafico } from './grafico.js';
import { REGISTRO } from './mensagens.js';
import { Registro, tabelaCsv } from './registro.js';
import { Transcricao } from './transcricao.js';
import { exemplos, primeiroTrabalhador, programa } from './inicio.js';

const $ = (id) => document.getElementById(id);
const PROMPT = /(= |Escolha: )$/;
const LEITOR_MAX = 2000;  // characters of the newest output read out at a prompt
const QUADRO_MS = 6;      // of each frame, at most this long on the output received

const duracao = (ms) => (ms < 60000 ? `${Math.floor(ms / 1000)} s` : `${Math.floor(ms / 60000)} min ${Math.floor(ms / 1000) % 60} s`);

class Pagina {
  constructor() {
    this.programa = programa;
    this.reserva = primeiroTrabalhador;
    this.console = new Console($('terminal'), {
      linha: (texto, fim) => this.responde(texto, fim),
      interrompe: () => this.para(),
    });
    this.grafico = new Grafico($('grafico'), $('desenho'), $('titulo-grafico'), $('resumo-grafico'));
    this.transcricao = new Transcricao();
    this.registro = new Registro((v) => this.grafico.varredura(v));
    this.analise = new Analise(sislinAula);
    this.link = null;         // the exercise's link given by "Copiar link"
    this.anterior = null;     // the transcript of the run before, when it had replies
    this.execucao = null;
    this.inicio = 0;          // when the run started, or its program last got input
    this.decodifica = new TextDecoder('latin1');
    this.recebidos = [];      // output not yet in the transcript and the chart
    this.primeiroPrompt = null;
    this.primeiroPedido = true;
    this.pedidos = 0;         // the reads the program waited on, in all runs
    this.status = null;
    const quadro = () => {
      this.quadro();
      requestAnimationFrame(quadro);
    };
    requestAnimationFrame(quadro);
  }

  executa() {
    this.para(null);
    this.drena();
    if (this.transcricao.respostas > 0) {
      this.anterior = this.transcricao;
      $('baixar-anterior').hidden = false;
    }
    this.transcricao = new Transcricao();
    this.registro = new Registro((v) => this.grafico.varredura(v));
    this.aguarda('');
    this.console.limpa();
    this.grafico.limpa();
    this.status = null;
    this.inicio = performance.now();
    const arquivos = { 'a7.txt': $('a7').value, 'b7.txt': $('b7').value };
    this.analise.limpa(arquivos);
    this.estado('Em execucao');
    const execucao = new Execucao(this.reserva, this.programa, arquivos, {
      saida: (canal, bytes) => this.saida(canal, bytes),
      pede: () => this.pede(),
      fim: (status) => this.termina(status),
      falha: (texto) => this.falha(texto),
    });
    this.execucao = execucao.ativa ? execucao : null;
    this.reserva = novoTrabalhador();
  }

  // Output as it comes: to the terminal's queue at once (its echo of the typing comes after
  // it), to the transcript in the frames that follow (see drena); the record at once.
  saida(canal, bytes) {
    if (canal === REGISTRO) {
      this.registro.recebe(bytes);
      return;
    }
    this.console.escreve(bytes);
    if (canal === 1) this.recebidos.push(bytes);  // standard error is not part of the transcript
  }

  // The output received into the transcript: all of it, or as much as `ms` allows.
  drena(ms = Infinity) {
    const limite = performance.now() + ms;
    let n = 0;
    while (n < this.recebidos.length && (n === 0 || performance.now() < limite)) {
      const bytes = this.recebidos[n++];
      this.transcricao.saida(bytes);
      // A prompt ends its chunk (the program writes out before each read): its last bytes tell.
      if (this.primeiroPrompt === null && PROMPT.test(this.decodifica.decode(bytes.subarray(-9)))) {
        this.primeiroPrompt = performance.now();
      }
    }
    this.recebidos.splice(0, n);
  }

  pede() {
    this.pedidos++;
    if (this.primeiroPedido) {
      // The site is cached for offline use once the program is up, not while the page loads.
      this.primeiroPedido = false;
      navigator.serviceWorker?.register('sw.js').catch((e) => console.warn(`sem uso offline: ${e.message}`));
    }
    this.estado('Aguardando resposta');
    this.drena();
    this.aguarda(this.registro.aguardando());
    this.conjunto();
    if (this.registro.n !== null) this.analise.analisa(this.registro.n, () => this.aguarda(this.registro.aguardando()));
    $('leitor').textContent = this.transcricao.desdeResposta(LEITOR_MAX);
  }

  responde(texto, fim) {
    if (this.execucao === null) return;
    this.drena();  // the reply goes after the output before it
    const bytes = new TextEncoder().encode(texto);
    this.transcricao.resposta(bytes);
    this.registro.respondido();
    this.aguarda('');
    this.inicio = performance.now();
    this.execucao.entrega(bytes, fim);
    this.estado('Em execucao');
  }

  termina(status) {
    this.execucao = null;
    this.conjunto();
    this.aguarda('');
    this.status = status;
    this.estado(status === 0 ? 'Programa terminado.' : `Programa terminado com status ${status}: houve um erro.`);
  }

  falha(texto) {
    this.execucao = null;
    this.status = -1;
    this.estado(`Erro: ${texto}.`);
  }

  // Stops the run at once; `texto` says so (null: silently, a new run follows).
  para(texto = 'Parado.') {
    if (this.execucao === null) return;
    this.execucao.encerra();
    this.execucao = null;
    if (texto) this.estado(texto);
  }

  // The working set, when its panel is open.
  conjunto() {
    if ($('trabalho-painel').open) desenhaConjunto($('trabalho'), () => this.registro.conjunto(), this.registro.n);
  }

  // The line beside the reply field: what the program waits for.
  aguarda(pede) {
    // At the menu, the analysis's note on the iterations, if any.
    const nota = this.execucao?.esperando && this.registro.espera?.de === 'menu' ? this.analise.nota : '';
    const texto = nota ? `${pede} ${nota}` : pede;
    const linha = $('espera');
    if (linha.textContent !== texto) linha.textContent = texto;
  }

  estado(texto) {
    $('estado').textContent = texto;
    $('progresso').textContent = '';
  }

  quadro() {
    this.drena(QUADRO_MS);
    this.console.quadro();
    this.grafico.quadro();
    const e = this.execucao;
    if (e !== null && !e.esperando && performance.now() - this.inicio > 1000) {
      $('progresso').textContent = `ha ${duracao(performance.now() - this.inicio)}, ` +
        `${this.transcricao.linhas} linhas`;
    }
  }

  // The record's iteration tables as CSV.
  tabela() { return new Blob([tabelaCsv(this.registro.texto())], { type: 'text/csv' }); }

  baixa(blob, nome) {
    const url = URL.createObjectURL(blob);
    const a = document.createElement('a');
    a.href = url;
    a.download = nome;
    a.click();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }
}

// A button's action, then the focus back in the terminal; a failure is said in words.
function botao(id, acao, pagina) {
  $(id).addEventListener('click', () => {
    try {
      acao();
    } catch (e) {
      pagina.estado(`Erro: ${e.message}`);
    }
    pagina.console.foco();
  });
}

function ligaResposta(pagina) {
  const campo = $('linha');
  $('resposta').addEventListener('submit', (evento) => {
    evento.preventDefault();
    pagina.console.teclas(`${campo.value}\r`);
    campo.value = '';
  });
  $('fim-entrada').addEventListener('click', () => {
    pagina.console.teclas(`${campo.value}\x04`);
    campo.value = '';
  });
  $('teclas').addEventListener('click', (evento) => {
    const tecla = evento.target.closest('button');
    if (!tecla) return;
    if (tecla.dataset.acao === 'apaga') campo.value = campo.value.slice(0, -1);
    else if (tecla.dataset.acao === 'envia') $('resposta').requestSubmit();
    else campo.value += tecla.textContent;
  });
}

function ligaArquivos(pagina) {
  let destino = null;
  for (const b of document.querySelectorAll('[data-abre]')) {
    b.addEventListener('click', () => {
      destino = $(b.dataset.abre);
      $('escolhe').value = '';
      $('escolhe').click();
    });
  }
  $('escolhe').addEventListener('change', () => {
    const arquivo = $('escolhe').files[0];
    if (!arquivo || !destino) return;
    arquivo.text().then((t) => { destino.value = t; }, (e) => pagina.estado(`Erro: ${arquivo.name}: ${e.message}`));
  });
}

const pagina = new Pagina();
botao('parar', () => pagina.para(), pagina);
botao('recomecar', () => pagina.executa(), pagina);
botao('executar', () => pagina.executa(), pagina);
botao('baixar', () => pagina.baixa(pagina.transcricao.blob(), 'transcricao.txt'), pagina);
botao('baixar-anterior', () => pagina.baixa(pagina.anterior.blob(), 'transcricao.txt'), pagina);
botao('baixar-registro', () => pagina.baixa(pagina.registro.blob(), 'registro.jsonl'), pagina);
botao('baixar-tabela', () => pagina.baixa(pagina.tabela(), 'iteracoes.csv'), pagina);
ligaResposta(pagina);
ligaArquivos(pagina);
ligaExercicio(pagina);
$('trabalho-painel').addEventListener('toggle', () => pagina.conjunto());
ligaConferir(() => pagina.registro);

if (new URLSearchParams(location.search).has('teste')) {
  // What the page's tests read.
  const erros = [];
  addEventListener('error', (e) => erros.push(e.message));
  addEventListener('unhandledrejection', (e) => erros.push(String(e.reason?.message ?? e.reason)));
  globalThis.sislin = {
    erros,
    tela: (n) => pagina.console.ultimasLinhas(n),
    get primeiroPrompt() { return pagina.primeiroPrompt; },
    get status() { return pagina.status; },
    saida: () => {
      pagina.drena();
      return pagina.transcricao.texto();
    },
    anterior: () => pagina.anterior?.texto() ?? null,
    grafico: () => pagina.grafico.k,
    colunas: () => pagina.console.colunas,
    espera: () => [pagina.pedidos, $('espera').textContent],
    registro: () => pagina.registro.blob().text(),
    tabela: () => pagina.tabela().text(),
    exercicio: () => $('sobre-exercicio').textContent,
    analise: () => $('relatorio').textContent,
    conferencia: () => [...document.querySelectorAll('#conferencia p, #conferencia li')].map((e) => e.textContent),
    conjunto: () => [...document.querySelectorAll('#trabalho table, #trabalho p')].map((t) => (t.tagName === 'P'
      ? [t.textContent] : [t.caption.textContent, ...[...t.tBodies[0].rows].map((r) => [...r.cells].slice(1).map((c) => c.textContent))])),
    get link() { return pagina.link; },
  };
}


exemplos.then(([a7, b7]) => {
  $('a7').value = a7;
  $('b7').value = b7;
}, (e) => {
  pagina.estado(`Erro: os arquivos de exemplo nao carregaram (${e.message}).`);
}).finally(async () => {
  // An exercise's link opens its files, a system's link its own; the example runs otherwise, or
  // when the code is refused.
  const codigo = codigoDoEndereco(location.hash);
  const sistema = sistemaDoEndereco(location.hash);
  if (sistema !== null) abreSistema(pagina, sistema);
  else if (codigo === null || !(await abreExercicio(pagina, [codigo]))) {
    if (pagina.execucao === null && pagina.status === null && !$('estado').textContent) pagina.executa();
  }
  pagina.console.foco();
});
