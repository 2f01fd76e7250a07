#include "viewer/encoding_choice.h"

#include <array>
#include <cctype>
#include <sstream>

namespace {

// Words libvncclient knows whose decoding is lossless and needs no JPEG library.
constexpr std::array<const char*, 8> kLosslessWords = {"copyrect", "zrle", "hextile", "raw",
                                                       "zlib",     "trle", "corre",   "rre"};

std::string Lowered(const std::string& text) {
    std::string lowered;
    for (char c : text) {
        lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

} // namespace

std::string EncodingsForWord(const std::string& word) {
    const std::string wanted = Lowered(word);
    bool known = false;
    for (const char* lossless : kLosslessWords) {
        known = known || wanted == lossless;
    }
    if (!known) {
        return kDefaultEncodings;
    }
    std::string list = wanted;
    std::istringstream rest(kDefaultEncodings);
    std::string each;
    while (rest >> each) {
        if (each != wanted) {
            list += " " + each;
        }
    }
    return list;
}
