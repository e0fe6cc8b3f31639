// The Quorvel web remote: pairs once with the code the PC shows, then drives the
// server's JSON API. The state arrives by long-poll: the server holds each
// /api/state request until something changes (or about 25 s pass). What the
// page shows is what the PC reports; when the PC cannot be reached, it says so.
'use strict';

const $ = (id) => document.getElementById(id);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The server answers a long-poll within 25 s: no answer for longer, the PC is gone.
const POLL_LIMIT_MS = 35000;
const ACTION_LIMIT_MS = 60000;
// How often a lost PC is tried, and so how soon the page sees it back.
const RETRY_MS = 1000;
const ERROR_SHOWN_MS = 8000;
// After a shuffle or repeat change the box shows what the player reports by then.
const SETTLE_MS = 1000;
const PAIRED_KEY = 'quorvel-paired';
// A picture that did not come (the PC busy with the page's other requests) is
// asked for again, a few times.
const ART_TRIES = 3;

const STATUS_TEXT = {
  400: 'The PC could not read that request.',
  403: 'The PC did not allow that.',
  404: 'The PC does not know that request. Reload the page.',
  413: 'That is too long for the PC.',
  429: 'Too many tries. Wait a moment, then try again.',
  503: 'The PC is busy with other browsers. Try again in a moment.',
};
// Reasons the server gives that the page shows as they are, rather than the status's text.
const SHOWN_REASONS = ['The player is not answering'];
const UNPAIRED_TEXT = {
  removed: 'This browser was removed on the PC.',
  unknown: 'The PC does not know this browser any more.',
  lost: 'This browser has lost its pairing: its cookies were cleared.',
};
const STATE_TEXT = { playing: 'Playing', paused: 'Paused', stopped: 'Stopped' };

let paired = false;
let watching = false;
let online = true;
let version = -1;
let shown = null;     // the last state from the server
let shownAt = 0;      // when it arrived, to move the position bar meanwhile
let seeking = false;  // the user holds the position bar
let sliding = false;  // the user holds the volume
let ownVolume = null; // what the user set, where the PC tells no volume
let poll = null;      // aborts the long-poll
let errorTimer = 0;
let lockTimer = 0;
let folderStack = [];
let artKey = null;    // names the picture shown, or null
let artTries = 0;

class NotPaired extends Error {}
// No answer at all: the network or the PC is gone.
class Unreachable extends Error {}

async function api(path, form, abort, limitMs) {
  abort = abort || new AbortController();
  const options = { credentials: 'same-origin', cache: 'no-store', signal: abort.signal };
  if (form) {
    options.method = 'POST';
    // The page's own header: the server refuses a POST without it (cross-site requests).
    options.headers = { 'Content-Type': 'application/x-www-form-urlencoded', 'X-Quorvel-Page': '1' };
    options.body = new URLSearchParams(form).toString();
  }
  const timer = setTimeout(() => abort.abort(), limitMs || ACTION_LIMIT_MS);
  let response;
  let text;
  try {
    response = await fetch('/api/' + path, options);
    text = await response.text();
  } catch (error) {
    throw new Unreachable();
  } finally {
    clearTimeout(timer);
  }
  let data = {};
  try {
    data = JSON.parse(text);
  } catch (error) {
    // Answers before the routes (busy, malformed) are plain text: the status tells.
  }
  setOnline(true);
  if (response.status === 401) {
    showPairing(data.reason);
    throw new NotPaired();
  }
  if (!response.ok) {
    const error = new Error(SHOWN_REASONS.includes(data.error) ? data.error + '.'
      : STATUS_TEXT[response.status] || 'The PC could not do that (error ' + response.status + ').');
    error.status = response.status;
    error.data = data;
    throw error;
  }
  return data;
}

function report(error) {
  if (error instanceof NotPaired) return;
  if (error instanceof Unreachable) {
    setOnline(false);
    return;
  }
  clearTimeout(errorTimer);
  $('error').textContent = error ? error.message : '';
  if (error) errorTimer = setTimeout(() => report(null), ERROR_SHOWN_MS);
}

