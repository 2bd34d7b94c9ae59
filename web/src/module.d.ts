// The WebAssembly module built from src/web (emscripten's glue, bundled in by web/build.mjs).
declare module "iconwright-module" {
  import type { IconwrightModule } from "./core";
  const createIconwright: (options?: { locateFile?: (name: string) => string }) => Promise<IconwrightModule>;
  export default createIconwright;
}
