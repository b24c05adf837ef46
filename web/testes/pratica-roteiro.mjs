// A practice session's record, scripted as sislin-aula pratica writes it, for the unit tests of
// the panel's model (unidades.mjs).
// A practice session of Gauss on a 2 x 2 system, as its record gives it: a wrong multiplier, a
// hint, the right one on the second try, a right step, a wrong b[2] that is undone, the step
// shown, then accepted, the summary and the end.
export const PRATICA = [
  { evento: 'inicio', programa: 'sislin-aula', comando: 'pratica', formato: 1, metodo: 1, rotulo: 'Gauss', n: 2, digitos: 4, codigo: null },
  { evento: 'dados', n: 2, A: [[2, 1], [1, 3]], b: [3, 5.5] },
  { evento: 'estado', passo: 0, A: [[2, 1], [1, 3]], b: [3, 5.5] },
  { evento: 'pergunta', passo: 1, nome: 'm[2][1]', onde: 'm', linha: 2, coluna: 1, formula: 'a[2][1] / a[1][1]' },
  { evento: 'espera', de: 'passo' },
  { evento: 'resposta', passo: 1, texto: '2', valor: 2, esperado: 0.5, programa: 0.5, marca: 'errado', engano: 'multiplicador-invertido',
    explicacao: 'dividiu a[1][1] por a[2][1]', tentativa: 1 },
  { evento: 'dica', passo: 1, texto: 'm[2][1] = a[2][1] / a[1][1] = 1 / 2' },
  { evento: 'resposta', passo: 1, texto: '0,5', valor: 0.5, esperado: 0.5, programa: 0.5, marca: 'certo', engano: null, explicacao: '', tentativa: 2 },
  { evento: 'estado', passo: 1, A: [[2, 1], [1, 3]], b: [3, 5.5], m: [[0, 0], [0.5, 0]] },
  { evento: 'pergunta', passo: 2, nome: 'a[2][2]', onde: 'A', linha: 2, coluna: 2, formula: 'a[2][2] - m[2][1] * a[1][2]' },
  { evento: 'resposta', passo: 2, texto: '2.5', valor: 2.5, esperado: 2.5, programa: 2.5, marca: 'certo', engano: null, explicacao: '', tentativa: 1 },
  { evento: 'estado', passo: 2, A: [[2, 1], [1, 2.5]], b: [3, 5.5], m: [[0, 0], [0.5, 0]] },
  { evento: 'pergunta', passo: 3, nome: 'b[2]', onde: 'b', linha: 2, formula: 'b[2] - m[2][1] * b[1]' },
  { evento: 'rejeitada', de: 'passo', motivo: 'nao e um numero nem um comando' },
  { evento: 'resposta', passo: 3, texto: '5.5', valor: 5.5, esperado: 4, programa: 4, marca: 'errado', engano: 'b-nao-atualizado',
    explicacao: 'b[2] ficou como estava', tentativa: 1 },
  { evento: 'desfaz', passos: 1, volta_a: 2 },
  { evento: 'estado', passo: 1, A: [[2, 1], [1, 3]], b: [3, 5.5], m: [[0, 0], [0.5, 0]] },
  { evento: 'pergunta', passo: 2, nome: 'a[2][2]', onde: 'A', linha: 2, coluna: 2, formula: 'a[2][2] - m[2][1] * a[1][2]' },
];
export const FIM = [
  { evento: 'mostra', passo: 2, valor: 2.5 },
  { evento: 'estado', passo: 2, A: [[2, 1], [1, 2.5]], b: [3, 5.5], m: [[0, 0], [0.5, 0]] },
  { evento: 'pergunta', passo: 3, nome: 'b[2]', onde: 'b', linha: 2, formula: 'b[2] - m[2][1] * b[1]' },
  { evento: 'resposta', passo: 3, texto: '4,1', valor: 4.1, esperado: 4, programa: 4, marca: 'errado', engano: null, explicacao: '', tentativa: 1 },
  { evento: 'aceita', passo: 3, valor: 4.1 },
  { evento: 'estado', passo: 3, A: [[2, 1], [1, 2.5]], b: [3, 4.1], m: [[0, 0], [0.5, 0]] },
  { evento: 'resumo', passos: 3, certos_de_primeira: 0, dicas: 1, mostrados: 1, aceitos: 1, nota: 20 },
  { evento: 'fim', status: 0, causa: 'concluido' },
];
