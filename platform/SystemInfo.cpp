#include "SystemInfo.h"

#include "NumberText.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <ctime>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

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
    return padded(when.year, 4) + "-" + padded(when.month, 2) + "-" + padded(when.day, 2);
}

std::string shortTime(const DateTime& when)
{
    return padded(when.hour, 2) + ":" + padded(when.minute, 2) + ":" + padded(when.second, 2);
}

std::string loginName()
{
    char buf[256] = {};
    if (getlogin_r(buf, sizeof buf) == 0 && buf[0] != '\0')
        return buf;
    if (const char* user = std::getenv("USER"); user && *user)
        return user;
    // A service or a container has neither: the account's own name.
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return {};
}

void copyFile(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec)
{
    ec.clear();
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        ec.assign(errno, std::generic_category());
        return;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        ec.assign(errno, std::generic_category());
        ::close(in);
        return;
    }
    std::vector<char> buf(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ec.assign(errno, std::generic_category());
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buf.data() + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                ec.assign(errno, std::generic_category());
                break;
            }
            done += w;
        }
        if (ec)
            break;
    }
    if (!ec && ::fsync(out) != 0)
        ec.assign(errno, std::generic_category());
    if (::close(out) != 0 && !ec)
        ec.assign(errno, std::generic_category());
    ::close(in);
}

bool fileExists(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace platform
