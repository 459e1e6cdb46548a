#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Read-only access to the library's binary data files. Every field is read with its own size
// and byte order (little-endian) from the bytes of the file; no buffer is cast onto a struct.
namespace geo {

class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    [[nodiscard]] bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }
    void close();

    /// `size` bytes from byte `offset`; false when any of them lies before the start or past
    /// the end of the file.
    [[nodiscard]] bool readAt(std::int64_t offset, std::size_t size, std::vector<unsigned char>& out);
    /// `size` bytes of the records from `record` on (records count from 1).
    [[nodiscard]] bool readRecords(std::int64_t record, std::size_t recordSize, std::size_t size,
                                   std::vector<unsigned char>& out);
    /// The next `size` bytes of the stream; false (and nothing consumed that counts) at its end.
    [[nodiscard]] bool readNext(std::size_t size, std::vector<unsigned char>& out);
    void rewind();

private:
    std::FILE* m_file = nullptr;
};

/// Fields in order from a block of bytes, little-endian.
class ByteReader {
public:
    ByteReader(const std::vector<unsigned char>& bytes, std::size_t offset = 0) : m_bytes(bytes), m_at(offset) {}

    std::int16_t int16();
    std::int32_t int32();
    float real32();
    std::string text(std::size_t length);
    void skip(std::size_t length) { m_at += length; }

private:
    std::uint32_t unsignedBytes(std::size_t count);

    const std::vector<unsigned char>& m_bytes;
    std::size_t m_at;
};

}  // namespace geo
