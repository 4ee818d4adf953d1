// libFuzzer entry point for the notebook loader: see ArchiveFuzzBody.h.
#include "ArchiveFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzArchiveOnce(data, size);
    return 0;
}
