// MD5 (RFC 1321), incremental, and its 32-digit lowercase text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/numbers.h"

class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t size);
    // Finishes the digest; the object must not be updated afterwards.
    Text FinishText();

private:
    void Blocks(const std::uint8_t* data, std::size_t count);

    std::uint32_t state_[4];
    std::uint64_t length_ = 0;
    std::uint8_t pending_[64];
    std::size_t pendingSize_ = 0;
};

Text Md5Text(const Bytes& bytes);
Text Md5Text(const void* data, std::size_t size);
