#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorlu::data {

// A growable byte buffer with a position, the one carrier of blob bytes between the database
// and the rest of the program.
class MemoryStream {
public:
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    std::size_t position() const { return position_; }
    void setPosition(std::size_t position) { position_ = position; }

    // Empties the stream; keeps the capacity, so the next photo reuses the memory.
    void clear()
    {
        bytes_.clear();
        position_ = 0;
    }

    // Writes at the position, overwriting and growing as needed, and moves the position on.
    void write(const void* data, std::size_t length)
    {
        if (position_ + length > bytes_.size())
            bytes_.resize(position_ + length);
        if (length)
            std::copy_n(static_cast<const std::uint8_t*>(data), length, bytes_.data() + position_);
        position_ += length;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace vorlu::data
