// The import options, remembered in this browser's local storage between visits.
import type { ImportOptions } from "./core";

const key = "iconwright.importOptions";

export const defaultOptions: ImportOptions = {
  fit: "contain",
  trim: "off",
  background: "#000000",
  backgroundFile: "",
  match: "rgb",
  dither: "none",
  avoid: "none",
  strict: "off",
};

export function loadOptions(): ImportOptions {
  try {
    const saved = JSON.parse(localStorage.getItem(key) ?? "{}") as Partial<ImportOptions>;
    const options = { ...defaultOptions };
    for (const field of Object.keys(defaultOptions) as (keyof ImportOptions)[]) {
      if (field !== "backgroundFile" && typeof saved[field] === "string") options[field] = saved[field]!;
    }
    return options;
  } catch {
    return { ...defaultOptions };
  }
}

// The background picture is a file of this visit only and is not kept.
export function saveOptions(options: ImportOptions): void {
  try {
    localStorage.setItem(key, JSON.stringify({ ...options, backgroundFile: "" }));
  } catch {
    // Storage may be off (private windows); the options then last for this visit.
  }
}
