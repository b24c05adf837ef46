// The panel "Analise do sistema": what sislin-aula reports of the run's files (dominance per row,
// the spectral radii and their verdicts, the condition and the digits to trust), asked once the
// program has read the data, and the note the wait line gives while the program offers its
// choices when an iteration cannot converge from every start on this system. The report is
// sislin-aula's JSON object: its `texto` shown, its `iteracoes` mapped to the choices through the
// record's table (`escolhas[].metodo`).
import { recusa, sislinAula } from './aula.js';
import { escolhaDoMetodo, nomeDoMetodo } from './eventos.js';
import { $, Painel } from './painel.js';

// The note from the analysis's iterations: each that does not converge from every start, by its
// choice in the record's table when there is one.
export function notaDivergencia(iteracoes, tabela) {
  const nao = (Array.isArray(iteracoes) ? iteracoes : []).filter((it) => it?.converge === false).map((it) => {
    const opcao = escolhaDoMetodo(tabela, it.metodo)?.opcao;
    return opcao === undefined ? nomeDoMetodo(it.metodo) : `${opcao} (${nomeDoMetodo(it.metodo)})`;
  });
  if (nao.length === 0) return '';
  return `Nota: neste sistema ${nao.join(' e ')} ${nao.length > 1 ? 'nao convergem' : 'nao converge'} a partir de todo inicio.`;
}

export class Analise extends Painel {
  ativa() {
    this.relatorio = $('relatorio');
    this.vez = 0;  // the run the panel is for; a late report of another is dropped
    this.inicia({});
  }

  // A new run on these files: the panel waits for its data.
  inicia(arquivos) {
    this.vez++;
    this.arquivos = arquivos;
    this.pedida = false;
    this.iteracoes = null;
    this.tabela = null;
    this.relatorio.textContent = 'A analise aparece quando o programa aceitar a dimensao n.';
  }

  // The data read: the report of the run's files at this n.
  evento(e, tabela) {
    this.tabela = tabela;
    if (e.evento !== 'dados' || this.pedida || !Number.isInteger(e.n)) return;
    this.pedida = true;
    const vez = this.vez;
    this.relatorio.textContent = 'Analisando...';
    sislinAula(['analise', String(e.n)], this.arquivos).then((r) => {
      if (vez !== this.vez) return;
      const ok = r.status === 0 && typeof r.objeto?.texto === 'string';
      this.relatorio.textContent = ok ? r.objeto.texto : recusa(r);
      this.iteracoes = ok ? r.objeto.iteracoes : null;
    }, (erro) => {
      if (vez === this.vez) this.relatorio.textContent = `Erro: ${erro.message}.`;
    });
  }

  nota() { return notaDivergencia(this.iteracoes, this.tabela); }
}
