#pragma once
// The artwork compiled into the program: PNG files rendered at build time from res/art/*.svg at
// twice their 96-DPI size, named after their source file ("junk" for res/art/junk.svg).
#include <cstddef>
#include <span>
#include <string_view>

namespace app::art {

struct ArtFile {
    const char* name;
    const unsigned char* bytes;
    size_t size;
};

std::span<const ArtFile> ArtFiles();
// The file of that name; throws std::runtime_error naming it when the build did not embed it.
std::span<const unsigned char> ArtBytes(std::string_view name);

} // namespace app::art
