// The Quorvel web remote: pairs once with the code the PC shows, then drives the
// server's JSON API. The state arrives by long-poll: the server holds each
// /api/state request until something changes (or about 25 s pass).
'use strict';

const $ = (id) => document.getElementById(id);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let paired = false;
let watching = false;
let version = -1;
let shown = null;     // the last state from the server
let shownAt = 0;      // when it arrived, to move the position bar meanwhile
let seeking = false;  // the user holds the position bar
let folderStack = [];

class NotPaired extends Error {}

async function api(path, form) {
  const options = { credentials: 'same-origin', cache: 'no-store' };
  if (form) {
    options.method = 'POST';
    // The page's own header: the server refuses a POST without it (cross-site requests).
    options.headers = { 'Content-Type': 'application/x-www-form-urlencoded', 'X-Quorvel-Page': '1' };
    options.body = new URLSearchParams(form).toString();
  }
  const response = await fetch('/api/' + path, options);
  if (response.status === 401) {
    showPairing();
    throw new NotPaired();
  }
  const data = await response.json().catch(() => ({}));
  if (!response.ok) {
    const error = new Error(data.error || response.statusText);
    error.status = response.status;
    error.data = data;
    throw error;
  }
  return data;
}

function report(error) {
  if (error instanceof NotPaired) return;
  $('error').textContent = error ? error.message : '';
}

async function act(action, form) {
  try {
    await api(action, form || {});
    report(null);
  } catch (error) {
    report(error);
  }
}

function clock(seconds) {
  if (!(seconds >= 0)) return '-:--';
  const s = Math.floor(seconds);
  return Math.floor(s / 60) + ':' + String(s % 60).padStart(2, '0');
}

// --- Pairing -----------------------------------------------------------------

function showPairing() {
  paired = false;
  $('remote').hidden = true;
  $('pairing').hidden = false;
  $('code').focus();
}

async function pair(event) {
  event.preventDefault();
  const message = $('pair-message');
  message.textContent = '';
  try {
    await api('pair', { code: $('code').value.trim() });
    $('code').value = '';
    start();
  } catch (error) {
    if (error.status === 429) {
      const why = error.data.error === 'locked out' ? 'Too many wrong codes from this device.'
        : error.message;
      message.textContent = why + ' Try again in ' + error.data.seconds + ' s.';
    } else if (error.data && error.data.expired) {
      message.textContent = error.message;
    } else if (error.status === 403) {
      message.textContent = 'That is not the code the PC shows. Check it and try again.';
    } else {
      message.textContent = error.message;
    }
  }
}

// --- Now playing ---------------------------------------------------------------

function showState(state) {
  const titleChanged = !shown || shown.title !== state.title;
  shown = state;
  shownAt = Date.now();
  $('title').textContent = state.title || 'Nothing playing';
  $('state').textContent = state.state;
  const modes = [state.shuffle ? 'shuffle' : '', state.repeat ? 'repeat' : ''].filter(Boolean);
  $('modes').textContent = modes.length ? ' \u00b7 ' + modes.join(' \u00b7 ') : '';
  $('app').textContent = state.app;
  $('shuffle').checked = state.shuffle;
  $('repeat').checked = state.repeat;
  $('slides').hidden = !state.slides;
  $('position').max = Math.max(state.length, 0);
  $('length').textContent = clock(state.length);
  movePosition();
  if (titleChanged) loadPlaylist();
}

// The bar moves on its own while a track plays; the server wakes us only for a jump.
function movePosition() {
  if (!shown || seeking) return;
  let position = shown.position;
  if (shown.state === 'playing' && position >= 0) {
    position += (Date.now() - shownAt) / 1000;
    if (shown.length > 0) position = Math.min(position, shown.length);
  }
  $('position').value = Math.max(position, 0);
  $('elapsed').textContent = clock(position);
}

async function watch() {
  if (watching) return;
  watching = true;
  while (paired) {
    try {
      const state = await api('state?since=' + version);
      version = state.version;
      showState(state);
    } catch (error) {
      if (error instanceof NotPaired) break;
      report(new Error('The PC does not answer; trying again.'));
      await sleep(3000);
    }
  }
  watching = false;
}

// --- Playlist --------------------------------------------------------------------

