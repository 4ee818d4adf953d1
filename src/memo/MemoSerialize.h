// Saving and loading the memos: the CMemo record and the document's memo map.
#pragma once

#include "platform/Archive.h"

class CMemoMap;

/// "CMemo", schema 0.
extern const CArchiveClass g_classMemo;

/// Writes or reads the memo map: a count, then per memo its key and the CMemo object.
/// Loading adds to the map; an entry whose key occurs again is replaced by the later one.
void SerializeMemoMap(CArchive& ar, CMemoMap& map);
