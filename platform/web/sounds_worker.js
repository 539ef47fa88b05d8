// A worker of the page's sound maker. Its first message is the compiled generator
// (zorvex-sounds.wasm); after that, given a file's name, it answers {name, bytes} with the file
// the build's generator makes, or {name, error}.
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
onmessage = async (e) => {
  if (e.data instanceof WebAssembly.Module) {
    compiled(e.data);
    return;
  }
  const name = e.data;
  try {
    const M = await maker, k = (await indices).get(name);
    if (k === undefined) throw new Error(`no sound is called ${name}`);
    const at = M._zorvex_make_sound(k);
    const bytes = M.HEAPU8.slice(at, at + M._zorvex_made_size()).buffer;
    postMessage({name, bytes}, [bytes]);
  } catch (error) {
    postMessage({name, error: `${name}: ${error.message || error}`});
  }
};
