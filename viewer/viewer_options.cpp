#include "viewer/viewer_options.h"

#include <cctype>

namespace {

bool IsOptionWord(const std::string& word) {
    return word.size() > 1 && (word[0] == '/' || word[0] == '-');
}

bool SameName(const std::string& word, const char* name) {
    std::string lowered;
    for (std::size_t i = 1; i < word.size(); ++i) {
        lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
    }
    return lowered == name;
}

} // namespace

ViewerOptionsReading ReadViewerOptions(const std::vector<std::string>& words) {
    ViewerOptionsReading reading;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!IsOptionWord(word)) {
            if (reading.options.address.empty() && !word.empty()) {
                reading.options.address = word;
            } else {
                reading.notes.push_back("korvidVi: extra word \"" + word + "\" ignored");
            }
            continue;
        }
        std::string* value = nullptr;
        if (SameName(word, "password")) {
            value = &reading.options.password;
        } else if (SameName(word, "encoding")) {
            value = &reading.options.encoding;
        }
        if (value == nullptr) {
            reading.notes.push_back("korvidVi: unknown option \"" + word + "\" ignored");
        } else if (i + 1 >= words.size()) {
            reading.notes.push_back("korvidVi: option \"" + word + "\" has no value; ignored");
        } else {
            *value = words[++i];
        }
    }
    return reading;
}
