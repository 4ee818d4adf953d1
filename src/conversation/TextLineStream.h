// The lines of a byte stream read block by block: CR LF, LF and a lone CR end a line.
// No more than one line and one block are ever held, and a line longer than the limit
// is reported instead of gathered, so a file of any size (or an endless device) is read
// in bounded memory.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace nelo {

class TextLineStream {
public:
    /// Reads up to n bytes into buffer: how many were read, 0 at the end, -1 on a
    /// failure with errno set (EINTR is tried again unless the stop check says stop).
    using Source = std::function<long(char* buffer, std::size_t n)>;
    /// Asked before each block and after an interrupted read: true ends the reading.
    using StopCheck = std::function<bool()>;

    enum class Result { Line, End, TooLong, Failed, Stopped };

    /// maxLine: the longest line given, in bytes without its line end.
    TextLineStream(Source source, std::size_t maxLine, std::size_t block = 1 << 16);

    /// The next line, without its line end and possibly empty; it stays valid until the
    /// next call. TooLong: the line has more than maxLine bytes (nothing more is read).
    /// Failed: the source failed (GetErrno says why). Stopped: the stop check said so.
    Result Read(std::string_view& line, const StopCheck& stop = {});

    /// The number of the line last given or found too long (1 for the first line),
    /// empty lines counted.
    std::size_t GetLineNumber() const { return m_line; }
    int GetErrno() const { return m_errno; }

private:
    /// Reads the next block after what is held; Line when bytes came or the end was
    /// reached, else Failed or Stopped.
    Result Fill(const StopCheck& stop);
    /// The LF of a CR LF whose CR ended the last block is passed over; false when the
    /// next block must come first to tell.
    bool SettlePendingLf();
    /// Gives the line of len bytes at m_start and moves past its line end.
    void GiveLine(std::size_t len, bool endsWithCr, std::string_view& line);
    /// At the end of the input: what is held is the last line (End when nothing is).
    Result GiveLastLine(std::string_view& line);

    Source m_source;
    std::size_t m_maxLine;
    std::size_t m_block;
    std::unique_ptr<char[]> m_buffer;  // one line at most and one block
    std::size_t m_capacity;
    std::size_t m_start = 0;    // the first byte not yet given
    std::size_t m_end = 0;      // the end of the bytes held
    std::size_t m_scanned = 0;  // bytes after m_start known to hold no line end
    bool m_eof = false;
    bool m_skipLf = false;  // the last line ended with CR at the end of a block
    std::size_t m_line = 0;
    int m_errno = 0;
};

}  // namespace nelo