// Without the PC nothing can be done: the controls rest and the bar stops.
function setOnline(on) {
  if (online === on) return;
  // The bar stays where it got to.
  if (!on && shown) {
    shown.position = positionNow();
    shownAt = Date.now();
  }
  online = on;
  $('offline').hidden = on;
  $('remote').inert = !on;
  $('remote').classList.toggle('offline', !on);
  if (!on) {
    report(null);
    // A long-poll on a connection that is gone may never end: it starts again.
    if (poll) poll.abort();
  }
  movePosition();
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

function showPairing(reason) {
  const wasPaired = paired || localStorage.getItem(PAIRED_KEY) === '1';
  paired = false;
  localStorage.removeItem(PAIRED_KEY);
  // A browser that had no cookie to send has lost it, if it was paired.
  $('pair-reason').textContent = UNPAIRED_TEXT[reason] ||
    (reason === 'none' && wasPaired ? UNPAIRED_TEXT.lost : '');
  $('remote').hidden = true;
  $('app').textContent = '';
  $('pairing').hidden = false;
  $('code').focus();
}

// The lockout's seconds, counted down on the page.
function countDown(why, seconds) {
  clearInterval(lockTimer);
  const until = Date.now() + seconds * 1000;
  const tick = () => {
    const left = Math.ceil((until - Date.now()) / 1000);
    $('pair-button').disabled = left > 0;
    $('pair-message').textContent = left > 0 ? why + ' Try again in ' + left + ' s.'
      : 'You can try again now.';
    if (left <= 0) clearInterval(lockTimer);
  };
  tick();
  lockTimer = setInterval(tick, 1000);
}

async function pair(event) {
  event.preventDefault();
  const message = $('pair-message');
  message.textContent = '';
  try {
    await api('pair', { code: $('code').value.trim() });
    $('code').value = '';
    $('pair-reason').textContent = '';
    start();
  } catch (error) {
    if (error instanceof Unreachable) {
      message.textContent = "Can't reach the PC. Is this phone on the PC's network?";
    } else if (error.status === 429) {
      countDown(error.data.error === 'locked out' ? 'Too many wrong codes from this device.'
        : error.data.error || STATUS_TEXT[429], error.data.seconds || 60);
    } else if (error.data && error.data.expired) {
      message.textContent = error.data.error;
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
  const playing = state.state === 'playing';
  // An app's media session tells the title apart from the artist.
  $('title').textContent = (state.player ? state.track : state.title) || 'Nothing playing';
  $('state').textContent = STATE_TEXT[state.state] || '';
  $('app').textContent = state.app;
  showMedia(state);
  // One button that shows what plays: it pauses while playing, plays otherwise.
  const button = $('play-pause');
  button.dataset.action = playing ? 'pause' : 'play';
  button.setAttribute('aria-label', playing ? 'Pause' : 'Play');
  button.classList.toggle('playing', playing);
  showModes();
  showVolume();
  $('slides').hidden = !state.slides;
  $('position').max = Math.max(state.length, 0);
  $('length').textContent = clock(state.length);
  movePosition();
  if (titleChanged) loadPlaylist();
}

// Older servers tell none of this: the page is then as it was.
function showMedia(state) {
  $('artist').textContent = state.artist || '';
  $('album').textContent = state.album || '';
  $('player').textContent = state.player || '';
  $('art-box').hidden = !state.player;
  showArt(state.art || null);
  showApps(state.apps || [], state.automatic !== false);
}

// The key names one picture for good: the browser keeps it, and the server is
// asked again only for a new one.
function showArt(key) {
  if (key === artKey) return;
  artKey = key;
  artTries = 1;
  $('art-box').classList.remove('shown');
  if (key) $('art').src = '/api/art?v=' + encodeURIComponent(key);
  else $('art').removeAttribute('src');
}

// With two apps or more the user picks the one this remote controls, or lets
// the PC's current one be it.
function showApps(apps, automatic) {
  $('apps-card').hidden = apps.length < 2;
  const group = $('apps');
  const shownApps = JSON.stringify([apps, automatic]);
  if (group.dataset.shown === shownApps) return;
  group.dataset.shown = shownApps;
  group.textContent = '';
  group.appendChild(appButton('', 'Automatic', automatic));
  apps.forEach((app) => group.appendChild(appButton(app.id, app.name, app.driven)));
}

function retryArt() {
  const key = artKey;
  if (!key || artTries >= ART_TRIES) return;
  artTries++;
  setTimeout(() => {
    if (artKey === key) $('art').src = '/api/art?v=' + encodeURIComponent(key);
  }, RETRY_MS);
}

function appButton(id, name, pressed) {
  const button = document.createElement('button');
  button.textContent = name;
  button.setAttribute('aria-pressed', String(pressed));
  button.addEventListener('click', () => act('app', { id: id }));
  return button;
}

function showModes() {
  if (!shown) return;
  $('shuffle').checked = shown.shuffle;
  $('repeat').checked = shown.repeat;
}

function volumeText(value) {
  const text = value === null ? '' : Math.floor(value * 100 / 255) + '%';
  $('volume-text').textContent = text;
  $('volume').setAttribute('aria-valuetext', text || 'not known');
}

// The PC's volume; where it tells none, the one the user set, or none at all.
function showVolume() {
  if (sliding || !shown) return;
  const value = shown.volume >= 0 ? shown.volume : ownVolume;
  $('volume').classList.toggle('unknown', value === null);
  if (value !== null) $('volume').value = value;
  volumeText(value);
}

// The bar moves on its own while a track plays; the server wakes us only for a jump.
function positionNow() {
  let position = shown.position;
  if (shown.state === 'playing' && online && position >= 0) {
    position += (Date.now() - shownAt) / 1000;
    if (shown.length > 0) position = Math.min(position, shown.length);
  }
  return position;
}

function movePosition() {
  if (!shown || seeking) return;
  const position = positionNow();
  $('position').value = Math.max(position, 0);
  $('elapsed').textContent = clock(position);
}

async function watch() {
  if (watching) return;
  watching = true;
  while (paired) {
    poll = new AbortController();
    try {
      const state = await api('state?since=' + version, null, poll, POLL_LIMIT_MS);
      version = state.version;
      showState(state);
    } catch (error) {
      if (error instanceof NotPaired) break;
      report(error);
      // Without a version the PC answers at once, so the page sees it back at once.
      version = -1;
      await sleep(error instanceof Unreachable ? RETRY_MS : 3000);
    }
  }
  poll = null;
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

function showTab(tab) {
  $('remote').dataset.tab = tab;
  ['now', 'playlist', 'library'].forEach((name) => {
    $('tab-' + name).setAttribute('aria-pressed', String(name === tab));
  });
}

// --- Start ---------------------------------------------------------------------------

async function start() {
  for (;;) {
    try {
      const about = await api('version');
      $('version').textContent = about.version;
      $('shutdown-panel').hidden = !about.shutdown;
      paired = true;
      localStorage.setItem(PAIRED_KEY, '1');
      $('pairing').hidden = true;
      $('remote').hidden = false;
      showState(await api('status'));
      openFolder('', '');
      watch();
      return;
    } catch (error) {
      report(error);
      if (!(error instanceof Unreachable)) return;
      await sleep(RETRY_MS);
    }
  }
}

function wire() {
  // Earlier pages kept their own volume here; the PC's is shown now.
  localStorage.removeItem('quorvel-volume');
  $('pair-form').addEventListener('submit', pair);
  document.querySelectorAll('[data-action]').forEach((button) => {
    button.addEventListener('click', () => act(button.dataset.action));
  });
  const volume = $('volume');
  volume.addEventListener('input', () => {
    sliding = true;
    volume.classList.remove('unknown');
    volumeText(Number(volume.value));
  });
  volume.addEventListener('change', () => {
    sliding = false;
    ownVolume = Number(volume.value);
    act('volume', { value: volume.value });
  });
  ['shuffle', 'repeat'].forEach((id) => {
    $(id).addEventListener('change', (e) => {
      act(id, { on: e.target.checked ? 1 : 0 }).then(() => setTimeout(showModes, SETTLE_MS));
    });
  });
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
  $('art').addEventListener('load', () => $('art-box').classList.add('shown'));
  $('art').addEventListener('error', retryArt);
  ['now', 'playlist', 'library'].forEach((tab) => {
    $('tab-' + tab).addEventListener('click', () => showTab(tab));
  });
  setInterval(movePosition, 500);
}

wire();
start();
