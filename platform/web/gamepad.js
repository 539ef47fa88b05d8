// Gamepads in the page through the browser's Gamepad API, read on every animation frame and
// handed to the game's host layer, which steers, fires and pauses with them as on the desktop.
// Pads in the browser's standard mapping: the left stick (axis 0) and the d-pad (buttons 14
// and 15) steer, the south button (0) or the right trigger (7) fires, Start (9) is Enter and
// Back/Select (8) is Escape once held for a second.
(() => {
  'use strict';
  const LEFT = 1, RIGHT = 2, FIRE = 4, START = 8, BACK = 16;

  function read(pads) {
    let connected = 0, stick = 0, bits = 0;
    for (const pad of pads || []) {
      if (!pad || !pad.connected) continue;
      connected = 1;
      const x = pad.axes && pad.axes.length ? Number(pad.axes[0]) || 0 : 0;
      if (Math.abs(x) > Math.abs(stick)) stick = Math.max(-1, Math.min(1, x));
      const held = (i) => {
        const b = pad.buttons && pad.buttons[i];
        return !!b && (b.pressed || b.value > 0.5);
      };
      if (held(14)) bits |= LEFT;
      if (held(15)) bits |= RIGHT;
      if (held(0) || held(7)) bits |= FIRE;
      if (held(9)) bits |= START;
      if (held(8)) bits |= BACK;
    }
    return {connected, stick, bits};
  }

  // `enterAllowed`: false while Enter must wait (the levels' music still arriving).
  window.zorvexWatchPads = (Module, enterAllowed) => {
    if (!navigator.getGamepads) return;
    const poll = () => {
      const pads = read(navigator.getGamepads());
      if (!enterAllowed()) pads.bits &= ~START;
      Module._zorvex_web_pad(pads.connected, Math.round(pads.stick * 1000), pads.bits);
      requestAnimationFrame(poll);
    };
    requestAnimationFrame(poll);
  };
})();
