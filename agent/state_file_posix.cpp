// The state file on Linux: root's under /var/lib, a user's under their state folder.
#include "agent/console_state.h"
#include "agent/state_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kSystemStatePath = "/var/lib/cluma-agent/state";

std::string UserStatePath() {
    const char* stateHome = std::getenv("XDG_STATE_HOME");
    if (stateHome != nullptr && stateHome[0] == '/') {
        return std::string(stateHome) + "/cluma-agent/state";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && home[0] != '\0' ? home : ".") +
           "/.local/state/cluma-agent/state";
}

// Creates the missing folders of path's parent, each readable and searchable by everyone
// whatever the umask, so that every user can read the file inside. Only folders made here get
// their rights set, through a descriptor of the folder itself, never by path.
bool MakeFolders(const std::filesystem::path& folder, std::string& error) {
    if (folder.empty() || std::filesystem::is_directory(folder)) {
        return true;
    }
    if (!MakeFolders(folder.parent_path(), error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0755) != 0) {
        if (errno == EEXIST) {
            return true;
        }
        error = "cannot create the folder " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        ::fchmod(fd, 0755);
        ::close(fd);
    }
    return true;
}

// Creates a new file of a name no one else has beside path: created here (O_EXCL), never
// through a link another user put in its place (O_NOFOLLOW). The descriptor, or -1 with errno.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".new-";
        for (int i = 0; i < 8; ++i) {
            temporary += kLetters[random() % (sizeof kLetters - 1)];
        }
        int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int fd, const std::string& contents) {
    std::size_t written = 0;
    while (written < contents.size()) {
        ssize_t now = ::write(fd, contents.data() + written, contents.size() - written);
        if (now < 0 && errno == EINTR) {
            continue;
        }
        if (now <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(now);
    }
    return true;
}

} // namespace

std::string DefaultConsoleStatePath() {
    return ::geteuid() == 0 ? kSystemStatePath : UserStatePath();
}

std::vector<std::string> ConsoleStateReadPaths() {
    if (::geteuid() == 0) {
        return {kSystemStatePath};
    }
    return {UserStatePath(), kSystemStatePath};
}

bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error) {
    std::filesystem::path target(path);
    if (!MakeFolders(target.parent_path(), error)) {
        return false;
    }
    std::string temporary;
    int fd = CreateTemporaryBeside(path, temporary);
    if (fd < 0) {
        // The same words at every failure, whatever name was tried: the log says it once.
        error = "cannot write a new file beside " + path + ": " + std::strerror(errno);
        return false;
    }
    // Readable by every user whatever the umask; written by its owner only.
    bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, contents) && ::fsync(fd) == 0;
    int saved = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        saved = errno;
        ok = false;
    }
    if (!ok) {
        error = "cannot replace " + path + ": " + std::strerror(saved);
        ::unlink(temporary.c_str());
    }
    return ok;
}
