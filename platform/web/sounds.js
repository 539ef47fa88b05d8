// The game's sounds and music, made on the player's machine by the build's own generator
// (zorvex-sounds.wasm, in workers off the page's thread) instead of 32 MB of downloads.
// zorvexMakeSounds(first, rest) makes the files named in `first` (the title's) before it starts
// on any in `rest`, and returns get(name): a promise of that file's bytes. The game's own set
// is started as soon as this script runs, before the game itself has arrived: zorvexSounds.
'use strict';
window.zorvexMakeSounds = (first, rest = []) => {
  const names = [...first, ...rest];
  // Two workers, or three where the machine has the cores: the title's music is the longest
  // to make and is made alone; the rest are shared out.
  const count = Math.min(names.length, Math.max(2, Math.min(3, (navigator.hardwareConcurrency || 2) - 1)));
  const files = new Map();
  for (const name of names) {
    const file = {};
    file.bytes = new Promise((resolve, reject) => Object.assign(file, {resolve, reject}));
    files.set(name, file);
  }
  // The page fetches and compiles the generator once and hands it to every worker.
  const compiled = (WebAssembly.compileStreaming
    ? WebAssembly.compileStreaming(fetch('zorvex-sounds.wasm'))
    : fetch('zorvex-sounds.wasm').then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b)));
  compiled.catch((e) => { for (const file of files.values()) file.reject(e); });
  const queue = [...names];
  let firstLeft = first.length;
  const idle = [];
  const next = (worker) => {
    if (!queue.length) {
      worker.terminate();  // its memory goes back at once
    } else if (queue.length > names.length - first.length || firstLeft === 0) {
      worker.postMessage(queue.shift());
    } else {
      idle.push(worker);  // the rest waits for the title's files
    }
  };
  for (let i = 0; i < count; ++i) {
    const worker = new Worker('sounds_worker.js');
    compiled.then((module) => worker.postMessage(module), () => {});
    worker.onmessage = (e) => {
      const file = files.get(e.data.name);
      if (e.data.error) file.reject(new Error(e.data.error));
      else file.resolve(new Uint8Array(e.data.bytes));
      if (first.includes(e.data.name) && --firstLeft === 0) idle.splice(0).forEach(next);
      next(worker);
    };
    worker.onerror = (e) => {
      e.preventDefault();
      for (const file of files.values()) file.reject(new Error(e.message || 'the sound maker failed'));
    };
    next(worker);
  }
  return (name) => files.get(name).bytes;
};

// The title's music and the effects first, then the levels' music.
window.zorvexTitleSounds = ['music00.wav', 'bloop.wav', 'doing.wav', 'shoot.wav', 'explode1.wav',
                            'chippy.wav'];
window.zorvexLevelSounds = ['music01.wav', 'music02.wav', 'music03.wav', 'music04.wav'];
window.zorvexSounds = window.zorvexMakeSounds(window.zorvexTitleSounds, window.zorvexLevelSounds);
