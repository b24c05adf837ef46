// The page: the program's console, its two data files, the transcript, the record of the run
// and the panels that read it. Each run is an Execucao (execucao.js); its record becomes one stream
// of events (eventos.js) that every panel of the list below gets (painel.js: the one interface
// the page knows them by). The page draws what came at most once per frame.
import { Analise } from './analise.js';
import { Console } from './terminal.js';
import { PainelConjunto } from './conjunto.js';
import { Conferir } from './conferir.js';
import { Execucao, novoProcesso } from './execucao.js';
import { Exercicio } from './exercicio.js';
import { Grafico } from './grafico.js';
import { PacotePainel } from './pacote-painel.js';
import { Praticar } from './pratica.js';
import { Tarefa } from './tarefa.js';
import { REGISTRO } from './mensagens.js';
import { Espera, Eventos, leLinha, ofereceEscolhas, tabelaCsv } from './eventos.js';
import { Transcricao, concatena } from './transcricao.js';
import { exemplos, primeiroProcesso, programa } from './inicio.js';

// The panels, in the order they get each event.
const PAINEIS = [Grafico, Analise, PainelConjunto, Conferir, Exercicio, Praticar, Tarefa, PacotePainel];

const $ = (id) => document.getElementById(id);
const PROMPT = /(= |Escolha: )$/;
const LEITOR_MAX = 2000;  // characters of the newest output read out at a prompt
const QUADRO_MS = 6;      // of each frame, at most this long on the output received
const EVENTOS_MS = 6;     // and this long on the record's lines
const PROGRESSO_MS = 250; // the line of progress, redrawn at most this often
// While output floods in, what the page shows changes in one frame out of every so many ms, all
// of it together: a browser may take long to paint any change at all (WebKitGTK's software
// painting, 30 to 40 ms a frame whether one word or the whole terminal changed), and frames that
// change nothing cost it next to nothing. The echo of typing, and small output, show at once.
const MOSTRA_MS = 50;

const duracao = (ms) => (ms < 60000 ? `${Math.floor(ms / 1000)} s` : `${Math.floor(ms / 60000)} min ${Math.floor(ms / 1000) % 60} s`);

// The record's long lines, parsed by a worker of their own (leitor.js), made when the first comes.
class Leitor {
  constructor() {
    this.worker = null;
    this.falhou = false;
    this.pedidos = new Map();  // id: { resolve, partes } of each line sent
    this.id = 0;
  }

  // A promise of the line's event: its bytes go over to the worker (they are the stream's own
  // copy); where the worker cannot start or has failed, the line is parsed here from its pieces.
  separa(bytes, partes) {
    if (!this.falhou) {
      try {
        return this.envia(bytes, partes);
      } catch {
        this.falhou = true;
      }
    }
    return Promise.resolve(leLinha(concatena(partes)));
  }

  envia(bytes, partes) {
    if (this.worker === null) {
      this.worker = new Worker('leitor.js', { type: 'module' });
      this.worker.onmessage = ({ data: { id, evento } }) => {
        this.pedidos.get(id)?.resolve(evento);
        this.pedidos.delete(id);
      };
      this.worker.onerror = (e) => {
        e.preventDefault?.();
        this.falhou = true;
        // The lines it had: parsed here, in their place.
        for (const p of this.pedidos.values()) p.resolve(leLinha(concatena(p.partes)));
        this.pedidos.clear();
      };
    }
    const id = ++this.id;
    return new Promise((resolve) => {
      this.pedidos.set(id, { resolve, partes });
      this.worker.postMessage({ id, bytes }, [bytes.buffer]);
    });
  }
}

class Pagina {
  constructor() {
    this.programa = programa;
    this.reserva = primeiroProcesso;
    this.console = new Console($('terminal'), {
      linha: (texto, fim) => this.responde(texto, fim),
      interrompe: () => this.para(),
    });
    this.leitor = new Leitor();
    this.paineis = PAINEIS.map((Tipo) => new Tipo());
    for (const p of this.paineis) p.ativa(this);
    this.transcricao = new Transcricao();
    this.novosEventos();
    this.link = null;         // the exercise's link given by "Copiar link"
    this.anterior = null;     // the transcript of the run before, when it had replies
    this.execucao = null;
    this.inicio = 0;          // when the run started, or its program last got input
    this.decodifica = new TextDecoder('latin1');
    this.recebidos = [];      // output not yet in the transcript
    this.primeiroPrompt = null;
    this.primeiroPedido = true;
    this.pedidos = 0;         // the reads the program waited on, in all runs
    this.status = null;
    this.progresso = 0;       // when the line of progress was last written
    this.mostrado = 0;        // when the page last showed what changed
    this.leitorPendente = false;  // a prompt's output still to be read out once drained
    const quadro = () => {
      this.quadro();
      requestAnimationFrame(quadro);
    };
    requestAnimationFrame(quadro);
  }

