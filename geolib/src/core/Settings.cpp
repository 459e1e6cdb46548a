#include "Settings.h"

#include "Fatal.h"
#include "FixedText.h"
#include "Services.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace geo {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxFolder = 300;
constexpr std::size_t kProfileBuffer = 255;  // characters a setting may hold
constexpr std::size_t kNameLength = 128;
constexpr char kDrives[] = {'C', 'M', 'N', 'R'};
constexpr const char* kSearchFolders[] = {":", ":\\VINTAR_SOFT\\TAVU\\", ":\\GEO\\", ":\\TAVU\\",
                                          ":\\HALVEK\\TAVU\\", ":\\PENDIX\\VINTAR_SOFT\\GEO\\"};

#ifndef _WIN32
std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isFile(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec) && !fs::is_directory(p, ec);
}

// The path with each missing part matched without regard to case.
std::optional<fs::path> matchNoCase(const fs::path& path)
{
    fs::path found = path.root_path();
    for (const fs::path& part : path.relative_path()) {
        std::error_code ec;
        const fs::path exact = found.empty() ? part : found / part;
        if (fs::exists(exact, ec)) {
            found = exact;
            continue;
        }
        std::optional<fs::path> match;
        for (fs::directory_iterator it(found.empty() ? fs::path(".") : found, ec), end; !ec && it != end;
             it.increment(ec)) {
            const fs::path name = it->path().filename();
            if (equalsNoCase(name.string(), part.string()) && (!match || name < *match))
                match = name;
        }
        if (!match)
            return std::nullopt;
        found = found.empty() ? *match : found / *match;
    }
    return found;
}

#endif

std::string keyName(std::int32_t key)
{
    return key == 1 ? "TAVU_DataFileDir" : key == 2 ? "Local_DataFileDir" : "";
}

// A value longer than the caller's variable is shown and reads as no setting.
std::string fitted(std::string value, const std::string& name, std::size_t length)
{
    if (value.size() <= length)
        return value;
    showMessage("Value of entry name to long", name);
    return {};
}

#ifndef _WIN32
// The value of `key` in section TAVU of an INI file, as the Windows profile reader gives it.
std::optional<std::string> profileValue(const fs::path& file, const std::string& key)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string text(trimRight(line.substr(std::min(line.find_first_not_of(" \t"), line.size()))));
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[') {
            const auto close = text.find(']');
            inSection = close != std::string::npos && equalsNoCase(text.substr(1, close - 1), "TAVU");
            continue;
        }
        const auto eq = text.find('=');
        if (!inSection || eq == std::string::npos)
            continue;
        std::string name(trimRight(text.substr(0, eq)));
        if (!equalsNoCase(name, key))
            continue;
        std::string value = text.substr(eq + 1);
        value.erase(0, std::min(value.find_first_not_of(" \t"), value.size()));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value.substr(0, kProfileBuffer);
    }
    return std::nullopt;
}
#endif

}  // namespace

#ifdef _WIN32
// Windows itself resolves drive letters, "C:name" against the drive's current folder, and letter
// case: the path goes to it as it stands.
std::optional<std::string> findFile(std::string_view path)
{
    const std::string text(path);
    const DWORD attributes = GetFileAttributesA(text.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return text;
}
#else
fs::path windowsFolder()
{
    if (const std::string w = env("WINDIR"); !w.empty())
        return w;
    if (const std::string x = env("XDG_CONFIG_HOME"); !x.empty())
        return fs::path(x) / "tavu";
    if (const std::string home = env("HOME"); !home.empty())
        return fs::path(home) / ".config" / "tavu";
    return {};
}

std::optional<fs::path> driveFolder(char letter)
{
    const char upper = char(std::toupper(static_cast<unsigned char>(letter)));
    const std::string mapped = env((std::string("TAVU_DRIVE_") + upper).c_str());
    if (!mapped.empty())
        return fs::path(mapped);
    if (upper == 'C')
        return fs::path("/");
    return std::nullopt;
}

std::optional<std::string> findFile(std::string_view path)
{
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    fs::path candidate;
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        const char drive = char(std::toupper(static_cast<unsigned char>(text[0])));
        const std::string rest = text.substr(2);
        const auto root = driveFolder(drive);
        if (!root)
            return std::nullopt;
        if (!rest.empty() && rest[0] == '/') {
            candidate = *root / rest.substr(rest.find_first_not_of('/') == std::string::npos
                                                ? rest.size()
                                                : rest.find_first_not_of('/'));
        } else {
            // "C:name" is relative to the drive's current folder.
            std::error_code ec;
            const bool unmappedC = drive == 'C' && env("TAVU_DRIVE_C").empty();
            candidate = (unmappedC ? fs::current_path(ec) : *root) / rest;
        }
    } else {
        candidate = text;
    }
    if (isFile(candidate))
        return candidate.string();
    const auto matched = matchNoCase(candidate);
    if (matched && isFile(*matched))
        return matched->string();
    return std::nullopt;
}
#endif

