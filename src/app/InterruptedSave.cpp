// A notebook that a save in place (a file with other hard links, or another user's)
// was writing when the program was killed: the file holds new bytes in front of old
// ones and does not load, but the copy of its old content that the save made first is
// still beside it. Opening such a file offers that content back.
#include "app/NotebookSession.h"

#include "notebook/NotebookSerialize.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <memory>
#include <new>

namespace nelo {

bool NotebookSession::OpenInterruptedSave(const std::string& absolute, const FileStamp& stamp) {
    // The newest copy that loads: an older one belongs to an even earlier save.
    std::unique_ptr<Notebook> loaded;
    std::string copy;
    for (const std::string& candidate : InPlaceBackups(absolute)) {
        std::string bytes, error;
        if (!ReadWholeFile(candidate, bytes, error)) continue;
        auto notebook = std::make_unique<Notebook>();
        try {
            LoadNotebookBytes(*notebook, bytes);
        } catch (const ArchiveException&) {
            continue;
        } catch (const std::bad_alloc&) {
            continue;
        }
        loaded = std::move(notebook);
        copy = candidate;
        break;
    }
    if (!loaded) return false;
    if (m_unattended) {
        m_keptCopyNotice = "前回の保存が途中で終わりました。保存前の内容が残っています: "_sj + Utf8ToCp932(copy).text;
        return false;
    }
    if (m_messageBox.Show("前回の保存が途中で終わりました。保存前の内容を開きますか?"_sj, std::string(),
                          MbButtons::YesNo, MbIcon::Question) != MbAnswer::Yes)
        return false;
    // The notebook keeps its file: the next save writes the content back there, over
    // the damaged file this notebook has seen (so no question about a changed file).
    TakeFileContents(m_notebook, *loaded);
    SetPathName(absolute);
    m_fileStamp = stamp;
    m_notebook.SetClean();
    InitialUpdateViews();
    m_notebook.SetModifiedFlag(true);
    return true;
}

}  // namespace nelo
