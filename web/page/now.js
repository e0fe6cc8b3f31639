// The Playing view: what the PC reports, shown as it is pushed; the position bar moves on
// its own meanwhile. Artwork comes over the channel and is drawn on a canvas, which needs
// no image address (the page's policy allows images from its own files only).
import { channel } from './channel.js';
import { $, ask, clock } from './ui.js';

const STATE_TEXT = { playing: 'Playing', paused: 'Paused', stopped: 'Stopped' };
// A picture that did not come (the player busy) is asked for again, a few times.
const ART_TRIES = 3;
const ART_RETRY_MS = 1000;

let shown = null;     // the last state from the PC
let shownAt = 0;      // when it arrived, to move the position bar meanwhile
let moving = true;    // false while the PC cannot be reached: the bar stays
let artKey = null;    // names the picture shown, or null
let onTitle = () => {};
export const held = { seeking: false, sliding: false };  // the user holds a slider
let ownVolume = null;  // what the user set, where the PC tells no volume

// Called with each new title, so that the playlist can follow.
export function followTitle(callback) {
  onTitle = callback;
}

export function setOwnVolume(value) {
  ownVolume = value;
}

export function showState(state) {
  const titleChanged = !shown || shown.title !== state.title;
  shown = state;
  shownAt = Date.now();
  const playing = state.state === 'playing';
  // An app's media session tells the title apart from the artist.
  $('title').textContent = (state.player ? state.track : state.title) || 'Nothing playing';
  $('state').textContent = STATE_TEXT[state.state] || '';
  $('app').textContent = state.app || '';
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
  if (titleChanged) onTitle();
}

function showMedia(state) {
  $('artist').textContent = state.artist || '';
  $('album').textContent = state.album || '';
  $('player').textContent = state.player || '';
  $('art-box').hidden = !state.player;
  showArt(state.art || null);
  showApps(state.apps || [], state.automatic !== false);
}

// The key names one picture for good: the PC is asked again only for a new one.
function showArt(key) {
  if (key === artKey) return;
  artKey = key;
  $('art-box').classList.remove('shown');
  if (key) fetchArt(key, 1);
}

async function fetchArt(key, tries) {
  let bitmap = null;
  try {
    const answer = await channel.request('art', { key: key });
    const bytes = Uint8Array.from(atob(answer.data), (c) => c.charCodeAt(0));
    bitmap = await createImageBitmap(new Blob([bytes], { type: answer.type }));
  } catch (error) {
    if (tries < ART_TRIES) setTimeout(() => artKey === key && fetchArt(key, tries + 1), ART_RETRY_MS);
    return;
  }
  if (artKey !== key) return;
  const canvas = $('art');
  canvas.width = bitmap.width;
  canvas.height = bitmap.height;
  canvas.getContext('2d').drawImage(bitmap, 0, 0);
  bitmap.close();
  $('art-box').classList.add('shown');
}

// With two apps or more the user picks the one this remote controls, or lets the PC's
// current one be it.
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

function appButton(id, name, pressed) {
  const button = document.createElement('button');
  button.textContent = name;
  button.setAttribute('aria-pressed', String(pressed));
  button.addEventListener('click', () => ask('app', { app: id }));
  return button;
}

export function showModes() {
  if (!shown) return;
  $('shuffle').checked = shown.shuffle;
  $('repeat').checked = shown.repeat;
}

export function volumeText(value) {
  const text = value === null ? '' : Math.floor(value * 100 / 255) + '%';
  $('volume-text').textContent = text;
  $('volume').setAttribute('aria-valuetext', text || 'not known');
}

// The PC's volume; where it tells none, the one the user set, or none at all.
function showVolume() {
  if (held.sliding || !shown) return;
  const value = shown.volume >= 0 ? shown.volume : ownVolume;
  $('volume').classList.toggle('unknown', value === null);
  if (value !== null) $('volume').value = value;
  volumeText(value);
}

// The bar moves on its own while a track plays; the PC pushes only a jump.
function positionNow() {
  let position = shown.position;
  if (shown.state === 'playing' && moving && position >= 0) {
    position += (Date.now() - shownAt) / 1000;
    if (shown.length > 0) position = Math.min(position, shown.length);
  }
  return position;
}

export function movePosition() {
  if (!shown || held.seeking) return;
  const position = positionNow();
  $('position').value = Math.max(position, 0);
  $('elapsed').textContent = clock(position);
}

// Without the PC the bar stops where it got to.
export function keepMoving(on) {
  if (on === moving) return;
  if (!on && shown) {
    shown.position = positionNow();
    shownAt = Date.now();
  }
  moving = on;
  movePosition();
}
