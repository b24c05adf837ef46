// The one interface every panel of the page implements, as xterm.js's addons do (activate,
// dispose): the page (pagina.js) holds a list of panels and calls each the same way, knowing none
// by name. A new panel is a module that extends Painel, its markup in index.html and one entry in
// pagina.js's list.
//
//   ativa(pagina)       once, when the page starts: take the panel's elements, listen to its
//                       controls. `pagina` offers: iniciaExecucao() (a new run on the files in
//                       the page; iniciaExecucao({ modulo, argumentos }): of another program),
//                       estado(texto), link (the last link given), arquivos() ({ a7, b7 }),
//                       execucao (the run now, null when none), console.teclas(texto) (typed
//                       in the terminal), eventos (the run's record: its tabela, the `inicio`
//                       event; its fila, the lines not read yet).
//   inicia(arquivos)    a run begins on these files ({ 'a7.txt': texto, 'b7.txt': texto }):
//                       forget the run before.
//   evento(e, tabela)   one event of the run's record, in the record's order, each line parsed
//                       once (eventos.js). tabela: the record's `inicio` event (its `escolhas`,
//                       `formas`, `esperas`), null for a record without one. Keep it cheap: a
//                       long run sends a million sweeps.
//   mostra()            once per frame: draw what changed since, if the panel is in view.
//   nota()              the panel's note for the line beside the reply field while the program
//                       offers its choices ('' for none).
//   abreEndereco()      the page has loaded: open what its address asks, if the panel can;
//                       resolves to true when that started a run.
//   descarta()          stop listening; the panel is not used any more.
//   registro            the program whose runs the panel reads ('sislin'; the practice panel,
//                       'sislin-aula'): a run of another program neither starts nor feeds it.
export class Painel {
  get registro() { return 'sislin'; }
  ativa() {}
  inicia() {}
  evento() {}
  mostra() {}
  nota() { return ''; }
  abreEndereco() { return Promise.resolve(false); }
  descarta() {}
}

// A listener the panel removes when it is discarded.
export function ouve(painel, alvo, tipo, f) {
  alvo.addEventListener(tipo, f);
  (painel.ouvidos ??= []).push(() => alvo.removeEventListener(tipo, f));
}

export function esquece(painel) {
  for (const tira of painel.ouvidos ?? []) tira();
  painel.ouvidos = [];
}

export const $ = (id) => document.getElementById(id);
