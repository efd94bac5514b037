// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Watches the frames the page draws, for a browser context's init script:
// Qt's backing store hands each frame of a window to its canvas with
// putImageData. Counts them, and marks when the first one with ink (dark
// pixels: the number's segments) came. This instruments the browser, not
// the program.
export const frameProbe = () => {
  const probe = { firstInk: null, frames: 0 };
  window.__lukimoFrames = probe;
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
    const result = put.call(this, image, ...rest);
    if (this.canvas.classList.contains('qt-window-content')) {
      probe.frames += 1;
      if (probe.firstInk === null) {
        const d = image.data;
        for (let i = 0; i < d.length; i += 4) {
          if (d[i] + d[i + 1] + d[i + 2] < 192) {
            probe.firstInk = performance.now();
            break;
          }
        }
      }
    }
    return result;
  };
};
