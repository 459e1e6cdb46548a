#include "Services.h"

#include "Fatal.h"
#include "FixedText.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace geo {
namespace {

constexpr std::size_t kMessageBuffer = 800;
constexpr std::int64_t kDay = 8640000;  // hundredths of a second

struct StopWatch {
    bool started = false;
    std::int64_t start = 0;
    std::int64_t last = 0;
};

StopWatch& watch()
{
    static StopWatch w;
    return w;
}

// A text taken into the message buffer: cut at 800 characters, blank from the first NUL on.
std::string intoBuffer(std::string_view text)
{
    std::string buffer(text.substr(0, kMessageBuffer));
    if (const auto nul = buffer.find('\0'); nul != std::string::npos)
        buffer.resize(nul);
    buffer.resize(kMessageBuffer, ' ');
    return buffer;
}

std::tm localTime(std::time_t when)
{
    std::tm t{};
#ifdef _WIN32
    localtime_s(&t, &when);
#else
    localtime_r(&when, &t);
#endif
    return t;
}

}  // namespace

void dateAndTime(std::string& date, std::string& time)
{
    const std::tm t = localTime(std::time(nullptr));
    char d[40], h[40];
    std::snprintf(d, sizeof d, "%02d/%02d/%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100);
    std::snprintf(h, sizeof h, "%02d.%02d.%02d", t.tm_hour, t.tm_min, t.tm_sec);
    date = d;
    time = h;
}

float stopWatchAt(std::int16_t mode, std::int64_t t)
{
    StopWatch& w = watch();
    std::int64_t result = 0;
    if (!w.started || mode == 0) {
        w.started = true;
        w.start = w.last = t;
    } else if (mode == 1) {
        result = t - w.start;
        w.last = t;
    } else if (mode == 2) {
        result = t - w.last;
        w.last = t;
    } else {
        result = t;
    }
    if (result < 0)
        result += kDay;  // the watch ran over midnight
    return float(double(result) * 0.01);
}

float stopWatch(std::int16_t mode)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
    const std::tm t = localTime(seconds);
    const std::int64_t hundredths = (std::int64_t(t.tm_hour) * 3600 + t.tm_min * 60 + t.tm_sec) * 100 +
                                    std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() / 10;
    return stopWatchAt(mode, hundredths);
}

void showMessage(std::string_view message, std::string_view heading)
{
    const std::string head = intoBuffer(heading);
    if (!isBlank(head))
        printLine(" " + std::string(trimRight(head)));
    std::string buffer = intoBuffer(message);
    while (!isBlank(buffer)) {
        const auto cr = buffer.find('\r');
        if (cr == std::string::npos) {
            printLine(" " + std::string(trimRight(buffer)));
            break;
        }
        printLine(" " + buffer.substr(0, cr));
        buffer = buffer.substr(cr + 1);
        buffer.resize(kMessageBuffer, ' ');
    }
    printLine("  Press return ...");
    std::fflush(stdout);
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') {
    }
}

}  // namespace geo
