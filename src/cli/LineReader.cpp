#include "cli/LineReader.h"

#include "cli/CliSignals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#ifdef NELO_HAVE_LIBEDIT
#include <histedit.h>
#endif

using namespace nelo;

namespace {

enum class Wait { Ready, Signal, Gone };

/// Waits until stdin has something to read (data, its end or an error) or a signal came;
/// hangUp tells whether the terminal has been hung up.
Wait WaitForInput(bool& hangUp) {
    hangUp = false;
    for (;;) {
        if (AnySignalPending()) return Wait::Signal;
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {SignalWakeFd(), POLLIN, 0}};
        int n = poll(fds, fds[1].fd >= 0 ? 2 : 1, -1);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Wait::Gone;
        }
        if (fds[1].fd >= 0 && (fds[1].revents & POLLIN)) {
            // The flags say what it was; a wake left over from a signal already
            // dealt with is only emptied.
            DrainSignalWake();
            continue;
        }
        if (fds[0].revents & POLLNVAL) return Wait::Gone;
        hangUp = (fds[0].revents & POLLHUP) != 0;
        if (fds[0].revents) return Wait::Ready;
    }
}

}  // namespace

LineReader::LineReader(bool interactive, std::size_t maxLine) : m_interactive(interactive), m_maxLine(maxLine) {
#ifdef NELO_HAVE_LIBEDIT
    if (!interactive) return;
    m_edit = el_init("nelo-cli", stdin, stdout, stderr);
    if (!m_edit) return;
    m_history = history_init();
    if (m_history) {
        HistEvent ev;
        history(m_history, &ev, H_SETSIZE, 1000);
        el_set(m_edit, EL_HIST, history, m_history);
    }
    el_set(m_edit, EL_CLIENTDATA, this);
    el_set(m_edit, EL_PROMPT, &LineReader::PromptOf);
    el_set(m_edit, EL_EDITOR, "emacs");
    // The editor keeps the terminal right around suspend, resume and resizing; the
    // program's own handlers still see every signal.
    el_set(m_edit, EL_SIGNAL, 1);
    el_set(m_edit, EL_GETCFN, &LineReader::ReadChar);
    el_source(m_edit, nullptr);
#endif
}

LineReader::~LineReader() {
#ifdef NELO_HAVE_LIBEDIT
    if (m_edit) el_end(m_edit);
    if (m_history) history_end(m_history);
#endif
}

#ifdef NELO_HAVE_LIBEDIT
char* LineReader::PromptOf(editline* el) {
    void* self = nullptr;
    el_get(el, EL_CLIENTDATA, &self);
    return static_cast<LineReader*>(self)->m_prompt.data();
}

int LineReader::ReadChar(editline* el, wchar_t* out) {
    void* data = nullptr;
    el_get(el, EL_CLIENTDATA, &data);
    LineReader& self = *static_cast<LineReader*>(data);
    for (;;) {
        bool hangUp;
        Wait w = WaitForInput(hangUp);
        if (w == Wait::Signal) return -1;
        if (w == Wait::Gone) {
            self.m_inputGone = true;
            return -1;
        }
        char c;
        ssize_t n = read(STDIN_FILENO, &c, 1);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            // An end of input is Ctrl-D typed ahead while the terminal was not in the
            // editor's mode, unless the terminal has hung up or fails.
            if (n < 0 || hangUp) self.m_inputGone = true;
            return n == 0 ? 0 : -1;
        }
        wchar_t wc;
        std::size_t k = std::mbrtowc(&wc, &c, 1, &self.m_mbState);
        if (k == static_cast<std::size_t>(-2)) continue;  // more bytes of the character follow
        if (k == static_cast<std::size_t>(-1)) {
            self.m_mbState = std::mbstate_t{};  // a byte that fits no character is dropped
            continue;
        }
        // A NUL is dropped: the terminal leaves one for a Ctrl-D typed just before the
        // editor took the terminal over, where it would block every later Ctrl-D (and
        // a submitted line keeps no NUL anyway).
        if (k == 0) continue;
        *out = wc;
        return 1;
    }
}
#endif

bool LineReader::ReadTerminal(const std::string& prompt, std::string& line) {
    if (ReadTerminalOnce(prompt, line)) {
        m_emptyEnds = 0;
        return true;
    }
    if (!AnySignalPending()) ++m_emptyEnds;
    return false;
}

