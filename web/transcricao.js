// The dialogue as a file: the program's output and the replies, in order, each byte held once
// (the chunks as they came, never joined into one string).
const NOVA_LINHA = 10;

export class Transcricao {
  constructor() {
    this.partes = [];
    this.linhas = 0;
    this.respostas = 0;
    this.marca = 0;  // the chunk after the last reply
  }

  saida(bytes) {
    this.partes.push(bytes);
    for (let i = bytes.indexOf(NOVA_LINHA); i >= 0; i = bytes.indexOf(NOVA_LINHA, i + 1)) this.linhas++;
  }

  resposta(bytes) {
    this.saida(bytes);
    this.respostas++;
    this.marca = this.partes.length;
  }

  // The last `max` bytes written since the last reply, as text.
  desdeResposta(max) {
    const partes = [];
    let n = 0;
    for (let i = this.partes.length - 1; i >= this.marca && n < max; i--) {
      partes.unshift(this.partes[i]);
      n += this.partes[i].length;
    }
    const texto = new TextDecoder().decode(concatena(partes));
    return texto.slice(Math.max(0, texto.length - max));
  }

  blob() { return new Blob(this.partes, { type: 'text/plain' }); }

  texto() { return new TextDecoder('latin1').decode(concatena(this.partes)); }
}

// Pieces of bytes as one array.
export function concatena(partes) {
  const tudo = new Uint8Array(partes.reduce((n, p) => n + p.length, 0));
  let k = 0;
  for (const p of partes) {
    tudo.set(p, k);
    k += p.length;
  }
  return tudo;
}