  // A new record of this program: its events to the wait line and to the panels that read it.
  novosEventos(registro = 'sislin') {
    this.eventos = new Eventos({ separa: (bytes, partes) => this.leitor.separa(bytes, partes) });
    this.espera = new Espera();
    this.eventos.ouve((e) => this.espera.evento(e));
    for (const p of this.paineis) if (p.registro === registro) this.eventos.ouve((e, tabela) => p.evento(e, tabela));
  }

  arquivos() { return { a7: $('a7').value, b7: $('b7').value }; }

  // A new run on the files in the page, of the program or of `outro` ({ modulo, argumentos });
  // the run before, if any, ends.
  iniciaExecucao(outro = null) {
    this.para(null);
    this.drena();
    if (this.transcricao.respostas > 0) {
      this.anterior = this.transcricao;
      $('baixar-anterior').hidden = false;
    }
    this.transcricao = new Transcricao();
    const registro = outro?.argumentos[0] ?? 'sislin';
    this.novosEventos(registro);
    this.console.limpa();
    this.status = null;
    this.inicio = performance.now();
    const arquivos = { 'a7.txt': $('a7').value, 'b7.txt': $('b7').value };
    for (const p of this.paineis) if (p.registro === registro) p.inicia(arquivos);
    this.aguarda();
    this.estado('Em execucao');
    const execucao = new Execucao(this.reserva, outro?.modulo ?? this.programa, arquivos, {
      saida: (canal, bytes) => this.saida(canal, bytes),
      pede: () => this.pede(),
      fim: (status) => this.termina(status),
      falha: (texto) => this.falha(texto),
    }, outro?.argumentos);
    this.execucao = execucao.ativa ? execucao : null;
    this.reserva = novoProcesso();
  }

