#include "BinaryFile.h"

#include <bit>
#include <cassert>
#include <climits>

namespace geo {

BinaryFile::~BinaryFile()
{
    close();
}

bool BinaryFile::open(const std::string& path)
{
    close();
    m_file = std::fopen(path.c_str(), "rb");
    return m_file != nullptr;
}

void BinaryFile::close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

bool BinaryFile::readAt(std::int64_t offset, std::size_t size, std::vector<unsigned char>& out)
{
    if (!m_file || offset < 0 || offset > std::int64_t(LONG_MAX) - std::int64_t(size))
        return false;
    if (std::fseek(m_file, long(offset), SEEK_SET) != 0)
        return false;
    return readNext(size, out);
}

bool BinaryFile::readRecords(std::int64_t record, std::size_t recordSize, std::size_t size,
                             std::vector<unsigned char>& out)
{
    return record >= 1 && readAt((record - 1) * std::int64_t(recordSize), size, out);
}

bool BinaryFile::readNext(std::size_t size, std::vector<unsigned char>& out)
{
    out.resize(size);
    return m_file && std::fread(out.data(), 1, size, m_file) == size;
}

void BinaryFile::rewind()
{
    if (m_file)
        std::rewind(m_file);
}

std::uint32_t ByteReader::unsignedBytes(std::size_t count)
{
    assert(m_at + count <= m_bytes.size());
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < count; ++i)
        v |= std::uint32_t(m_bytes[m_at + i]) << (8 * i);
    m_at += count;
    return v;
}

std::int16_t ByteReader::int16()
{
    return std::int16_t(std::uint16_t(unsignedBytes(2)));
}

std::int32_t ByteReader::int32()
{
    return std::int32_t(unsignedBytes(4));
}

float ByteReader::real32()
{
    return std::bit_cast<float>(unsignedBytes(4));
}

std::string ByteReader::text(std::size_t length)
{
    assert(m_at + length <= m_bytes.size());
    std::string s(m_bytes.begin() + std::ptrdiff_t(m_at), m_bytes.begin() + std::ptrdiff_t(m_at + length));
    m_at += length;
    return s;
}

}  // namespace geo
