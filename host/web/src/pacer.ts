// Runs the device in real time at its own pace. Each frame is due when the frame-start rule
// of the session says, on a timeline whose clock advances by the time the device sleeps;
// the page maps that timeline onto its own clock and sleeps in between, so it never blocks.

// A page that was hidden, or a device slower than real time, falls this far behind at most;
// beyond it the timeline is moved on rather than rushed through.
const MAX_LAG_MS = 250;
// At most this many due frames run in one turn, so that input and drawing keep their turn.
const MAX_FRAMES_PER_TURN = 20;
// Timers wait at most this long; a longer wait (a device sleeping for hours) is taken in
// parts, since browsers run a timer of more than 2^31 - 1 ms at once.
const MAX_WAIT_MS = 60_000;

export interface Timeline {
  nextStart(): number;
  runFrames(count: number): void;
}

export class Pacer {
  private timer: ReturnType<typeof setTimeout> | undefined;
  private origin = 0; // the page's clock when the timeline was at 0
  private running = false;

  constructor(
    private readonly timeline: Timeline,
    private readonly framesRan: () => void,
    private readonly now: () => number = () => performance.now(),
  ) {}

  get paused(): boolean {
    return !this.running;
  }

  // Goes on in real time from the timeline's next frame, which runs at once: in a timer of
  // no delay, or with `now` before this call returns, so that a page's first picture does
  // not wait for the browser to lay out and paint all that the page has built so far.
  resume(now = false): void {
    if (this.running) return;
    this.running = true;
    this.origin = this.now() - this.timeline.nextStart();
    if (now) this.turn();
    else this.schedule();
  }

  pause(): void {
    this.running = false;
    if (this.timer !== undefined) clearTimeout(this.timer);
    this.timer = undefined;
  }

  private schedule(): void {
    const wait = this.origin + this.timeline.nextStart() - this.now();
    this.timer = setTimeout(() => this.turn(), Math.min(MAX_WAIT_MS, Math.max(0, wait)));
  }

  private turn(): void {
    this.timer = undefined;
    if (!this.running) return;
    const now = this.now();
    let ran = 0;
    while (ran < MAX_FRAMES_PER_TURN && this.origin + this.timeline.nextStart() <= now) {
      this.timeline.runFrames(1);
      ++ran;
    }
    if (now - (this.origin + this.timeline.nextStart()) > MAX_LAG_MS)
      this.origin = now - this.timeline.nextStart();
    if (ran > 0) this.framesRan();
    this.schedule();
  }
}
