// The page's service worker: after one visit every file of the site is in a cache named after
// this build, so the page loads and runs offline, reload included. A new build has a new name;
// its worker fills its own cache, takes over and deletes the old ones.
const VERSAO = 'sislin-@VERSAO@';
// The site's files as the build found them (ferramentas/monta.mjs puts the list here).
const ARQUIVOS = '@ARQUIVOS@';

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(VERSAO).then((c) => c.addAll(ARQUIVOS)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((nomes) => Promise.all(nomes.filter((n) => n.startsWith('sislin-') && n !== VERSAO).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The site's own files from the cache (the page's address with any query as the page), the
// network for anything else and as the fallback.
self.addEventListener('fetch', (e) => {
  const url = new URL(e.request.url);
  if (e.request.method !== 'GET' || url.origin !== location.origin) return;
  const chave = e.request.mode === 'navigate' ? './' : url.pathname;
  e.respondWith(caches.open(VERSAO)
    .then((c) => c.match(chave === './' ? new URL('./', location.href).href : e.request, { ignoreSearch: true }))
    .then((r) => r ?? fetch(e.request)));
});
