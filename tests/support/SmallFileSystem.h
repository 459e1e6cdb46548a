#pragma once

#include "support/TempDir.h"

#include <cstddef>
#include <filesystem>

namespace testing_support {

// A file system of its own size mounted on a temporary folder, so that a disk really fills up.
// Mounting needs the right to (root, as CI runs the tests); without it `mounted()` is false.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    std::filesystem::path path() const { return m_dir.path(); }

    /// Fills the file system with a file of its own until at most `bytes` stay free.
    void leaveFree(std::size_t bytes) const;
    /// Bytes still free.
    std::size_t freeBytes() const;

private:
    TempDir m_dir;
    bool m_mounted = false;
};

}  // namespace testing_support
