// libFuzzer entry point: see CodePageFuzzBody.h.
#include "CodePageFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzCodePageOnce(data, size);
    return 0;
}
