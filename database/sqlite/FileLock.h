#pragma once

#include <string>

namespace db {

// An advisory lock (flock) on a file of its own, made when missing and removed when the lock
// is let go. Instances of the program that lock the same file exclude each other; so do two
// locks taken in one process. Move-only.
class FileLock {
public:
    enum class Outcome { Held, Busy, ReadOnlyFolder, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    /// Takes the lock on `path` without waiting: Busy when another holds it, ReadOnlyFolder
    /// when the file cannot be made there (read-only folder or media), Failed on any other
    /// error (errno tells which).
    Outcome acquire(const std::string& path);
    bool held() const { return m_fd >= 0; }
    /// Removes the file and lets the lock go; nothing when none is held.
    void release() noexcept;

private:
    int m_fd = -1;
    std::string m_path;
};

}  // namespace db
