// Pictures of game-palette indices and RGBA pictures drawn on canvases, one canvas pixel per
// picture pixel; CSS scales them pixel-sharp.

export function drawIndices(canvas: HTMLCanvasElement, indices: Uint8Array, width: number, height: number, palette: Uint8Array): void {
  const rgba = new Uint8ClampedArray(width * height * 4);
  for (let i = 0; i < width * height; i++) {
    const c = indices[i]! * 4;
    rgba[i * 4] = palette[c]!;
    rgba[i * 4 + 1] = palette[c + 1]!;
    rgba[i * 4 + 2] = palette[c + 2]!;
    rgba[i * 4 + 3] = 255;
  }
  drawRgba(canvas, rgba, width, height);
}

export function drawRgba(canvas: HTMLCanvasElement, rgba: Uint8Array | Uint8ClampedArray, width: number, height: number): void {
  canvas.width = Math.max(width, 1);
  canvas.height = Math.max(height, 1);
  const context = canvas.getContext("2d");
  if (!context || width === 0 || height === 0) return;
  context.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
}

export function clearCanvas(canvas: HTMLCanvasElement): void {
  canvas.getContext("2d")?.clearRect(0, 0, canvas.width, canvas.height);
}
