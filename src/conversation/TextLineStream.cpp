#include "conversation/TextLineStream.h"

#include <cerrno>
#include <cstring>

namespace nelo {

TextLineStream::TextLineStream(Source source, std::size_t nMaxLine, std::size_t nBlock)
    : m_source(std::move(source)),
      m_nMaxLine(nMaxLine),
      m_nBlock(nBlock > 0 ? nBlock : 1),
      // A block is read only while less than a whole line is held.
      m_nCapacity(nMaxLine + 1 + m_nBlock) {
    m_pBuffer = std::make_unique<char[]>(m_nCapacity);
}

TextLineStream::Result TextLineStream::Fill(const StopCheck& stop) {
    if (m_nStart > 0) {
        std::memmove(m_pBuffer.get(), m_pBuffer.get() + m_nStart, m_nEnd - m_nStart);
        m_nEnd -= m_nStart;
        m_nStart = 0;
    }
    for (;;) {
        if (stop && stop()) return Result::Stopped;
        const std::size_t room = m_nCapacity - m_nEnd;
        long n = m_source(m_pBuffer.get() + m_nEnd, room < m_nBlock ? room : m_nBlock);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_nErrno = errno;
            return Result::Failed;
        }
        if (n == 0)
            m_bEof = true;
        else
            m_nEnd += static_cast<std::size_t>(n);
        return Result::Line;
    }
}

TextLineStream::Result TextLineStream::Read(std::string_view& line, const StopCheck& stop) {
    for (;;) {
        if (m_bSkipLf) {
            // The LF of a CR LF whose CR ended the last block.
            if (m_nStart < m_nEnd) {
                if (m_pBuffer[m_nStart] == '\n') ++m_nStart;
                m_bSkipLf = false;
            } else if (m_bEof) {
                m_bSkipLf = false;
            } else {
                Result r = Fill(stop);
                if (r != Result::Line) return r;
                continue;
            }
        }
        const char* start = m_pBuffer.get() + m_nStart;
        const std::size_t avail = m_nEnd - m_nStart;
        // Only the bytes a line may hold, and one more, need to be looked at.
        const std::size_t span = avail < m_nMaxLine + 1 ? avail : m_nMaxLine + 1;
        const char* from = start + m_nScanned;
        const std::size_t n = span - m_nScanned;
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', n));
        const char* cr =
            static_cast<const char*>(std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : n));
        if (const char* end = cr ? cr : lf) {
            const std::size_t len = static_cast<std::size_t>(end - start);
            line = std::string_view(start, len);
            m_nStart += len + 1;
            m_nScanned = 0;
            if (cr) {
                if (m_nStart < m_nEnd) {
                    if (m_pBuffer[m_nStart] == '\n') ++m_nStart;
                } else if (!m_bEof) {
                    m_bSkipLf = true;
                }
            }
            ++m_nLine;
            return Result::Line;
        }
        m_nScanned = span;
        if (avail > m_nMaxLine) {
            ++m_nLine;
            return Result::TooLong;
        }
        if (m_bEof) {
            if (avail == 0) return Result::End;
            line = std::string_view(start, avail);
            m_nStart = m_nEnd;
            m_nScanned = 0;
            ++m_nLine;
            return Result::Line;
        }
        Result r = Fill(stop);
        if (r != Result::Line) return r;
    }
}

}  // namespace nelo
