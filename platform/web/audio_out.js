// The sound's way out through an AudioWorklet: the game's mixer still runs on the page's thread
// (between frames, as the game expects), mixing about 140 ms ahead of what the audio thread
// plays, so that the page may be busy for 100 ms with no gap. zorvexWorkletOut(audio, mix,
// fallback) returns false where the browser has no AudioWorklet (then the caller uses its
// ScriptProcessorNode); fallback() is called should the worklet fail to load.
// mix(frames) returns an Int16Array of interleaved stereo samples.
'use strict';
window.zorvexWorkletOut = (audio, mix, fallback) => {
  if (!audio.audioWorklet || !window.AudioWorkletNode) return false;
  const AHEAD = 6144;  // frames mixed ahead: about 140 ms at 44100 Hz
  const BLOCK = 512;
  audio.audioWorklet.addModule('audio_worklet.js').then(() => {
    const node = new AudioWorkletNode(audio, 'zorvex-output',
                                      {numberOfInputs: 0, outputChannelCount: [2]});
    let sent = 0, played = 0;
    const topUp = () => {
      if (audio.state !== 'running') return;
      while (sent - played < AHEAD) {
        const block = mix(BLOCK);
        node.port.postMessage(block, [block.buffer]);
        sent += BLOCK;
      }
    };
    node.port.onmessage = (e) => {
      played = e.data.played;
      window.zorvexAudioStarved = e.data.starved;
      topUp();
    };
    setInterval(topUp, 15);
    node.connect(audio.destination);
    window.zorvexAudioPath = 'worklet';
  }).catch(fallback);
  return true;
};
