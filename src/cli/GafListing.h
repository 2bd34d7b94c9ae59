#pragma once
// What a GAF file holds, as the JSON text iconwright-cli --gaf-list prints.

#include <string>

#include "gaf/GafReader.h"

// One line of JSON, without a line break:
// {"entries":[{"name":"ARMCAMP","frames":[{"width":64,"height":64,"x":0,"y":0,"transparency":9,
// "compressed":false,"layers":0}]}]}, entries and frames in the file's order.
std::string GafListingJson(const gaf::DecodedGaf& gaf);
