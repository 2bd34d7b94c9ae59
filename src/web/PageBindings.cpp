// The page's one PageSession, offered to the page's script through embind. Byte arrays cross as
// Uint8Array copies; results as plain objects.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/PageSession.h"

namespace {

using emscripten::val;

web::PageSession& Session() {
    static web::PageSession session;
    return session;
}

val Bytes(const std::vector<uint8_t>& bytes) {
    val array = val::global("Uint8Array").new_(bytes.size());
    array.call<void>("set", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
    return array;
}

std::vector<uint8_t> FromBytes(const val& array) { return emscripten::convertJSArrayToNumberVector<uint8_t>(array); }

val Strings(const std::vector<std::string>& strings) {
    val array = val::array();
    for (const std::string& s : strings) array.call<void>("push", s);
    return array;
}

val Result(const web::Outcome& outcome) {
    val result = val::object();
    result.set("ok", outcome.Ok);
    result.set("message", outcome.Message);
    result.set("reason", outcome.Reason);
    result.set("report", outcome.Report);
    return result;
}

// The page's options object; a missing field keeps the import's default word.
web::ImportWords Words(const val& options) {
    web::ImportWords words;
    const auto take = [&](const char* field, std::string& into) {
        const val value = options[field];
        if (value.isString()) into = value.as<std::string>();
    };
    take("fit", words.Fit);
    take("trim", words.Trim);
    take("background", words.Background);
    take("backgroundFile", words.BackgroundFile);
    take("match", words.Match);
    take("dither", words.Dither);
    take("avoid", words.Avoid);
    take("strict", words.Strict);
    return words;
}

std::string FileKind(const val& start) { return web::PageSession::FileKindOf(FromBytes(start)); }
val PaletteRgba() { return Bytes(Session().PaletteRgba()); }
val Slot(int32_t slot) { return Bytes(Session().Slot(slot)); }
void SetSlot(int32_t slot, const val& pixels) { Session().SetSlot(slot, FromBytes(pixels)); }
val GafFrame(int32_t slot) { return Bytes(Session().GafFrame(slot)); }
void SetName(const std::string& name) { Session().SetName(name); }

val LoadPicture(int32_t slot, const std::string& path, bool pcx) {
    return Result(Session().LoadPicture(slot, path, pcx));
}
val SavePicture(int32_t slot, const std::string& path, const std::string& format) {
    return Result(Session().SavePicture(slot, path, format));
}
void AddBorder(int32_t slot) { Session().AddBorder(slot); }
void AddGrid(int32_t slot) { Session().AddGrid(slot); }
void MakeLighter(int32_t slot) { Session().MakeLighter(slot); }
void MakeGrey(int32_t slot) { Session().MakeGrey(slot); }
val AddCross(int32_t slot, const std::string& size) { return Result(Session().AddCross(slot, size)); }

val PreviewImport(const std::string& path, const val& options) {
    const web::ImportPreview preview = Session().PreviewImport(path, Words(options));
    val result = Result(preview.Result);
    result.set("composited", Bytes(preview.Composited));
    result.set("indices", Bytes(preview.Indices));
    return result;
}
val ImportPicture(int32_t slot, const std::string& path, const val& options) {
    return Result(Session().ImportPicture(slot, path, Words(options)));
}
val GenerateFromBasis(const std::string& path, const std::string& kind, const val& options) {
    return Result(Session().GenerateFromBasis(path, kind, Words(options)));
}

val WriteGaf(const std::string& path) { return Result(Session().WriteGaf(path)); }
val ExportUnit(const std::string& dir) {
    std::vector<std::string> files;
    val result = Result(Session().ExportUnit(dir, &files));
    result.set("files", Strings(files));
    return result;
}

val OpenGaf(const std::string& path) {
    val result = Result(Session().OpenGaf(path));
    const gaf::DecodedGaf* opened = Session().OpenedGaf();
    val entries = val::array();
    if (result["ok"].as<bool>() && opened) {
        for (const gaf::DecodedEntry& entry : opened->Entries) {
            val e = val::object();
            e.set("name", entry.Name);
            e.set("unknown1", entry.Unknown1);
            e.set("unknown2", entry.Unknown2);
            val frames = val::array();
            for (const gaf::DecodedFrame& frame : entry.Frames) {
                val f = val::object();
                f.set("width", frame.Width);
                f.set("height", frame.Height);
                f.set("x", frame.X);
                f.set("y", frame.Y);
                f.set("transparency", frame.Transparency);
                f.set("compression", frame.Compression);
                f.set("layers", frame.Layers);
                f.set("unknown1", frame.Unknown1);
                f.set("unknown2", frame.Unknown2);
                frames.call<void>("push", f);
            }
            e.set("frames", frames);
            entries.call<void>("push", e);
        }
    }
    result.set("entries", entries);
    return result;
}
val GafFramePixels(uint32_t entry, uint32_t frame) {
    const gaf::DecodedGaf* opened = Session().OpenedGaf();
    if (!opened || entry >= opened->Entries.size() || frame >= opened->Entries[entry].Frames.size()) return Bytes({});
    return Bytes(opened->Entries[entry].Frames[frame].Pixels);
}
val ExtractGaf(const std::string& dir) {
    std::vector<std::string> files;
    val result = Result(Session().ExtractGaf(dir, &files));
    result.set("files", Strings(files));
    return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(iconwright) {
    emscripten::function("fileKind", &FileKind);
    emscripten::function("paletteRgba", &PaletteRgba);
    emscripten::function("slot", &Slot);
    emscripten::function("setSlot", &SetSlot);
    emscripten::function("gafFrame", &GafFrame);
    emscripten::function("setName", &SetName);
    emscripten::function("loadPicture", &LoadPicture);
    emscripten::function("savePicture", &SavePicture);
    emscripten::function("addBorder", &AddBorder);
    emscripten::function("addGrid", &AddGrid);
    emscripten::function("makeLighter", &MakeLighter);
    emscripten::function("makeGrey", &MakeGrey);
    emscripten::function("addCross", &AddCross);
    emscripten::function("previewImport", &PreviewImport);
    emscripten::function("importPicture", &ImportPicture);
    emscripten::function("generateFromBasis", &GenerateFromBasis);
    emscripten::function("writeGaf", &WriteGaf);
    emscripten::function("exportUnit", &ExportUnit);
    emscripten::function("openGaf", &OpenGaf);
    emscripten::function("gafFramePixels", &GafFramePixels);
    emscripten::function("extractGaf", &ExtractGaf);
}
