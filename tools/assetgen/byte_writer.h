// byte_writer.h -- little-endian byte building for the file writers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ByteWriter {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v)
    {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Bytes(const void* data, size_t n)
    {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + n);
    }
    void Append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    size_t Size() const { return bytes.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes); }

private:
    std::vector<uint8_t> bytes;
};

// Writes bytes to path; false when the file cannot be written whole.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
