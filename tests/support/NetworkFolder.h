#pragma once

#include <filesystem>

namespace testing_support {

// Makes this process's file system calls answer, for the files under a folder, as a Linux NFS
// client answers them, which this machine's kernel cannot mount: statfs names NFS, and flock is a
// byte-range lock on the whole file, which an exclusive flock on a descriptor open only for
// reading is refused (EBADF), a shared one granted, and which fcntl's F_GETLK sees as the
// byte-range lock it is. Child processes forked meanwhile keep it. One at a time.
class NetworkFolder {
public:
    explicit NetworkFolder(const std::filesystem::path& folder);
    ~NetworkFolder();
    NetworkFolder(const NetworkFolder&) = delete;
    NetworkFolder& operator=(const NetworkFolder&) = delete;
};

}  // namespace testing_support