  // Output as it comes: to the terminal's queue at once (its echo of the typing comes after
  // it), to the transcript in the frames that follow (see drena); the record to its stream,
  // its lines parsed in the frames that follow.
  saida(canal, bytes) {
    if (canal === REGISTRO) {
      this.eventos.recebe(bytes);
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
    // What came before the prompt goes into the transcript in the frames that follow, then it is
    // read out (a long run may have left a lot of it).
    this.drena(QUADRO_MS);
    this.eventos.processa(EVENTOS_MS);
    this.aguarda();
    this.leitorPendente = true;
    this.leLeitor();
  }

  leLeitor() {
    if (!this.leitorPendente || this.recebidos.length > 0) return;
    this.leitorPendente = false;
    $('leitor').textContent = this.transcricao.desdeResposta(LEITOR_MAX);
  }

  responde(texto, fim) {
    if (this.execucao === null) return;
    this.drena();  // the reply goes after the output before it
    this.leitorPendente = false;
    const bytes = new TextEncoder().encode(texto);
    this.transcricao.resposta(bytes);
    this.inicio = performance.now();
    this.execucao.entrega(bytes, fim);
    this.aguarda();
    this.estado('Em execucao');
  }

  termina(status) {
    this.execucao = null;
    this.aguarda();
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

  // The line beside the reply field: what the program waits for while it waits; while it offers
  // its choices, the panels' notes after it. Its words come from the record's table.
  aguarda() {
    let texto = '';
    if (this.execucao?.esperando) {
      texto = this.espera.texto(this.eventos.tabela);
      if (ofereceEscolhas(this.espera.espera)) {
        for (const p of this.paineis) {
          const nota = p.nota();
          if (nota) texto += ` ${nota}`;
        }
      }
    }
    const linha = $('espera');
    if (linha.textContent !== texto) linha.textContent = texto;
  }

  estado(texto) {
    $('estado').textContent = texto;
    $('progresso').textContent = '';
  }

  // Everything received read and shown now (the tests read the panels so).
  atualiza() {
    this.drena();
    this.eventos.processa();
    for (const p of this.paineis) p.mostra();
    this.aguarda();
  }

  quadro() {
    this.drena(QUADRO_MS);
    this.leLeitor();
    this.eventos.processa(EVENTOS_MS);
    const agora = performance.now();
    if (agora - this.mostrado < MOSTRA_MS && this.console.inundado) return;
    this.mostrado = agora;
    this.console.quadro();
    for (const p of this.paineis) p.mostra();
    this.aguarda();
    const e = this.execucao;
    if (e !== null && !e.esperando && agora - this.inicio > 1000 && agora - this.progresso >= PROGRESSO_MS) {
      this.progresso = agora;
      $('progresso').textContent = `ha ${duracao(agora - this.inicio)}, ${this.transcricao.linhas} linhas`;
    }
  }

  // The record's iteration tables as CSV.
  tabela() { return new Blob([tabelaCsv(this.eventos.texto())], { type: 'text/csv' }); }

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
botao('recomecar', () => pagina.iniciaExecucao(), pagina);
botao('executar', () => pagina.iniciaExecucao(), pagina);
botao('baixar', () => pagina.baixa(pagina.transcricao.blob(), 'transcricao.txt'), pagina);
botao('baixar-anterior', () => pagina.baixa(pagina.anterior.blob(), 'transcricao.txt'), pagina);
botao('baixar-registro', () => pagina.baixa(pagina.eventos.blob(), 'registro.jsonl'), pagina);
botao('baixar-tabela', () => pagina.baixa(pagina.tabela(), 'iteracoes.csv'), pagina);
ligaResposta(pagina);
ligaArquivos(pagina);

if (new URLSearchParams(location.search).has('teste')) {
  // What the page's tests read.
  const erros = [];
  addEventListener('error', (e) => erros.push(e.message));
  addEventListener('unhandledrejection', (e) => erros.push(String(e.reason?.message ?? e.reason)));
  // The files the page offered for download, as { nome, texto }.
  const baixados = [];
  const baixa = pagina.baixa.bind(pagina);
  pagina.baixa = (blob, nome) => {
    blob.text().then((texto) => baixados.push({ nome, texto }));
    baixa(blob, nome);
  };
  globalThis.sislin = {
    erros,
    baixados,
    tela: (n) => pagina.console.ultimasLinhas(n),
    get primeiroPrompt() { return pagina.primeiroPrompt; },
    get status() { return pagina.status; },
    saida: () => {
      pagina.drena();
      return pagina.transcricao.texto();
    },
    anterior: () => pagina.anterior?.texto() ?? null,
    grafico: () => {
      pagina.atualiza();
      return pagina.paineis.find((p) => p instanceof Grafico).k;
    },
    colunas: () => pagina.console.colunas,
    espera: () => {
      pagina.atualiza();
      return [pagina.pedidos, $('espera').textContent];
    },
    registro: () => pagina.eventos.blob().text(),
    tabela: () => pagina.tabela().text(),
    exercicio: () => $('sobre-exercicio').textContent,
    analise: () => $('relatorio').textContent,
    conferencia: () => [...document.querySelectorAll('#conferencia p, #conferencia li')].map((e) => e.textContent),
    conjunto: () => {
      pagina.atualiza();
      return [...document.querySelectorAll('#conjunto table, #conjunto p')].map((t) => (t.tagName === 'P'
        ? [t.textContent] : [t.caption.textContent, ...[...t.tBodies[0].rows].map((r) => [...r.cells].slice(1).map((c) => c.textContent))]));
    },
    get link() { return pagina.link; },
  };
}

exemplos.then(([a7, b7]) => {
  $('a7').value = a7;
  $('b7').value = b7;
}, (e) => {
  pagina.estado(`Erro: os arquivos de exemplo nao carregaram (${e.message}).`);
}).finally(async () => {
  // A panel may open what the address asks (an exercise's link, a system's link); the example
  // runs otherwise, or when the address is refused.
  let aberto = false;
  for (const p of pagina.paineis) aberto = (await p.abreEndereco()) || aberto;
  if (!aberto && pagina.execucao === null && pagina.status === null && !$('estado').textContent) pagina.iniciaExecucao();
  pagina.console.foco();
});