async function loadPlaylist() {
  let playlist;
  try {
    playlist = await api('playlist');
  } catch (error) {
    report(error);
    return;
  }
  const list = $('playlist');
  list.textContent = '';
  // An application that tells no titles still tells how many entries there are.
  const titles = playlist.available ? playlist.entries :
    Array.from({ length: Math.min(playlist.length, 1000) }, (_, i) => 'Entry ' + (i + 1));
  titles.forEach((title, index) => {
    const item = document.createElement('li');
    if (index === playlist.current) item.className = 'current';
    const button = document.createElement('button');
    button.className = 'name';
    button.textContent = playlist.available ? (index + 1) + '. ' + title : title;
    button.addEventListener('click', () => act('select', { index: index }).then(loadPlaylist));
    item.appendChild(button);
    list.appendChild(item);
  });
  $('playlist-empty').hidden = titles.length > 0;
}

// --- Library -----------------------------------------------------------------------

async function openFolder(path, name) {
  let listing;
  try {
    listing = await api('list?path=' + encodeURIComponent(path));
  } catch (error) {
    report(error);
    return;
  }
  if (path === '') folderStack = [];
  else if (!folderStack.length || folderStack[folderStack.length - 1].path !== path) {
    folderStack.push({ path: path, name: name });
  }
  $('up').hidden = folderStack.length === 0;
  $('folder').textContent = folderStack.length ? name : 'Folders';
  const list = $('library');
  list.textContent = '';
  listing.entries.forEach((entry) => list.appendChild(libraryItem(entry)));
  report(null);
}

function libraryItem(entry) {
  const item = document.createElement('li');
  const name = document.createElement('button');
  name.className = entry.folder ? 'name folder' : 'name';
  name.textContent = entry.name;
  item.appendChild(name);
  if (entry.folder) {
    name.addEventListener('click', () => openFolder(entry.path, entry.name));
    return item;
  }
  name.title = 'Play';
  name.addEventListener('click', () => act('play-file', { path: entry.path }));
  const enqueue = document.createElement('button');
  enqueue.className = 'small';
  enqueue.textContent = '+';
  enqueue.setAttribute('aria-label', 'Add to playlist: ' + entry.name);
  enqueue.addEventListener('click', () => act('enqueue', { path: entry.path }).then(loadPlaylist));
  const download = document.createElement('a');
  download.href = '/api/download?path=' + encodeURIComponent(entry.path);
  download.setAttribute('download', entry.name);
  download.textContent = '\u2193';
  download.setAttribute('aria-label', 'Download ' + entry.name);
  item.appendChild(enqueue);
  item.appendChild(download);
  return item;
}

function folderUp() {
  folderStack.pop();
  const parent = folderStack.pop();
  if (parent) openFolder(parent.path, parent.name);
  else openFolder('', '');
}

function showTab(library) {
  $('tab-library').classList.toggle('selected', library);
  $('tab-playlist').classList.toggle('selected', !library);
  $('library-panel').hidden = !library;
  $('playlist-panel').hidden = library;
}

// --- Start ---------------------------------------------------------------------------

async function start() {
  try {
    const about = await api('version');
    $('version').textContent = about.version;
    $('shutdown-panel').hidden = !about.shutdown;
    paired = true;
    $('pairing').hidden = true;
    $('remote').hidden = false;
    showState(await api('status'));
    openFolder('', '');
    watch();
  } catch (error) {
    report(error);
  }
}

function volumeText() {
  $('volume-text').textContent = Math.floor($('volume').value * 100 / 255) + '%';
}

function wire() {
  $('pair-form').addEventListener('submit', pair);
  document.querySelectorAll('[data-action]').forEach((button) => {
    button.addEventListener('click', () => act(button.dataset.action));
  });
  const volume = $('volume');
  volume.value = localStorage.getItem('quorvel-volume') || 128;
  volumeText();
  volume.addEventListener('input', volumeText);
  volume.addEventListener('change', () => {
    localStorage.setItem('quorvel-volume', volume.value);
    act('volume', { value: volume.value });
  });
  $('shuffle').addEventListener('change', (e) => act('shuffle', { on: e.target.checked ? 1 : 0 }));
  $('repeat').addEventListener('change', (e) => act('repeat', { on: e.target.checked ? 1 : 0 }));
  const position = $('position');
  position.addEventListener('input', () => {
    seeking = true;
    $('elapsed').textContent = clock(position.value);
  });
  position.addEventListener('change', () => {
    seeking = false;
    act('seek', { seconds: position.value });
  });
  $('clear').addEventListener('click', () => {
    if (confirm('Remove every entry from the playlist?')) act('clear').then(loadPlaylist);
  });
  $('shutdown').addEventListener('click', () => {
    if (confirm('Switch the PC off now? Unsaved work on it may be lost.')) act('shutdown');
  });
  $('up').addEventListener('click', folderUp);
  $('tab-playlist').addEventListener('click', () => showTab(false));
  $('tab-library').addEventListener('click', () => showTab(true));
  setInterval(movePosition, 500);
}

wire();
start();
