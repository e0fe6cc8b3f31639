// The Mouse tab's keyboard: the keys, the modifiers and the keyboard field, sent
// through the touchpad's window.QuorvelInput (touchpad.js, loaded first).
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const LOCK_MS = 400; // a modifier tapped twice this fast stays down
  const MODIFIERS = ['ctrl', 'alt', 'shift', 'win'];
  const input = window.QuorvelInput;
  const send = (events) => input.send(events);
  const sendNow = (events) => input.sendNow(events);
  let typed = '';      // what the keyboard field held at the last input event
  const mods = {};     // name -> {state: 'off'|'once'|'locked', at: ms}

  // --- Keys and modifiers ----------------------------------------------------------

  function showModifier(name) {
    const button = $('mod-' + name);
    const state = mods[name].state;
    button.setAttribute('aria-pressed', state === 'off' ? 'false' : 'true');
    button.classList.toggle('locked', state === 'locked');
  }

  // One tap: for the next key only. Two taps within LOCK_MS: down on the PC until
  // tapped again.
  function tapModifier(name) {
    const m = mods[name];
    const now = performance.now();
    if (m.state === 'off') {
      m.state = 'once';
      m.at = now;
    } else if (m.state === 'once' && now - m.at < LOCK_MS) {
      m.state = 'locked';
      send([{ t: 'mod', k: name, down: true }]);
    } else {
      if (m.state === 'locked') send([{ t: 'mod', k: name, down: false }]);
      // Win tapped and let be opens the Start menu, as the key alone does.
      else if (name === 'win') send([{ t: 'key', k: 'Win' }]);
      m.state = 'off';
    }
    showModifier(name);
  }

  function heldModifiers() {
    return MODIFIERS.filter((name) => mods[name].state !== 'off');
  }

  function pendingModifiers() {
    return MODIFIERS.some((name) => mods[name].state === 'once');
  }

  function sendKey(name) {
    const held = heldModifiers();
    sendNow([held.length ? { t: 'key', k: name, mods: held } : { t: 'key', k: name }]);
    MODIFIERS.forEach((m) => {
      if (mods[m].state === 'once') {
        mods[m].state = 'off';
        showModifier(m);
      }
    });
  }

  // The channel closed or input was turned off: the PC let go of everything.
  function dropModifiers() {
    MODIFIERS.forEach((name) => {
      mods[name].state = 'off';
      showModifier(name);
    });
  }

  // --- The keyboard field --------------------------------------------------------
  // Android's soft keyboard tells no keys (keyCode 229), so what changed in the
  // field is sent: characters removed as Backspaces, characters added as text.
  // This covers what an input method composes, accents and emoji alike.

  // True when what was added went as a key rather than as text.
  function sendTyping(added, removed) {
    for (let i = 0; i < removed; i++) sendKey('Backspace');
    if (!added) return false;
    // A letter or digit with a modifier pending is that key, so Ctrl+A selects all.
    if (pendingModifiers() && /^[A-Za-z0-9]$/.test(added)) {
      sendKey(added.toUpperCase());
      return true;
    }
    sendNow([{ t: 'text', s: added }]);
    return false;
  }

  function onTyped(event) {
    const field = $('keyboard');
    const before = Array.from(typed);
    const after = Array.from(field.value);
    let same = 0;
    while (same < before.length && same < after.length && before[same] === after[same]) same++;
    const old = typed;
    typed = field.value;
    // A key is no text: it leaves the field, unless an input method still composes.
    if (sendTyping(after.slice(same).join(''), before.length - same) && !event.isComposing) {
      field.value = typed = old;
    }
  }

  function onKeyboardKey(event) {
    if (event.isComposing || event.keyCode === 229) return;
    const field = $('keyboard');
    const names = { Enter: 'Enter', Tab: 'Tab', Escape: 'Esc', ArrowUp: 'Up', ArrowDown: 'Down',
      ArrowLeft: 'Left', ArrowRight: 'Right', Delete: 'Delete' };
    // An empty field has nothing for Backspace to remove: the key itself is sent.
    if (event.key === 'Backspace' && field.value === '') {
      event.preventDefault();
      sendKey('Backspace');
    } else if (names[event.key]) {
      event.preventDefault();
      sendKey(names[event.key]);
      // A line sent leaves the field empty for the next, and keeps it short.
      if (event.key === 'Enter') field.value = typed = '';
    }
  }

  function wireKeyboard() {
    const field = $('keyboard');
    field.addEventListener('input', onTyped);
    field.addEventListener('keydown', onKeyboardKey);
    // Keyboards that tell no Enter key still submit the form.
    $('keyboard-form').addEventListener('submit', (e) => {
      e.preventDefault();
      sendKey('Enter');
      field.value = typed = '';
    });
    field.addEventListener('compositionend', () => {
      if (field.value.length > 200) field.value = typed = '';
    });
    // Keys leave the focus in the field, so the phone's keyboard stays open.
    document.querySelectorAll('#mouse-controls button').forEach((button) => {
      button.addEventListener('mousedown', (e) => e.preventDefault());
    });
    document.querySelectorAll('#mouse-panel [data-key]').forEach((button) => {
      button.addEventListener('click', () => sendKey(button.dataset.key));
    });
    MODIFIERS.forEach((name) => {
      mods[name] = { state: 'off', at: 0 };
      $('mod-' + name).addEventListener('click', () => tapModifier(name));
    });
    $('fkeys-button').addEventListener('click', () => {
      const open = $('fkeys').hidden;
      $('fkeys').hidden = !open;
      $('fkeys-button').setAttribute('aria-expanded', String(open));
    });
  }

  input.dropModifiers = dropModifiers;
  wireKeyboard();
})();
