// How fast this browser derives keys, for the estimate in the question
// before a long run: measured with one short derivation, as the program
// measures it (block/derivation_rate.h).

export const RATE_PROBE_ROUNDS = 50000;

// Rounds per second; null when the derivation failed.
export async function measuredRoundsPerSecond(provider) {
  const began = performance.now();
  try {
    await provider.deriveKey(new TextEncoder().encode('rate probe'), new Uint8Array(16), RATE_PROBE_ROUNDS);
  } catch {
    return null;
  }
  // A clock too coarse to see the derivation says only that it was quick.
  const seconds = Math.max((performance.now() - began) / 1000, 1e-6);
  return RATE_PROBE_ROUNDS / seconds;
}