bool LineReader::ReadTerminalOnce(const std::string& prompt, std::string& line) {
#ifdef NELO_HAVE_LIBEDIT
    if (m_edit) {
        if (m_inputGone) return false;
        m_prompt = prompt;
        m_mbState = std::mbstate_t{};
        int count = 0;
        const char* p = el_gets(m_edit, &count);
        if (!p || count <= 0) {
            // Ctrl-C and Ctrl-D leave the cursor after what was typed: what follows
            // starts below.
            if (!m_inputGone) {
                std::fputs("\n", stdout);
                std::fflush(stdout);
            }
            return false;
        }
        line.assign(p, static_cast<std::size_t>(count));
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.size() > m_maxLine) {
            line.clear();
            m_lineTooLong = true;
        }
        return true;
    }
#endif
    // Without the editor the terminal delivers whole lines; Ctrl-D ends one read only.
    std::fputs(prompt.c_str(), stdout);
    std::fflush(stdout);
    m_eof = false;
    return ReadBufferedLine(line);
}

bool LineReader::Ask(const std::string& prompt, std::string& reply) {
    if (!m_interactive) return false;
    if (ReadTerminal(prompt, reply)) return true;
    // Ctrl-C answers the question (as cancel); it clears no line afterwards.
    TakeInterrupt();
    return false;
}

bool LineReader::ReadLine(std::string& line) {
    m_lineTooLong = false;
    if (m_interactive) {
        if (!ReadTerminal("> ", line)) return false;
#ifdef NELO_HAVE_LIBEDIT
        if (m_history && !line.empty()) {
            HistEvent ev;
            history(m_history, &ev, H_ENTER, line.c_str());
        }
#endif
        return true;
    }
    return ReadBufferedLine(line);
}

bool LineReader::FillBuffer() {
    if (m_eof) return false;
    if (m_pos > 0) {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
    }
    char buf[1 << 16];
    ssize_t n;
    for (;;) {
        bool hangUp;
        Wait w = WaitForInput(hangUp);
        if (w == Wait::Signal) return false;
        if (w == Wait::Gone) {
            m_inputGone = true;
            m_eof = true;
            return false;
        }
        n = read(STDIN_FILENO, buf, sizeof buf);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        break;
    }
    if (n <= 0) {
        if (n < 0) m_inputGone = true;
        m_eof = true;
        return false;
    }
    m_buffer.append(buf, static_cast<std::size_t>(n));
    return true;
}

bool LineReader::ReadBufferedLine(std::string& line) {
    for (;;) {
        const char* start = m_buffer.data() + m_pos;
        const std::size_t avail = m_buffer.size() - m_pos;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
        // A lone CR ends a line as well; CR LF is one line break.
        const std::size_t crSearch = nl ? static_cast<std::size_t>(nl - start) : avail;
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', crSearch));
        if (cr && cr + 1 == start + avail && !m_eof) {
            // A CR at the end of what has come so far: an LF may follow. (The buffer
            // moves: look again.)
            if (!FillBuffer() && !m_eof) return false;
            continue;
        }
        if (const char* end = cr ? cr : nl) {
            TakeBufferedLine(static_cast<std::size_t>(end - start), cr != nullptr, line);
            return true;
        }
        if (avail > m_maxLine) {
            // Too long to be held: what came of it is dropped, and the rest as it comes.
            m_dropping = true;
            m_pos = m_buffer.size();
        }
        if (!FillBuffer()) return TakeLastLine(line);
    }
}

void LineReader::GiveLine(const char* start, std::size_t len, std::string& line) {
    if (m_dropping || len > m_maxLine) {
        m_dropping = false;
        m_lineTooLong = true;
        line.clear();
    } else {
        line.assign(start, len);
    }
}

void LineReader::TakeBufferedLine(std::size_t len, bool endsWithCr, std::string& line) {
    GiveLine(m_buffer.data() + m_pos, len, line);
    m_pos += len + 1;
    if (endsWithCr && m_pos < m_buffer.size() && m_buffer[m_pos] == '\n') ++m_pos;
}

bool LineReader::TakeLastLine(std::string& line) {
    if (AnySignalPending() && !m_eof) return false;
    if (m_pos >= m_buffer.size() && !m_dropping) return false;
    GiveLine(m_buffer.data() + m_pos, m_buffer.size() - m_pos, line);
    m_pos = m_buffer.size();
    return true;
}
