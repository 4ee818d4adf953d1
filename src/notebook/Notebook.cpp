#include "notebook/Notebook.h"

#include "text/Sjis.h"

namespace nelo {

Notebook::Notebook() : m_responderName("太郎"_sj), m_userName("花子"_sj) {}

Notebook::~Notebook() = default;

void Notebook::OnNewDocument() {
    DeleteContents();
    m_responderName = "太郎"_sj;
    m_userName = "花子"_sj;
    OnContentsReplaced();
}

void Notebook::DeleteContents() {
    m_calc.DeleteAllVariables();
    m_scheduleBook.DeleteContents();
    m_memoMap.RemoveAll();
}

}  // namespace nelo
