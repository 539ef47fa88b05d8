// Touch: a finger dragging anywhere on the picture steers the ship by its motion (relative, as
// the mouse does), a tap or a second finger fires, and a tap also presses Enter, which starts a
// game on the title and after game over and does nothing in play. The game sees the same
// motion, button and key it gets from a mouse and keyboard, so a game recorded by touch replays
// anywhere. zorvexTouch(Module, canvas, hooks) with hooks.enterAllowed() and hooks.firstTouch().
'use strict';
window.zorvexTouch = (Module, canvas, hooks) => {
  const GAME_WIDTH = 640;
  const SPEED = 1.5;         // a swipe over two thirds of the picture crosses the field
  const TAP_MS = 300;        // a touch this short that moved less than TAP_PX is a tap
  const TAP_PX = 12;
  const PRESS_MS = 70;       // a tap holds its button and key for a few frames
  const ENTER = 0x1C;
  let steering = null;       // the steering finger: {id, x, start, moved, carry}
  let firing = null;         // the identifier of a second finger holding the button
  let unlocked = false;

  const press = (down) => Module._zorvex_web_button(0, down ? 1 : 0);
  const tap = () => {
    press(true);
    const enter = hooks.enterAllowed();
    if (enter) Module._zorvex_web_key(ENTER, 1, 0, 0);
    setTimeout(() => {
      press(false);
      if (enter) Module._zorvex_web_key(ENTER, 0, 0, 0);
    }, PRESS_MS);
  };
  // Game pixels per CSS pixel of the picture as shown, times the speed.
  const gain = () => SPEED * GAME_WIDTH / Math.max(1, canvas.getBoundingClientRect().width);

  // Listeners that are not passive, so that preventDefault keeps the browser from scrolling,
  // zooming and making mouse events of the touches (which would steer and fire twice).
  const on = (type, fn) => canvas.addEventListener(type, fn, {passive: false});
  on('touchstart', (e) => {
    e.preventDefault();
    if (!unlocked) {
      unlocked = true;
      hooks.firstTouch();  // inside the gesture, as mobile browsers need for sound
    }
    for (const t of e.changedTouches) {
      if (!steering) {
        steering = {id: t.identifier, x: t.clientX, start: performance.now(), moved: 0, carry: 0,
                    x0: t.clientX, y0: t.clientY};
      } else if (firing === null) {
        firing = t.identifier;
        press(true);
      }
    }
  });
  on('touchmove', (e) => {
    e.preventDefault();
    for (const t of e.changedTouches) {
      if (!steering || t.identifier !== steering.id) continue;
      // Whole game pixels now; the fraction is carried to the next move.
      const exact = (t.clientX - steering.x) * gain() + steering.carry;
      const dx = Math.trunc(exact);
      steering.carry = exact - dx;
      steering.x = t.clientX;
      steering.moved = Math.max(steering.moved,
                                Math.hypot(t.clientX - steering.x0, t.clientY - steering.y0));
      if (dx) Module._zorvex_web_motion(dx, 0);
    }
  });
  const end = (e) => {
    e.preventDefault();
    for (const t of e.changedTouches) {
      if (steering && t.identifier === steering.id) {
        const wasTap = e.type === 'touchend' && steering.moved < TAP_PX &&
                       performance.now() - steering.start < TAP_MS && firing === null;
        steering = null;
        if (wasTap) tap();
      } else if (t.identifier === firing) {
        firing = null;
        press(false);
      }
    }
  };
  on('touchend', end);
  on('touchcancel', end);

  // Held sideways, the first tap takes the full screen; there the phone is held to landscape
  // where the browser allows it (not on every phone; iOS Safari has no full screen for pages).
  const stage = canvas.parentElement;
  canvas.addEventListener('touchend', () => {
    if (document.fullscreenElement || !matchMedia('(orientation: landscape)').matches) return;
    if (stage.requestFullscreen) stage.requestFullscreen({navigationUI: 'hide'}).catch(() => {});
  });
  document.addEventListener('fullscreenchange', () => {
    if (document.fullscreenElement && screen.orientation && screen.orientation.lock) {
      screen.orientation.lock('landscape').catch(() => {});
    }
  });
};

// A touch screen gets the phone's layout (index.html's html.touch rules); a desktop's page is
// left as it was.
if (matchMedia('(pointer: coarse)').matches) document.documentElement.classList.add('touch');
