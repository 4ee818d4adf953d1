// Where a stream of bytes goes, a block at a time: a storing archive hands its buffer
// to one of these whenever the buffer fills.
#pragma once

#include <cstddef>
#include <string>

namespace nelo {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Takes the next n bytes. A sink that cannot keep them never pretends they
    /// arrived: it throws, or it remembers the failure and its owner reports it.
    virtual void Write(const char* p, std::size_t n) = 0;
};

/// A sink that appends to a string.
class StringSink : public ByteSink {
public:
    explicit StringSink(std::string& out) : m_out(out) {}
    void Write(const char* p, std::size_t n) override { m_out.append(p, n); }

private:
    std::string& m_out;
};

}  // namespace nelo
