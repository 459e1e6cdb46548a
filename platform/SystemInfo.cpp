#include "SystemInfo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <unistd.h>

namespace platform {

DateTime now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour, local.tm_min, local.tm_sec};
}

std::string shortDate(const DateTime& when)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", when.year, when.month, when.day);
    return buf;
}

std::string shortTime(const DateTime& when)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", when.hour, when.minute, when.second);
    return buf;
}

std::string loginName()
{
    char buf[256] = {};
    if (getlogin_r(buf, sizeof buf) == 0 && buf[0] != '\0')
        return buf;
    if (const char* user = std::getenv("USER"); user && *user)
        return user;
    return {};
}

bool fileExists(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !ec;
}

}  // namespace platform
