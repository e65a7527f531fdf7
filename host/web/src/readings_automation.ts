import type { Automation } from './automation';
import type { ReadingAnswer, Readings } from './readings';
import type { ReadingsPanel } from './readings_panel';

// window.orvanta's reading calls: the same as the Readings panel's controls, so the panel
// and the kept list follow them. A refusal throws an Error with the device's one line; an
// accepted call returns its note ('' or, for a clamped value, what it was clamped to).
export function readingsAutomation(readings: Readings, panel: ReadingsPanel, shown: () => void): Partial<Automation> {
  const done = (answer: ReadingAnswer): string => {
    if (!answer.ok) throw new Error(answer.message);
    panel.rebuild();
    shown();
    return answer.message;
  };
  const line = (value: number): number => {
    if (!Number.isInteger(value) || value < 1 || value > 0x7fffffff) throw new RangeError('line is a whole number from 1');
    return value;
  };
  return {
    readings: () => readings.list(),
    hold: (file, at, value) => done(readings.hold(file, line(at), String(value))),
    sweep: (file, at) => done(readings.sweep(file, line(at))),
    release: (file, at) => done(readings.release(file, line(at))),
  };
}
