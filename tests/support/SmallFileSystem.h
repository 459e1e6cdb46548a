#pragma once

#include "support/TempDir.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace testing_support {

// A file system of its own size mounted on a temporary folder, so that a disk really fills up or
// is read-only media that nobody, root included, can write. Mounting needs the right to (root,
// as CI runs the tests); without it `mounted()` is false and why() says why.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    std::filesystem::path path() const { return m_dir.path(); }
    const std::string& why() const { return m_why; }

    /// Mounts it again read-only; false (why() says) when that fails.
    bool makeReadOnly();

    /// Fills the file system with a file of its own until at most `bytes` stay free, or empties
    /// that file until at least `bytes` are free where it can.
    void leaveFree(std::size_t bytes) const;
    /// Bytes still free.
    std::size_t freeBytes() const;

private:
    TempDir m_dir;
    bool m_mounted = false;
    std::string m_why;
};

}  // namespace testing_support
