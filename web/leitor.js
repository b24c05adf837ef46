// A worker that parses the record's long lines (an n = 1000 matrix is a 15 MB line) away from
// the page's main thread: { id, bytes } in, { id, evento } out (eventos.js's leLinha: its large
// matrices left out). The page makes it when the first long line comes.
import { leLinha } from './eventos.js';

onmessage = ({ data: { id, bytes } }) => postMessage({ id, evento: leLinha(bytes) });
