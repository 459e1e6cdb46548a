#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace testing_support {

// A file system of its own (a small tmpfs) that can be made read-only media: what nobody, root
// included, can write. Mounting needs the right to mount; why() says why it could not be made.
class ReadOnlyMedia {
public:
    ReadOnlyMedia();
    ~ReadOnlyMedia();
    ReadOnlyMedia(const ReadOnlyMedia&) = delete;
    ReadOnlyMedia& operator=(const ReadOnlyMedia&) = delete;

    /// Where it is mounted; empty when it is not.
    const std::filesystem::path& path() const { return m_path; }
    const std::string& why() const { return m_why; }
    /// Mounts it again read-only; false (why() says) when that fails.
    bool makeReadOnly();

private:
    TempDir m_dir;
    std::filesystem::path m_path;
    std::string m_why;
};

}  // namespace testing_support
