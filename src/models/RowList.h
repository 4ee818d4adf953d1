// The model of an unsorted, single-selection list box as the dialogs use it: rows in
// the order they were added, at most one selected row. A desktop program draws it; the
// terminal program reads and selects its rows by number.
#pragma once

#include <string>
#include <vector>

namespace nelo {

class RowList {
public:
    /// Removes every row and the selection.
    void ResetContent() {
        m_rows.clear();
        m_curSel = -1;
        m_topIndex = 0;
    }

    /// Appends a row; returns its index.
    int AddString(const std::string& text) {
        m_rows.push_back(text);
        return static_cast<int>(m_rows.size()) - 1;
    }

    /// Removes row i; returns the number of rows left, or -1 when i is no row. A
    /// selected row that is removed leaves the list without a selection; a selection
    /// below it moves up with its row.
    int DeleteString(int i) {
        if (i < 0 || i >= GetCount()) return -1;
        m_rows.erase(m_rows.begin() + i);
        if (m_curSel == i)
            m_curSel = -1;
        else if (m_curSel > i)
            --m_curSel;
        if (m_topIndex >= GetCount()) m_topIndex = GetCount() > 0 ? GetCount() - 1 : 0;
        return GetCount();
    }

    int GetCount() const { return static_cast<int>(m_rows.size()); }
    const std::string& GetText(int i) const { return m_rows[static_cast<std::size_t>(i)]; }
    const std::vector<std::string>& GetRows() const { return m_rows; }

    /// The selected row, or -1.
    int GetCurSel() const { return m_curSel; }
    /// Selects row i; -1, or an index that is no row, removes the selection.
    void SetCurSel(int i) { m_curSel = (i >= 0 && i < GetCount()) ? i : -1; }

    /// The first row after start (-1: from the top) whose text equals text when letter
    /// case is ignored, wrapping round to the top; -1 when there is none.
    int FindStringExact(int start, const std::string& text) const;

    int GetTopIndex() const { return m_topIndex; }
    void SetTopIndex(int i) {
        if (i >= 0 && i < GetCount()) m_topIndex = i;
    }

private:
    std::vector<std::string> m_rows;
    int m_curSel = -1;
    int m_topIndex = 0;
};

/// True when two code page 932 texts are equal but for the case of letters (ASCII,
/// full-width Latin, Greek and Cyrillic).
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace nelo
