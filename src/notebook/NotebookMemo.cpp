// Memo registration and query from typed lines (members of the notebook).
#include "notebook/Notebook.h"
#include "strings/StringTable.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <memory>

namespace nelo {

void Notebook::RegisterMemo(std::string& answer, const std::string& line) {
    const char* sep = "、"_sj;
    auto first = FindDbcs(line, sep);
    if (first == std::string::npos || first == 0) {
        answer = LoadStringId(AnswerMemoTooFewItems);
        return;
    }
    std::string object = line.substr(0, first);
    std::string rest = line.substr(first + 2);
    auto second = FindDbcs(rest, sep);
    if (second == std::string::npos || second == 0) {
        answer = LoadStringId(AnswerMemoTooFewItems);
        return;
    }
    std::string name = rest.substr(0, second);
    std::string value = rest.substr(second + 2);

    Memo* memo = m_memoMap.Lookup(object);
    if (!memo) memo = m_memoMap.SetAt(object, std::make_unique<Memo>(object));
    memo->AddPair(name, value);
    // A typed memo is a change like any other: closing must offer to save it.
    NoteMemoChange();
    answer = LoadStringId(AnswerMemoRegistered);
}

void Notebook::QueryMemo(std::string& answer, const std::string& object) {
    const Memo* memo = m_memoMap.FindForQuery(object);
    if (!memo) {
        answer = LoadStringId(AnswerMemoNotFound);
        return;
    }
    answer = LoadStringId(AnswerMemoFound);
    answer += "\r\n";
    for (std::size_t i = 0; i < memo->GetPairCount(); ++i) {
        if (i > 0) answer += "\r\n";
        answer += memo->GetName(i);
        answer += "："_sj;
        answer += memo->GetValue(i);
    }
}

void Notebook::AddMemo(std::unique_ptr<Memo> memo) {
    const std::string object = memo->GetObjectName();
    m_memoMap.SetAt(object, std::move(memo));
}

}  // namespace nelo
