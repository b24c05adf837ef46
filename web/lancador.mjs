// Runs a WebAssembly (WASI) build of the program under Node.js, as a native program would run:
// the current directory as ".", the same standard input, output and error, the same exit status.
// Usage: node [--experimental-wasi-unstable-preview1] lancador.mjs program.wasm [arguments...]
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const [programa, ...argumentos] = process.argv.slice(2);
const wasi = new WASI({
  version: 'preview1',
  args: [programa, ...argumentos],
  env: {},
  preopens: { '.': '.' },
  returnOnExit: true,
});
const modulo = await WebAssembly.compile(await readFile(programa));
const instancia = await WebAssembly.instantiate(modulo, wasi.getImportObject());
process.exitCode = wasi.start(instancia);
