#include <stdexcept>
#include <string>

#include "app/art/art_files.h"

namespace app::art {

std::span<const unsigned char> ArtBytes(std::string_view name) {
    for (const ArtFile& f : ArtFiles())
        if (name == f.name) return {f.bytes, f.size};
    throw std::runtime_error("The picture \"" + std::string(name) + "\" is missing from this build of Vantrel.");
}

} // namespace app::art
