#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// Writes `bytes` to a file of that name in the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

/// The bytes of a file; "" when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace testing_support
