// The terminal's conversation pane: appended text goes to an output stream in UTF-8,
// each "\r\n" written as "\n".
#pragma once

#include "view/RumoView.h"

#include <cstdio>
#include <string>

class CCliView : public CRumoView {
public:
    /// flushEachAppend: write at once (a terminal) instead of in large blocks.
    CCliView(std::FILE* out, bool flushEachAppend) : m_pOut(out), m_bFlushEach(flushEachAppend) {}
    ~CCliView() override { Flush(); }

    void AppendText(const std::string& text) override;
    void ClearText() override {}
    void Flush();

private:
    std::FILE* m_pOut;
    bool m_bFlushEach;
    std::string m_strBuffer;
    /// The UTF-8 form of m_strBuffer; kept to reuse its memory.
    std::string m_strUtf8;
};
