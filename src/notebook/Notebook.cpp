#include "notebook/Notebook.h"

#include "text/Sjis.h"

namespace nelo {

Notebook::Notebook() : m_responderName("太郎"_sj), m_userName("花子"_sj) {}

Notebook::~Notebook() = default;

void Notebook::ResetToNew() {
    ClearContents();
    m_responderName = "太郎"_sj;
    m_userName = "花子"_sj;
    OnContentsReplaced();
}

void Notebook::ClearContents() {
    m_calc.DeleteAllVariables();
    m_scheduleBook.ClearContents();
    m_memoMap.RemoveAll();
}

}  // namespace nelo
