#include "cli/GafListing.h"

#include <nlohmann/json.hpp>

std::string GafListingJson(const gaf::DecodedGaf& gaf) {
    // ordered_json keeps the keys in the order written, which reads like the file's layout.
    using Json = nlohmann::ordered_json;
    Json entries = Json::array();
    for (const gaf::DecodedEntry& entry : gaf.Entries) {
        Json frames = Json::array();
        for (const gaf::DecodedFrame& frame : entry.Frames) {
            frames.push_back({{"width", frame.Width},
                              {"height", frame.Height},
                              {"x", frame.X},
                              {"y", frame.Y},
                              {"transparency", frame.Transparency},
                              {"compressed", frame.Compression != 0},
                              {"layers", frame.Layers}});
        }
        entries.push_back({{"name", entry.Name}, {"frames", std::move(frames)}});
    }
    const Json listing = {{"entries", std::move(entries)}};
    // Names are valid UTF-8 by construction; replacing rather than throwing keeps that a
    // promise of the reader, not a way out of this function.
    return listing.dump(-1, ' ', false, Json::error_handler_t::replace);
}
