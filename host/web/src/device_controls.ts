import { ZOOM_STEPS, type Display, type Zoom } from './display';
import type { Engine } from './engine';
import type { Pacer } from './pacer';

// The device's buttons that every host of the display has: Pause, Step, Restart and the
// zoom. `shown` paints the picture and the status again.
export function deviceControls(
  engine: Engine,
  pacer: Pacer,
  display: Display,
  shown: () => void,
  controls: { pause: HTMLButtonElement; step: HTMLElement; restart: HTMLElement; zoom: HTMLSelectElement },
): void {
  controls.pause.addEventListener('click', () => {
    if (pacer.paused) pacer.resume();
    else pacer.pause();
    shown();
  });
  controls.step.addEventListener('click', () => {
    pacer.pause();
    engine.runFrames(1);
    shown();
  });
  controls.restart.addEventListener('click', () => {
    engine.restart();
    if (pacer.paused) shown();
  });
  const zoom = controls.zoom;
  for (const step of ZOOM_STEPS) zoom.add(new Option(`${step * 100} %`, String(step)));
  zoom.add(new Option('Fit', 'fit'));
  zoom.value = String(display.zoom);
  zoom.addEventListener('change', () => {
    display.zoom = (zoom.value === 'fit' ? 'fit' : Number(zoom.value)) as Zoom;
    display.layout();
    shown();
  });
}
