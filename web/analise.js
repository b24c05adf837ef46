// The panel "Analise do sistema": what sislin-aula reports of the run's files (dominance per row,
// the spectral radii and their verdicts, the condition and the digits to trust), made once the
// program has accepted n, and the note the wait line gives at the menu when an iteration cannot
// converge from every start on this system.
const $ = (id) => document.getElementById(id);

// The note for the menu from a report: which of choices 9 and 10 does not converge from every start.
export function notaDivergencia(relatorio) {
  const nao = [['Jacobi', 9], ['Gauss-Seidel', 10]]
    .filter(([nome]) => new RegExp(`^${nome}: .*nao converge`, 'm').test(relatorio))
    .map(([nome, opcao]) => `${opcao} (${nome})`);
  if (nao.length === 0) return '';
  return `Nota: neste sistema ${nao.join(' e ')} ${nao.length > 1 ? 'nao convergem' : 'nao converge'} a partir de todo inicio.`;
}

export class Analise {
  // aula(argumentos, arquivos): runs sislin-aula (exercicio.js's sislinAula)
  constructor(aula) {
    this.aula = aula;
    this.vez = 0;        // the run the panel is for; a late report of another is dropped
    this.nota = '';
  }

  // A new run on these files: the panel waits for its n.
  limpa(arquivos) {
    this.vez++;
    this.arquivos = arquivos;
    this.pedida = false;
    this.nota = '';
    $('relatorio').textContent = 'A analise aparece quando o programa aceitar a dimensao n.';
  }

  // The program accepted n: the report of the run's files; `depois` once it is in the panel.
  analisa(n, depois) {
    if (this.pedida) return;
    this.pedida = true;
    const vez = this.vez;
    $('relatorio').textContent = 'Analisando...';
    this.aula(['analise', String(n)], this.arquivos).then((r) => {
      if (vez !== this.vez) return;
      $('relatorio').textContent = r.status === 0 ? r.saida : r.erro.replace(/^sislin-aula: /, '');
      this.nota = r.status === 0 ? notaDivergencia(r.saida) : '';
      depois();
    }, (e) => {
      if (vez === this.vez) $('relatorio').textContent = `Erro: ${e.message}.`;
    });
  }
}
