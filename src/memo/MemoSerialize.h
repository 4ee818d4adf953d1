// Saving and loading the memos: the Memo record and the notebook's memo map.
#pragma once

#include "platform/Archive.h"

namespace nelo {

class MemoMap;

/// "CMemo", schema 0.
extern const ArchiveClass kMemoClass;

/// Writes or reads the memo map: a count, then per memo its key and the Memo object.
/// Loading fills an empty map in the order it was saved in; of two entries with one key
/// the later one wins.
void SerializeMemoMap(Archive& ar, MemoMap& map);

}  // namespace nelo
