#include "conversation/TextLineStream.h"

#include <cerrno>
#include <cstring>

namespace nelo {

TextLineStream::TextLineStream(Source source, std::size_t maxLine, std::size_t block)
    : m_source(std::move(source)),
      m_maxLine(maxLine),
      m_block(block > 0 ? block : 1),
      // A block is read only while less than a whole line is held.
      m_capacity(maxLine + 1 + m_block) {
    m_buffer = std::make_unique<char[]>(m_capacity);
}

TextLineStream::Result TextLineStream::Fill(const StopCheck& stop) {
    if (m_start > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_start, m_end - m_start);
        m_end -= m_start;
        m_start = 0;
    }
    for (;;) {
        if (stop && stop()) return Result::Stopped;
        const std::size_t room = m_capacity - m_end;
        long n = m_source(m_buffer.get() + m_end, room < m_block ? room : m_block);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_errno = errno;
            return Result::Failed;
        }
        if (n == 0)
            m_eof = true;
        else
            m_end += static_cast<std::size_t>(n);
        return Result::Line;
    }
}

bool TextLineStream::SettlePendingLf() {
    if (!m_skipLf) return true;
    if (m_start < m_end) {
        if (m_buffer[m_start] == '\n') ++m_start;
        m_skipLf = false;
        return true;
    }
    if (!m_eof) return false;
    m_skipLf = false;
    return true;
}

void TextLineStream::GiveLine(std::size_t len, bool endsWithCr, std::string_view& line) {
    line = std::string_view(m_buffer.get() + m_start, len);
    m_start += len + 1;
    m_scanned = 0;
    if (endsWithCr) {
        if (m_start < m_end) {
            if (m_buffer[m_start] == '\n') ++m_start;
        } else if (!m_eof) {
            m_skipLf = true;
        }
    }
    ++m_line;
}

TextLineStream::Result TextLineStream::GiveLastLine(std::string_view& line) {
    const std::size_t avail = m_end - m_start;
    if (avail == 0) return Result::End;
    line = std::string_view(m_buffer.get() + m_start, avail);
    m_start = m_end;
    m_scanned = 0;
    ++m_line;
    return Result::Line;
}

TextLineStream::Result TextLineStream::Read(std::string_view& line, const StopCheck& stop) {
    for (;;) {
        if (!SettlePendingLf()) {
            const Result r = Fill(stop);
            if (r != Result::Line) return r;
            continue;
        }
        const char* start = m_buffer.get() + m_start;
        const std::size_t avail = m_end - m_start;
        // Only the bytes a line may hold, and one more, need to be looked at.
        const std::size_t span = avail < m_maxLine + 1 ? avail : m_maxLine + 1;
        const char* from = start + m_scanned;
        const std::size_t n = span - m_scanned;
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', n));
        const char* cr =
            static_cast<const char*>(std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : n));
        if (const char* end = cr ? cr : lf) {
            GiveLine(static_cast<std::size_t>(end - start), cr != nullptr, line);
            return Result::Line;
        }
        m_scanned = span;
        if (avail > m_maxLine) {
            ++m_line;
            return Result::TooLong;
        }
        if (m_eof) return GiveLastLine(line);
        const Result r = Fill(stop);
        if (r != Result::Line) return r;
    }
}

}  // namespace nelo
