// The Mouse tab: the phone as the PC's touchpad (its keys are keyboard.js's).
// Gestures become the live channel's input events; moves and scrolls are summed
// and sent at most once per animation frame, so nothing queues up behind the
// finger. The channel hands this file its sender and its news through
// window.QuorvelInput.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const SPEED_KEY = 'quorvel-pointer-speed';
  // A touch shorter than tapMs that hardly moved is a tap; a second touch within
  // doubleTapMs of a tap makes a double click or a drag. Tests on a busy machine
  // lengthen them (window.QuorvelInput.timing).
  const timing = { tapMs: 250, doubleTapMs: 300 };
  const TAP_SLOP_PX = 10;
  const WHEEL_PER_PX = 3;    // 1/120ths of a notch per CSS pixel the fingers move
  const BLOCKED_TEXT = {
    elevated: "The window in front runs as administrator; the touchpad can't reach it.",
    locked: 'The PC is locked.',
  };
  const OFF_TEXT = 'Mouse and keyboard are off on the PC. To turn them on, open "Web remote..." ' +
    'in the menu of Quorvel\'s window on the PC and tick "Mouse and keyboard from paired browsers".';
  const CLOSED_TEXT = 'The touchpad works over the private connection to the PC, which is not open.';

  const input = {
    send: null,   // set by the channel while it is open: (events) => bool
    allowed: true,
    blocked: '',
  };
  const pointers = new Map(); // pointerId -> {x, y, t}
  let gesture = null;         // from the first finger down to the last one up
  let lastTap = null;         // {t, x, y, timer}: a tap whose click may become a double
  let moveX = 0;              // pixels owed to the PC, fractions included
  let moveY = 0;
  let wheelX = 0;
  let wheelY = 0;
  let frame = 0;

  function send(events) {
    if (!events.length || !input.send || !input.allowed) return;
    input.send(events);
  }

  // Moves and scrolls first, so that a click lands where the finger left the pointer.
  function flush() {
    frame = 0;
    const events = [];
    const dx = Math.trunc(moveX);
    const dy = Math.trunc(moveY);
    if (dx || dy) events.push({ t: 'move', dx: dx, dy: dy });
    moveX -= dx;
    moveY -= dy;
    const wx = Math.trunc(wheelX);
    const wy = Math.trunc(wheelY);
    if (wx || wy) events.push({ t: 'wheel', dx: wx, dy: wy });
    wheelX -= wx;
    wheelY -= wy;
    send(events);
  }

  function schedule() {
    if (!frame) frame = requestAnimationFrame(flush);
  }

  function sendNow(events) {
    if (frame) {
      cancelAnimationFrame(frame);
      flush();
    }
    send(events);
  }

  // Faster fingers go further per pixel, as on a laptop's touchpad; the slider
  // scales it all.
  function gain(distance, ms) {
    const speed = distance / Math.max(ms, 1); // CSS px per ms
    const speedSetting = Number($('pointer-speed').value);
    return speedSetting * Math.min(1 + 1.5 * Math.max(speed - 0.15, 0), 4);
  }

  // --- Gestures ------------------------------------------------------------------

  function centre() {
    let x = 0;
    let y = 0;
    pointers.forEach((p) => { x += p.x; y += p.y; });
    return { x: x / pointers.size, y: y / pointers.size };
  }

  function onDown(event) {
    event.preventDefault();
    event.target.setPointerCapture(event.pointerId);
    const now = performance.now();
    pointers.set(event.pointerId, { x: event.clientX, y: event.clientY, t: now });
    if (!gesture) {
      gesture = { start: now, x: event.clientX, y: event.clientY, most: 0, moved: 0,
        drag: false, secondTap: false, heldX: 0, heldY: 0 };
      // A touch soon after a tap: held and moved it drags, lifted it double-clicks.
      if (lastTap && now - lastTap.t < timing.doubleTapMs) {
        clearTimeout(lastTap.timer);
        lastTap = null;
        gesture.secondTap = true;
      }
    }
    gesture.most = Math.max(gesture.most, pointers.size);
    gesture.centre = centre();
    // Two fingers after a tap are no double tap: that tap was a click.
    if (gesture.secondTap && pointers.size > 1) {
      gesture.secondTap = false;
      sendNow([{ t: 'click', b: 'left' }]);
    }
  }

  function onMove(event) {
    const p = pointers.get(event.pointerId);
    if (!p || !gesture) return;
    event.preventDefault();
    const now = performance.now();
    const dx = event.clientX - p.x;
    const dy = event.clientY - p.y;
    const ms = now - p.t;
    p.x = event.clientX;
    p.y = event.clientY;
    p.t = now;
    gesture.moved = Math.max(gesture.moved,
      Math.hypot(event.clientX - gesture.x, event.clientY - gesture.y));
    if (pointers.size === 1 && gesture.most === 1) {
      const g = gain(Math.hypot(dx, dy), ms);
      // A second touch holds its motion back until it is surely a drag, so the
      // button goes down where the pointer was.
      if (gesture.secondTap && !gesture.drag) {
        gesture.heldX += dx * g;
        gesture.heldY += dy * g;
        if (gesture.moved <= TAP_SLOP_PX) return;
        gesture.drag = true;
        sendNow([{ t: 'button', b: 'left', down: true }]);
        moveX += gesture.heldX;
        moveY += gesture.heldY;
      } else {
        moveX += dx * g;
        moveY += dy * g;
      }
      schedule();
      return;
    }
    if (pointers.size === 2) {
      // The content follows the fingers: fingers going up scroll down.
      const c = centre();
      wheelX -= (c.x - gesture.centre.x) * WHEEL_PER_PX;
      wheelY -= (c.y - gesture.centre.y) * WHEEL_PER_PX;
      gesture.centre = c;
      schedule();
    }
  }

  function onUp(event) {
    if (!pointers.delete(event.pointerId) || !gesture) return;
    event.preventDefault();
    if (pointers.size) {
      gesture.centre = centre();
      return;
    }
    const g = gesture;
    gesture = null;
    if (g.drag) {
      sendNow([{ t: 'button', b: 'left', down: false }]);
      return;
    }
    const isTap = event.type === 'pointerup' && performance.now() - g.start < timing.tapMs + 150 * (g.most - 1) &&
      g.moved < TAP_SLOP_PX * g.most;
    if (!isTap) return;
    if (g.most === 2) sendNow([{ t: 'click', b: 'right' }]);
    else if (g.most >= 3) sendNow([{ t: 'click', b: 'middle' }]);
    else if (g.secondTap) sendNow([{ t: 'click', b: 'left' }, { t: 'click', b: 'left' }]);
    else {
      // The click waits for a second tap that would make it a double click or a drag.
      const tap = { t: performance.now() };
      tap.timer = setTimeout(() => {
        if (lastTap === tap) lastTap = null;
        sendNow([{ t: 'click', b: 'left' }]);
      }, timing.doubleTapMs);
      lastTap = tap;
    }
  }

  function wireSurface() {
    const pad = $('touchpad');
    pad.addEventListener('pointerdown', onDown);
    pad.addEventListener('pointermove', onMove);
    pad.addEventListener('pointerup', onUp);
    pad.addEventListener('pointercancel', onUp);
    pad.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // Pressed and held, a button holds the PC's button.
  function wireMouseButton(id, button) {
    const element = $(id);
    let held = false;
    const release = () => {
      if (!held) return;
      held = false;
      sendNow([{ t: 'button', b: button, down: false }]);
    };
    element.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      element.setPointerCapture(e.pointerId);
      held = true;
      sendNow([{ t: 'button', b: button, down: true }]);
    });
    element.addEventListener('pointerup', release);
    element.addEventListener('pointercancel', release);
    element.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // --- The tab and what the PC says --------------------------------------------------

  function showNote() {
    const note = !input.send ? CLOSED_TEXT : !input.allowed ? OFF_TEXT : BLOCKED_TEXT[input.blocked] || '';
    $('input-note').textContent = note;
    $('mouse-controls').classList.toggle('off', !input.send || !input.allowed);
  }

  function showTab(shown) {
    $('tab-mouse').setAttribute('aria-pressed', String(shown));
    if (!shown) return;
    $('remote').dataset.tab = 'mouse';
    document.querySelectorAll('#tabs button').forEach((b) => {
      if (b.id !== 'tab-mouse') b.setAttribute('aria-pressed', 'false');
    });
    // The PC tells what the touchpad can reach once the page shows it.
    if (input.send) input.send([]);
  }

  const api = {
    timing: timing,
    // For the keys (keyboard.js): sending as the surface does, and its hook
    // that lets go of the page's modifiers when the PC has.
    send: send,
    sendNow: sendNow,
    dropModifiers: null,
    // The channel is open: events go through sender(events).
    opened(sender) {
      input.send = sender;
      input.allowed = true;
      input.blocked = '';
      showNote();
      if ($('remote').dataset.tab === 'mouse') input.send([]);
    },
    // The channel is closed: the PC has let go of whatever this page held.
    closed() {
      input.send = null;
      if (api.dropModifiers) api.dropModifiers();
      showNote();
    },
    // {"push":"input","blocked":...,"allowed":...}
    push(message) {
      input.blocked = message.blocked || '';
      if (input.allowed && message.allowed === false && api.dropModifiers) api.dropModifiers();
      input.allowed = message.allowed !== false;
      showNote();
    },
  };
  window.QuorvelInput = api;

  // The page's live channel (window.quorvelChannel), where there is one: its
  // opening, closing and pushes reach the tab without the page's scripts knowing it.
  function attachChannel() {
    const channel = window.quorvelChannel;
    if (!channel || attachChannel.done) return;
    attachChannel.done = true;
    channel.addEventListener('open', () => api.opened((events) => channel.sendInput(events)));
    channel.addEventListener('close', () => api.closed());
    channel.addEventListener('push', (event) => {
      if (event.detail && event.detail.push === 'input') api.push(event.detail);
    });
    if (channel.isOpen) api.opened((events) => channel.sendInput(events));
  }

  function wire() {
    const speed = $('pointer-speed');
    const kept = Number(localStorage.getItem(SPEED_KEY));
    if (kept >= Number(speed.min) && kept <= Number(speed.max)) speed.value = kept;
    speed.addEventListener('change', () => localStorage.setItem(SPEED_KEY, speed.value));
    wireSurface();
    wireMouseButton('left-button', 'left');
    wireMouseButton('right-button', 'right');
    $('tab-mouse').addEventListener('click', () => showTab(true));
    document.querySelectorAll('#tabs button').forEach((b) => {
      if (b.id !== 'tab-mouse') b.addEventListener('click', () => showTab(false));
    });
    showNote();
    attachChannel();
    // The channel's module may run after this script.
    window.addEventListener('load', attachChannel);
  }

  wire();
})();
