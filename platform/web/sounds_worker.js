// A worker of the page's sound maker. Its first message is the compiled generator
// (zorvex-sounds.wasm); after that, given a file's name, it answers {name, kind: 'file', bytes}
// with the file the build's generator makes, or {name, kind, error}.
'use strict';
importScripts('zorvex-sounds.js');
let compiled;
const module = new Promise((resolve) => { compiled = resolve; });
const maker = module.then((wasm) => createZorvexSounds({
  instantiateWasm(imports, done) {
    WebAssembly.instantiate(wasm, imports).then((instance) => done(instance, wasm));
    return {};
  },
}));
const indices = maker.then((M) => {
  const byName = new Map();
  for (let k = 0; k < M._zorvex_sound_count(); ++k) byName.set(M.UTF8ToString(M._zorvex_sound_name(k)), k);
  return byName;
});
// A music track in halves: {beat: name, track} makes the beat and keeps it here, answering
// {name, kind: 'beat'}; {tune: name, track} answers {name, kind: 'tune', tune} with the tune's
// floats; {mix: name, track, floats} mixes those with the kept beat and answers {name, kind:
// 'mix', bytes}, the file as a whole one is made.
async function half(job) {
  const M = await maker;
  if (job.beat) {
    M._zorvex_make_beat(job.track);
    return {name: job.beat, kind: 'beat'};
  }
  if (job.tune) {
    const at = M._zorvex_make_tune(job.track) >> 2;
    return {name: job.tune, kind: 'tune', tune: M.HEAPF32.slice(at, at + M._zorvex_tune_size()).buffer};
  }
  const floats = new Float32Array(job.floats);
  const space = M._zorvex_tune_space(floats.length) >> 2;  // may grow the memory: HEAPF32 after
  M.HEAPF32.set(floats, space);
  const at = M._zorvex_mix_music(job.track);
  if (!M._zorvex_made_size()) throw new Error('the halves are not of one track');
  return {name: job.mix, kind: 'mix', bytes: M.HEAPU8.slice(at, at + M._zorvex_made_size()).buffer};
}

onmessage = async (e) => {
  if (e.data instanceof WebAssembly.Module) {
    compiled(e.data);
    return;
  }
  const name = typeof e.data === 'string' ? e.data : e.data.beat || e.data.tune || e.data.mix;
  const kind = typeof e.data === 'string' ? 'file' : e.data.beat ? 'beat' : e.data.tune ? 'tune' : 'mix';
  try {
    if (typeof e.data !== 'string') {
      const answer = await half(e.data);
      postMessage(answer, [answer.tune || answer.bytes].filter(Boolean));
      return;
    }
    const M = await maker, k = (await indices).get(name);
    if (k === undefined) throw new Error(`no sound is called ${name}`);
    const at = M._zorvex_make_sound(k);
    const bytes = M.HEAPU8.slice(at, at + M._zorvex_made_size()).buffer;
    postMessage({name, kind, bytes}, [bytes]);
  } catch (error) {
    postMessage({name, kind, error: `${name}: ${error.message || error}`});
  }
};
