// The native sislin-aula (make program), which the page's tests compare the page with.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const AULA = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'build', 'aula', 'sislin-aula');

// sislin-aula run in `pasta` (else in a fresh folder, removed after), its status 0: its output,
// and its record (SISLIN_REGISTRO, when `registro`) as events.
export function aula(argumentos, { entrada = '', pasta = null, registro = false } = {}) {
  const dir = pasta ?? mkdtempSync(join(tmpdir(), 'sislin-aula-'));
  try {
    const r = spawnSync(AULA, argumentos, { cwd: dir, input: entrada, env: { ...process.env, ...(registro && { SISLIN_REGISTRO: 'registro.jsonl' }) } });
    assert.equal(r.status, 0, r.stderr.toString());
    const eventos = registro ? readFileSync(join(dir, 'registro.jsonl'), 'utf8').split('\n').filter(Boolean).map((l) => JSON.parse(l)) : [];
    return { saida: r.stdout.toString(), registro: eventos };
  } finally {
    if (pasta === null) rmSync(dir, { recursive: true });
  }
}

// The code `sislin-aula turma CHAVE TIPO N --aluno ID` gives a student.
export const codigoNativo = (t, id) => JSON.parse(aula(['turma', t.chave, t.tipo, String(t.n), '--aluno', id, '--json']).saida).codigo;
