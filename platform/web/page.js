// The page around the game: loads it and its files, draws its frames, plays its sound, hands it
// the keyboard and mouse, and calls for a frame 60 times a second while the page is in sight.
// With ?driven in the address it waits for zorvexDriven(job) from the headless runner instead.
'use strict';
(function () {
  const FRAME_MS = 1000 / 60;
  const TITLE_FILES = ['gfx.bmp', 'ui.bmp', 'bloop.wav', 'doing.wav', 'shoot.wav', 'chippy.wav',
                       'explode1.wav', 'music00.wav'];
  const LEVEL_FILES = ['music01.wav', 'music02.wav', 'music03.wav', 'music04.wav'];
  const RUNNING = -1;

  // KeyboardEvent.code to the game's key codes (those of DirectInput).
  const KEYS = {Escape: 0x01, Minus: 0x0C, Equal: 0x0D, Backspace: 0x0E, Tab: 0x0F,
    BracketLeft: 0x1A, BracketRight: 0x1B, Enter: 0x1C, ControlLeft: 0x1D, Semicolon: 0x27,
    Quote: 0x28, Backquote: 0x29, ShiftLeft: 0x2A, Backslash: 0x2B, Comma: 0x33, Period: 0x34,
    Slash: 0x35, ShiftRight: 0x36, NumpadMultiply: 0x37, AltLeft: 0x38, Space: 0x39,
    CapsLock: 0x3A, NumLock: 0x45, ScrollLock: 0x46, NumpadSubtract: 0x4A, NumpadAdd: 0x4E,
    NumpadDecimal: 0x53, NumpadEnter: 0x9C, ControlRight: 0x9D, NumpadDivide: 0xB5,
    AltRight: 0xB8, Home: 0xC7, ArrowUp: 0xC8, PageUp: 0xC9, ArrowLeft: 0xCB, ArrowRight: 0xCD,
    End: 0xCF, ArrowDown: 0xD0, PageDown: 0xD1, Insert: 0xD2, Delete: 0xD3,
    F11: 0x57, F12: 0x58, Pause: 0xC5};
  '1234567890'.split('').forEach((d, i) => { KEYS['Digit' + d] = 0x02 + i; });
  [['QWERTYUIOP', 0x10], ['ASDFGHJKL', 0x1E], ['ZXCVBNM', 0x2C]].forEach(([row, first]) =>
    row.split('').forEach((c, i) => { KEYS['Key' + c] = first + i; }));
  for (let i = 1; i <= 10; ++i) KEYS['F' + i] = 0x3A + i;
  [[7, 0x47], [8, 0x48], [9, 0x49], [4, 0x4B], [5, 0x4C], [6, 0x4D], [1, 0x4F], [2, 0x50],
   [3, 0x51], [0, 0x52]].forEach(([n, code]) => { KEYS['Numpad' + n] = code; });

  const canvas = document.getElementById('screen');
  const line = document.getElementById('line');
  const controls = line ? line.textContent : '';
  const context = canvas.getContext('2d');
  let image = null;
  let audio = null;
  window.zorvexAudioPeak = 0;
  window.zorvexFrames = 0;

  async function fetchBytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    return new Uint8Array(await response.arrayBuffer());
  }

  // A data file's bytes: the sounds from the sound maker, the sheets from the server.
  window.zorvexSoundReadyMs = {};
  function dataSource() {
    const made = window.zorvexSounds;  // started by sounds.js as the page loads
    return async (name) => {
      if (!made || !name.endsWith('.wav')) return fetchBytes(`data/${name}`);
      const bytes = await made(name);
      window.zorvexSoundReadyMs[name] = performance.now();
      return bytes;
    };
  }

  function connect(Module) {
    Module.zorvexPresent = (rgba, width, height) => {
      if (!image || image.width !== width || image.height !== height) {
        image = context.createImageData(width, height);
      }
      image.data.set(Module.HEAPU8.subarray(rgba, rgba + width * height * 4));
      context.putImageData(image, 0, 0);
      if (++window.zorvexFrames === 1) window.zorvexFirstFrameMs = performance.now();
    };
    // A screenshot offered as a download.
    Module.zorvexDownload = (rgba, width, height, name) => {
      const picture = document.createElement('canvas');
      picture.width = width;
      picture.height = height;
      const pixels = new ImageData(width, height);
      pixels.data.set(Module.HEAPU8.subarray(rgba, rgba + width * height * 4));
      picture.getContext('2d').putImageData(pixels, 0, 0);
      picture.toBlob((blob) => {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = name;
        link.click();
        window.zorvexDownloads = (window.zorvexDownloads || 0) + 1;
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      }, 'image/png');
      return 1;
    };
    // The mixer is pulled here, between frames, on the game's own thread.
    Module.zorvexStartAudio = () => {
      if (audio) return 1;
      audio = earlyAudio || newAudio();
      earlyAudio = null;
      if (!audio) return 0;
      window.zorvexAudio = audio;
      // The mix of `frames` stereo frames, copied out of the game's memory.
      const mix = (frames) => {
        const at = Module._zorvex_web_mix(frames) >> 1;
        const samples = Module.HEAP16.slice(at, at + 2 * frames);
        let peak = 0;
        for (let i = 0; i < samples.length; ++i) peak = Math.max(peak, Math.abs(samples[i]));
        window.zorvexAudioPeak = Math.max(window.zorvexAudioPeak, peak);
        return samples;
      };
      // An AudioWorklet where there is one; otherwise the ScriptProcessorNode on this thread.
      const scriptOut = () => {
        const node = audio.createScriptProcessor(2048, 0, 2);
        node.onaudioprocess = (e) => {
          const frames = e.outputBuffer.length, samples = mix(frames);
          const left = e.outputBuffer.getChannelData(0), right = e.outputBuffer.getChannelData(1);
          for (let i = 0; i < frames; ++i) {
            left[i] = samples[2 * i] / 32768;
            right[i] = samples[2 * i + 1] / 32768;
          }
        };
        node.connect(audio.destination);
        window.zorvexAudioPath = 'script';
      };
      if (!window.zorvexWorkletOut || !window.zorvexWorkletOut(audio, mix, scriptOut)) scriptOut();
      // Browsers start sound only after the player has done something on the page.
      for (const type of ['pointerdown', 'keydown', 'touchend']) {
        window.addEventListener(type, resumeAudio);
      }
      return 1;
    };
  }

  // The browser takes a tenth of a second or more to make an audio context, so the page makes
  // one while it waits for the title's music, for the game to take up when it starts its sound.
  let earlyAudio = null;
  function newAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    try {
      return Context ? new Context({sampleRate: 44100}) : null;
    } catch (e) {
      return null;
    }
  }

  function resumeAudio() {
    if (audio && audio.state !== 'running' && !hidden) audio.resume();
  }

  // A hidden tab runs no frame, and the game's clock stands still with it and the sound stops,
  // so the game goes on exactly where it stopped, nothing caught up.
  let hidden = false;
  function hide(Module, on) {
    if (on === hidden) return;
    hidden = on;
    Module._zorvex_web_pause(on ? 1 : 0);
    if (audio) {
      if (on) audio.suspend(); else resumeAudio();
    }
  }

  // A key pressed for a few frames, as a finger on a control presses it.
  function pressKey(Module, code) {
    Module._zorvex_web_key(code, 1, 0, 0);
    setTimeout(() => Module._zorvex_web_key(code, 0, 0, 0), 70);
  }

  // The touch screen's own controls beside the picture, pause (the P key) and quit (Escape),
  // and touch on the picture.
  function handTouch(Module, enterAllowed) {
    document.addEventListener('visibilitychange', () => hide(Module, document.hidden));
    if (!window.zorvexTouch) return;
    zorvexTouch(Module, canvas, {enterAllowed, firstTouch: resumeAudio});
    const pauseButton = document.getElementById('pause');
    pauseButton.addEventListener('click', () => {
      pressKey(Module, KEYS.KeyP);
      setTimeout(() => {
        const on = Module._zorvex_web_paused() !== 0;
        pauseButton.textContent = on ? 'Play' : 'Pause';
        document.documentElement.classList.toggle('paused', on);
      }, 20);
    });
    document.getElementById('quit').addEventListener('click', () => pressKey(Module, KEYS.Escape));
  }

  function handInput(Module, enterAllowed) {
    const locked = () => document.pointerLockElement === canvas;
    // The browser takes Escape to give back the mouse or leave full screen; that press must not
    // also quit the game.
    let browserTookEscape = -1e9;
    const tookEscape = () => { browserTookEscape = performance.now(); };
    document.addEventListener('pointerlockchange', () => { if (!locked()) tookEscape(); });
    document.addEventListener('fullscreenchange', () => { if (!document.fullscreenElement) tookEscape(); });
    // The game and the host layer see every key they know; the browser keeps its shortcuts and
    // function keys, but for F12, the screenshot.
    const keepForBrowser = (e) => e.ctrlKey || e.altKey || e.metaKey ||
        (/^F\d+$/.test(e.code) && e.code !== 'F12');
    window.addEventListener('keydown', (e) => {
      const code = KEYS[e.code];
      if (!code) return;
      if (!keepForBrowser(e)) e.preventDefault();
      if (code === KEYS.Enter && !enterAllowed()) return;
      if (code === KEYS.Escape &&
          (locked() || document.fullscreenElement || performance.now() - browserTookEscape < 300)) {
        return;
      }
      Module._zorvex_web_key(code, 1, e.repeat ? 1 : 0, e.altKey ? 1 : 0);
    });
    window.addEventListener('keyup', (e) => {
      const code = KEYS[e.code];
      if (!code) return;
      if (!keepForBrowser(e)) e.preventDefault();
      Module._zorvex_web_key(code, 0, 0, e.altKey ? 1 : 0);
    });
    const BUTTONS = [0, 2, 1];  // the browser's left, middle, right
    canvas.addEventListener('mousedown', (e) => {
      if (!locked() && canvas.requestPointerLock) {
        const request = canvas.requestPointerLock();
        if (request && request.catch) request.catch(() => {});
      }
      if (e.button < 3) Module._zorvex_web_button(BUTTONS[e.button], 1);
    });
    window.addEventListener('mouseup', (e) => {
      if (e.button < 3) Module._zorvex_web_button(BUTTONS[e.button], 0);
    });
    canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    // Held: the motion the browser reports. Otherwise the pointer's own moves over the picture.
    let lastX = null, lastY = null;
    document.addEventListener('mousemove', (e) => {
      if (locked()) {
        Module._zorvex_web_motion(e.movementX | 0, e.movementY | 0);
      } else if (e.target === canvas && lastX !== null) {
        Module._zorvex_web_motion(Math.round(e.clientX - lastX), Math.round(e.clientY - lastY));
      }
      lastX = e.clientX;
      lastY = e.clientY;
    });
    canvas.addEventListener('mouseleave', () => { lastX = lastY = null; });
    if (window.zorvexWatchPads) window.zorvexWatchPads(Module, enterAllowed);
    window.addEventListener('blur', () => Module._zorvex_web_release_all());
    document.addEventListener('visibilitychange', () => Module._zorvex_web_release_all());
  }

  // One frame per 1/60 s on the display's own beat; nothing at all while the page is hidden
  // (the browser stops animation frames then), so the game waits where it was. The frame runs
  // inside the animation-frame callback, the deadline: the input that came before it is read,
  // and the picture handed to the canvas is shown at the composite right after. Nothing waits
  // between reading input and showing.
  function paced(Module) {
    return new Promise((resolve) => {
      let due = performance.now();
      let shown = 0;
      const tick = (now) => {
        if (hidden) {
          due = now;  // no frames, and the game's clock stands still
        } else if (Module._zorvex_web_paused()) {
          // Paused: no frames, the picture again now and then for the notes' comings and goings.
          due = now + FRAME_MS;
          if (now - shown > 100) { shown = now; Module._zorvex_web_redraw(); }
        } else if (now >= due - 2) {
          due += FRAME_MS;
          if (now - due > 250) due = now + FRAME_MS;  // back from hiding: no catching up
          window.zorvexSteps = (window.zorvexSteps || 0) + 1;
          const code = Module._zorvex_step(1);
          if (code !== RUNNING) return resolve(code);
        }
        requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    });
  }

  // As fast as the machine goes, giving the page back now and then.
  function unpaced(Module) {
    return new Promise((resolve) => {
      const chunk = () => {
        const code = Module._zorvex_step(500);
        if (code !== RUNNING) resolve(code); else setTimeout(chunk, 0);
      };
      chunk();
    });
  }

  async function play() {
    const data = dataSource();
    const Module = await createZorvex({});
    connect(Module);
    document.getElementById('version').textContent =
        Module.ccall('zorvex_version', 'string', [], []).trim();
    Module.FS.mkdir('/data');
    const titleFiles = Promise.all(TITLE_FILES.map(async (name) =>
      Module.FS.writeFile(`/data/${name}`, await data(name))));
    // While the title's music is made: the player's kept files, and the audio context.
    const kept = zorvexKeep.load(Module);
    earlyAudio = newAudio();
    await titleFiles;
    // The levels' music is made while the title shows; Enter waits for it.
    let levelsReady = false;
    Promise.all(LEVEL_FILES.map(async (name) =>
      Module.FS.writeFile(`/data/${name}`, await data(name))))
        .then(() => {
          levelsReady = true;
          window.zorvexMusicReadyMs = performance.now();
          line.textContent = controls;
        })
        .catch((e) => { line.textContent = `Could not load the music: ${e.message}`; });
    handInput(Module, () => levelsReady);
    handTouch(Module, () => levelsReady);
    document.getElementById('shot').addEventListener('click', () => {
      Module._zorvex_web_key(KEYS.F12, 1, 0, 0);
      Module._zorvex_web_key(KEYS.F12, 0, 0, 0);
    });
    document.getElementById('full').addEventListener('click', () => {
      const stage = document.getElementById('stage');
      if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
    });
    await kept;
    zorvexKeep.control(Module, document.getElementById('best'),
                       document.getElementById('best-list'));
    const watch = new URLSearchParams(location.search).get('watch');
    const args = watch ? `--watch\n${watch}` : '';
    let code = Module.ccall('zorvex_start', 'number', ['string'], [args]);
    if (earlyAudio) earlyAudio.close();  // the game plays without sound
    earlyAudio = null;
    if (code === RUNNING) code = await paced(Module);
    if (document.pointerLockElement) document.exitPointerLock();
    if (audio) audio.close();
    line.textContent = code === 0 ? 'Game ended. Click the picture to play again.'
                                  : 'The game could not start; see the browser console.';
    for (const type of ['click', 'touchend']) {
      canvas.addEventListener(type, () => location.assign(location.pathname), {once: true});
    }
  }

  // For the headless runner: job = {args, inputs: [{fsPath, url}], outputs: [{fsPath, url}]}.
  window.zorvexDriven = async (job) => {
    const out = [], err = [];
    const data = dataSource();
    const Module = await createZorvex({print: (t) => out.push(t + '\n'),
                                       printErr: (t) => err.push(t + '\n')});
    connect(Module);
    const FS = Module.FS;
    for (const dir of ['/in', '/in/data', '/out', '/data']) FS.mkdir(dir);
    await Promise.all([
      ...[...TITLE_FILES, ...LEVEL_FILES].map(async (name) =>
        FS.writeFile(`/data/${name}`, await data(name))),
      ...job.inputs.map(async (f) => FS.writeFile(f.fsPath, await fetchBytes(f.url))),
    ]);
    handInput(Module, () => true);
    handTouch(Module, () => true);
    let code = Module.ccall('zorvex_start', 'number', ['string'], [job.args.join('\n')]);
    if (code === RUNNING) {
      code = await (job.args.includes('--headless') ? unpaced(Module) : paced(Module));
    }
    for (const f of job.outputs) {
      if (!FS.analyzePath(f.fsPath).exists) continue;
      const response = await fetch(f.url, {method: 'PUT', body: FS.readFile(f.fsPath)});
      if (response.ok) continue;
      err.push(`zorvex: ${f.fsPath}: cannot write\n`);
      if (code === 0) code = 1;  // as when the game cannot write its trace
    }
    if (audio) audio.close();
    return {code, stdout: out.join(''), stderr: err.join('')};
  };

  if (!new URLSearchParams(location.search).has('driven')) {
    play().catch((e) => { line.textContent = `Zorvex could not start: ${e.message}`; });
  }
})();
