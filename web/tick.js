// The game's clock: ticks every 500 ms, in a worker so that a hidden tab keeps them.
setInterval(() => postMessage(0), 500);
