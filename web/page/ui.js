// What every part of the page shares: its elements, requests to the PC with their errors
// shown for a while, and times as the player shows them.
import { channel, Unreachable } from './channel.js';

const ERROR_SHOWN_MS = 8000;
const STATUS_TEXT = {
  400: 'The PC could not read that request.',
  403: 'The PC did not allow that.',
  404: 'The PC does not know that request. Reload the page.',
  413: 'That is too long for the PC.',
  429: 'Too many tries. Wait a moment, then try again.',
  503: 'The player is not answering',
};
let errorTimer = 0;

export const $ = (id) => document.getElementById(id);

// Shows what went wrong for a while; null clears it. A PC out of reach has its banner.
export function report(error) {
  if (error instanceof Unreachable) return;
  clearTimeout(errorTimer);
  $('error').textContent = error ? STATUS_TEXT[error.status] ||
    'The PC could not do that (error ' + error.status + ').' : '';
  if (error) errorTimer = setTimeout(() => report(null), ERROR_SHOWN_MS);
}

// The answer to a request, or null when there is none (the error then shown).
export async function ask(op, fields) {
  try {
    const answer = await channel.request(op, fields || {});
    report(null);
    return answer;
  } catch (error) {
    report(error);
    return null;
  }
}

export function clock(seconds) {
  if (!(seconds >= 0)) return '-:--';
  const s = Math.floor(seconds);
  return Math.floor(s / 60) + ':' + String(s % 60).padStart(2, '0');
}

// The dock's tabs: the button #tab-NAME in #tabs shows the section #NAME-panel. Another
// view becomes a tab by adding both, in index.html or with addTab(); the dock makes room.
export function showTab(tab) {
  $('remote').dataset.tab = tab;
  document.querySelectorAll('#tabs button').forEach((button) => {
    const name = button.id.replace(/^tab-/, '');
    button.setAttribute('aria-pressed', String(name === tab));
    $(name + '-panel').classList.toggle('current', name === tab);
  });
}

// A view of its own as a tab: panel is a <section class="panel"> with id NAME-panel.
export function addTab(name, label, panel) {
  const button = document.createElement('button');
  button.id = 'tab-' + name;
  button.textContent = label;
  button.setAttribute('aria-pressed', 'false');
  $('tabs').appendChild(button);
  panel.id = name + '-panel';
  panel.classList.add('panel');
  $('dock').before(panel);
}
