#include "support/scratch_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() /
            ("cluma-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchDir::Path(const std::string& name) const {
    return (root_ / name).string();
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
