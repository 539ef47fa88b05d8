// A worker of the page's sound maker: given a file's name, answers {name, bytes} with the file
// the build's generator makes, or {name, error}.
'use strict';
importScripts('zorvex-sounds.js');
const maker = createZorvexSounds();
const indices = maker.then((M) => {
  const byName = new Map();
  for (let k = 0; k < M._zorvex_sound_count(); ++k) byName.set(M.UTF8ToString(M._zorvex_sound_name(k)), k);
  return byName;
});
onmessage = async (e) => {
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
