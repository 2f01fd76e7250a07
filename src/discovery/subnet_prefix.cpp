#include "discovery/subnet_prefix.h"

#include "discovery/module_directory.h"

#include <cstdio>
#include <memory>
#include <mutex>

namespace {

// Never destroyed: a scan still running while the process ends may read it.
std::mutex* prefixLock = new std::mutex;
std::string* prefixText = new std::string;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

SubnetPrefixReading ReadSubnetPrefixFrom(const std::string& path) {
    SubnetPrefixReading reading;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return reading;
    }
    std::string line;
    bool holdsZero = false;
    for (int c = std::fgetc(file.get()); c != EOF && c != '\n'; c = std::fgetc(file.get())) {
        holdsZero = holdsZero || c == '\0';
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    std::size_t lastDot = line.rfind('.');
    if (lastDot != std::string::npos) {
        reading.prefix = line.substr(0, lastDot);
    }
    reading.usable = !holdsZero && reading.prefix.size() <= kMaxSubnetPrefixLength;
    if (!reading.usable) {
        reading.prefix.clear();
    }
    return reading;
}

std::string SubnetPrefix() {
    std::lock_guard<std::mutex> hold(*prefixLock);
    return *prefixText;
}

void PublishSubnetPrefix(const std::string& prefix) {
    std::lock_guard<std::mutex> hold(*prefixLock);
    *prefixText = prefix;
}

bool ReadSubnetPrefix() {
    SubnetPrefixReading reading = ReadSubnetPrefixFrom(PathBesideModule(kLocalAddressFileName));
    PublishSubnetPrefix(reading.prefix);
    return reading.usable;
}
