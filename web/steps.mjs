// Long work in steps, so the page never freezes: the repair, the block
// reader and the damage finder are generators that yield now and then (a
// bare `yield` every STEP characters, markers or lines), and the page runs
// them in turns, giving the browser its turn between them, so a click on
// Stop or on a tab is answered within a fraction of a second even for a
// paste of many megabytes. The tests and the program's probe run them to
// their end at once.

// Work between two yields: small enough that a yield comes every few
// milliseconds, large enough that yielding costs nothing worth measuring.
export const STEP = 4096;

// How long the page works before the browser gets its turn.
const TURN_MS = 25;

// The generator's result, run to its end at once.
export function finish(steps) {
  for (;;) {
    const { done, value } = steps.next();
    if (done) return value;
  }
}

// The browser's turn: pending clicks and painting happen before this
// resolves.
export const nextTurn = () => new Promise((resolve) => setTimeout(resolve, 0));

// The generator's result, the browser getting its turn every TURN_MS; null
// as soon as `stopped()` holds at a turn (the rest of the work is dropped).
export async function inTurns(steps, stopped) {
  let since = performance.now();
  for (;;) {
    const { done, value } = steps.next();
    if (done) return value;
    if (performance.now() - since >= TURN_MS) {
      await nextTurn();
      if (stopped()) return null;
      since = performance.now();
    }
  }
}
