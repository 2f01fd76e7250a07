// A private folder for one test's files, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const;
    // Writes the bytes exactly (binary), replacing the file; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path root_;
};
