// The game's sounds and music, made on the player's machine by the build's own generator
// (zorvex-sounds.wasm, in workers off the page's thread) instead of 32 MB of downloads.
// zorvexMakeSounds(first, rest) makes the files named in `first` (the title's) before it starts
// on any in `rest`, and returns get(name): a promise of that file's bytes. The game's own set
// is started as soon as this script runs, before the game itself has arrived: zorvexSounds.
'use strict';
window.zorvexMakeSounds = (first, rest = []) => {
  const names = [...first, ...rest];
  // Two workers, or three where the machine has the cores.
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
  // The title's music, the longest of its files to make, is made in two halves by two workers
  // at once: one makes the beat and keeps it, the other the tune, which the first mixes in.
  const split = count >= 2 ? first.find((n) => /^music0\d\.wav$/.test(n)) : undefined;
  const track = split ? Number(split[6]) : 0;
  const queue = names.flatMap((n) => (n === split ? [{beat: n, track}, {tune: n, track}] : [n]));
  let firstLeft = first.length;
  let keeper = null;  // the worker keeping the beat
  const idle = [];
  const post = (worker, job, transfer = []) => {
    ++worker.jobs;
    worker.postMessage(job, transfer);
  };
  const next = (worker) => {
    if (!queue.length) {
      if (worker !== keeper && !worker.jobs) worker.terminate();  // its memory goes back at once
    } else if (queue.length > rest.length || firstLeft === 0) {
      const job = queue.shift();
      if (job.beat) keeper = worker;
      post(worker, job);
    } else {
      idle.push(worker);  // the rest waits for the title's files
    }
  };
  for (let i = 0; i < count; ++i) {
    const worker = new Worker('sounds_worker.js');
    worker.jobs = 0;
    compiled.then((module) => worker.postMessage(module), () => {});
    worker.onmessage = (e) => {
      const {name, kind, error} = e.data;
      const file = files.get(name);
      --worker.jobs;
      if (kind === 'mix') keeper = null;
      if (error) {
        file.reject(new Error(error));
      } else if (kind === 'tune') {
        post(keeper, {mix: name, track, floats: e.data.tune}, [e.data.tune]);
      } else if (kind !== 'beat') {
        file.resolve(new Uint8Array(e.data.bytes));
        if (first.includes(name) && --firstLeft === 0) idle.splice(0).forEach(next);
      }
      // The mix was no job from the queue: the worker already has, or waits for, its next.
      if (kind !== 'mix') next(worker);
      else if (!queue.length && !worker.jobs) worker.terminate();
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
