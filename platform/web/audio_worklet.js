// The page's sound output on the browser's audio thread: plays the blocks of 16-bit stereo the
// page's thread mixes and sends ahead, so a page busy for a moment leaves no gap. Reports how
// many frames it has played, and how many it had to leave silent for want of sound.
class ZorvexOutput extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];
    this.at = 0;  // the next sample in blocks[0]
    this.played = 0;
    this.starved = 0;
    this.quanta = 0;
    this.port.onmessage = (e) => this.blocks.push(e.data);
  }

  process(inputs, outputs) {
    const left = outputs[0][0], right = outputs[0][1] || left;
    for (let i = 0; i < left.length; ++i) {
      const block = this.blocks[0];
      if (!block) {
        left[i] = right[i] = 0;
        if (this.played) ++this.starved;  // none before the first block: that is the start
        continue;
      }
      left[i] = block[this.at] / 32768;
      right[i] = block[this.at + 1] / 32768;
      this.at += 2;
      ++this.played;
      if (this.at >= block.length) {
        this.blocks.shift();
        this.at = 0;
      }
    }
    if (++this.quanta % 4 === 0) this.port.postMessage({played: this.played, starved: this.starved});
    return true;
  }
}
registerProcessor('zorvex-output', ZorvexOutput);