std::string readSetting(std::int32_t key, std::size_t variableLength)
{
    const std::string name = keyName(key);
    if (name.empty())
        return {};
#ifdef _WIN32
    char folder[kMaxFolder];
    const UINT length = GetWindowsDirectoryA(folder, UINT(kMaxFolder));
    if (length == 0) {
        showMessage("GetWindowsDirectory failed", "GEOGID");
        return {};
    }
    if (length > kMaxFolder) {
        showMessage("Increase MAX_PATH", "GEOGID");
        return {};
    }
    std::string file(folder, length);
    if (file.back() != '\\')
        file += '\\';
    file += "VINTAR_SOFT.INI";
    char value[kProfileBuffer + 1];
    const DWORD read = GetPrivateProfileStringA("TAVU", name.c_str(), " ", value, DWORD(sizeof value), file.c_str());
    return fitted(std::string(value, read), name, variableLength);
#else
    const fs::path folder = windowsFolder();
    if (folder.empty()) {
        showMessage("GetWindowsDirectory failed", "GEOGID");
        return {};
    }
    if (folder.string().size() > kMaxFolder) {
        showMessage("Increase MAX_PATH", "GEOGID");
        return {};
    }
    const auto file = findFile((folder / "VINTAR_SOFT.INI").string());
    if (!file)
        return {};
    const auto value = profileValue(*file, name);
    if (!value)
        return {};
    return fitted(*value, name, variableLength);
#endif
}

std::string locateFile(std::string_view code)
{
    const std::string name = fromFixed(code.data(), long(std::min(code.size(), kNameLength)));
    std::string head(trimRight(name.substr(0, std::min<std::size_t>(4, name.size()))));
    const bool noFail = head.starts_with('X');
    if (noFail)
        head.erase(0, 1);
    std::string file;
    if (head == "I")
        file = "GEOIDX1.BIN";
    else if (head == "P")
        file = "GEOPNT1.BIN";
    else if (head == "P2")
        file = "GEOPNT12.BIN";
    else if (head == "C")
        file = "GEOCCD3.BIN";
    else if (head == "LI")
        file = "LCLIDX1.BIN";
    else if (head == "LP")
        file = "LCLPNT1.BIN";
    else if (head == "GET" && name.size() > 4)
        file = std::string(trimRight(name.substr(4, 64)));

    // The folder variable is as long as the name.
    const std::string folder(trimRight(readSetting(head == "LI" || head == "LP" ? 2 : 1, kNameLength)));
    if (!folder.empty()) {
        const bool separated = folder.back() == '\\' || folder.back() == '/';
        if (const auto found = findFile(folder + (separated ? "" : "\\") + file))
            return *found;
    }
    for (const char drive : kDrives) {
        for (const char* place : kSearchFolders) {
            const std::string candidate = (drive + std::string(place) + file).substr(0, kNameLength);
            if (const auto found = findFile(candidate))
                return *found;
        }
    }
    if (!noFail)
        fatalMessage("GEOFNM", " Can not find the TAVU file: " + file.substr(0, 31));
    return {};
}

}  // namespace geo
