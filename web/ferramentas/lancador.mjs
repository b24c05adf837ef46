// Runs a WebAssembly (WASI) build of the program under Node.js, as a native program would run:
// the current directory as ".", the same standard input, output and error, the same exit status.
// Usage: node [--experimental-wasi-unstable-preview1] lancador.mjs program.wasm [arguments...]
import { openSync, readFileSync, statSync, fstatSync } from 'node:fs';
import { WASI } from 'node:wasi';

// Node.js gives a standard stream that was closed /dev/null, opened for reading and writing,
// before this script runs; the program must find it closed, as natively. A descriptor open for
// reading only stands in for it: every write fails.
function descritor(fd) {
  try {
    const nulo = statSync('/dev/null').rdev;
    const modo = /flags:\s*([0-7]+)/.exec(readFileSync(`/proc/self/fdinfo/${fd}`, 'utf8'));
    if (fstatSync(fd).rdev === nulo && modo && (parseInt(modo[1], 8) & 3) === 2) {
      return openSync('/dev/null', 'r');
    }
  } catch {
    // not Linux: the stream as it is
  }
  return fd;
}

const [programa, ...argumentos] = process.argv.slice(2);
const wasi = new WASI({
  version: 'preview1',
  args: [programa, ...argumentos],
  env: process.env,  // SISLIN_ISA and SISLIN_ISA_DEBUG among them
  preopens: { '.': '.' },
  stdout: descritor(1),
  stderr: descritor(2),
  returnOnExit: true,
});
const modulo = await WebAssembly.compile(readFileSync(programa));
const instancia = await WebAssembly.instantiate(modulo, { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instancia);
