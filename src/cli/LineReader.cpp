#include "cli/LineReader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#ifdef NELO_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

CLineReader::CLineReader(bool interactive) : m_bInteractive(interactive) {}

CLineReader::~CLineReader() = default;

bool CLineReader::FillBuffer() {
    if (m_bEof) return false;
    if (m_nPos > 0) {
        m_strBuffer.erase(0, m_nPos);
        m_nPos = 0;
    }
    char buf[1 << 16];
    ssize_t n;
    do {
        n = read(STDIN_FILENO, buf, sizeof buf);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        m_bEof = true;
        return false;
    }
    m_strBuffer.append(buf, static_cast<std::size_t>(n));
    return true;
}

namespace {

#ifndef NELO_HAVE_LIBEDIT
bool ReadTerminalLine(const char* prompt, std::string& line) {
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    line.clear();
    int c;
    while ((c = std::getchar()) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    if (c == EOF && line.empty()) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}
#endif

}  // namespace

bool CLineReader::Ask(const std::string& prompt, std::string& reply) {
    if (!m_bInteractive) return false;
#ifdef NELO_HAVE_LIBEDIT
    char* p = readline(prompt.c_str());
    if (!p) return false;
    reply = p;
    std::free(p);
    return true;
#else
    return ReadTerminalLine(prompt.c_str(), reply);
#endif
}

bool CLineReader::ReadLine(std::string& line) {
    if (m_bInteractive) {
#ifdef NELO_HAVE_LIBEDIT
        char* p = readline("> ");
        if (!p) return false;
        line = p;
        std::free(p);
        if (!line.empty()) add_history(line.c_str());
        return true;
#else
        return ReadTerminalLine("> ", line);
#endif
    }
    for (;;) {
        const char* start = m_strBuffer.data() + m_nPos;
        const void* nl = std::memchr(start, '\n', m_strBuffer.size() - m_nPos);
        if (nl) {
            std::size_t len = static_cast<const char*>(nl) - start;
            line.assign(start, len);
            m_nPos += len + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        if (!FillBuffer()) {
            if (m_nPos >= m_strBuffer.size()) return false;
            line.assign(m_strBuffer, m_nPos, std::string::npos);
            m_nPos = m_strBuffer.size();
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
    }
}
