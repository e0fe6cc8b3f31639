// The Quorvel web remote: pairs once with the key the PC shows, then talks to it over the
// live channel alone (channel.js), which pushes what plays the moment it changes. What the
// page shows is what the PC reports; when the PC cannot be reached, it says so.
import { channel } from './channel.js';
import { folderUp, loadPlaylist, openFolder } from './lists.js';
import { followTitle, held, keepMoving, movePosition, setOwnVolume, showModes, showState,
  volumeText } from './now.js';
import { askWhyUnpaired, forgetPairing, pairWith, showPairing, storedPairing,
  takeKeyFromAddress } from './pairing.js';
import { $, ask, clock, report, showTab } from './ui.js';

// After a shuffle or repeat change the box shows what the player reports by then.
const SETTLE_MS = 1000;
const POSITION_TICK_MS = 500;
const HELLO_RETRY_MS = 1000;
let libraryRead = false;
let openings = 0;

// Without the PC nothing can be done: the banner shows, the controls rest, the bar stops.
function setOnline(on) {
  $('offline').hidden = on;
  $('remote').inert = !on;
  $('remote').classList.toggle('offline', !on);
  if (!on) report(null);
  keepMoving(on);
}

// The page asks for the state once open; the PC pushes every change after it. A busy
// player (503) is asked again while this channel stays open.
async function opened() {
  const opening = ++openings;
  setOnline(true);
  const hello = await ask('hello');
  if (!hello) {
    setTimeout(() => opening === openings && channel.isOpen && opened(), HELLO_RETRY_MS);
    return;
  }
  $('version').textContent = hello.version;
  $('shutdown-panel').hidden = !hello.shutdown;
  $('pairing').hidden = true;
  $('remote').hidden = false;
  showState(hello.state);
  if (!libraryRead) openFolder('', '');
  libraryRead = true;
}

function begin() {
  libraryRead = false;
  channel.start(storedPairing());
}

async function pairAndBegin(key) {
  if (await pairWith(key)) begin();
  else showPairing('');
}

// A key in the address (the QR code's), even while paired: the user asked to pair anew.
function pairFromAddress() {
  const key = takeKeyFromAddress();
  if (key === null) return false;
  channel.stop();
  pairAndBegin(key);
  return true;
}

function wireChannel() {
  channel.addEventListener('open', opened);
  channel.addEventListener('close', () => setOnline(false));
  channel.addEventListener('push', (event) => {
    if (event.detail.push === 'state') showState(event.detail.state);
  });
  channel.addEventListener('unpaired', (event) => {
    forgetPairing();
    setOnline(true);
    showPairing(event.detail);
  });
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible') channel.wake();
  });
  window.addEventListener('focus', () => channel.wake());
  window.addEventListener('hashchange', pairFromAddress);
  followTitle(loadPlaylist);
}

function wireControls() {
  $('pair-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    if (!(await pairWith($('key').value))) return;
    $('key').value = '';
    begin();
  });
  document.querySelectorAll('[data-action]').forEach((button) => {
    button.addEventListener('click', () => ask('action', { name: button.dataset.action }));
  });
  const volume = $('volume');
  volume.addEventListener('input', () => {
    held.sliding = true;
    volume.classList.remove('unknown');
    volumeText(Number(volume.value));
  });
  volume.addEventListener('change', () => {
    held.sliding = false;
    setOwnVolume(Number(volume.value));
    ask('volume', { value: Number(volume.value) });
  });
  ['shuffle', 'repeat'].forEach((id) => {
    $(id).addEventListener('change', (e) => {
      ask(id, { on: e.target.checked ? 1 : 0 }).then(() => setTimeout(showModes, SETTLE_MS));
    });
  });
  const position = $('position');
  position.addEventListener('input', () => {
    held.seeking = true;
    $('elapsed').textContent = clock(position.value);
  });
  position.addEventListener('change', () => {
    held.seeking = false;
    ask('seek', { seconds: Number(position.value) });
  });
  $('clear').addEventListener('click', () => {
    if (confirm('Remove every entry from the playlist?')) ask('action', { name: 'clear' }).then(loadPlaylist);
  });
  $('shutdown').addEventListener('click', () => {
    if (confirm('Switch the PC off now? Unsaved work on it may be lost.')) ask('shutdown');
  });
  $('up').addEventListener('click', folderUp);
  $('tabs').addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button) showTab(button.id.replace(/^tab-/, ''));
  });
  setInterval(movePosition, POSITION_TICK_MS);
}

async function start() {
  // Earlier pages kept a flag and their own volume here; K is kept now.
  localStorage.removeItem('quorvel-paired');
  localStorage.removeItem('quorvel-volume');
  wireChannel();
  wireControls();
  if (pairFromAddress()) return;
  if (storedPairing()) begin();
  else showPairing(await askWhyUnpaired());
}

start();
