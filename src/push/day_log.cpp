#include "push/day_log.h"

#include "platform/module_path.h"
#include "push/log_directory.h"

#include <cstdio>
#include <memory>

namespace {

#if defined(_WIN32)
// Text mode: the C library stores every "\n" as CR LF.
constexpr char kOpenMode[] = "a";
constexpr char kLineEnd[] = "\n";
#else
// The bytes Windows' text mode stores, so that a day log is the same file everywhere.
constexpr char kOpenMode[] = "ab";
constexpr char kLineEnd[] = "\r\n";
#endif

constexpr std::size_t kPathBytes = 256;

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::tm ReadLocalClock() {
    std::tm local{};
#if defined(_WIN32)
    // The 64-bit forms: the 32-bit time_t of the i686 build would end in 2038.
    __time64_t now = _time64(nullptr);
    _localtime64_s(&local, &now);
#else
    static_assert(sizeof(std::time_t) == 8, "the clock is read in its 64-bit form");
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &local);
#endif
    return local;
}

void WriteDayLog(const DayLogSettings& settings) {
    // No directory means start-up has not set one: writing beside the working directory's
    // root instead would leave the entry where nobody looks.
    if (settings.directory == nullptr || settings.directory[0] == '\0' || !settings.readClock) {
        return;
    }
    const std::tm now = settings.readClock(); // the file's date and the entry's, one reading
    char date[64] = {};
    std::snprintf(date, sizeof date, "%04lld-%02d-%02d", now.tm_year + 1900LL, now.tm_mon + 1,
                  now.tm_mday);
    char path[kPathBytes] = {};
    int length = std::snprintf(path, sizeof path, "%s%c%s.txt", settings.directory,
                               platform::kPathSeparator, date);
    if (length < 0 || length >= static_cast<int>(sizeof path)) {
        return; // a path cut to fit would name some other file
    }
    char entry[160] = {};
    std::snprintf(entry, sizeof entry, "%s %02d:%02d:%02d \t%sWSAStartup() successful.%s", date,
                  now.tm_hour, now.tm_min, now.tm_sec, kLineEnd, kLineEnd);
    std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path, kOpenMode));
    if (!file) {
        return; // no directory, no right to write: the entry is lost, silently
    }
    std::fputs(entry, file.get());
    std::fflush(file.get());
}

void WriteDayLog() {
    WriteDayLog(DayLogSettings{LogDirectory, ReadLocalClock});
}
