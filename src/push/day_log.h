// The day log: one entry per start of the console, in a text file per local date,
// "c:\log\YYYY-MM-DD.txt". Nothing in the system reads it back.
#pragma once

#include <ctime>
#include <functional>

// The local calendar time, read once per entry.
using LocalClock = std::function<std::tm()>;

// The clock's reading (time and localtime in their 64-bit forms).
std::tm ReadLocalClock();

struct DayLogSettings {
    const char* directory = nullptr; // the product's is LogDirectory
    LocalClock readClock = ReadLocalClock;
};

// Appends "YYYY-MM-DD hh:mm:ss \t", a line end, "WSAStartup() successful." and a line end
// to the file named after the date, both from one reading of the clock. Line ends are CR LF
// on disk. Existing content is never changed. Silent when the file cannot be written.
void WriteDayLog(const DayLogSettings& settings);

// The product's entry: in LogDirectory, by the local clock.
void WriteDayLog();
