// The Playlist and Library views: the playlist read again when the title changes or the
// user changed it; the library browsed one folder at a time as the phones' DLST walks it.
import { $, ask } from './ui.js';

// An application that tells no titles still tells how many entries there are.
const MAX_UNNAMED = 1000;
let folderStack = [];

export async function loadPlaylist() {
  const playlist = await ask('playlist');
  if (!playlist) return;
  const list = $('playlist');
  list.textContent = '';
  const titles = playlist.available ? playlist.entries :
    Array.from({ length: Math.min(playlist.length, MAX_UNNAMED) }, (_, i) => 'Entry ' + (i + 1));
  titles.forEach((title, index) => {
    const item = document.createElement('li');
    if (index === playlist.current) item.className = 'current';
    const button = document.createElement('button');
    button.className = 'name';
    button.textContent = playlist.available ? (index + 1) + '. ' + title : title;
    button.addEventListener('click', () => ask('select', { index: index }).then(loadPlaylist));
    item.appendChild(button);
    list.appendChild(item);
  });
  $('playlist-empty').hidden = titles.length > 0;
}

export async function openFolder(path, name) {
  const listing = await ask('list', { path: path });
  if (!listing) return;
  if (path === '') folderStack = [];
  else if (!folderStack.length || folderStack[folderStack.length - 1].path !== path) {
    folderStack.push({ path: path, name: name });
  }
  $('up').hidden = folderStack.length === 0;
  $('folder').textContent = folderStack.length ? name : 'Folders';
  const list = $('library');
  list.textContent = '';
  listing.entries.forEach((entry) => list.appendChild(libraryItem(entry)));
}

export function folderUp() {
  folderStack.pop();
  const parent = folderStack.pop();
  if (parent) openFolder(parent.path, parent.name);
  else openFolder('', '');
}

function smallButton(text, label, onClick) {
  const button = document.createElement('button');
  button.className = 'small';
  button.textContent = text;
  button.setAttribute('aria-label', label);
  button.addEventListener('click', onClick);
  return button;
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
  name.addEventListener('click', () => ask('play-file', { path: entry.path }));
  item.appendChild(smallButton('+', 'Add to playlist: ' + entry.name,
    () => ask('enqueue', { path: entry.path }).then(loadPlaylist)));
  item.appendChild(smallButton('\u2193', 'Download ' + entry.name, () => download(entry)));
  return item;
}

// The path goes over the channel; the browser fetches the file with the single-use ticket
// it gets back, so that neither crosses the network in clear.
async function download(entry) {
  const answer = await ask('download', { path: entry.path });
  if (!answer) return;
  const link = document.createElement('a');
  link.href = '/api/download?ticket=' + encodeURIComponent(answer.ticket);
  link.download = entry.name;
  link.click();
}
